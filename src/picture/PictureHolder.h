#pragma once

#include "ColourProfile.h"

#include <QByteArray>
#include <QImage>
#include <QImageIOHandler>
#include <QRect>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

namespace zorvane {

// Why a picture file did not load.
enum class PictureProblem
{
    None,
    CannotOpen,  // missing, a folder, or not readable
    TooLarge,    // more pixels than the limit, or a larger file than any allowed picture
    Damaged,     // cut off, or its data does not hold what its header says
    NotAPicture, // of no format the program reads
};

// The one loaded picture. Every ticket of a page is drawn from the same
// QImage object, so a PDF holds the picture only once. A picture opened from
// a file keeps the file's bytes and may hold its pixels at full size, at a
// reduced size for the screen, or not yet at all: the header alone gives its
// size, and the pixels are decoded when something draws them.
class PictureHolder
{
public:
    // Pictures up to this many pixels load; a file claiming more is refused
    // before anything is allocated for it.
    static constexpr qint64 maxPixels = 100'000'000;
    // A JPEG, which its decoder shrinks by 1/2, 1/4 or 1/8 while decoding,
    // may claim up to this many (a 200-megapixel phone sensor writes
    // 16320 x 12240); beyond maxPixels it is never decoded whole, only
    // reduced to at most maxPixelsHeldOfScaled.
    static constexpr qint64 maxScalablePixels = 250'000'000;
    static constexpr qint64 maxPixelsHeldOfScaled = 50'000'000;

    // Each of the loaders below returns nullptr for a file it refuses and
    // then, when given why, says there for what reason.

    // The picture in the file decoded at full size, upright by its EXIF
    // orientation; nullptr for a missing, unreadable, truncated or
    // oversized file.
    static std::unique_ptr<PictureHolder> load(const QString& path, PictureProblem* why = nullptr);
    // The file read and its header checked, no pixels decoded; nullptr for a
    // missing, truncated or oversized file or one of no known format.
    static std::unique_ptr<PictureHolder> open(const QString& path, PictureProblem* why = nullptr);
    // The file read, its header checked, and its pixels decoded no larger
    // than needed to cover the screen size where the decoder shrinks while
    // it decodes (a JPEG), else in full; nullptr as for load. A HEIC or AVIF
    // file with an embedded thumbnail gives that thumbnail only, at once, as
    // the screen's copy; its full pixels are decoded afterwards.
    static std::unique_ptr<PictureHolder> openForScreen(const QString& path, QSize screen,
                                                        PictureProblem* why = nullptr);
    // The same as load and open for a file's bytes already in memory.
    static std::unique_ptr<PictureHolder> fromFileBytes(QByteArray bytes,
                                                        PictureProblem* why = nullptr);
    static std::unique_ptr<PictureHolder> openBytes(QByteArray bytes,
                                                    PictureProblem* why = nullptr);
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

    // The upright picture's full size, whatever size its pixels are held at.
    QSize size() const { return size_; }
    // The pixels held: the full picture when decoded, else the screen's
    // reduced copy, else a null image.
    const QImage& image() const { return full_.isNull() ? screen_ : full_; }
    bool hasPixels() const { return !image().isNull(); }
    bool hasFullPixels() const { return !full_.isNull(); }
    // Whether the pixels held are only the file's embedded thumbnail, shown
    // while the picture, which its decoder cannot reduce, decodes in full.
    bool holdsThumbnailOnly() const { return full_.isNull() && !screen_.isNull() && heif_; }

    // Decodes the file's bytes at full size, or at the smallest size the
    // decoder reaches by its own scaling that still covers the given upright
    // size in both directions; a null image when decoding fails. A JPEG of
    // more than maxPixels decodes "in full" at the largest scale within
    // maxPixelsHeldOfScaled, and never larger when asked to cover more. Touches
    // nothing of this object but the bytes, so it may run on any thread.
    QImage decodeFull() const;
    QImage decodeCovering(QSize atLeast) const;
    // Whether the decoder shrinks while it decodes, so a reduced decode is
    // much cheaper than a full one.
    bool decodesReducedCheaply() const;

    // Takes the pixels of decodeFull() (or an equal image) as the picture's
    // full pixels; a reduced image as the screen's copy.
    void adoptFull(QImage image);
    void adoptScreen(QImage image);
    // Lets the full pixels go when a reduced copy remains to show, so a
    // picture kept aside holds little memory; they are decoded again when
    // needed.
    void dropFullPixels();

    // A picture of the same file holding the given pixels only.
    std::unique_ptr<PictureHolder> withPixels(QImage image) const;

    // The file's own bytes when it is a JPEG of grey or colour samples that
    // a PDF may embed unchanged; empty otherwise. Shown upright once turned
    // as storedTurn() says, which is what its EXIF orientation asks for.
    QByteArray embeddableJpeg() const;
    QImageIOHandler::Transformations storedTurn() const { return turn_; }
    // The bytes of the file the picture was opened from; empty for a picture
    // made in memory.
    const QByteArray& fileBytes() const { return bytes_; }
    // The path of that file; empty for a picture made in memory or from bytes.
    const QString& filePath() const { return path_; }

    // What became of the file's colour profile: its pixels are decoded into
    // sRGB when it was usable (Converted), taken as sRGB when it was not
    // (Ignored), and left as they are without one or with an sRGB one.
    ProfileUse profileUse() const { return profileUse_; }
    // The profile the file's own bytes are meant in, when they are converted
    // and embeddableJpeg() gives them: a PDF that embeds those bytes names
    // it as their colour space. Empty otherwise.
    QByteArray embeddableJpegProfile() const;
    // The profile the file's pixels are converted from; empty when they are
    // not converted.
    const QByteArray& colourProfile() const { return profile_; }

    // The smallest held image (the screen's copy or one of the picture's
    // successively halved copies) that still covers the given size in both
    // directions; the picture itself when none does. Screen drawing shrinks
    // from it, so a shrink never reads more than about four source pixels
    // per target pixel. The halved copies are made at the first call, so
    // printing, which never shrinks, never makes them; call it from one
    // thread only.
    const QImage& reducedCopyCovering(QSize target) const;

private:
    PictureHolder() = default;
    static std::unique_ptr<PictureHolder> openHeifBytes(QByteArray bytes, PictureProblem* why);
    // The HEIF file's embedded thumbnail when it has one of the picture's
    // shape; a null image otherwise.
    QImage heifThumbnail() const;
    static std::unique_ptr<PictureHolder> withFullPixels(std::unique_ptr<PictureHolder> holder,
                                                         PictureProblem* why);
    void readColour(const QByteArray& file, const QByteArray& format, QImage::Format pixels);
    QImage decodeCmykCovering(QSize stored, QSize target) const;

    QSize size_;
    QImage full_;
    QImage screen_;
    QByteArray bytes_; // the file's, empty for a picture made in memory
    QString path_;     // the file's, empty for a picture made in memory or from bytes
    QImageIOHandler::Transformations turn_ = QImageIOHandler::TransformationNone;
    bool jpeg_ = false;
    QByteArray profile_; // kept only when its colours are converted
    ProfileUse profileUse_ = ProfileUse::Untagged;
    bool cmyk_ = false;         // a CMYK JPEG
    bool invertedCmyk_ = false; // its samples stored as Adobe's programs do
    bool heif_ = false;
    bool heifThumbnail_ = false; // the HEIF file holds a thumbnail

    mutable std::vector<QImage> halvedCopies_; // each half the size of the one before
    mutable qint64 halvedFrom_ = 0;            // cache key of the image they were made from
};

} // namespace zorvane
