#include "MainWindowMenu.h"

#include <QKeySequence>

using namespace Qt::StringLiterals;

namespace zorvane {

namespace {
constexpr char commandProperty[] = "zorvaneCommand";
}

MainWindowMenu::MainWindowMenu(int closeCommand, int aboutCommand, const QString& aboutText,
                               QWidget* parent)
    : QMenu(parent)
{
    setObjectName(u"systemMenu"_s);
    QAction* close = addAction(u"閉じる(&C)"_s);
    close->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    close->setShortcutContext(Qt::WidgetShortcut);
    close->setData(closeCommand);
    close->setProperty(commandProperty, true);
    head_ = addSeparator();
    about_ = addAction(aboutText);
    about_->setData(aboutCommand);
    about_->setProperty(commandProperty, true);
    // Only the two window commands go out as commands; the entries of the
    // groups are connected by whoever adds them.
    connect(this, &QMenu::triggered, this, [this](QAction* action) {
        if (action->property(commandProperty).toBool())
            Q_EMIT systemCommand(action->data().toInt());
    });
}

QAction* MainWindowMenu::addEntry(Group group, const QString& text)
{
    auto* action = new QAction(text, this);
    insertIntoGroup(group, action);
    return action;
}

QMenu* MainWindowMenu::addSubmenu(Group group, const QString& title)
{
    auto* submenu = new QMenu(title, this);
    insertIntoGroup(group, submenu->menuAction());
    return submenu;
}

QAction* MainWindowMenu::firstOfGroup(std::size_t index) const
{
    QAction* before = head_;
    for (std::size_t earlier = index; earlier-- > 0;) {
        if (groupEnds_[earlier]) {
            before = groupEnds_[earlier];
            break;
        }
    }
    const QList<QAction*> entries = actions();
    return entries.at(entries.indexOf(before) + 1);
}

void MainWindowMenu::insertIntoGroup(Group group, QAction* action)
{
    const auto index = static_cast<std::size_t>(group);
    if (!groupEnds_[index]) {
        // The first entry of this group: its separator goes in front of the
        // next group that has entries, or else in front of the version entry.
        QAction* before = about_;
        for (std::size_t later = index + 1; later < groupCount; ++later) {
            if (groupEnds_[later]) {
                before = firstOfGroup(later);
                break;
            }
        }
        groupEnds_[index] = insertSeparator(before);
    }
    insertAction(groupEnds_[index], action);
}

} // namespace zorvane
