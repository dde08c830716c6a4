#pragma once

#include <QByteArray>
#include <QImage>
#include <QRgb>
#include <QSize>

#include <memory>

namespace zorvane {
class PictureHolder;
}

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

// The colour of solidPicture: neither paper, frame nor background, so a
// drawn tile stands out from all three.
constexpr QRgb pictureColour = 0xff2040c0;

// A picture of one colour, as the window holds one after loading.
std::unique_ptr<PictureHolder> solidPicture(QSize size = QSize(300, 200),
                                            QRgb colour = pictureColour);

// Every pixel random from the seed: no file format compresses it, so any
// file made of it is large.
QImage incompressibleImage(QSize size, quint32 seed);

// The four quarters of sheetprobe::quarteredPicture under fine noise: a row
// or column drawn one pixel off, or a band seam, changes pixels everywhere
// in a ticket, while the quarters still show where the ticket lies.
QImage noisyQuarteredImage(int width, int height);

} // namespace zorvane::test
