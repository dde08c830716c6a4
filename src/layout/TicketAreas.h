#pragma once

#include "GridFit.h"
#include "settings/SheetJob.h"
#include "settings/SheetValues.h"

#include <QMargins>
#include <QRect>

#include <vector>

namespace zorvane {

// The pixels inside a cell's cut line on a device of the given resolution:
// the columns and rows the ticket's picture covers without bleed, the same
// for every cell of a sheet. Empty without a ticket.
QRect cutLinePixels(const SheetJob& job, const GridCell& cell, int dpiX, int dpiY);

// How many device pixels the picture of a cell's ticket runs past each side
// of its cut line: the job's bleed, but no more than half the gap where
// another cell of the grid lies beyond that side (so neighbours never
// overlap, whether the neighbour is printed or not), and never past the
// paper's edge. None when the bleed is off.
QMargins ticketBleed(const SheetJob& job, const GridSize& grid, const GridCell& cell, int dpiX,
                     int dpiY);

// One printed ticket of a sheet on a device: inside its cut line, and with
// its bleed. Whatever belongs inside the ticket (its number, say) goes
// within cut; only the picture of a stretched or filled ticket fills bleed.
struct TicketArea
{
    GridCell cell;
    QRect cut;
    QRect bleed;
};

// The tickets the sheet prints, in the order it draws them. Run the grid
// fit first and pass its grid, as for the sheet drawing.
std::vector<TicketArea> ticketAreas(const SheetJob& job, const GridSize& grid, int dpiX, int dpiY);

} // namespace zorvane
