#pragma once

#include "ColourProfile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSize>

namespace zorvane {

// What the header of a HEIF file (HEIC or AVIF) says about its primary
// picture, before anything is decoded.
struct HeifHeader
{
    enum class Reading
    {
        Read,
        Damaged,  // the boxes do not hold a picture
        TooLarge, // a side beyond what the decoder is allowed to take
    };
    Reading reading = Reading::Damaged;
    QSize size; // upright, as decoded: turns and mirrors already applied
    bool hasThumbnail = false;
    // Whether the picture's ICC profile or nclx colour is converted, or is
    // unusable and the picture taken as sRGB; known before any decode, so
    // the command line can say so as for other pictures.
    ProfileUse profileUse = ProfileUse::Untagged;
};

// The suffixes of HEIF files' names, in lower case.
QList<QByteArray> heifFileSuffixes();

// Whether the bytes begin as a HEIF file of a kind the decoder reads.
bool isHeifFile(QByteArrayView bytes);

// Reads the file's boxes only; no pixels are decoded.
HeifHeader readHeifHeader(const QByteArray& bytes);

// The primary picture decoded whole (a grid of tiles put together) and
// upright by the file's own turn and mirror, in a format the sheet draws
// fastest; a null image when the file does not decode or its size is not
// the expected one. Safe on any thread.
QImage decodeHeif(const QByteArray& bytes, QSize expected);

// The file's embedded thumbnail of the primary picture, upright; a null
// image when it has none or it does not decode.
QImage decodeHeifThumbnail(const QByteArray& bytes);

} // namespace zorvane
