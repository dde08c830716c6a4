#pragma once

#include "Catalogue.h"
#include "CutGuides.h"

#include <QString>

#include <compare>
#include <optional>
#include <set>
#include <string_view>

namespace zorvane {

class SettingsStore;

// How the picture sits in its ticket.
enum class PicturePlacement
{
    Stretch, // stretched to the ticket, proportions not kept
    Fit,     // the whole picture, proportions kept, centred, the rest left blank
    Fill,    // the ticket filled, proportions kept, centred, the overflow cut off
};

// One cell of the ticket grid, counted from 0 at the top left.
struct GridCell
{
    int row = 0;
    int column = 0;

    friend auto operator<=>(const GridCell&, const GridCell&) = default;
};

using CellSet = std::set<GridCell>;

// The choices of the sheet section that hold for every paper and ticket.
struct SheetChoices
{
    PicturePlacement placement = PicturePlacement::Stretch;
    bool turned = false;      // tickets turned by a quarter
    bool markPrinted = false; // the cells of a completed print become used

    friend bool operator==(const SheetChoices&, const SheetChoices&) = default;
};

// What one sheet is drawn with beyond the main and Option values: the
// placement, the turn, and the cells that tickets must leave free. With
// the defaults, sheets come out exactly as they always have.
struct SheetOptions
{
    PicturePlacement placement = PicturePlacement::Stretch;
    bool turned = false;
    CellSet usedCells;
    CutGuides cut{}; // cut marks and bleed

    friend bool operator==(const SheetOptions&, const SheetOptions&) = default;
};

// The command-line words of the placements: "stretch", "fit", "fill".
std::string_view placementWord(PicturePlacement placement);
std::optional<PicturePlacement> placementForWord(std::string_view word);

// Read with their defaults when nothing is stored; nothing is written until
// the user changes something.
SheetChoices loadSheetChoices(const SettingsStore& store);
// Each change writes its own key and no other: a window's copy of the other
// choices may be older than what a second copy of the program has stored
// since. The store is read afresh first, an unchanged value is not written,
// and the write is the store's checked one.
void saveSheetChoice(SettingsStore& store, PicturePlacement placement);
// choice: &SheetChoices::turned or &SheetChoices::markPrinted.
void saveSheetChoice(SettingsStore& store, bool SheetChoices::*choice, bool on);

// The used cells are kept per paper and ticket size (as laid out, so a
// turned ticket counts as a size of its own): the sheet put back next week
// is the same sheet only for the same layout.
QString usedCellsKey(PaperKind paper, TicketSize ticket, bool turned);
CellSet loadUsedCells(const SettingsStore& store, PaperKind paper, TicketSize ticket, bool turned);
// Writes this layout's key alone, through the store's checked write.
void saveUsedCells(SettingsStore& store, PaperKind paper, TicketSize ticket, bool turned,
                   const CellSet& cells);

// The stored text of a cell set, "row:column" pairs joined by spaces, and back.
// Pairs that do not read as two whole numbers of 0 or more are dropped.
QString cellSetText(const CellSet& cells);
CellSet cellSetFromText(const QString& text);

} // namespace zorvane
