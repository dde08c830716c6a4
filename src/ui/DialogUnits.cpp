#include "DialogUnits.h"

#include <QFontMetricsF>

#include <cmath>

namespace zorvane {
namespace {

int scaled(int units, int base, int divisor)
{
    return int(std::lround(double(units) * base / divisor));
}

} // namespace

DialogUnits DialogUnits::of(const QFont& font, QPaintDevice* device)
{
    const QFontMetricsF metrics(font, device);
    double sum = 0;
    for (char16_t c = u'A'; c <= u'Z'; ++c)
        sum += metrics.horizontalAdvance(QChar(c));
    for (char16_t c = u'a'; c <= u'z'; ++c)
        sum += metrics.horizontalAdvance(QChar(c));
    const int baseWidth = int(std::lround(sum / 52));
    const int baseHeight = QFontMetrics(font, device).height();
    return DialogUnits(baseWidth, baseHeight);
}

int DialogUnits::toPixelsX(int dialogUnits) const
{
    return scaled(dialogUnits, baseWidth_, 4);
}

int DialogUnits::toPixelsY(int dialogUnits) const
{
    return scaled(dialogUnits, baseHeight_, 8);
}

QRect DialogUnits::toPixels(const QRect& dialogUnits) const
{
    return QRect(toPixelsX(dialogUnits.x()), toPixelsY(dialogUnits.y()),
                 toPixelsX(dialogUnits.width()), toPixelsY(dialogUnits.height()));
}

QSize DialogUnits::toPixels(const QSize& dialogUnits) const
{
    return QSize(toPixelsX(dialogUnits.width()), toPixelsY(dialogUnits.height()));
}

} // namespace zorvane
