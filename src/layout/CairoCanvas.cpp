#include "CairoCanvas.h"

#include "picture/PictureHolder.h"

#include <QTransform>

#include <cairo.h>

namespace zorvane {
namespace {

void releaseBytes(void* bytes)
{
    delete static_cast<QByteArray*>(bytes);
}

// A one-pixel surface that stands for the JPEG: cairo's PDF output embeds
// the attached file bytes, at their own size, as the image that fills the
// surface's extent. Nothing ever reads the pixel, and no picture-sized
// surface is allocated or copied when the page records it.
cairo_surface_t* jpegSurface(const PictureHolder& picture, const QByteArray& jpeg)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
        return surface;
    auto* bytes = new QByteArray(jpeg);
    cairo_surface_set_mime_data(surface, CAIRO_MIME_TYPE_JPEG,
                                reinterpret_cast<const unsigned char*>(bytes->constData()),
                                static_cast<unsigned long>(bytes->size()), releaseBytes, bytes);
    // The same id on every ticket's paint lets the PDF refer to one image.
    const QByteArray id = "zorvane-picture-" + QByteArray::number(quintptr(&picture), 16);
    auto* idBytes = new QByteArray(id);
    cairo_surface_set_mime_data(surface, CAIRO_MIME_TYPE_UNIQUE_ID,
                                reinterpret_cast<const unsigned char*>(idBytes->constData()),
                                static_cast<unsigned long>(idBytes->size()), releaseBytes, idBytes);
    return surface;
}

// Maps the surface's extent onto the target: the stored picture is first
// put upright as its file asks (mirrored, flipped, then turned a quarter
// clockwise, as Qt's decoder does), then turned a quarter clockwise for a
// turned ticket, so that its top edge runs down the target's right edge.
cairo_matrix_t placement(QSize surface, const QRect& target,
                         QImageIOHandler::Transformations stored, bool turned)
{
    const QTransform mirror(-1, 0, 0, 1, 1, 0);  // x -> 1 - x on the unit square
    const QTransform flip(1, 0, 0, -1, 0, 1);    // y -> 1 - y
    const QTransform quarter(0, 1, -1, 0, 1, 0); // (x, y) -> (1 - y, x)
    QTransform t = QTransform::fromScale(1.0 / surface.width(), 1.0 / surface.height());
    if (stored.testFlag(QImageIOHandler::TransformationMirror))
        t *= mirror;
    if (stored.testFlag(QImageIOHandler::TransformationFlip))
        t *= flip;
    if (stored.testFlag(QImageIOHandler::TransformationRotate90))
        t *= quarter;
    if (turned)
        t *= quarter;
    t *= QTransform::fromScale(target.width(), target.height());
    t *= QTransform::fromTranslate(target.x(), target.y());
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy());
    return matrix;
}

} // namespace

CairoCanvas::~CairoCanvas()
{
    if (picture_)
        cairo_surface_destroy(picture_);
}

cairo_surface_t* CairoCanvas::surfaceFor(const PictureHolder& picture)
{
    if (picture_ && pictureOf_ == &picture)
        return picture_;
    if (picture_)
        cairo_surface_destroy(picture_);
    pictureOf_ = &picture;
    const QByteArray jpeg = picture.embeddableJpeg();
    if (!jpeg.isEmpty()) {
        picture_ = jpegSurface(picture, jpeg);
        pictureTurn_ = picture.storedTurn();
        return picture_;
    }
    pictureTurn_ = QImageIOHandler::TransformationNone; // the pixels stand upright
    // 32-bit pixels with the colour in the low three bytes are cairo's RGB24
    // and ARGB32 (premultiplied) formats as they are.
    pixels_ = picture.image();
    const bool alpha = pixels_.format() == QImage::Format_ARGB32_Premultiplied;
    picture_ = cairo_image_surface_create_for_data(
        const_cast<uchar*>(pixels_.constBits()), alpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24,
        pixels_.width(), pixels_.height(), int(pixels_.bytesPerLine()));
    return picture_;
}

void CairoCanvas::drawPicture(const PictureHolder& picture, const QRect& target,
                              const std::optional<QRect>& clip, bool turned)
{
    cairo_surface_t* surface = surfaceFor(picture);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
        return;
    // The surface's extent maps onto the target; a JPEG's stand-in pixel
    // thus carries the whole image there.
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    if (width <= 0 || height <= 0)
        return;
    // Clipped only when asked, as the Qt PDF engine draws it, so a reader
    // rasterises the image's edges alike on both.
    cairo_save(cairo_);
    if (clip) {
        cairo_rectangle(cairo_, clip->x(), clip->y(), clip->width(), clip->height());
        cairo_clip(cairo_);
    }
    const cairo_matrix_t onto = placement(QSize(width, height), target, pictureTurn_, turned);
    cairo_transform(cairo_, &onto);
    cairo_set_source_surface(cairo_, surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cairo_), CAIRO_FILTER_GOOD);
    cairo_paint(cairo_);
    cairo_restore(cairo_);
}

void CairoCanvas::setColor(const QColor& color)
{
    cairo_set_source_rgb(cairo_, color.redF(), color.greenF(), color.blueF());
}

void CairoCanvas::fillRect(const QRect& pixels, const QColor& color)
{
    setColor(color);
    cairo_rectangle(cairo_, pixels.x(), pixels.y(), pixels.width(), pixels.height());
    cairo_fill(cairo_);
}

void CairoCanvas::drawLine(QPoint from, QPoint to, const QColor& color)
{
    setColor(color);
    cairo_set_line_width(cairo_, 1.0);
    cairo_set_line_cap(cairo_, CAIRO_LINE_CAP_BUTT);
    cairo_move_to(cairo_, from.x() + 0.5, from.y() + 0.5);
    cairo_line_to(cairo_, to.x() + 0.5, to.y() + 0.5);
    cairo_stroke(cairo_);
}

} // namespace zorvane
