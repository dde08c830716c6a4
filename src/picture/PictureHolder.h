#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

namespace zorvane {

// The one loaded picture, decoded once. Every ticket of a page is drawn from
// the same QImage object, so a PDF holds the picture only once.
class PictureHolder
{
public:
    // Pictures up to this many pixels load; a file claiming more is refused
    // before anything is allocated for it.
    static constexpr qint64 maxPixels = 100'000'000;

    // The picture in the file, upright by its EXIF orientation; nullptr for a
    // missing, unreadable, truncated or oversized file.
    static std::unique_ptr<PictureHolder> load(const QString& path);
    // The same for a file's bytes already in memory.
    static std::unique_ptr<PictureHolder> fromFileBytes(const QByteArray& bytes);
    // The formats pictures are read in, as QImageReader names them: the
    // common photo and picture formats whose decoders keep to the allocation
    // limit and refuse what a file does not hold. Qt's plugins for icon and
    // legacy formats are left out: a few hundred bytes of a damaged icon file
    // can make one of them allocate gigabytes.
    static QList<QByteArray> readableFormats();
    // A picture already in memory; nullptr for a null image.
    static std::unique_ptr<PictureHolder> fromImage(const QImage& image);

    PictureHolder(const PictureHolder&) = delete;
    PictureHolder& operator=(const PictureHolder&) = delete;

    QSize size() const { return image_.size(); }
    const QImage& image() const { return image_; }

    // The smallest of the picture's successively halved copies that still
    // covers the given size in both directions; the picture itself when no
    // halved copy does. Screen drawing shrinks from it, so a shrink never
    // reads more than about four source pixels per target pixel.
    const QImage& reducedCopyCovering(QSize target) const;

private:
    explicit PictureHolder(QImage image);

    QImage image_;
    std::vector<QImage> halvedCopies_; // each half the size of the one before
};

} // namespace zorvane
