#include "app/CZorvaneApp.h"
#include "app/StandInWindow.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace zorvane;
using namespace Qt::StringLiterals;

class TestAppShell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void storeIsRootedUnderOrganisationAndExecutableName()
    {
        CZorvaneApp::configure();
        QCOMPARE(QCoreApplication::organizationName(), u"Local AppWizard-Generated Applications"_s);
        // The name comes from the executable, so this test program has a
        // store of its own, as a renamed copy of the program would.
        const QString exeBase = QFileInfo(QCoreApplication::applicationFilePath()).baseName();
        QCOMPARE(QCoreApplication::applicationName(), exeBase);
        const QString configHome = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
        QCOMPARE(CZorvaneApp::storePath(),
                 configHome + u"/Local AppWizard-Generated Applications/"_s + exeBase + u".ini"_s);
    }

    void mainValuesTravelFromStoreToWindowAndBack()
    {
        CZorvaneApp::configure();
        const QString path = CZorvaneApp::storePath();
        QFile::remove(path);
        {
            SettingsStore store(path);
            store.WriteProfileInt("Main", "EDIT2", 600);
            store.WriteProfileString("Main", "COMBO1", u"12"_s);
            store.WriteProfileInt("Main", "RADIO1", 0);
            store.WriteProfileInt("Main", "RADIO3", 1);
        }
        {
            SettingsStore store(path);
            StandInWindow window(store);
            QCOMPARE(window.values().customWidth, 600);
            QCOMPARE(window.values().ticketType, std::optional(TicketType::D));
            window.show();
            QTest::keyClick(&window, Qt::Key_Escape);
            QVERIFY(!window.isVisible());
        }
        SettingsStore reopened(path);
        QCOMPARE(reopened.GetProfileInt("Main", "RADIO3", 0), 1);
        QCOMPARE(reopened.GetProfileInt("Main", "RADIO1", 1), 0);
        QCOMPARE(reopened.GetProfileString("Main", "COMBO1", QString()), u"12"_s);
        // Keys the window writes on closing that were absent before.
        QCOMPARE(reopened.GetProfileInt("Main", "RADIO9", -1), 0);
        QCOMPARE(reopened.GetProfileInt("Main", "CHK1", -1), 0);
    }
};

QTEST_MAIN(TestAppShell)
#include "tst_appshell.moc"
