#pragma once

#include <QMenu>

#include <array>

namespace zorvane {

// The main window's right-click menu. It stands in for the window menu that
// the window manager keeps to itself, so it always holds the close entry and,
// last, the version entry. Additions add their entries to one of the groups
// below; each group sits between the close entry and the version entry in
// the order of the enum, and gets its separator only once it holds an entry,
// so with no additions the menu is exactly close, separator, version.
class MainWindowMenu : public QMenu
{
    Q_OBJECT

public:
    enum class Group
    {
        Sheet,    // how tickets sit on the sheet and which cells are used
        Products, // label products and the printer's calibration
    };

    // closeCommand and aboutCommand are sent through systemCommand().
    MainWindowMenu(int closeCommand, int aboutCommand, const QString& aboutText,
                   QWidget* parent = nullptr);

    // Appends an entry to the end of a group.
    QAction* addEntry(Group group, const QString& text);
    // Appends a submenu to the end of a group; the menu owns it.
    QMenu* addSubmenu(Group group, const QString& title);

Q_SIGNALS:
    // The close or the version entry was chosen.
    void systemCommand(int commandId);

private:
    void insertIntoGroup(Group group, QAction* action);
    // The first entry of a group that has entries.
    QAction* firstOfGroup(std::size_t index) const;

    static constexpr std::size_t groupCount = 2;
    // Each group's closing separator, or null while the group is empty.
    std::array<QAction*, groupCount> groupEnds_{};
    QAction* head_ = nullptr; // the separator after the close entry
    QAction* about_ = nullptr;
};

} // namespace zorvane
