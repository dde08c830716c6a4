#include "SheetGeometry.h"

#include "settings/WideMath.h"

#include <cmath>

namespace zorvane {
namespace {

// a * b / c rounded to the nearest whole number, in double precision.
qint64 scaled(qint64 a, qint64 b, qint64 c)
{
    return qint64(std::llround(double(a) * double(b) / double(c)));
}

// Visits the grid's cells in fill order until visit returns false.
template<typename Visit> void visitInFillOrder(FillOrder order, const GridSize& grid, Visit visit)
{
    if (grid.rows <= 0 || grid.columns <= 0)
        return;
    const int outerCount = order == FillOrder::RowsFirst ? grid.rows : grid.columns;
    const int innerCount = order == FillOrder::RowsFirst ? grid.columns : grid.rows;
    for (int outer = 0; outer < outerCount; ++outer) {
        for (int inner = 0; inner < innerCount; ++inner) {
            const GridCell cell =
                order == FillOrder::RowsFirst ? GridCell{outer, inner} : GridCell{inner, outer};
            if (!visit(cell))
                return;
        }
    }
}

bool insideGrid(const GridSize& grid, const GridCell& cell)
{
    return cell.row >= 0 && cell.column >= 0 && cell.row < grid.rows && cell.column < grid.columns;
}

} // namespace

QRect pictureArea(QSize picture, const QRect& ticket, PicturePlacement placement, int dpiX,
                  int dpiY)
{
    if (placement == PicturePlacement::Stretch || picture.isEmpty() || ticket.isEmpty() ||
        dpiX <= 0 || dpiY <= 0)
        return ticket;
    const qint64 width = ticket.width();
    const qint64 height = ticket.height();
    // Compare the real proportions: the picture is wider than the ticket
    // when pw / ph > (W / dpiX) / (H / dpiY).
    const bool pictureWider =
        qint64(picture.width()) * height * dpiX > qint64(picture.height()) * width * dpiY;
    // Fit matches the picture's longer side (relative to the ticket) to the
    // ticket, Fill its shorter one.
    const bool matchWidth = (placement == PicturePlacement::Fit) == pictureWider;
    qint64 areaWidth = width;
    qint64 areaHeight = height;
    if (matchWidth)
        areaHeight = scaled(width * picture.height(), dpiY, qint64(picture.width()) * dpiX);
    else
        areaWidth = scaled(height * picture.width(), dpiX, qint64(picture.height()) * dpiY);
    areaWidth = std::max<qint64>(areaWidth, 1);
    areaHeight = std::max<qint64>(areaHeight, 1);
    // Floor division, so the extra pixel of an odd leftover (or overflow)
    // goes to the right and the bottom in both placements.
    auto half = [](qint64 leftover) {
        return leftover >= 0 ? leftover / 2 : -((1 - leftover) / 2);
    };
    const qint64 left = ticket.left() + half(width - areaWidth);
    const qint64 top = ticket.top() + half(height - areaHeight);
    return QRect(clampToInt(left), clampToInt(top), clampToInt(areaWidth), clampToInt(areaHeight));
}

int usedCellsInGrid(const GridSize& grid, const CellSet& used)
{
    int count = 0;
    for (const GridCell& cell : used) {
        if (insideGrid(grid, cell))
            ++count;
    }
    return count;
}

SheetFit fitSheet(const SheetJob& job)
{
    SheetFit result;
    result.fit = GridFit(job);
    result.freeCells =
        capacity(result.fit.grid) - usedCellsInGrid(result.fit.grid, job.sheet.usedCells);
    if (!job.sheet.usedCells.empty() && result.fit.fits)
        result.fit.fits = job.count <= result.freeCells;
    return result;
}

SheetFit fitSheet(const MainValues& main, const OptionValues& options, const SheetOptions& sheet)
{
    return fitSheet(sheetJobOf(main, options, sheet));
}

std::vector<GridCell> ticketCells(FillOrder order, const GridSize& grid, int count,
                                  const CellSet& used)
{
    std::vector<GridCell> cells;
    if (count <= 0)
        return cells;
    visitInFillOrder(order, grid, [&](const GridCell& cell) {
        if (!used.contains(cell))
            cells.push_back(cell);
        return int(cells.size()) < count;
    });
    return cells;
}

CellSet usedAfterPrint(const SheetJob& job)
{
    CellSet used = job.sheet.usedCells;
    const SheetFit fit = fitSheet(job);
    if (!fit.fit.fits || !job.fillOrder)
        return used;
    for (const GridCell& cell :
         ticketCells(*job.fillOrder, fit.fit.grid, job.count, job.sheet.usedCells))
        used.insert(cell);
    return used;
}

CellSet firstCells(FillOrder order, const GridSize& grid, int n)
{
    CellSet cells;
    if (n <= 0)
        return cells;
    visitInFillOrder(order, grid, [&](const GridCell& cell) {
        cells.insert(cell);
        return int(cells.size()) < n;
    });
    return cells;
}

std::optional<SheetPitch> sheetPitch(const SheetJob& job)
{
    if (!job.ticket)
        return std::nullopt;
    const OptionValues& options = job.options;
    return SheetPitch{*job.ticket, options.offsetX, options.offsetY, options.gapV, options.gapH};
}

QPoint cellPosition(const SheetPitch& pitch, const GridCell& cell)
{
    const qint64 pitchX = qint64(pitch.ticket.width) + pitch.gapH;
    const qint64 pitchY = qint64(pitch.ticket.height) + pitch.gapV;
    return {clampToInt(pitch.offsetX + cell.column * pitchX),
            clampToInt(pitch.offsetY + cell.row * pitchY)};
}

std::optional<GridCell> cellAtPoint(const SheetPitch& pitch, const GridSize& grid, qint64 x,
                                    qint64 y)
{
    const qint64 pitchX = qint64(pitch.ticket.width) + pitch.gapH;
    const qint64 pitchY = qint64(pitch.ticket.height) + pitch.gapV;
    const qint64 dx = x - pitch.offsetX;
    const qint64 dy = y - pitch.offsetY;
    if (pitchX <= 0 || pitchY <= 0 || dx < 0 || dy < 0)
        return std::nullopt;
    const qint64 column = dx / pitchX;
    const qint64 row = dy / pitchY;
    if (row >= grid.rows || column >= grid.columns)
        return std::nullopt;
    return GridCell{int(row), int(column)};
}

} // namespace zorvane
