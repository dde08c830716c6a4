#include "TestFiles.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace zorvane;
using zorvane::test::writeFile;
using namespace Qt::StringLiterals;

namespace {} // namespace

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
        QVERIFY(writeFile(path, "[Option]\n" + line + "\n"));
        SettingsStore store(path);
        QCOMPARE(store.GetProfileInt("Option", "EDIT1", 100), expected);
    }

    // Files written by Qt's own INI format read back in the store and the
    // other way round, texts and keys alike.
    void sameFilesAsQtIni_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");

        const QString main = u"Main/COMBO1"_s;
        QTest::newRow("plain") << main << u"12"_s;
        QTest::newRow("empty") << main << QString();
        QTest::newRow("japanese path") << main << u"/home/ユーザー/写真/猫 1.png"_s;
        QTest::newRow("outside the BMP") << main << u"札😀"_s;
        QTest::newRow("at sign") << main << u"@home"_s;
        QTest::newRow("looks typed") << main << u"@Variant(\0\0)"_s;
        QTest::newRow("separators") << main << u" 12x, 残り; a=b "_s;
        QTest::newRow("quotes and backslashes") << main << u"say \"a\\b\""_s;
        QTest::newRow("controls") << main
                                  << u"a\nb\tc\x01"
                                     "2\r"_s;
        QTest::newRow("nul before a digit") << main
                                            << QString(u"a\0"
                                                       "1b"_s);
        QTest::newRow("printer group") << u"Calibration/My%20Printer%2F2/ScaleX"_s << u"1000250"_s;
    }

    void sameFilesAsQtIni()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString byQt = dir.filePath(u"qt.ini"_s);
        const QString byStore = dir.filePath(u"store.ini"_s);
        QSettings(byQt, QSettings::IniFormat).setValue(key, text);
        const QByteArray group = key.section(u'/', 0, -2).toLatin1();
        const QByteArray name = key.section(u'/', -1).toLatin1();
        {
            SettingsStore store(byStore);
            store.WriteProfileString(group.constData(), name.constData(), text);
        }
        QCOMPARE(SettingsStore(byQt).GetProfileString(group.constData(), name.constData(), u"-"_s),
                 text);
        QCOMPARE(QSettings(byStore, QSettings::IniFormat).value(key).toString(), text);
    }

    // Typed values are only ever written by other programs; decoding them
    // can allocate whatever they claim.
    void typedValuesReadAsMissing_data()
    {
        QTest::addColumn<QByteArray>("content");

        QByteArray typedDate;
        {
            QTemporaryDir dir;
            const QString path = dir.filePath(u"typed.ini"_s);
            {
                QSettings qt(path, QSettings::IniFormat);
                qt.setValue(u"Main/COMBO1"_s, QDate(2026, 12, 9));
                qt.setValue(u"Main/EDIT2"_s, 7);
            }
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            typedDate = file.readAll();
        }
        QVERIFY2(typedDate.contains("@Variant("), typedDate.constData());
        QTest::newRow("date") << typedDate;
        QTest::newRow("bytes") << QByteArray("[Main]\nCOMBO1=@ByteArray(abc)\nEDIT2=7\n");
        QTest::newRow("in a list") << QByteArray("[Main]\nCOMBO1=a, @Rect(1 2 3 4)\nEDIT2=7\n");
        QFile found(QStringLiteral(ZORVANE_TEST_DATA "/fuzz/store-variant-of-4-gigabytes.ini"));
        QVERIFY(found.open(QIODevice::ReadOnly));
        QTest::newRow("found by fuzzing") << found.readAll() + "\n[Main]\nEDIT2=7\n";
    }

    void typedValuesReadAsMissing()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Zorvane.ini"_s);
        QVERIFY(writeFile(path, content));
        SettingsStore store(path);
        QCOMPARE(store.GetProfileString("Main", "COMBO1", u"既定"_s), u"既定"_s);
        QCOMPARE(store.GetProfileString("Main", "EDIT3", u"既定"_s), u"既定"_s);
        QCOMPARE(store.GetProfileInt("Main", "EDIT2", 0), 7);
    }

    void garbageFileReadsAsDefaults()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Zorvane.ini"_s);
        QByteArray garbage;
        for (int i = 0; i < 4096; ++i)
            garbage.append(char((i * 7919) % 256));
        QVERIFY(writeFile(path, garbage));
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
        QVERIFY(writeFile(blocker, "x"));
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
