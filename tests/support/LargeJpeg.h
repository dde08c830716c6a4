#pragma once

#include "TestPictures.h"

#include <QSize>
#include <QString>

namespace zorvane::test {

// Writes a baseline JPEG of the given size with four solid quarters, row by
// row, so a picture of a 200-megapixel sensor is made without holding its
// pixels; true when written.
bool writeLargeJpeg(const QString& path, QSize size, const QuarterColours& colours);

} // namespace zorvane::test
