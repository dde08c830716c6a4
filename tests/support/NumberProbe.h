#pragma once

#include <QImage>
#include <QRectF>

// Finds a ticket number's ink in a rendered page.
namespace numberprobe {

// The box around every dark pixel (grey below half) inside an area of the
// page, in millimetres from the page's corner, pixel edges included; empty
// when the area holds none.
QRectF inkBoxMm(const QImage& page, double dpi, const QRectF& areaMm);

} // namespace numberprobe
