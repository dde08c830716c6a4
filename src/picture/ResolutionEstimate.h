#pragma once

#include "settings/Catalogue.h"

#include <QSize>

namespace zorvane {

class PictureHolder;

// What a custom width of 0 estimates to, instead of dividing by zero.
inline constexpr int resolutionForZeroWidth = 9999;

// How many of the picture's pixels fall on one inch of the ticket's width:
// the pixel width divided, in double precision, by the ticket width in
// inches, truncated toward zero. Only the width counts. For Other the ticket
// width is the custom width in tenths of a millimetre.
int EstimateResolution(TicketType type, int pictureWidth, int customWidth);

// The picture's size in pixels; 0 x 0 without a picture.
QSize GetPictureSize(const PictureHolder* picture);

// The keep-aspect coupling: the other side of a custom size in the picture's
// proportions, whole-number arithmetic truncating toward zero. A picture side
// of 0 has no proportion, so the coupled value then stays as it was.
int heightKeepingAspect(int customWidth, QSize picture, int currentHeight);
int widthKeepingAspect(int customHeight, QSize picture, int currentWidth);

} // namespace zorvane
