#include "MessageBoxes.h"

#include "PaintScope.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

namespace zorvane {
namespace {

void execMessage(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

} // namespace

void showMessage(QWidget* parent, const QString& text)
{
    if (!PaintScope::isPainting()) {
        execMessage(parent, text);
        return;
    }
    QTimer::singleShot(
        0, [guarded = QPointer<QWidget>(parent), text] { execMessage(guarded.data(), text); });
}

} // namespace zorvane
