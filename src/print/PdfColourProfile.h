#pragma once

#include <QByteArray>

namespace zorvane {

// The PDF with the image whose stream holds exactly the given JPEG bytes
// given the ICC profile as its colour space ([/ICCBased stream]), so readers
// and print filters convert the JPEG's own bytes from the colours they are
// meant in. Every other stream is kept as it is. Empty when the PDF cannot
// be read or holds no such image.
QByteArray withJpegProfile(const QByteArray& pdf, const QByteArray& jpeg, const QByteArray& icc);

} // namespace zorvane
