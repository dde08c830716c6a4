#pragma once

#include "GridFit.h"
#include "settings/SheetJob.h"

#include <QRect>

#include <optional>
#include <vector>

namespace zorvane {

class DrawingSurface;

// The cut marks of a sheet on a device, each as the pixels it fills. For
// every left and right cut line of a printed ticket one mark above the grid
// and one below it; for every top and bottom cut line one left and one
// right of it. A mark starts 1 mm beyond the bleed of the grid's outer
// tickets and runs 4 mm away from the grid or up to the edge of the
// printable area, whichever comes first; it is 0.1 mm thick, at least one
// pixel, centred on its cut line. Cut lines closer together than that
// share one mark. printable: the device's printable area in the sheet's
// pixels; without it the paper, and without a paper no limit. None when
// the job's cut marks are off.
std::vector<QRect> cutMarkRects(const SheetJob& job, const GridSize& grid, int dpiX, int dpiY,
                                const std::optional<QRect>& printable);

// Draws the marks in black, limited by the surface's printable area.
void drawCutMarks(DrawingSurface& surface, const SheetJob& job, const GridSize& grid);

} // namespace zorvane
