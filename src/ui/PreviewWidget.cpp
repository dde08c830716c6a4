#include "PreviewWidget.h"

#include "ui/framework/PaintScope.h"

#include <QPainter>

using namespace Qt::StringLiterals;

namespace zorvane {

PreviewWidget::PreviewWidget(const SettingsStore& store, QWidget* parent)
    : QFrame(parent), store_(store)
{
    setFrameStyle(QFrame::Box | QFrame::Sunken); // an etched outline
    setAttribute(Qt::WA_OpaquePaintEvent);       // every pixel is painted
    setAccessibleName(u"プレビュー"_s);
    describeState();
}

void PreviewWidget::describeState()
{
    const QString text = previewStateText(picture_, main_, store_);
    if (text != accessibleDescription())
        setAccessibleDescription(text);
}

void PreviewWidget::setPicture(const PictureHolder* picture)
{
    picture_ = picture;
    describeState();
    update();
}

void PreviewWidget::setMainValues(const MainValues& values)
{
    main_ = values;
    describeState();
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
    // The Option values may have changed in the store since the last set.
    describeState();
}

} // namespace zorvane
