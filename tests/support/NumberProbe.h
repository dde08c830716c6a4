#pragma once

#include "settings/Numbering.h"

#include <QImage>
#include <QRectF>

#include <span>
#include <utility>

// Finds a ticket number's ink in a rendered page.
namespace numberprobe {

// The box around every dark pixel (grey below half) inside an area of the
// page, in millimetres from the page's corner, pixel edges included; empty
// when the area holds none.
QRectF inkBoxMm(const QImage& page, double dpi, const QRectF& areaMm);

// The places a number can stand, named for table rows: the four corners,
// then the centre.
inline constexpr std::pair<const char*, zorvane::NumberPosition> places[] = {
    {"top left", zorvane::NumberPosition::TopLeft},
    {"top right", zorvane::NumberPosition::TopRight},
    {"bottom left", zorvane::NumberPosition::BottomLeft},
    {"bottom right", zorvane::NumberPosition::BottomRight},
    {"centre", zorvane::NumberPosition::Centre}};
inline constexpr std::span corners(places, 4);

} // namespace numberprobe
