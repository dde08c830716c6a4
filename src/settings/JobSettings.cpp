#include "JobSettings.h"

#include "Numbers.h"
#include "SettingsStore.h"
#include "StoreKeys.h"

namespace zorvane {
namespace {

namespace km = keys::main;
namespace ko = keys::option;

constexpr std::array ticketKeys{km::ticketA, km::ticketB, km::ticketD, km::ticketOther};
constexpr std::array paperKeys{km::paperA4, km::paperB5, km::paperA4Quarter};
constexpr std::array orderKeys{km::rowsFirst, km::columnsFirst};

template<typename Enum, std::size_t N>
std::array<int, N> statesFor(std::optional<Enum> selected, const std::array<Enum, N>& members)
{
    std::array<int, N> states{};
    for (std::size_t i = 0; i < N; ++i)
        states[i] = selected == members[i] ? 1 : 0;
    return states;
}

template<typename Enum, std::size_t N>
std::optional<Enum> firstSelected(const std::array<int, N>& states,
                                  const std::array<Enum, N>& members)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (states[i] != 0)
            return members[i];
    }
    return std::nullopt;
}

template<std::size_t N>
void loadStates(const SettingsStore& store, const std::array<const char*, N>& keyList,
                std::array<int, N>& states)
{
    for (std::size_t i = 0; i < N; ++i)
        states[i] = store.GetProfileInt(keys::mainSection, keyList[i], states[i]);
}

template<std::size_t N>
void saveStates(SettingsStore& store, const std::array<const char*, N>& keyList,
                const std::array<int, N>& states)
{
    for (std::size_t i = 0; i < N; ++i)
        store.WriteProfileInt(keys::mainSection, keyList[i], states[i]);
}

} // namespace

MainButtonStates buttonStatesOf(const MainValues& values)
{
    MainButtonStates states;
    states.ticket = statesFor(values.ticketType, allTicketTypes);
    states.paper = statesFor(values.paper, allPaperKinds);
    states.order = statesFor(values.fillOrder, allFillOrders);
    states.keepAspect = values.keepAspect ? 1 : 0;
    return states;
}

void applyButtonStates(const MainButtonStates& states, MainValues& values)
{
    values.ticketType = firstSelected(states.ticket, allTicketTypes);
    values.paper = firstSelected(states.paper, allPaperKinds);
    values.fillOrder = firstSelected(states.order, allFillOrders);
    values.keepAspect = states.keepAspect != 0;
}

MainButtonStates loadMainButtonStates(const SettingsStore& store)
{
    store.refresh();
    MainButtonStates states; // starts at the defaults
    loadStates(store, ticketKeys, states.ticket);
    loadStates(store, paperKeys, states.paper);
    loadStates(store, orderKeys, states.order);
    states.keepAspect = store.GetProfileInt(keys::mainSection, km::keepAspect, 0);
    return states;
}

MainValues loadMainValues(const SettingsStore& store)
{
    store.refresh();
    MainValues values;
    values.customWidth = store.GetProfileInt(keys::mainSection, km::customWidth, 0);
    values.customHeight = store.GetProfileInt(keys::mainSection, km::customHeight, 0);
    values.countText = store.GetProfileString(keys::mainSection, km::countText, QString());
    applyButtonStates(loadMainButtonStates(store), values);
    return values;
}

void saveMainValues(SettingsStore& store, const MainValues& values)
{
    saveMainValues(store, values, buttonStatesOf(values));
}

void saveMainValues(SettingsStore& store, const MainValues& values, const MainButtonStates& states)
{
    store.WriteProfileInt(keys::mainSection, km::customWidth, values.customWidth);
    store.WriteProfileInt(keys::mainSection, km::customHeight, values.customHeight);
    store.WriteProfileString(keys::mainSection, km::countText, values.countText);
    saveStates(store, ticketKeys, states.ticket);
    saveStates(store, paperKeys, states.paper);
    saveStates(store, orderKeys, states.order);
    store.WriteProfileInt(keys::mainSection, km::keepAspect, states.keepAspect);
    store.sync();
}

OptionValues loadOptionValues(const SettingsStore& store)
{
    store.refresh();
    const OptionValues d;
    auto read = [&store](const char* key, int fallback) {
        return store.GetProfileInt(keys::optionSection, key, fallback);
    };
    OptionValues v;
    v.offsetX = read(ko::offsetX, d.offsetX);
    v.offsetY = read(ko::offsetY, d.offsetY);
    v.gapV = read(ko::gapV, d.gapV);
    v.gapH = read(ko::gapH, d.gapH);
    v.frameRed = read(ko::frameRed, d.frameRed);
    v.frameGreen = read(ko::frameGreen, d.frameGreen);
    v.frameBlue = read(ko::frameBlue, d.frameBlue);
    v.fontPercent = read(ko::fontPercent, d.fontPercent);
    v.drawFrame = read(ko::drawFrame, d.drawFrame);
    v.limitGrid = read(ko::limitGrid, d.limitGrid);
    v.maxRows = read(ko::maxRows, d.maxRows);
    v.maxCols = read(ko::maxCols, d.maxCols);
    return v;
}

void saveOptionValues(SettingsStore& store, const OptionValues& v)
{
    auto write = [&store](const char* key, int value) {
        store.WriteProfileInt(keys::optionSection, key, value);
    };
    write(ko::offsetX, v.offsetX);
    write(ko::offsetY, v.offsetY);
    write(ko::gapV, v.gapV);
    write(ko::gapH, v.gapH);
    write(ko::frameRed, v.frameRed);
    write(ko::frameGreen, v.frameGreen);
    write(ko::frameBlue, v.frameBlue);
    write(ko::fontPercent, v.fontPercent);
    write(ko::drawFrame, v.drawFrame);
    write(ko::limitGrid, v.limitGrid);
    write(ko::maxRows, v.maxRows);
    write(ko::maxCols, v.maxCols);
    store.sync();
}

int requestedCount(const MainValues& values)
{
    return leadingNumber(values.countText);
}

bool ticketHasNoArea(const MainValues& values)
{
    return values.ticketType == TicketType::Other &&
           (values.customWidth <= 0 || values.customHeight <= 0);
}

} // namespace zorvane
