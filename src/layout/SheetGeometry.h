#pragma once

#include "GridFit.h"
#include "settings/Catalogue.h"
#include "settings/JobSettings.h"
#include "settings/SheetValues.h"

#include <QRect>
#include <QSize>

#include <optional>
#include <vector>

namespace zorvane {

// The pixels the picture covers for a ticket rectangle. picture is the
// picture's size as it stands on the sheet (already swapped when turned).
// Proportions are kept in real lengths, so a surface with different
// resolutions along x and y still shows a circle as a circle. Stretch gives
// the ticket itself; Fit the largest centred rectangle inside it; Fill the
// smallest centred rectangle around it, to be clipped to the ticket. An
// odd leftover puts the extra pixel on the right or at the bottom.
QRect pictureArea(QSize picture, const QRect& ticket, PicturePlacement placement, int dpiX,
                  int dpiY);

// The grid fit for a sheet: the ticket laid out as turned, and the count
// compared with the cells left free. freeCells is the capacity less the used
// cells inside the grid; used cells outside it are ignored.
struct SheetFit
{
    GridFitResult fit;
    int freeCells = 0;
};
SheetFit fitSheet(const SheetJob& job);
SheetFit fitSheet(const MainValues& main, const OptionValues& options, const SheetOptions& sheet);

// The number of used cells that lie inside the grid.
int usedCellsInGrid(const GridSize& grid, const CellSet& used);

// The cells that tickets go in: the grid's cells in fill order, used cells
// skipped, until count cells are found or the grid ends.
std::vector<GridCell> ticketCells(FillOrder order, const GridSize& grid, int count,
                                  const CellSet& used);

// The used cells once a sheet has printed: those the sheet already had and
// the cells its tickets went into.
CellSet usedAfterPrint(const SheetJob& job);

// The first n cells of the grid in fill order.
CellSet firstCells(FillOrder order, const GridSize& grid, int n);

// The top-left corner of a cell, in tenths of a millimetre.
struct SheetPitch
{
    TicketSize ticket; // as laid out
    int offsetX = 100;
    int offsetY = 100;
    int gapV = 3;
    int gapH = 3;
};
// The pitch of a job's sheet; none without a ticket.
std::optional<SheetPitch> sheetPitch(const SheetJob& job);
QPoint cellPosition(const SheetPitch& pitch, const GridCell& cell);

// The cell of the grid under a point in tenths of a millimetre; the gap
// after a ticket counts to that ticket. None outside the grid.
std::optional<GridCell> cellAtPoint(const SheetPitch& pitch, const GridSize& grid, qint64 x,
                                    qint64 y);

} // namespace zorvane
