#include "GuiTestHelpers.h"

#include "ui/MainWindowMenu.h"

#include <QSignalSpy>
#include <QTest>

using namespace zorvane;
using namespace zorvane::test;
using namespace Qt::StringLiterals;

class TestMainWindowMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void entriesSitInGroupOrder_data();
    void entriesSitInGroupOrder();
    void onlyWindowEntriesSendCommands();
};

void TestMainWindowMenu::entriesSitInGroupOrder_data()
{
    // Each addition is "S:text" (sheet group) or "P:text" (products group),
    // added in the order listed.
    QTest::addColumn<QStringList>("additions");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << QStringList{} << u"閉じる(&C)|-|About"_s;
    QTest::newRow("sheet only") << QStringList{u"S:a"_s, u"S:b"_s} << u"閉じる(&C)|-|a|b|-|About"_s;
    QTest::newRow("products only") << QStringList{u"P:x"_s} << u"閉じる(&C)|-|x|-|About"_s;
    QTest::newRow("sheet first") << QStringList{u"S:a"_s, u"P:x"_s, u"S:b"_s, u"P:y"_s}
                                 << u"閉じる(&C)|-|a|b|-|x|y|-|About"_s;
    QTest::newRow("products first") << QStringList{u"P:x"_s, u"P:y"_s, u"S:a"_s, u"S:b"_s}
                                    << u"閉じる(&C)|-|a|b|-|x|y|-|About"_s;
}

void TestMainWindowMenu::entriesSitInGroupOrder()
{
    QFETCH(QStringList, additions);
    QFETCH(QString, expected);
    MainWindowMenu menu(0xF060, 16, u"About"_s);
    for (const QString& addition : additions) {
        const auto group = addition.startsWith(u'S') ? MainWindowMenu::Group::Sheet
                                                     : MainWindowMenu::Group::Products;
        menu.addEntry(group, addition.mid(2));
    }
    QCOMPARE(layoutOf(menu), expected);
}

void TestMainWindowMenu::onlyWindowEntriesSendCommands()
{
    MainWindowMenu menu(0xF060, 16, u"About"_s);
    QAction* entry = menu.addEntry(MainWindowMenu::Group::Sheet, u"a"_s);
    QMenu* submenu = menu.addSubmenu(MainWindowMenu::Group::Sheet, u"sub"_s);
    QAction* inner = submenu->addAction(u"inner"_s);
    QSignalSpy commands(&menu, &MainWindowMenu::systemCommand);
    entry->trigger();
    inner->trigger();
    QCOMPARE(commands.count(), 0);
    menu.actions().first()->trigger();
    menu.actions().last()->trigger();
    QCOMPARE(commands.count(), 2);
    QCOMPARE(commands.at(0).at(0).toInt(), 0xF060);
    QCOMPARE(commands.at(1).at(0).toInt(), 16);
}

QTEST_MAIN(TestMainWindowMenu)
#include "tst_mainwindowmenu.moc"
