#include "CutGuidesMenu.h"

#include "CBleedDlg.h"
#include "MainWindowMenu.h"
#include "settings/CutGuides.h"
#include "settings/SettingsStore.h"

#include <QSignalBlocker>

namespace zorvane {

CutGuidesMenu::CutGuidesMenu(SettingsStore& store, MainWindowMenu& menu)
    : QObject(&menu), store_(store), menu_(menu)
{
    cutMarks_ = menu_.addEntry(MainWindowMenu::Group::Sheet, QString::fromUtf16(cutMarksText));
    cutMarks_->setCheckable(true);
    showStoredMarks();
    connect(cutMarks_, &QAction::toggled, this, [this](bool on) {
        saveCutMarks(store_, on);
        Q_EMIT changed();
    });
    QAction* bleed = menu_.addEntry(MainWindowMenu::Group::Sheet, QString::fromUtf16(bleedText));
    connect(bleed, &QAction::triggered, this, &CutGuidesMenu::askBleed);
    // The sheet follows the store, which a second copy of the program may
    // have changed since: the entry shows the stored value when it opens.
    connect(&menu_, &QMenu::aboutToShow, this, &CutGuidesMenu::showStoredMarks);
}

void CutGuidesMenu::showStoredMarks()
{
    store_.refresh();
    const QSignalBlocker quiet(cutMarks_);
    cutMarks_->setChecked(loadCutGuides(store_).cutMarks);
}

void CutGuidesMenu::askBleed()
{
    CBleedDlg dialog(store_, menu_.parentWidget());
    if (dialog.exec() == QDialog::Accepted)
        Q_EMIT changed();
}

} // namespace zorvane
