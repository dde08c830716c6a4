#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

#include <vector>

// Finds what cut marks and bleed left on a rendered page: how far a
// picture's colour reaches from a point inside a ticket, and the dark runs
// (marks) along a row or a column.
namespace cutprobe {

// The last pixel, stepping from start by step, whose colour is still near
// that at start: the coordinate along the step's axis.
int reach(const QImage& page, QPoint start, QPoint step);

// Near black, as a mark is on any device, printed or rendered.
bool isDark(QRgb pixel);

// The runs of dark pixels along row y (first and last column of each).
std::vector<std::pair<int, int>> darkRunsInRow(const QImage& page, int y);
// The same down column x.
std::vector<std::pair<int, int>> darkRunsInColumn(const QImage& page, int x);

// Every dark pixel of the page.
std::vector<QPoint> darkPixels(const QImage& page);

} // namespace cutprobe
