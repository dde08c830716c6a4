#include "PreviewWidget.h"

#include "ui/framework/PaintScope.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

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

void PreviewWidget::setSheetOptions(const SheetOptions& sheet)
{
    sheet_ = sheet;
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
    return previewCellAt(widgetPoint - client.topLeft(), client.size(), picture_, main_, store_,
                         sheet_);
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
    lastOutcome_ = paintPreviewBox(painter, client.size(), picture_, main_, store_, sheet_);
    // The Option values may have changed in the store since the last set.
    describeState();
}

} // namespace zorvane
