// The picture file check, the loader with the colour profiles it reads, and
// the PNG-to-JPEG transcoding of the PDF export, on the bytes of any file.
#include "FuzzSupport.h"
#include "picture/PictureFileCheck.h"
#include "picture/PictureHolder.h"
#include "print/PngAsJpeg.h"

#include <QImage>

using namespace zorvane;

extern "C" int LLVMFuzzerInitialize(int*, char*** argv)
{
    fuzz::startApplication<QCoreApplication>(argv);
    // Loads every image plugin and fills Qt's caches once, so that what
    // stays allocated for the whole run is not taken for a leak.
    QImage warm(4, 4, QImage::Format_RGB32);
    warm.fill(0xff808080);
    PictureHolder::fromFileBytes(QByteArray("not a picture"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    isCompletePictureFile(bytes);
    const auto picture = PictureHolder::fromFileBytes(bytes);
    if (picture) {
        // Every copy drawn from is at least as large as asked for, or the
        // picture itself.
        const QImage& copy = picture->reducedCopyCovering(QSize(8, 8));
        if (copy.width() < qMin(8, picture->size().width()) ||
            copy.height() < qMin(8, picture->size().height()))
            std::abort();
    }
    // A picture's colour profile, however damaged, is used or ignored:
    // reading it and converting through it must hold.
    if (picture && picture->profileUse() == ProfileUse::Converted)
        picture->decodeCovering(picture->size() / 4);
    // What the transcoding calls done is a whole JPEG, with the picture's
    // profile applied to its rows too.
    const QByteArray jpeg = pngAsJpeg(bytes, 94, picture ? picture->colourProfile() : QByteArray());
    if (!jpeg.isEmpty() && !PictureHolder::openBytes(jpeg))
        std::abort();
    return 0;
}
