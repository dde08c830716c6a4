#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace zorvane {

// How a picture file says its colours are meant.
struct EmbeddedColour
{
    // The ICC profile the file carries, or one built from what it says
    // instead (a PNG's gAMA and cHRM); empty for none, and for a PNG that
    // states sRGB.
    QByteArray profile;
    // A JPEG of CMYK (or YCCK) samples, which Qt's reader turns into RGB
    // without a profile.
    bool cmyk = false;
    // Its samples are stored inverted (255 = no ink), as Adobe's programs
    // write them; a JPEG with Adobe's marker has them so.
    bool invertedCmyk = false;
    // The file has a profile that cannot be read out of it: cut off,
    // claiming more than the file holds, or inflating past any real size.
    bool unreadable = false;
};

// Reads the colour description from a file's bytes, as QImageReader names
// its format ("jpeg", "png", "tiff", "webp"); nothing for other formats and
// a damaged or oversized description is marked unreadable.
EmbeddedColour embeddedColour(QByteArrayView file, const QByteArray& format);

// The carriers one by one.
EmbeddedColour jpegColour(QByteArrayView file);
EmbeddedColour pngColour(QByteArrayView file);
EmbeddedColour tiffColour(QByteArrayView file);
EmbeddedColour webpColour(QByteArrayView file);

} // namespace zorvane
