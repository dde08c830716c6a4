#pragma once

#include <QByteArray>

class QIODevice;

namespace zorvane {

// Writes the PDF to the device with the JPEG image of exactly the given
// bytes' length given the ICC profile as its colour space ([/ICCBased
// stream]), so readers and print filters convert the JPEG's own bytes from
// the colours they are meant in. Every stream is kept as it is. Writes
// nothing and returns false when the PDF cannot be read or holds no such
// image; false too when the device refuses a write.
bool writeWithJpegProfile(QIODevice& device, const QByteArray& pdf, const QByteArray& jpeg,
                          const QByteArray& icc);

} // namespace zorvane
