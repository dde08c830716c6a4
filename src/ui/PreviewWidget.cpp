#include "PreviewWidget.h"

#include "ui/framework/PaintScope.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace zorvane {

PreviewWidget::PreviewWidget(JobSource jobSource, QWidget* parent)
    : QFrame(parent), jobSource_(std::move(jobSource))
{
    setFrameStyle(QFrame::Box | QFrame::Sunken); // an etched outline
    setAttribute(Qt::WA_OpaquePaintEvent);       // every pixel is painted
    setAccessibleName(u"プレビュー"_s);
    describeState(currentJob());
}

// Said from the same job and fit as the painted count.
void PreviewWidget::describeState(const SheetJob& job)
{
    const QString text = previewStateText(picture_, job);
    if (text != accessibleDescription())
        setAccessibleDescription(text);
}

void PreviewWidget::setPicture(const PictureHolder* picture)
{
    picture_ = picture;
    describeState(currentJob());
    update();
}

void PreviewWidget::setMainValues(const MainValues& values)
{
    main_ = values;
    describeState(currentJob());
    update();
}

QString PreviewWidget::cellToolTip()
{
    return u"券の位置をクリックすると使用済みになり、その位置には印刷しません。\n"
           u"もう一度クリックすると元に戻ります。"_s;
}

std::optional<GridCell> PreviewWidget::cellAt(QPoint widgetPoint) const
{
    const QRect client = contentsRect();
    return previewCellAt(widgetPoint - client.topLeft(), client.size(), picture_, currentJob());
}

void PreviewWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (const std::optional<GridCell> cell = cellAt(event->position().toPoint())) {
            Q_EMIT cellClicked(*cell);
            return;
        }
    }
    QFrame::mousePressEvent(event);
}

// The tooltip shows only over a cell that a click would mark, so the box
// says nothing new while it shows no page.
bool PreviewWidget::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (cellAt(help->pos()))
            QToolTip::showText(help->globalPos(), cellToolTip(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QFrame::event(event);
}

void PreviewWidget::paintEvent(QPaintEvent* event)
{
    const PaintScope scope;
    QFrame::paintEvent(event);
    const QRect client = contentsRect();
    QPainter painter(this);
    painter.setClipRect(client);
    painter.translate(client.topLeft());
    const SheetJob job = currentJob();
    lastOutcome_ = paintPreviewBox(painter, client.size(), picture_, job);
    // The store may have changed since the values were last set.
    describeState(job);
}

} // namespace zorvane
