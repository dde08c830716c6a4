#include "DrawingSurface.h"

#include "CairoCanvas.h"
#include "picture/PictureHolder.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QTransform>

namespace zorvane {
namespace {

// The largest turned copy of the picture kept for screen drawing.
constexpr qint64 maxTurnedCopyPixels = qint64(1) << 22;

bool drawsIntoPixels(const QPainter& painter)
{
    const QPaintEngine* engine = painter.paintEngine();
    return engine && engine->type() == QPaintEngine::Raster;
}

// The pixels from one corner to the other, both included, in either order.
QRect spanBetween(QPoint a, QPoint b)
{
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

} // namespace

DrawingSurface::DrawingSurface(QPainter& painter)
    : DrawingSurface(painter, painter.device()->logicalDpiX(), painter.device()->logicalDpiY())
{}

DrawingSurface::DrawingSurface(QPainter& painter, int dpiX, int dpiY)
    : painter_(&painter), dpiX_(dpiX), dpiY_(dpiY)
{}

DrawingSurface::DrawingSurface(CairoCanvas& canvas, int dpiX, int dpiY)
    : canvas_(&canvas), dpiX_(dpiX), dpiY_(dpiY)
{}

DrawingSurface::~DrawingSurface() = default;

void DrawingSurface::renderPicture(const PictureHolder& picture, const QRect& target)
{
    if (target.width() <= 0 || target.height() <= 0)
        return;
    if (canvas_) {
        canvas_->drawPicture(picture, target);
        return;
    }
    QPainter& painter = *painter_;
    const QImage& image = picture.image();
    const bool restoreHint = !painter.testRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!drawsIntoPixels(painter)) {
        painter.drawImage(target, image);
    } else {
        // Shrink with an area filter first: a bilinear sample of a much larger
        // picture would alias fine detail into moire. Whatever is left is an
        // enlargement, which the bilinear stretch handles well.
        const QSize shrunkSize(std::min(target.width(), image.width()),
                               std::min(target.height(), image.height()));
        const QImage& source = shrunkSize == image.size() ? image : shrunkCopy(picture, shrunkSize);
        if (source.size() == target.size())
            painter.drawImage(target.topLeft(), source);
        else
            painter.drawImage(target, source);
    }
    if (restoreHint)
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

void DrawingSurface::renderPicture(const PictureHolder& picture, const QRect& target,
                                   const std::optional<QRect>& clip, bool turned)
{
    if (target.width() <= 0 || target.height() <= 0)
        return;
    if (canvas_) {
        canvas_->drawPicture(picture, target, clip, turned);
        return;
    }
    if (clip) {
        painter_->save();
        painter_->setClipRect(*clip, Qt::IntersectClip);
    }
    if (turned)
        renderTurnedPicture(picture, target);
    else
        renderPicture(picture, target);
    if (clip)
        painter_->restore();
}

void DrawingSurface::renderTurnedPicture(const PictureHolder& picture, const QRect& target)
{
    QPainter& painter = *painter_;
    // A turned copy is made at the target's size; a target far larger than
    // the picture (a thin picture filling a ticket, cut by the clip) would
    // make that copy huge, so it is drawn under the turned transform
    // instead, which only fills the pixels the clip lets through.
    const qint64 targetPixels = qint64(target.width()) * target.height();
    const qint64 picturePixels = qint64(picture.image().width()) * picture.image().height();
    const bool copyTooLarge =
        targetPixels > maxTurnedCopyPixels || targetPixels > 4 * picturePixels;
    if (!drawsIntoPixels(painter) || copyTooLarge) {
        // A printer or PDF gets the picture's own image under a turned
        // transform, so the file still holds the picture once.
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.translate(target.left() + target.width(), target.top());
        painter.rotate(90);
        painter.drawImage(QRect(0, 0, target.height(), target.width()), picture.image());
        painter.restore();
        return;
    }
    // On pixels the picture is shrunk to the turned size and then turned as
    // a whole-pixel copy, which lands exactly on the target's pixels.
    const QImage& source = shrunkCopy(picture, target.size(), true);
    painter.drawImage(target.topLeft(), source);
}

const QImage& DrawingSurface::shrunkCopy(const PictureHolder& picture, QSize size, bool turned)
{
    const qint64 key = picture.image().cacheKey();
    if (shrunkFrom_ != key || shrunk_.size() != size || shrunkTurned_ != turned) {
        const QSize upright = turned ? size.transposed() : size;
        shrunk_ = picture.reducedCopyCovering(upright).scaled(upright, Qt::IgnoreAspectRatio,
                                                              Qt::SmoothTransformation);
        if (turned)
            shrunk_ = shrunk_.transformed(QTransform().rotate(90));
        shrunkFrom_ = key;
        shrunkTurned_ = turned;
    }
    return shrunk_;
}

DrawingSurface::PenSelection::PenSelection(DrawingSurface& surface, const QColor& color)
    : surface_(surface), displaced_(surface.penColor_)
{
    surface_.penColor_ = color;
}

DrawingSurface::PenSelection::~PenSelection()
{
    surface_.penColor_ = displaced_;
}

void DrawingSurface::fillPixels(const QRect& pixels)
{
    if (canvas_)
        canvas_->fillRect(pixels, penColor_);
    else
        painter_->fillRect(pixels, penColor_);
}

void DrawingSurface::lineTo(QPoint point)
{
    const QPoint from = position_;
    position_ = point;
    if (from == point)
        return;
    // Straight lines are filled pixel by pixel, so they hit exactly the
    // pixels meant on every device, the end point left out.
    if (from.y() == point.y()) {
        const int last = point.x() > from.x() ? point.x() - 1 : point.x() + 1;
        fillPixels(spanBetween(QPoint(from.x(), from.y()), QPoint(last, point.y())));
        return;
    }
    if (from.x() == point.x()) {
        const int last = point.y() > from.y() ? point.y() - 1 : point.y() + 1;
        fillPixels(spanBetween(QPoint(from.x(), from.y()), QPoint(point.x(), last)));
        return;
    }
    if (canvas_) {
        canvas_->drawLine(from, point, penColor_);
        return;
    }
    // A flat cap leaves the end point out of a cosmetic line.
    painter_->save();
    painter_->setRenderHint(QPainter::Antialiasing, false);
    QPen pen(penColor_, 0, Qt::SolidLine, Qt::FlatCap);
    painter_->setPen(pen);
    painter_->drawLine(from, point);
    painter_->restore();
}

} // namespace zorvane
