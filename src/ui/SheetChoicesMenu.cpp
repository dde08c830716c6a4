#include "SheetChoicesMenu.h"

#include "MainWindowMenu.h"

#include <QActionGroup>

#include <array>

namespace zorvane {

SheetChoicesMenu::SheetChoicesMenu(SettingsStore& store, MainWindowMenu& menu)
    : QObject(&menu), store_(store), menu_(menu), choices_(loadSheetChoices(store))
{
    addPlacements();
    turnEntry_ = addToggle(turnText, &SheetChoices::turned);
    QAction* clear =
        menu_.addEntry(MainWindowMenu::Group::Sheet, QString::fromUtf16(clearUsedText));
    connect(clear, &QAction::triggered, this, &SheetChoicesMenu::clearUsedCellsAsked);
    addToggle(markPrintedText, &SheetChoices::markPrinted);
}

void SheetChoicesMenu::turnUpright()
{
    if (turnEntry_->isChecked())
        turnEntry_->setChecked(false);
}

void SheetChoicesMenu::addPlacements()
{
    QMenu* placements =
        menu_.addSubmenu(MainWindowMenu::Group::Sheet, QString::fromUtf16(placementMenuText));
    auto* group = new QActionGroup(placements);
    const std::array<std::pair<const char16_t*, PicturePlacement>, 3> entries{{
        {stretchText, PicturePlacement::Stretch},
        {fitText, PicturePlacement::Fit},
        {fillText, PicturePlacement::Fill},
    }};
    for (const auto& [text, placement] : entries) {
        QAction* action = placements->addAction(QString::fromUtf16(text));
        action->setCheckable(true);
        action->setChecked(choices_.placement == placement);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, placement = placement] {
            choices_.placement = placement;
            saveSheetChoice(store_, placement);
            Q_EMIT changed();
        });
    }
}

QAction* SheetChoicesMenu::addToggle(const char16_t* text, bool SheetChoices::*choice)
{
    QAction* toggle = menu_.addEntry(MainWindowMenu::Group::Sheet, QString::fromUtf16(text));
    toggle->setCheckable(true);
    toggle->setChecked(choices_.*choice);
    connect(toggle, &QAction::toggled, this, [this, choice](bool on) {
        choices_.*choice = on;
        saveSheetChoice(store_, choice, on);
        Q_EMIT changed();
    });
    return toggle;
}

} // namespace zorvane
