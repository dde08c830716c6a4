#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>

// Measures a rendered page the way a person with a ruler would: where the
// calibration sheet's crosshairs and the tickets' edges lie, in millimetres
// from the page's corner.
namespace calibrationprobe {

// The centre of the crosshair near nominalMm: the ink-weighted middle of
// its vertical and horizontal arms, probed on the side away from its
// rulers (side +1: right of and below the centre, -1: left of and above).
// Null when no arm is found within 2.5 mm of the nominal place.
QPointF crosshairMm(const QImage& page, double dpi, QPointF nominalMm, int side);

// The coloured rectangle (a ticket's picture) that contains insideMm,
// found by walking outward until the paper is white again. Empty when the
// point is white.
QRectF ticketMm(const QImage& page, double dpi, QPointF insideMm);

} // namespace calibrationprobe
