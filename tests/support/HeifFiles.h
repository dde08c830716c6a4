#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace zorvane::test {

enum class HeifKind
{
    Heic, // HEVC
    Avif, // AV1
};

// The picture written as a HEIC or AVIF file by the heif-enc program, as a
// user's tools make one, with an embedded thumbnail of at most thumbnailSide
// pixels (none for 0) and, when given, the ICC profile attached to the PNG
// it is made from (heif-enc copies it). Empty when heif-enc fails.
QByteArray heifFromEncoder(const QImage& image, HeifKind kind, int thumbnailSide = 0,
                           const QByteArray& iccProfile = {});

// What heifFromApi writes beyond the pixels.
struct HeifWriting
{
    HeifKind kind = HeifKind::Heic;
    // The EXIF orientation number the file's irot/imir boxes stand for: the
    // pixels are stored so that applying it shows the picture upright.
    int orientation = 1;
    // An nclx colour of H.273 primaries and transfer (1, 13 = sRGB; 12, 13
    // = Display P3); 0 writes none.
    int nclxPrimaries = 0;
    int nclxTransfer = 13;
    int quality = 90;
};

// The picture written through libheif itself, for what heif-enc cannot
// write. The stored pixels are the picture turned back by the orientation,
// so a reader that applies the orientation shows the given picture.
// An ICC profile, when given, is attached as it stands instead of the nclx
// colour, even one that is damaged or of the wrong kind.
QByteArray heifFromApi(const QImage& upright, const HeifWriting& writing,
                       const QByteArray& iccProfile = {});

// A small real HEIC whose every image-size box (ispe) claims the given
// size instead: a few hundred bytes asking for a huge picture.
QByteArray heifClaiming(quint32 width, quint32 height);

// The HEIF file with its first image-size box, the primary picture's,
// claiming another size than its coded pixels have; its thumbnail's stays.
QByteArray withPrimarySizeClaiming(QByteArray heif, quint32 width, quint32 height);

// Whether a colour is within the tolerance of the expected one in each
// channel: lossy HEVC and AV1 shift flat colours by a few steps.
bool closeColour(QRgb actual, QRgb expected, int tolerance = 10);

} // namespace zorvane::test
