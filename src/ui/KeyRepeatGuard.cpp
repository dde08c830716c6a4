#include "KeyRepeatGuard.h"

#include "XKeyMap.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>

namespace zorvane {
namespace {

bool isGuardedKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
}

// Whether the key pressed in the widget presses a button or confirms a dialog.
bool activates(const QWidget* widget, int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter in any control of a dialog presses its default button.
        return qobject_cast<const QAbstractButton*>(widget) ||
               qobject_cast<const QDialog*>(widget->window());
    case Qt::Key_Space:
        return qobject_cast<const QAbstractButton*>(widget) != nullptr;
    default:
        return false;
    }
}

} // namespace

KeyRepeatGuard::KeyRepeatGuard(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
    // A key let go while another program had the keyboard sends this one no
    // release.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    forgetReleasedKeys();
            });
}

KeyRepeatGuard::~KeyRepeatGuard()
{
    qApp->removeEventFilter(this);
}

bool KeyRepeatGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (!widget)
        return false;
    const auto& key = *static_cast<const QKeyEvent*>(event);
    if (!isHandedOn(key, widget))
        swallowed_ = swallows(widget, key);
    decided_ = &key;
    decidedAt_ = widget;
    return swallowed_;
}

// Whether the event is the one last decided on, on its way up to a parent.
// Events live on the stack, so the address alone could be a new event's.
bool KeyRepeatGuard::isHandedOn(const QKeyEvent& key, const QWidget* widget) const
{
    return &key == decided_ && decidedAt_ && widget != decidedAt_ &&
           widget->isAncestorOf(decidedAt_);
}

bool KeyRepeatGuard::swallows(const QWidget* target, const QKeyEvent& key)
{
    if (!isGuardedKey(key.key()))
        return false;
    return key.type() == QEvent::KeyPress ? swallowsPress(target, key)
                                          : swallowsRelease(target, key);
}

bool KeyRepeatGuard::swallowsPress(const QWidget* target, const QKeyEvent& key)
{
    if (latched_.contains(key.key())) {
        if (!releasedUnseen(key))
            return true;
        latched_.remove(key.key());
    }
    if (repeatsTheRelease(key)) {
        latch(key);
        return true;
    }
    if (!activates(target, key.key()))
        return false;
    if (key.isAutoRepeat())
        return true;
    latch(key);
    return false;
}

// The X server sends a repeat as a release and a press of the same time.
// When the program was busy until after the key went up, the release of a
// repeat still queued finds the key map clear; its press then comes here.
bool KeyRepeatGuard::repeatsTheRelease(const QKeyEvent& press) const
{
    const auto released = releasedAt_.constFind(press.key());
    return press.timestamp() != 0 && released != releasedAt_.cend() &&
           released.value() == press.timestamp();
}

// X11 drops a key event whose window has closed: the release of the Enter
// that confirmed the Print dialog never arrives. Every press of a held key
// follows a release of its own time from the same window, so a press of
// another time is a new one.
bool KeyRepeatGuard::releasedUnseen(const QKeyEvent& press) const
{
    return press.timestamp() != 0 && isXServerKey(press.nativeScanCode()) &&
           !repeatsTheRelease(press);
}

void KeyRepeatGuard::latch(const QKeyEvent& press)
{
    latched_.insert(press.key(), press.nativeScanCode());
}

// A held key's repeats come as releases and presses; only the real release
// frees the key (and lets Space click the button it holds down).
bool KeyRepeatGuard::swallowsRelease(const QWidget* target, const QKeyEvent& key)
{
    const auto latched = latched_.constFind(key.key());
    if (latched == latched_.cend())
        return key.isAutoRepeat() && activates(target, key.key());
    releasedAt_.insert(key.key(), key.timestamp());
    const bool held = keyDownOnXServer(latched.value()).value_or(key.isAutoRepeat());
    if (!held)
        latched_.erase(latched);
    return held;
}

void KeyRepeatGuard::forgetReleasedKeys()
{
    for (auto key = latched_.begin(); key != latched_.end();) {
        if (keyDownOnXServer(key.value()).value_or(false))
            ++key;
        else
            key = latched_.erase(key);
    }
}

} // namespace zorvane
