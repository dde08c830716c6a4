#include "Units.h"

#include "WideMath.h"

#include <cmath>

namespace zorvane {

int pixelsFromTenths(int tenths, int pixelsPerInch)
{
    const double pixels = double(qint64(tenths) * pixelsPerInch) / tenthsOfMmPerInch;
    return clampToInt(qint64(std::trunc(pixels)));
}

int pixelsFromMillimetres(int millimetres, int pixelsPerInch)
{
    const double pixels = double(qint64(millimetres) * pixelsPerInch) / millimetresPerInch;
    return clampToInt(qint64(std::trunc(pixels)));
}

QSize pagePixelSize(PaperKind paper, int dpiX, int dpiY)
{
    const PaperSpec& sheet = paperSpec(paper);
    return {pixelsFromMillimetres(sheet.pageWidthMm, dpiX),
            pixelsFromMillimetres(sheet.pageHeightMm, dpiY)};
}

int dotsPerMetre(int pixelsPerInch)
{
    return clampToInt(std::llround(pixelsPerInch / metresPerInch));
}

QString millimetresText(int tenths)
{
    return QString::number(tenths / 10.0, 'f', 1);
}

} // namespace zorvane
