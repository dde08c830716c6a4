#include "PictureUpdates.h"

#include "ResolutionEstimate.h"

namespace zorvane {
namespace {

PictureFieldsUpdate unchanged(const PictureFields& current)
{
    return {current, false};
}

int customWidthEstimate(const PictureFields& fields, QSize pictureSize)
{
    return EstimateResolution(TicketType::Other, pictureSize.width(), fields.main.customWidth);
}

} // namespace

PictureFieldsUpdate fieldsForLoadedPicture(const PictureFields& current, QSize pictureSize)
{
    PictureFields next = current;
    if (current.main.ticketType) {
        next.resolution = EstimateResolution(*current.main.ticketType, pictureSize.width(),
                                             current.main.customWidth);
    }
    return {next, true};
}

PictureFieldsUpdate fieldsForTicketType(const PictureFields& current, TicketType clicked,
                                        std::optional<QSize> pictureSize)
{
    if (!pictureSize)
        return unchanged(current);
    PictureFields next = current;
    next.resolution = EstimateResolution(clicked, pictureSize->width(), current.main.customWidth);
    return {next, true};
}

PictureFieldsUpdate fieldsForCustomWidth(const PictureFields& current,
                                         std::optional<QSize> pictureSize)
{
    if (!pictureSize)
        return unchanged(current);
    PictureFields next = current;
    if (next.main.keepAspect) {
        next.main.customHeight =
            heightKeepingAspect(next.main.customWidth, *pictureSize, next.main.customHeight);
    }
    next.resolution = customWidthEstimate(next, *pictureSize);
    return {next, true};
}

PictureFieldsUpdate fieldsForCustomHeight(const PictureFields& current,
                                          std::optional<QSize> pictureSize)
{
    if (!pictureSize)
        return unchanged(current);
    PictureFields next = current;
    if (next.main.keepAspect) {
        next.main.customWidth =
            widthKeepingAspect(next.main.customHeight, *pictureSize, next.main.customWidth);
    }
    next.resolution = customWidthEstimate(next, *pictureSize);
    return {next, true};
}

} // namespace zorvane
