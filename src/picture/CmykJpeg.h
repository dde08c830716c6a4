#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

namespace zorvane {

// Decodes a CMYK JPEG through its CMYK profile into RGB32, at eighths/8 of
// its stored size (the decoder's own scaling, 1 to 8), as stored (not yet
// turned upright); a null image when the file or the profile fails.
QImage decodeCmykJpeg(QByteArrayView file, const QByteArray& profile, bool inverted, int eighths);

} // namespace zorvane
