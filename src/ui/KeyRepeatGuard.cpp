#include "KeyRepeatGuard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>

namespace zorvane {

KeyRepeatGuard::KeyRepeatGuard(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

KeyRepeatGuard::~KeyRepeatGuard()
{
    qApp->removeEventFilter(this);
}

bool KeyRepeatGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!key->isAutoRepeat())
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter in any control of a dialog presses its default button.
        return qobject_cast<QAbstractButton*>(widget) || qobject_cast<QDialog*>(widget->window());
    case Qt::Key_Space:
        return qobject_cast<QAbstractButton*>(widget) != nullptr;
    default:
        return false;
    }
}

} // namespace zorvane
