#pragma once

#include <QImage>
#include <QRgb>

namespace zorvane::test {

struct QuarterColours
{
    QRgb topLeft;
    QRgb topRight;
    QRgb bottomLeft;
    QRgb bottomRight;
};

// A picture of four solid quarters split at width / 2 and height / 2, so a
// drawing's orientation, mirroring and stretching show in its pixels.
QImage quarteredImage(int width, int height, const QuarterColours& colours);

} // namespace zorvane::test
