#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>
#include <QString>

namespace zorvane::test {

// The profiles the colour tests use: Debian's colord and Ghostscript files
// where they exist, else built here with Little CMS.
namespace profiles {
QByteArray file(const QString& path);
QByteArray srgb();
QByteArray adobeRgb();
QByteArray proPhoto();
QByteArray swappedRedAndGreen();
QByteArray displayP3();   // built: P3 primaries, D65, sRGB's curve
QByteArray greyGamma18(); // built: a grey profile of gamma 1.8
QByteArray swopCmyk();
} // namespace profiles

// The 24 patches of the usual colour checker, in sRGB.
const QList<QRgb>& checkerPatches();
// A chart of those patches, 6 × 4 squares of the given side, in sRGB.
QImage patchChart(int side = 16);

// The image (RGB32) converted with Little CMS from sRGB into the RGB
// profile, relative colorimetric: what a camera in that space would write.
QImage srgbIntoProfile(const QImage& srgb, const QByteArray& profile);
// The same into a CMYK profile: four bytes a pixel, C, M, Y, K, each
// inverted (255 = no ink) as Adobe's programs store them in a JPEG.
QByteArray srgbIntoCmyk(const QImage& srgb, const QByteArray& profile);

// CIEDE2000 differences between two images of one size, pixel by pixel,
// both taken as sRGB.
struct DeltaE
{
    double mean = 0;
    double max = 0;
    QString describe() const;
};
DeltaE deltaE(const QImage& reference, const QImage& actual);
// The same at the centres of the chart's patches only, so a scaled or
// resampled picture compares at its solid parts: the actual image is any
// size showing the chart edge to edge.
DeltaE patchDeltaE(const QImage& reference, const QImage& actual, int columns = 6, int rows = 4);

} // namespace zorvane::test
