#include "TicketAreas.h"

#include "SheetGeometry.h"
#include "settings/Units.h"
#include "settings/WideMath.h"

#include <algorithm>
#include <optional>

namespace zorvane {
namespace {

// Half the pixels between the end of one ticket and the start of the next,
// rounded down, so the two halves never meet; none for touching or
// overlapping tickets.
int halfGapPixels(int endOfFirst, int startOfSecond)
{
    return std::max(0, (startOfSecond - endOfFirst) / 2);
}

// The bleed on each side before the paper's edge is taken into account.
QMargins bleedBetweenCells(const SheetJob& job, const GridSize& grid, const GridCell& cell,
                           int dpiX, int dpiY)
{
    const int bleedX = pixelsFromTenths(job.sheet.cut.bleed, dpiX);
    const int bleedY = pixelsFromTenths(job.sheet.cut.bleed, dpiY);
    const QRect cut = cutLinePixels(job, cell, dpiX, dpiY);
    const auto neighbour = [&](int rowStep, int columnStep) {
        return cutLinePixels(job, {cell.row + rowStep, cell.column + columnStep}, dpiX, dpiY);
    };
    QMargins bleed(bleedX, bleedY, bleedX, bleedY);
    if (cell.column > 0)
        bleed.setLeft(std::min(bleedX, halfGapPixels(neighbour(0, -1).right() + 1, cut.left())));
    if (cell.column < grid.columns - 1)
        bleed.setRight(std::min(bleedX, halfGapPixels(cut.right() + 1, neighbour(0, 1).left())));
    if (cell.row > 0)
        bleed.setTop(std::min(bleedY, halfGapPixels(neighbour(-1, 0).bottom() + 1, cut.top())));
    if (cell.row < grid.rows - 1)
        bleed.setBottom(std::min(bleedY, halfGapPixels(cut.bottom() + 1, neighbour(1, 0).top())));
    return bleed;
}

} // namespace

QRect cutLinePixels(const SheetJob& job, const GridCell& cell, int dpiX, int dpiY)
{
    const std::optional<SheetPitch> pitch = sheetPitch(job);
    if (!pitch)
        return {};
    const QPoint position = cellPosition(*pitch, cell);
    const qint64 left = pixelsFromTenths(position.x(), dpiX);
    const qint64 top = pixelsFromTenths(position.y(), dpiY);
    const qint64 right = left + pixelsFromTenths(pitch->ticket.width, dpiX);
    const qint64 bottom = top + pixelsFromTenths(pitch->ticket.height, dpiY);
    return QRect(QPoint(clampToInt(left), clampToInt(top)),
                 QPoint(clampToInt(right - 1), clampToInt(bottom - 1)));
}

QMargins ticketBleed(const SheetJob& job, const GridSize& grid, const GridCell& cell, int dpiX,
                     int dpiY)
{
    if (job.sheet.cut.bleed <= 0 || !job.ticket)
        return {};
    QMargins bleed = bleedBetweenCells(job, grid, cell, dpiX, dpiY);
    if (!job.paper)
        return bleed;
    const QSize page = pagePixelSize(*job.paper, dpiX, dpiY);
    const QRect cut = cutLinePixels(job, cell, dpiX, dpiY);
    const auto room = [](int pixels) { return std::max(0, pixels); };
    bleed.setLeft(std::min(bleed.left(), room(cut.left())));
    bleed.setTop(std::min(bleed.top(), room(cut.top())));
    bleed.setRight(std::min(bleed.right(), room(page.width() - cut.right() - 1)));
    bleed.setBottom(std::min(bleed.bottom(), room(page.height() - cut.bottom() - 1)));
    return bleed;
}

std::vector<TicketArea> ticketAreas(const SheetJob& job, const GridSize& grid, int dpiX, int dpiY)
{
    std::vector<TicketArea> areas;
    if (!job.ticket || !job.fillOrder)
        return areas;
    for (const GridCell& cell : ticketCells(*job.fillOrder, grid, job.count, job.sheet.usedCells)) {
        const QRect cut = cutLinePixels(job, cell, dpiX, dpiY);
        areas.push_back({cell, cut, cut.marginsAdded(ticketBleed(job, grid, cell, dpiX, dpiY))});
    }
    return areas;
}

} // namespace zorvane
