#pragma once

#include <QImage>

namespace zorvane::test {

// The part of a rendered page that is not blank paper: the bounding box of
// the pixels darker than near-white, for a page that holds one ticket.
// A null image for a blank page.
QImage drawnPart(const QImage& page);

} // namespace zorvane::test
