#pragma once

#include <QByteArray>
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

// A 70-byte BMP whose header claims the given size, with a few bytes of
// pixels: the file check must refuse it without allocating the claim.
QByteArray bmpClaiming(qint32 width, qint32 height, quint16 bitsPerPixel = 24);

// A real, whole PNG of the given size in one bit per pixel: a few kilobytes
// on disk even when it holds more pixels than the program loads.
QByteArray blankPng(int width, int height);

} // namespace zorvane::test
