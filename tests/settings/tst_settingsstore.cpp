#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace zorvane;
using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void missingValuesReadAsDefault()
    {
        QTemporaryDir dir;
        SettingsStore store(dir.filePath(u"Zorvane.ini"_s));
        QCOMPARE(store.GetProfileInt("Main", "EDIT2", 17), 17);
        QCOMPARE(store.GetProfileInt("Nowhere", "EDIT2", -4), -4);
        QCOMPARE(store.GetProfileString("Main", "COMBO1", u"dflt"_s), u"dflt"_s);
    }

    void valuesSurviveReopening()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Zorvane.ini"_s);
        {
            SettingsStore store(path);
            store.WriteProfileInt("Main", "EDIT2", -250);
            store.WriteProfileString("Main", "COMBO1", u" 12x, 残り"_s);
            store.WriteProfileString("Main", "EDIT3", u"123"_s);
            store.WriteProfileInt("Option", "EDIT2", 2147483647);
        }
        SettingsStore reopened(path);
        QCOMPARE(reopened.GetProfileInt("Main", "EDIT2", 0), -250);
        QCOMPARE(reopened.GetProfileString("Main", "COMBO1", QString()), u" 12x, 残り"_s);
        // The same key name in the other section is another value.
        QCOMPARE(reopened.GetProfileInt("Option", "EDIT2", 0), 2147483647);
        QCOMPARE(reopened.GetProfileInt("Main", "EDIT3", 0), 123);
    }

    void integersAreWrittenAsNumbers()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Zorvane.ini"_s);
        {
            SettingsStore store(path);
            store.WriteProfileInt("Option", "EDIT8", 150);
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QVERIFY2(content.contains("[Option]"), content.constData());
        QVERIFY2(content.contains("EDIT8=150"), content.constData());
    }

    void handEditedValues_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("expected");

        QTest::newRow("number") << QByteArray("EDIT1=42") << 42;
        QTest::newRow("text") << QByteArray("EDIT1=abc") << 100;
        QTest::newRow("number with text") << QByteArray("EDIT1=12mm") << 100;
        QTest::newRow("beyond 32 bits") << QByteArray("EDIT1=4294967296") << 100;
        QTest::newRow("far beyond") << QByteArray("EDIT1=-99999999999999999999") << 100;
        QTest::newRow("empty") << QByteArray("EDIT1=") << 100;
        QTest::newRow("list") << QByteArray("EDIT1=1,2") << 100;
        QTest::newRow("quoted number") << QByteArray("EDIT1=\"77\"") << 77;
        QTest::newRow("variant blob") << QByteArray("EDIT1=@Rect(1 2 3 4)") << 100;
        QTest::newRow("negative") << QByteArray("EDIT1=-30") << -30;
    }

    void handEditedValues()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Zorvane.ini"_s);
        writeFile(path, "[Option]\n" + line + "\n");
        SettingsStore store(path);
        QCOMPARE(store.GetProfileInt("Option", "EDIT1", 100), expected);
    }

    void garbageFileReadsAsDefaults()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Zorvane.ini"_s);
        QByteArray garbage;
        for (int i = 0; i < 4096; ++i)
            garbage.append(char((i * 7919) % 256));
        writeFile(path, garbage);
        SettingsStore store(path);
        QCOMPARE(store.GetProfileInt("Main", "EDIT2", 5), 5);
        QCOMPARE(store.GetProfileString("Main", "COMBO1", u"d"_s), u"d"_s);
    }

    void unreadableAndUnwritableDirectory()
    {
        if (geteuid() == 0)
            QSKIP("root reads and writes any directory");
        QTemporaryDir dir;
        const QString locked = dir.filePath(u"locked"_s);
        QVERIFY(QDir().mkdir(locked));
        QFile::setPermissions(locked, QFileDevice::Permissions());
        {
            SettingsStore store(locked + u"/Zorvane.ini"_s);
            QCOMPARE(store.GetProfileInt("Main", "EDIT2", 9), 9);
            store.WriteProfileInt("Main", "EDIT2", 1);
            store.sync();
        }
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
        QVERIFY(!QFile::exists(locked + u"/Zorvane.ini"_s));
    }

    void storeBelowAFileInsteadOfADirectory()
    {
        // Works as root too: the "directory" is a plain file, so nothing can
        // be read or written beneath it.
        QTemporaryDir dir;
        const QString blocker = dir.filePath(u"blocker"_s);
        writeFile(blocker, "x");
        {
            SettingsStore store(blocker + u"/Zorvane.ini"_s);
            QCOMPARE(store.GetProfileInt("Main", "EDIT3", 11), 11);
            store.WriteProfileString("Main", "COMBO1", u"5"_s);
            store.sync();
            // The write is lost for the file, but the running program does not
            // crash and keeps what it wrote for the rest of the run.
            QCOMPARE(store.GetProfileString("Main", "COMBO1", QString()), u"5"_s);
        }
        QCOMPARE(QFileInfo(blocker).isFile(), true);
    }

    void userStorePathFollowsXdgConfigHome()
    {
        // The test runner points XDG_CONFIG_HOME at a private directory.
        const QString configHome = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
        QVERIFY(!configHome.isEmpty());
        const QString path =
            SettingsStore::userStorePath(u"Local AppWizard-Generated Applications"_s, u"Zorvane"_s);
        QCOMPARE(path, configHome + u"/Local AppWizard-Generated Applications/Zorvane.ini"_s);
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
