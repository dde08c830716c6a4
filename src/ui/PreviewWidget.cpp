#include "PreviewWidget.h"

#include "ui/framework/PaintScope.h"

#include <QPainter>

namespace zorvane {

PreviewWidget::PreviewWidget(const SettingsStore& store, QWidget* parent)
    : QFrame(parent), store_(store)
{
    setFrameStyle(QFrame::Box | QFrame::Sunken); // an etched outline
    setAttribute(Qt::WA_OpaquePaintEvent);       // every pixel is painted
}

void PreviewWidget::setPicture(const PictureHolder* picture)
{
    picture_ = picture;
    update();
}

void PreviewWidget::setMainValues(const MainValues& values)
{
    main_ = values;
    update();
}

void PreviewWidget::paintEvent(QPaintEvent* event)
{
    const PaintScope scope;
    QFrame::paintEvent(event);
    const QRect client = contentsRect();
    QPainter painter(this);
    painter.setClipRect(client);
    painter.translate(client.topLeft());
    lastOutcome_ = paintPreviewBox(painter, client.size(), picture_, main_, store_);
}

} // namespace zorvane
