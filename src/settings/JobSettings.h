#pragma once

#include "Catalogue.h"

#include <QString>

#include <optional>

namespace zorvane {

class SettingsStore;

// The values the main window holds while it is open; stored in "Main".
// A radio group may have no member selected (a hand-edited store), so each
// choice is optional.
struct MainValues
{
    std::optional<TicketType> ticketType = TicketType::A;
    int customWidth = 0;  // tenths of a millimetre
    int customHeight = 0; // tenths of a millimetre
    bool keepAspect = false;
    std::optional<PaperKind> paper = PaperKind::A4;
    QString countText;
    std::optional<FillOrder> fillOrder = FillOrder::RowsFirst;

    friend bool operator==(const MainValues&, const MainValues&) = default;
};

// The advanced values; their only home is the "Option" section, read afresh
// with loadOptionValues each time a sheet job starts (SheetJob).
struct OptionValues
{
    int offsetX = 100; // tenths of a millimetre
    int offsetY = 100;
    int gapV = 3;
    int gapH = 3;
    int frameRed = 224; // only the low 8 bits are used
    int frameGreen = 224;
    int frameBlue = 224;
    int fontPercent = 100;
    int drawFrame = 0; // check state; nonzero draws the frame
    int limitGrid = 0; // check state; nonzero applies the caps
    int maxRows = 0;
    int maxCols = 0;

    friend bool operator==(const OptionValues&, const OptionValues&) = default;
};

// The stored state of every radio button and of the keep-aspect box, one
// integer per key, as the window shows them before any group agrees.
struct MainButtonStates
{
    std::array<int, 4> ticket{1, 0, 0, 0};
    std::array<int, 3> paper{1, 0, 0};
    std::array<int, 2> order{1, 0};
    int keepAspect = 0;
};

MainButtonStates buttonStatesOf(const MainValues& values);
// The first selected button of each group wins; none selected gives none.
void applyButtonStates(const MainButtonStates& states, MainValues& values);

MainButtonStates loadMainButtonStates(const SettingsStore& store);
MainValues loadMainValues(const SettingsStore& store);
void saveMainValues(SettingsStore& store, const MainValues& values);
void saveMainValues(SettingsStore& store, const MainValues& values, const MainButtonStates& states);

OptionValues loadOptionValues(const SettingsStore& store);
void saveOptionValues(SettingsStore& store, const OptionValues& values);

// The requested number of tickets that a count text stands for.
int requestedCount(const MainValues& values);

} // namespace zorvane
