#pragma once

#include "ui/DialogBuilder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace zorvane::test {

// A control of a dialog built from its template, by template id or by the
// name the builder gave it. Ends the test program when there is none, as
// every later step would use it.
template<typename T> T* findControl(const QObject* dialog, const QString& name)
{
    T* widget = dialog->findChild<T*>(name);
    if (!widget)
        qFatal("no control %s", qPrintable(name));
    return widget;
}

template<typename T> T* findControl(const QObject* dialog, int id)
{
    return findControl<T>(dialog, controlName(id));
}

// The menu as one line: entry texts, "-" for a separator.
inline QString layoutOf(const QMenu& menu)
{
    QStringList parts;
    for (const QAction* action : menu.actions())
        parts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return parts.join(u'|');
}

// An entry of a window's right-click menu, or of one of its submenus, by its
// text. Ends the test program when there is none.
inline QAction* menuEntry(const QObject* window, const QString& text)
{
    const auto* menu = findControl<QMenu>(window, QStringLiteral("systemMenu"));
    for (QAction* action : menu->actions()) {
        if (action->text() == text)
            return action;
        if (action->menu()) {
            for (QAction* inner : action->menu()->actions()) {
                if (inner->text() == text)
                    return inner;
            }
        }
    }
    qFatal("no entry %s", qPrintable(text));
}

// Calls handle with the next modal widget (other than ignore) that opens,
// from inside its nested event loop; handle must close it. Gives up after
// timeoutMs.
inline void handleNextModal(std::function<void(QWidget*)> handle, QWidget* ignore = nullptr,
                            int timeoutMs = 5000)
{
    auto* timer = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, handle, ignore, timeoutMs] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool found = modal && modal != ignore;
        if (!found && clock->elapsed() < timeoutMs)
            return;
        timer->stop();
        timer->deleteLater();
        delete clock;
        if (found)
            handle(modal);
    });
    timer->start(10);
}

// Collects the texts of message boxes that open and closes each with OK.
class MessageCatcher
{
public:
    MessageCatcher() : timer_(std::make_unique<QTimer>())
    {
        QObject::connect(timer_.get(), &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages_.append(box->text());
                titles_.append(box->windowTitle());
                box->done(QMessageBox::Ok);
            }
        });
        timer_->start(10);
    }

    const QStringList& messages() const { return messages_; }
    const QStringList& titles() const { return titles_; }

private:
    std::unique_ptr<QTimer> timer_;
    QStringList messages_;
    QStringList titles_;
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// Lets queued events, timers and paints run for a while.
inline void settle(int ms = 50)
{
    QTest::qWait(ms);
}

// The keys a section of an INI store holds, read straight from the file.
inline QStringList storedKeys(const QString& iniPath, const QString& section)
{
    QSettings file(iniPath, QSettings::IniFormat);
    file.beginGroup(section);
    return file.childKeys();
}

// The widget that holds the keyboard focus, named after its template id; a
// combo box's inner edit counts as the combo box.
inline QString focusedControlName()
{
    QWidget* focus = QApplication::focusWidget();
    while (focus && focus->objectName().isEmpty())
        focus = focus->parentWidget();
    return focus ? focus->objectName() : QString();
}

} // namespace zorvane::test
