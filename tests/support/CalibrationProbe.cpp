#include "CalibrationProbe.h"

#include <QColor>

#include <cmath>

namespace calibrationprobe {
namespace {

constexpr double mmPerInch = 25.4;
constexpr double searchMm = 2.5;

int toPixel(double mm, double dpi)
{
    return int(std::floor(mm * dpi / mmPerInch));
}

double toMm(double pixel, double dpi)
{
    return pixel * mmPerInch / dpi;
}

int ink(const QImage& page, int x, int y)
{
    if (!page.rect().contains(x, y))
        return 0;
    const int darkness = 255 - qGray(page.pixel(x, y));
    return darkness > 24 ? darkness : 0; // paper noise is not ink
}

bool coloured(const QImage& page, int x, int y)
{
    if (!page.rect().contains(x, y))
        return false;
    const QRgb rgb = page.pixel(x, y);
    return qRed(rgb) + qGreen(rgb) + qBlue(rgb) < 600;
}

// The ink-weighted centre, in pixels, of what crosses a line of pixels
// from..to (inclusive) at a fixed other coordinate; NaN without ink.
template<typename InkAt> double inkCentre(int from, int to, InkAt inkAt)
{
    double weight = 0;
    double moment = 0;
    for (int i = from; i <= to; ++i) {
        const int amount = inkAt(i);
        weight += amount;
        moment += amount * (i + 0.5);
    }
    return weight > 0 ? moment / weight : std::nan("");
}

} // namespace

QPointF crosshairMm(const QImage& page, double dpi, QPointF nominalMm, int side)
{
    double sumX = 0;
    double sumY = 0;
    int rows = 0;
    // Several probe lines between 5 and 7 mm from the centre, inside the
    // arms (8 mm) and outside the circle (3 mm).
    for (double away = 5.0; away <= 7.0; away += 0.25) {
        const int probeY = toPixel(nominalMm.y() + side * away, dpi);
        const int probeX = toPixel(nominalMm.x() + side * away, dpi);
        const double x = inkCentre(toPixel(nominalMm.x() - searchMm, dpi),
                                   toPixel(nominalMm.x() + searchMm, dpi),
                                   [&](int i) { return ink(page, i, probeY); });
        const double y = inkCentre(toPixel(nominalMm.y() - searchMm, dpi),
                                   toPixel(nominalMm.y() + searchMm, dpi),
                                   [&](int i) { return ink(page, probeX, i); });
        if (std::isnan(x) || std::isnan(y))
            return QPointF();
        sumX += x;
        sumY += y;
        ++rows;
    }
    return QPointF(toMm(sumX / rows, dpi), toMm(sumY / rows, dpi));
}

QRectF ticketMm(const QImage& page, double dpi, QPointF insideMm)
{
    const int x = toPixel(insideMm.x(), dpi);
    const int y = toPixel(insideMm.y(), dpi);
    if (!coloured(page, x, y))
        return QRectF();
    int left = x;
    while (coloured(page, left - 1, y))
        --left;
    int right = x;
    while (coloured(page, right + 1, y))
        ++right;
    int top = y;
    while (coloured(page, x, top - 1))
        --top;
    int bottom = y;
    while (coloured(page, x, bottom + 1))
        ++bottom;
    // Edges lie on the pixels' outer borders.
    return QRectF(QPointF(toMm(left, dpi), toMm(top, dpi)),
                  QPointF(toMm(right + 1, dpi), toMm(bottom + 1, dpi)));
}

} // namespace calibrationprobe
