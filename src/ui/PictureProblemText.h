#pragma once

#include "picture/PictureHolder.h"

#include <QString>

namespace zorvane {

// What the window says when a chosen or dropped picture does not load, so a
// choice that was not taken never looks taken. Empty for no problem.
QString pictureProblemMessage(PictureProblem problem);

} // namespace zorvane
