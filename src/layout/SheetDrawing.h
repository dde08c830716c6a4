#pragma once

#include "GridFit.h"
#include "SheetGeometry.h"
#include "settings/Catalogue.h"
#include "settings/JobSettings.h"
#include "settings/SheetValues.h"
#include "settings/Units.h"

#include <QColor>
#include <QRect>

#include <optional>
#include <string_view>
#include <vector>

namespace zorvane {

class DrawingSurface;
class PictureHolder;
class SettingsStore;

// Where and how many tickets go on a sheet. Lengths in tenths of a
// millimetre. For code "Z" the ticket size is the custom size.
struct SheetPlacement
{
    std::string_view ticketTypeCode;
    int ticketWidth = 0;
    int ticketHeight = 0;
    std::optional<FillOrder> fillOrder;
    int rows = 0;
    int columns = 0;
    int count = 0;
    int offsetX = 100;
    int offsetY = 100;
    int gapV = 3;
    int gapH = 3;
};

// How one ticket shows its picture.
struct TileLook
{
    PicturePlacement placement = PicturePlacement::Stretch;
    // The ticket is laid out turned (its width and height swapped) and the
    // picture turned a quarter clockwise with it.
    bool turned = false;
};

// Draws one ticket with its top-left corner at (x, y) in tenths of a
// millimetre: the picture stretched over columns L..R-1 and rows T..B-1 and,
// when the frame option is on, a one-pixel frame through columns L-1 and R+1
// and rows T-1 and B+1; column R and row B stay untouched. The frame values
// are read from the store at every call, even when nothing is then drawn (an
// unknown code or no picture), so an accepted change shows at the next sheet.
// A look other than the default places the picture inside that rectangle as
// it says; the frame stays around the ticket.
void DrawTile(DrawingSurface& surface, const PictureHolder* picture, const SettingsStore& store,
              std::string_view ticketTypeCode, TicketSize customSize, int x, int y,
              const TileLook& look = {});

// Visits the grid's cells in fill order and draws a ticket in each cell that
// the sheet options leave free, until the count is reached; nothing at all
// is drawn on a used cell. Nothing without a fill order or for a count of 0
// or less. With turned sheet options, the placement's ticket size is the
// turned (laid-out) one.
void DrawSheet(DrawingSurface& surface, const PictureHolder* picture, const SettingsStore& store,
               const SheetPlacement& placement, const SheetOptions& sheet = {});

// The sheet for the main window's values, as preview and print draw it: the
// checked ticket type and fill order, the requested count and the offsets
// and gaps read now from the store. Run GridFit first and call this only
// when the count fits, with the grid it returned (fitSheet, when the sheet
// options are not the defaults).
void drawJobSheet(DrawingSurface& surface, const PictureHolder* picture, const MainValues& main,
                  const GridSize& grid, const SettingsStore& store, const SheetOptions& sheet = {});

// The frames drawJobSheet draws on a device of the given resolution, each
// from its top-left pixel to its bottom-right one; none when the frame
// option is off.
struct SheetFrames
{
    QColor colour;
    std::vector<QRect> outlines;
};
SheetFrames jobSheetFrames(const MainValues& main, const GridSize& grid, const SettingsStore& store,
                           const SheetOptions& sheet, int pixelsPerInchX, int pixelsPerInchY);

// The pitch of the sheet for the main values, the Option values read now
// from the store and the turn; none without a ticket type.
std::optional<SheetPitch> jobSheetPitch(const MainValues& main, const SettingsStore& store,
                                        bool turned);

} // namespace zorvane
