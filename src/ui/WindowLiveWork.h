#pragma once

#include <QImage>

#include <functional>

namespace zorvane {

class PictureHolder;

// Runs the work on a worker thread and waits for it, with a wait cursor,
// while the window keeps painting; input waits until the work is done, so nothing the user does
// can change the window meanwhile. The work must touch no widget.
void runKeepingWindowLive(const std::function<void()>& work);

// Decodes a picture's full pixels on a worker thread and waits for them
// while the window keeps painting; input waits until the decode is done, so
// nothing can change the picture meanwhile. A null image when the decode
// fails.
QImage decodeFullKeepingWindowLive(const PictureHolder& picture);

} // namespace zorvane
