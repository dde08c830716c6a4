#include "ResolutionEstimate.h"

#include "PictureHolder.h"
#include "settings/Units.h"
#include "settings/WideMath.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorvane {
namespace {

// A quotient far outside the 32-bit range (a huge picture on a tiny custom
// ticket) is pinned to its edge instead of overflowing the conversion.
int truncateToInt(double value)
{
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    return int(std::trunc(std::clamp(value, lowest, highest)));
}

int scaledByRatio(int value, int numerator, int denominator, int unchanged)
{
    if (denominator == 0)
        return unchanged;
    return clampToInt(qint64(value) * numerator / denominator);
}

} // namespace

int EstimateResolution(TicketType type, int pictureWidth, int customWidth)
{
    if (const TicketSpec* fixed = fixedTicketSpec(type))
        return truncateToInt(pictureWidth / fixed->widthInches);
    if (customWidth == 0)
        return resolutionForZeroWidth;
    const double widthInches = customWidth / tenthsOfMmPerInch;
    return truncateToInt(pictureWidth / widthInches);
}

QSize GetPictureSize(const PictureHolder* picture)
{
    return picture ? picture->size() : QSize(0, 0);
}

int heightKeepingAspect(int customWidth, QSize picture, int currentHeight)
{
    return scaledByRatio(customWidth, picture.height(), picture.width(), currentHeight);
}

int widthKeepingAspect(int customHeight, QSize picture, int currentWidth)
{
    return scaledByRatio(customHeight, picture.width(), picture.height(), currentWidth);
}

} // namespace zorvane
