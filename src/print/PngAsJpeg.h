#pragma once

#include <QByteArray>

namespace zorvane {

// The picture of a PNG file of opaque colour, grey or palette pixels,
// encoded as a JPEG at the given quality row by row as the rows are
// inflated, so neither picture is ever held whole as pixels. The pixels are
// those Qt's decoder gives (no gamma applied, 16-bit samples rounded to 8),
// and the JPEG is the one Qt's encoder writes from them, with 2x2 chroma
// subsampling. Empty for any other file: interlaced, with an alpha channel
// or transparent colours, damaged or cut short.
// With the file's colour profile (an RGB one), each row is converted from it
// to sRGB before it is encoded, from 16 bits where the file has them; a grey
// file with a profile is left to the other path, as empty.
QByteArray pngAsJpeg(const QByteArray& png, int quality, const QByteArray& iccProfile = {});

} // namespace zorvane
