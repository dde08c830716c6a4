#include "CairoCanvas.h"
#include "DrawingSurface.h"
#include "TicketNumbers.h"

#include <QPainter>

namespace zorvane {

void DrawingSurface::drawText(const QString& text, const QTransform& textToDevice,
                              const QColor& color)
{
    if (canvas_) {
        canvas_->drawText(text, textToDevice, color);
        return;
    }
    painter_->save();
    painter_->setWorldTransform(textToDevice, true);
    // Made once: a font's lookup costs more than drawing a short number.
    static const QFont face = numberFace();
    painter_->setFont(face);
    painter_->setPen(color);
    painter_->drawText(QPointF(0, 0), text);
    painter_->restore();
}

void DrawingSurface::fillArea(const QRectF& area, const QTransform& toDevice, const QColor& color)
{
    if (canvas_) {
        canvas_->fillArea(area, toDevice, color);
        return;
    }
    painter_->save();
    painter_->setWorldTransform(toDevice, true);
    painter_->setRenderHint(QPainter::Antialiasing);
    painter_->fillRect(area, color);
    painter_->restore();
}

} // namespace zorvane
