#include "CairoCanvas.h"
#include "TicketNumbers.h"

#include <cairo.h>

namespace zorvane {
namespace {

void applyTransform(cairo_t* cairo, const QTransform& t)
{
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy());
    cairo_transform(cairo, &matrix);
}

} // namespace

void CairoCanvas::drawText(const QString& text, const QTransform& textToDevice, const QColor& color)
{
    cairo_save(cairo_);
    applyTransform(cairo_, textToDevice);
    const QByteArray family = numberFace().family().toUtf8();
    cairo_select_font_face(cairo_, family.constData(), CAIRO_FONT_SLANT_NORMAL,
                           CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cairo_, numberFaceEm);
    cairo_set_source_rgb(cairo_, color.redF(), color.greenF(), color.blueF());
    cairo_move_to(cairo_, 0, 0);
    const QByteArray utf8 = text.toUtf8();
    cairo_show_text(cairo_, utf8.constData());
    cairo_restore(cairo_);
}

void CairoCanvas::fillArea(const QRectF& area, const QTransform& toDevice, const QColor& color)
{
    cairo_save(cairo_);
    applyTransform(cairo_, toDevice);
    cairo_set_source_rgb(cairo_, color.redF(), color.greenF(), color.blueF());
    cairo_rectangle(cairo_, area.x(), area.y(), area.width(), area.height());
    cairo_fill(cairo_);
    cairo_restore(cairo_);
}

} // namespace zorvane
