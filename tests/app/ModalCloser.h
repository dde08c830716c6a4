#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>

// Watches for modal message boxes while a test drives a window, records
// their caption and text and closes them, so exec() returns.
class ModalCloser : public QObject
{
public:
    struct Seen
    {
        QString caption;
        QString text;
        QPointer<QWidget> focusWhileShown;
    };

    ModalCloser()
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { closeActiveBox(); });
        timer_.start();
    }

    const QList<Seen>& seen() const { return seen_; }
    void clear() { seen_.clear(); }

private:
    void closeActiveBox()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen_.append({box->windowTitle(), box->text(), QApplication::focusWidget()});
        box->accept();
    }

    QTimer timer_;
    QList<Seen> seen_;
};
