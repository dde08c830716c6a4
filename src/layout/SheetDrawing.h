#pragma once

#include "GridFit.h"
#include "SheetGeometry.h"
#include "settings/Catalogue.h"
#include "settings/JobSettings.h"
#include "settings/SheetValues.h"
#include "settings/Units.h"

#include <QColor>
#include <QMargins>
#include <QRect>

#include <optional>
#include <vector>

namespace zorvane {

class DrawingSurface;
class PictureHolder;

// How one ticket shows its picture.
struct TileLook
{
    PicturePlacement placement = PicturePlacement::Stretch;
    // The ticket is laid out turned (its width and height swapped) and the
    // picture turned a quarter clockwise with it.
    bool turned = false;
    // Device pixels the picture of a stretched or filled ticket runs past
    // its cut line on each side; a whole picture stays inside.
    QMargins bleed{};
};

// Draws one ticket of the laid-out size with its top-left corner at (x, y)
// in tenths of a millimetre: the picture stretched over columns L..R-1 and
// rows T..B-1 and, when the options' frame is on, a one-pixel frame through
// columns L-1 and R+1 and rows T-1 and B+1; column R and row B stay
// untouched. Nothing without a picture. A look other than the default
// places the picture inside that rectangle as it says; the frame stays
// around the ticket.
void DrawTile(DrawingSurface& surface, const PictureHolder* picture, const OptionValues& options,
              TicketSize ticket, int x, int y, const TileLook& look = {});

// Visits the grid's cells in the job's fill order and draws a ticket in
// each cell the job leaves free, until its count is reached; nothing at all
// is drawn on a used cell. Nothing without a ticket or fill order, or for a
// count of 0 or less. The pictures run into the job's bleed, and its cut
// marks come last (see TicketAreas and CutMarks). Run the grid fit first (fitSheet) and call this
// only when the count fits, with the grid it returned.
void DrawSheet(DrawingSurface& surface, const PictureHolder* picture, const SheetJob& job,
               const GridSize& grid);

// The frames DrawSheet draws on a device of the given resolution, each from
// its top-left pixel to its bottom-right one; none when the frame option is
// off.
struct SheetFrames
{
    QColor colour;
    std::vector<QRect> outlines;
};
SheetFrames sheetFrames(const SheetJob& job, const GridSize& grid, int pixelsPerInchX,
                        int pixelsPerInchY);

} // namespace zorvane
