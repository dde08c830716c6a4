#include "CutMarks.h"

#include "DrawingSurface.h"
#include "TicketAreas.h"
#include "settings/Units.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace zorvane {
namespace {

constexpr int markThicknessTenths = 1;
constexpr int markDistanceTenths = 10; // from the bleed to the mark
constexpr int markLengthTenths = 40;

int markThickness(int dpi)
{
    return std::max(1, int(std::lround(markThicknessTenths * dpi / tenthsOfMmPerInch)));
}

// The cut lines along one axis, as pixel boundaries, merged where two lie
// closer than a mark is thick: one mark on their middle serves both.
std::vector<int> mergedCutLines(const std::set<int>& lines, int thickness)
{
    std::vector<int> merged;
    auto line = lines.begin();
    while (line != lines.end()) {
        const int first = *line;
        int last = first;
        while (++line != lines.end() && *line - last < thickness)
            last = *line;
        merged.push_back(first + (last - first) / 2);
    }
    return merged;
}

// The pixels of a mark of the given thickness centred on a boundary.
std::pair<int, int> acrossLine(int boundary, int thickness)
{
    const int first = boundary - thickness / 2;
    return {first, first + thickness - 1};
}

// The reach of the grid's outer tickets with their bleed, as the boundaries
// of the pixels they cover.
struct GridReach
{
    int left = 0;
    int top = 0;
    int right = 0; // one past the last column
    int bottom = 0;
};

GridReach gridReach(const SheetJob& job, const GridSize& grid, int dpiX, int dpiY)
{
    const GridCell first{0, 0};
    const GridCell last{grid.rows - 1, grid.columns - 1};
    const QRect firstArea = cutLinePixels(job, first, dpiX, dpiY)
                                .marginsAdded(ticketBleed(job, grid, first, dpiX, dpiY));
    const QRect lastArea =
        cutLinePixels(job, last, dpiX, dpiY).marginsAdded(ticketBleed(job, grid, last, dpiX, dpiY));
    return {firstArea.left(), firstArea.top(), lastArea.right() + 1, lastArea.bottom() + 1};
}

struct AxisLines
{
    std::set<int> vertical; // x boundaries of left and right cut lines
    std::set<int> horizontal;
};

AxisLines printedCutLines(const SheetJob& job, const GridSize& grid, int dpiX, int dpiY)
{
    AxisLines lines;
    for (const TicketArea& area : ticketAreas(job, grid, dpiX, dpiY)) {
        lines.vertical.insert({area.cut.left(), area.cut.right() + 1});
        lines.horizontal.insert({area.cut.top(), area.cut.bottom() + 1});
    }
    return lines;
}

// Where the marks of one axis go along the other: before the grid's reach
// and after it, from a distance to a farther one (each converted on its
// own, so the far end is as near its length as the near one).
struct MarkSpan
{
    int before = 0; // the reach of the grid on the near side
    int after = 0;
    int near = 0;
    int far = 0;
};

void addMarks(std::vector<QRect>& marks, const std::vector<int>& lines, int thickness,
              const MarkSpan& span, bool vertical, const std::optional<QRect>& limit)
{
    for (const int line : lines) {
        const auto [first, last] = acrossLine(line, thickness);
        for (const auto& [from, to] :
             {std::pair{span.before - span.far, span.before - span.near - 1},
              std::pair{span.after + span.near, span.after + span.far - 1}}) {
            QRect mark = vertical ? QRect(QPoint(first, from), QPoint(last, to))
                                  : QRect(QPoint(from, first), QPoint(to, last));
            if (limit)
                mark &= *limit;
            if (!mark.isEmpty())
                marks.push_back(mark);
        }
    }
}

} // namespace

std::vector<QRect> cutMarkRects(const SheetJob& job, const GridSize& grid, int dpiX, int dpiY,
                                const std::optional<QRect>& printable)
{
    std::vector<QRect> marks;
    if (!job.sheet.cut.cutMarks || grid.rows <= 0 || grid.columns <= 0)
        return marks;
    const AxisLines lines = printedCutLines(job, grid, dpiX, dpiY);
    if (lines.vertical.empty())
        return marks;
    std::optional<QRect> limit = printable;
    if (!limit && job.paper)
        limit = QRect(QPoint(0, 0), pagePixelSize(*job.paper, dpiX, dpiY));
    const GridReach reach = gridReach(job, grid, dpiX, dpiY);
    const int thicknessX = markThickness(dpiX);
    const int thicknessY = markThickness(dpiY);
    addMarks(marks, mergedCutLines(lines.vertical, thicknessX), thicknessX,
             {reach.top, reach.bottom, pixelsFromTenths(markDistanceTenths, dpiY),
              pixelsFromTenths(markDistanceTenths + markLengthTenths, dpiY)},
             true, limit);
    addMarks(marks, mergedCutLines(lines.horizontal, thicknessY), thicknessY,
             {reach.left, reach.right, pixelsFromTenths(markDistanceTenths, dpiX),
              pixelsFromTenths(markDistanceTenths + markLengthTenths, dpiX)},
             false, limit);
    return marks;
}

void drawCutMarks(DrawingSurface& surface, const SheetJob& job, const GridSize& grid)
{
    const std::vector<QRect> marks = cutMarkRects(
        job, grid, surface.pixelsPerInchX(), surface.pixelsPerInchY(), surface.printableArea());
    if (marks.empty())
        return;
    DrawingSurface::PenSelection pen(surface, Qt::black);
    // Each mark as lines along its length; a line's end point is left out,
    // so each runs one past the mark.
    for (const QRect& mark : marks) {
        if (mark.height() > mark.width()) {
            for (int column = mark.left(); column <= mark.right(); ++column) {
                surface.moveTo(QPoint(column, mark.top()));
                surface.lineTo(QPoint(column, mark.bottom() + 1));
            }
        } else {
            for (int row = mark.top(); row <= mark.bottom(); ++row) {
                surface.moveTo(QPoint(mark.left(), row));
                surface.lineTo(QPoint(mark.right() + 1, row));
            }
        }
    }
}

} // namespace zorvane
