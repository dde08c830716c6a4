#pragma once

#include "DialogTemplates.h"
#include "settings/JobSettings.h"

#include <array>

namespace zorvane {

struct BuiltDialog;

// The main window's radio buttons of each group, in the order of their
// store keys and of the catalogue's values.
inline constexpr std::array mainTicketIds{ids::main::typeA, ids::main::typeB, ids::main::typeD,
                                          ids::main::typeOther};
inline constexpr std::array mainPaperIds{ids::main::paperA4, ids::main::paperB5,
                                         ids::main::paperA4Quarter};
inline constexpr std::array mainOrderIds{ids::main::rowsFirst, ids::main::columnsFirst};

// Shows the stored states of the radio groups and the keep-aspect box. The
// buttons of a group exclude each other, so when a hand-edited store turns
// several on, the first of them wins; when it turns none on, none is
// selected.
void showMainButtonStates(const BuiltDialog& built, const MainButtonStates& states);
// The states as the buttons stand.
MainButtonStates mainButtonStates(const BuiltDialog& built);

} // namespace zorvane
