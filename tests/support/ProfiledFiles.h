#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace zorvane::test {

// Picture files that carry a colour profile, each the way the format keeps
// it, for the tests of every picture reader and output.

// A JPEG of the image (grey for a Grayscale8 image, else YCbCr) with the
// profile in APP2 markers, split over several where it is larger than one
// marker holds; no profile for an empty one.
QByteArray jpegWithProfile(const QImage& image, const QByteArray& profile, int quality = 95);
// A CMYK JPEG of 8-bit samples (four a pixel, inverted as Adobe's programs
// store them) with Adobe's marker and the profile.
QByteArray cmykJpegWithProfile(int width, int height, const QByteArray& samples,
                               const QByteArray& profile);
// A PNG of the image (16 bits a channel for RGBX64/RGBA64) with the given
// chunks (type and data each) placed after its header.
struct PngChunk
{
    QByteArray type;
    QByteArray data;
};
QByteArray pngWithChunks(const QImage& image, const QList<PngChunk>& chunks);
PngChunk iccpChunk(const QByteArray& profile);
PngChunk gamaChunk(double gamma); // as the file states it: 1/2.2 for sRGB-like
PngChunk chrmChunk(const QList<double>& whiteRedGreenBlueXy);
// A TIFF of the image with the profile in its ICC tag.
QByteArray tiffWithProfile(const QImage& image, const QByteArray& profile);
// A lossless WebP of the image with the profile in its ICCP chunk.
QByteArray webpWithProfile(const QImage& image, const QByteArray& profile);

// The profile with padding after its tags, declared in its header, so it
// spans more JPEG markers than one.
QByteArray paddedProfile(const QByteArray& profile, qsizetype size);

} // namespace zorvane::test
