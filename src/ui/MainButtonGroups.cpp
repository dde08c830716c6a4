#include "MainButtonGroups.h"

#include "DialogBuilder.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QRadioButton>

#include <algorithm>

namespace zorvane {
namespace {

template<std::size_t N>
void showGroupStates(const BuiltDialog& built, const std::array<int, N>& buttonIds,
                     const std::array<int, N>& states)
{
    const auto firstOn = std::ranges::find_if(states, [](int state) { return state != 0; });
    const auto selected = std::size_t(firstOn - states.begin());
    QButtonGroup* group = built.radioGroupOf(buttonIds.front());
    group->setExclusive(false);
    for (std::size_t i = 0; i < N; ++i)
        built.control<QRadioButton>(buttonIds[i])->setChecked(i == selected);
    group->setExclusive(true);
}

template<std::size_t N>
std::array<int, N> groupStates(const BuiltDialog& built, const std::array<int, N>& buttonIds)
{
    std::array<int, N> states{};
    for (std::size_t i = 0; i < N; ++i)
        states[i] = built.control<QRadioButton>(buttonIds[i])->isChecked() ? 1 : 0;
    return states;
}

} // namespace

void showMainButtonStates(const BuiltDialog& built, const MainButtonStates& states)
{
    showGroupStates(built, mainTicketIds, states.ticket);
    showGroupStates(built, mainPaperIds, states.paper);
    showGroupStates(built, mainOrderIds, states.order);
    built.control<QCheckBox>(ids::main::keepAspect)->setChecked(states.keepAspect != 0);
}

MainButtonStates mainButtonStates(const BuiltDialog& built)
{
    MainButtonStates states;
    states.ticket = groupStates(built, mainTicketIds);
    states.paper = groupStates(built, mainPaperIds);
    states.order = groupStates(built, mainOrderIds);
    states.keepAspect = built.control<QCheckBox>(ids::main::keepAspect)->isChecked() ? 1 : 0;
    return states;
}

} // namespace zorvane
