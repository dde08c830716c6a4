#pragma once

#include "settings/SheetJob.h"

#include <memory>

namespace zorvane {

class PictureHolder;

// A picture too large to be held whole (a JPEG of a 200-megapixel sensor)
// decoded again at the smallest of its decoder's scales that still covers a
// ticket at the printer's resolution, in either orientation and placement;
// nullptr when the picture is held whole or is already no larger.
std::unique_ptr<PictureHolder> pictureForPrint(const PictureHolder& picture, const SheetJob& job,
                                               int dpi);

} // namespace zorvane
