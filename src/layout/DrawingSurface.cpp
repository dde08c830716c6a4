#include "DrawingSurface.h"

#include "CairoCanvas.h"
#include "picture/PictureHolder.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>

namespace zorvane {
namespace {

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

const QImage& DrawingSurface::shrunkCopy(const PictureHolder& picture, QSize size)
{
    const qint64 key = picture.image().cacheKey();
    if (shrunkFrom_ != key || shrunk_.size() != size) {
        shrunk_ = picture.reducedCopyCovering(size).scaled(size, Qt::IgnoreAspectRatio,
                                                           Qt::SmoothTransformation);
        shrunkFrom_ = key;
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
