#pragma once

#include <QObject>

class QAction;

namespace zorvane {

class MainWindowMenu;
class SettingsStore;

// The cut marks and bleed entries at the end of the sheet group of the
// window's right-click menu. Each change is stored at once, its own key
// alone; the sheet is read from the store, so it shows what is stored.
class CutGuidesMenu : public QObject
{
    Q_OBJECT

public:
    static constexpr char16_t cutMarksText[] = u"トンボを付ける";
    static constexpr char16_t bleedText[] = u"塗り足し...";

    CutGuidesMenu(SettingsStore& store, MainWindowMenu& menu);

Q_SIGNALS:
    // A value changed and is stored; the sheet shown must follow.
    void changed();

private:
    void showStoredMarks();
    void askBleed();

    SettingsStore& store_;
    MainWindowMenu& menu_;
    QAction* cutMarks_ = nullptr;
};

} // namespace zorvane
