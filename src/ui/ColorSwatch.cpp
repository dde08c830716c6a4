#include "ColorSwatch.h"

#include "ui/framework/PaintScope.h"

#include <QPainter>

namespace zorvane {

ColorSwatch::ColorSwatch(ColorSource source, QWidget* parent)
    : QFrame(parent), source_(std::move(source))
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    QPalette framePalette = palette();
    framePalette.setColor(QPalette::WindowText, Qt::black);
    setPalette(framePalette);
}

void ColorSwatch::paintEvent(QPaintEvent* event)
{
    const PaintScope scope;
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), source_());
}

} // namespace zorvane
