#pragma once

#include <QByteArray>

class QIODevice;

namespace zorvane {

// Writes the PDF to the device with the JPEG image of exactly the given
// bytes' length given the ICC profile as its colour space ([/ICCBased
// stream]), so readers and print filters convert the JPEG's own bytes from
// the colours they are meant in. The file is written as it is, byte for byte
// but the colour space's name, with an incremental update after it. Writes
// nothing and returns false when the PDF cannot be read, needed repair or
// holds no such image; false too when the device refuses a write.
bool writeWithJpegProfile(QIODevice& device, const QByteArray& pdf, const QByteArray& jpeg,
                          const QByteArray& icc);

} // namespace zorvane
