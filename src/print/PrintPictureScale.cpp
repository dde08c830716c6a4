#include "PrintPictureScale.h"

#include "picture/PictureHolder.h"
#include "settings/Units.h"

#include <algorithm>

namespace zorvane {

std::unique_ptr<PictureHolder> pictureForPrint(const PictureHolder& picture, const SheetJob& job,
                                               int dpi)
{
    const QSize size = picture.size();
    if (!job.ticket || !picture.decodesReducedCheaply() ||
        qint64(size.width()) * size.height() <= PictureHolder::maxPixels)
        return nullptr;
    // Both sides of the picture at least the ticket's longer side: enough
    // for the picture stretched, fitted or filling the ticket, turned or not.
    const int side = std::max(pixelsFromTenths(job.ticket->width, dpi),
                              pixelsFromTenths(job.ticket->height, dpi));
    QImage pixels = picture.decodeCovering(QSize(side, side));
    if (pixels.isNull() || (picture.hasPixels() && pixels.width() >= picture.image().width()))
        return nullptr;
    return picture.withPixels(std::move(pixels));
}

} // namespace zorvane
