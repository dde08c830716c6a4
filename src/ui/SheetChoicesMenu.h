#pragma once

#include "settings/SheetValues.h"

#include <QObject>

class QAction;

namespace zorvane {

class MainWindowMenu;
class SettingsStore;

// The sheet group of the window's right-click menu: how the picture sits in
// its ticket, the turn, clearing the used cells and marking printed cells.
// Each choice is stored the moment it is made, its own key alone, so a
// second copy of the program keeps the choices it made itself.
class SheetChoicesMenu : public QObject
{
    Q_OBJECT

public:
    static constexpr char16_t placementMenuText[] = u"画像の配置";
    static constexpr char16_t stretchText[] = u"伸縮";
    static constexpr char16_t fitText[] = u"全体";
    static constexpr char16_t fillText[] = u"切り抜き";
    static constexpr char16_t turnText[] = u"券を90度回転";
    static constexpr char16_t clearUsedText[] = u"使用済みの位置をすべて解除";
    static constexpr char16_t markPrintedText[] = u"印刷した位置を使用済みにする";

    // Adds the entries to the menu, checked as the store has them.
    SheetChoicesMenu(SettingsStore& store, MainWindowMenu& menu);

    const SheetChoices& choices() const { return choices_; }
    // Stands the tickets upright, as a click on the turn entry would.
    void turnUpright();

Q_SIGNALS:
    // A choice changed and is stored; the sheet shown must follow.
    void changed();
    void clearUsedCellsAsked();

private:
    void addPlacements();
    QAction* addToggle(const char16_t* text, bool SheetChoices::*choice);

    SettingsStore& store_;
    MainWindowMenu& menu_;
    SheetChoices choices_;
    QAction* turnEntry_ = nullptr;
};

} // namespace zorvane
