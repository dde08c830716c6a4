#include "TextFit.h"

#include <QAbstractButton>
#include <QLabel>

#include <algorithm>

namespace zorvane {
namespace {

// The pixels a text covers when drawn from x = 0: the ink, not the advance,
// so that the blank half of a full-width colon may be cut.
int inkWidth(const QFont& font, const QString& text)
{
    const QRect ink = QFontMetrics(font).tightBoundingRect(text);
    return std::max(0, ink.right() + 1);
}

int neededWidth(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        const QMargins margins = label->contentsMargins();
        return inkWidth(label->font(), label->text()) + margins.left() + margins.right() +
               2 * label->margin();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        const int advance = QFontMetrics(button->font()).horizontalAdvance(button->text());
        return button->sizeHint().width() - advance + inkWidth(button->font(), button->text());
    }
    return widget->width();
}

bool isWrappingLabel(const QWidget* widget)
{
    const auto* label = qobject_cast<const QLabel*>(widget);
    return label && label->wordWrap();
}

bool overlaps(int start1, int end1, int start2, int end2)
{
    return start1 < end2 && start2 < end1;
}

bool contains(const QRect& outer, const QRect& inner)
{
    return outer.contains(inner.topLeft()) && outer.contains(inner.bottomRight());
}

bool isGroupBox(const PlacedControl& control)
{
    return control.row->kind == ControlKind::GroupBox;
}

bool hasText(const PlacedControl& control)
{
    switch (control.row->kind) {
    case ControlKind::Label:
    case ControlKind::RadioButton:
    case ControlKind::CheckBox:
        return !control.row->text.empty();
    default:
        return false;
    }
}

} // namespace

bool textFits(const QWidget* widget)
{
    if (isWrappingLabel(widget))
        return widget->heightForWidth(widget->width()) <= widget->height();
    return neededWidth(widget) <= widget->width();
}

TextFit::TextFit(std::vector<PlacedControl> placed, QSize dialogSize, const DialogUnits& units)
    : placed_(std::move(placed)), dialogSize_(dialogSize), gapX_(units.toPixelsX(1)),
      gapY_(units.toPixelsY(1)), groupInsetX_(units.toPixelsX(3)), groupInsetY_(units.toPixelsY(3))
{}

void TextFit::fitAll()
{
    for (const PlacedControl& control : placed_) {
        if (hasText(control))
            fit(control);
    }
}

void TextFit::fit(const PlacedControl& control)
{
    if (fits(control.widget))
        return;
    widen(control);
    if (isWrappingLabel(control.widget) && !fits(control.widget))
        deepen(control);
    if (!fits(control.widget))
        shrinkFont(control.widget);
}

bool TextFit::fits(const QWidget* widget) const
{
    return textFits(widget);
}

void TextFit::widen(const PlacedControl& control)
{
    QWidget* widget = control.widget;
    const int maxWidth = rightLimit(control) - widget->x();
    if (maxWidth <= widget->width())
        return;
    if (!isWrappingLabel(widget)) {
        widget->resize(std::min(neededWidth(widget), maxWidth), widget->height());
        return;
    }
    // The narrowest width at which the wrapped text fits its height.
    for (int width = widget->width() + 1; width <= maxWidth; ++width) {
        if (widget->heightForWidth(width) <= widget->height()) {
            widget->resize(width, widget->height());
            return;
        }
    }
    widget->resize(maxWidth, widget->height());
}

void TextFit::deepen(const PlacedControl& control)
{
    QWidget* widget = control.widget;
    const int maxHeight = bottomLimit(control) - widget->y();
    const int needed = widget->heightForWidth(widget->width());
    if (maxHeight > widget->height())
        widget->resize(widget->width(), std::min(needed, maxHeight));
}

void TextFit::shrinkFont(QWidget* widget) const
{
    QFont font = widget->font();
    while (!fits(widget) && font.pointSizeF() - 0.5 >= smallestPointSize) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        widget->setFont(font);
    }
}

// The right edge a control may reach: the dialog's edge, the inside of the
// group box that holds it, or the nearest control beside it.
int TextFit::rightLimit(const PlacedControl& control) const
{
    const QRect self = control.widget->geometry();
    int limit = dialogSize_.width() - gapX_;
    for (const PlacedControl& other : placed_) {
        if (other.widget == control.widget)
            continue;
        const QRect rect = other.widget->geometry();
        if (isGroupBox(other) && contains(rect, self)) {
            limit = std::min(limit, rect.x() + rect.width() - groupInsetX_);
            continue;
        }
        if (overlaps(self.top(), self.bottom() + 1, rect.top(), rect.bottom() + 1) &&
            rect.x() > self.x())
            limit = std::min(limit, rect.x() - gapX_);
    }
    return limit;
}

// The bottom edge a wrapping label may reach, found the same way.
int TextFit::bottomLimit(const PlacedControl& control) const
{
    const QRect self = control.widget->geometry();
    int limit = dialogSize_.height() - gapY_;
    for (const PlacedControl& other : placed_) {
        if (other.widget == control.widget)
            continue;
        const QRect rect = other.widget->geometry();
        if (isGroupBox(other) && contains(rect, self)) {
            limit = std::min(limit, rect.y() + rect.height() - groupInsetY_);
            continue;
        }
        if (overlaps(self.left(), self.right() + 1, rect.left(), rect.right() + 1) &&
            rect.y() > self.y())
            limit = std::min(limit, rect.y() - gapY_);
    }
    return limit;
}

} // namespace zorvane
