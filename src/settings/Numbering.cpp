#include "Numbering.h"

#include "SettingsStore.h"
#include "StoreKeys.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace zorvane {
namespace {

namespace knum = keys::numbering;

int readInt(const SettingsStore& store, const char* key, int fallback, int lowest, int highest)
{
    const int value = store.GetProfileInt(keys::numberingSection, key, fallback);
    return value < lowest || value > highest ? fallback : value;
}

QString readAffix(const SettingsStore& store, const char* key)
{
    const QString text = store.GetProfileString(keys::numberingSection, key, QString());
    return text.size() > numberingLimits::maxAffixLength ? QString() : text;
}

} // namespace

int positionCode(std::optional<NumberPosition> position)
{
    return position ? int(*position) : -1;
}

std::optional<NumberPosition> positionOfCode(int code)
{
    if (code < int(NumberPosition::TopLeft) || code > int(NumberPosition::Centre))
        return std::nullopt;
    return NumberPosition(code);
}

NumberingValues loadNumberingValues(const SettingsStore& store)
{
    const NumberingValues d;
    NumberingValues v;
    v.enabled = store.GetProfileInt(keys::numberingSection, knum::enabled, 0) != 0;
    v.start = readInt(store, knum::start, d.start, 0, numberingLimits::maxStart);
    v.digits = readInt(store, knum::digits, d.digits, 0, numberingLimits::maxDigits);
    v.prefix = readAffix(store, knum::prefix);
    v.suffix = readAffix(store, knum::suffix);
    v.height = readInt(store, knum::height, d.height, numberingLimits::minHeight,
                       numberingLimits::maxHeight);
    v.position = positionOfCode(readInt(store, knum::position, int(d.position), 0, 4)).value();
    v.inset = readInt(store, knum::inset, d.inset, 0, numberingLimits::maxInset);
    v.stubPosition = positionOfCode(store.GetProfileInt(keys::numberingSection, knum::stubPosition,
                                                        positionCode(d.stubPosition)));
    v.colour = readInt(store, knum::colour, d.colour, 0, 0xFFFFFF);
    v.backing = store.GetProfileInt(keys::numberingSection, knum::backing, 0) != 0;
    v.sheets = readInt(store, knum::sheets, d.sheets, 1, numberingLimits::maxSheets);
    return v;
}

void saveNumberingValues(SettingsStore& store, const NumberingValues& v)
{
    auto write = [&store](const char* key, int value) {
        store.WriteProfileInt(keys::numberingSection, key, value);
    };
    write(knum::enabled, v.enabled ? 1 : 0);
    write(knum::start, v.start);
    write(knum::digits, v.digits);
    store.WriteProfileString(keys::numberingSection, knum::prefix, v.prefix);
    store.WriteProfileString(keys::numberingSection, knum::suffix, v.suffix);
    write(knum::height, v.height);
    write(knum::position, positionCode(v.position));
    write(knum::inset, v.inset);
    write(knum::stubPosition, positionCode(v.stubPosition));
    write(knum::colour, v.colour);
    write(knum::backing, v.backing ? 1 : 0);
    write(knum::sheets, v.sheets);
    store.sync();
}

QString numberText(const NumberingValues& values, qint64 number)
{
    return values.prefix + u"%1"_s.arg(number, values.digits, 10, QLatin1Char('0')) + values.suffix;
}

qint64 lastNumber(const NumberingValues& values, int count)
{
    return qint64(values.start) + qint64(std::max(values.sheets, 1)) * std::max(count, 0) - 1;
}

QString numberRangeText(const NumberingValues& values, int count)
{
    const QString sheets = u"(%1枚)"_s.arg(std::max(values.sheets, 1));
    if (!values.enabled)
        return sheets;
    return u"%1〜%2 "_s.arg(values.start)
               .arg(std::max(lastNumber(values, count), qint64(values.start))) +
           sheets;
}

NumberingValues afterPrintedRun(const NumberingValues& values, int count)
{
    NumberingValues next = values;
    if (values.enabled && count > 0)
        next.start =
            int(std::min(lastNumber(values, count) + 1, qint64(numberingLimits::maxStart)));
    return next;
}

void saveStartAfterPrintedRun(SettingsStore& store, const NumberingValues& values, int count)
{
    if (!values.enabled)
        return;
    store.WriteProfileInt(keys::numberingSection, knum::start,
                          afterPrintedRun(values, count).start);
    store.sync();
}

} // namespace zorvane
