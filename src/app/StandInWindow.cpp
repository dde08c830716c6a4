#include "StandInWindow.h"

#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace zorvane {

StandInWindow::StandInWindow(SettingsStore& store, QWidget* parent)
    : QDialog(parent), store_(store), values_(loadMainValues(store))
{
    setWindowTitle(QCoreApplication::applicationName());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QString::fromUtf8("%1 x %2 (0.1mm)").arg(values_.customWidth).arg(values_.customHeight),
        this));
}

void StandInWindow::reject()
{
    saveMainValues(store_, values_);
    QDialog::reject();
}

} // namespace zorvane
