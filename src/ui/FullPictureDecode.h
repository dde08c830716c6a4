#pragma once

#include <QImage>

namespace zorvane {

class PictureHolder;

// Decodes a picture's full pixels on a worker thread and waits for them
// while the window keeps painting; input waits until the decode is done, so
// nothing can change the picture meanwhile. A null image when the decode
// fails.
QImage decodeFullKeepingWindowLive(const PictureHolder& picture);

} // namespace zorvane
