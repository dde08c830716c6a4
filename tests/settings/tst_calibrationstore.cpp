#include "TestFiles.h"
#include "settings/CalibrationStore.h"
#include "settings/SettingsStore.h"

#include <QTemporaryDir>
#include <QTest>

using namespace zorvane;
using zorvane::test::readFile;
using zorvane::test::writeFile;
using namespace Qt::StringLiterals;

namespace {

const PositionCorrection sample{{1'000'000, 2500}, {989'883, 1502}};

} // namespace

class TestCalibrationStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachPrinterKeepsItsOwn_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("neighbour");

        QTest::newRow("plain") << u"ZorvanePDF"_s << u"ZorvanePDF2"_s;
        QTest::newRow("slash") << u"office/floor 2"_s << u"office"_s;
        QTest::newRow("backslash") << u"\\\\server\\laser"_s << u"\\\\server"_s;
        QTest::newRow("escape lookalike") << u"a/b"_s << u"a%2Fb"_s;
        QTest::newRow("japanese") << u"事務所のプリンタ"_s << u"事務所"_s;
        QTest::newRow("ini specials") << u"[x]=;#,\"y\""_s << u"x"_s;
    }

    void eachPrinterKeepsItsOwn()
    {
        QFETCH(QString, name);
        QFETCH(QString, neighbour);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Zorvane.ini"_s);
        const PositionCorrection other{{950'000, -700}, {1'020'000, 0}};
        {
            SettingsStore store(path);
            savePrinterCorrection(store, name, sample);
            savePrinterCorrection(store, neighbour, other);
        }
        SettingsStore store(path);
        QCOMPARE(loadPrinterCorrection(store, name), std::optional(sample));
        QCOMPARE(loadPrinterCorrection(store, neighbour), std::optional(other));

        resetPrinterCorrection(store, name);
        QVERIFY(!hasPrinterCorrection(store, name));
        QVERIFY(hasPrinterCorrection(store, neighbour));
        store.sync();

        // Only the new section is written; the program's own are untouched.
        const QByteArray content = readFile(path);
        QVERIFY2(content.startsWith("[Calibration]"), content.constData());
        QVERIFY2(!content.contains("[Main]") && !content.contains("[Option]"), content.constData());
    }

    void storedValuesAreChecked_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<bool>("applies");

        QTest::newRow("complete") << QByteArray("P\\ScaleX=1000000\nP\\ShiftX=-2500\n"
                                                "P\\ScaleY=990000\nP\\ShiftY=0\n")
                                  << true;
        QTest::newRow("scale beyond 1.1")
            << QByteArray("P\\ScaleX=1100001\nP\\ShiftX=0\nP\\ScaleY=1000000\nP\\ShiftY=0\n")
            << false;
        QTest::newRow("scale below 0.9")
            << QByteArray("P\\ScaleX=1000000\nP\\ShiftX=0\nP\\ScaleY=899999\nP\\ShiftY=0\n")
            << false;
        QTest::newRow("shift missing")
            << QByteArray("P\\ScaleX=1000000\nP\\ScaleY=1000000\nP\\ShiftY=0\n") << false;
        QTest::newRow("not a number")
            << QByteArray("P\\ScaleX=1000000\nP\\ShiftX=2mm\nP\\ScaleY=1000000\nP\\ShiftY=0\n")
            << false;
    }

    void storedValuesAreChecked()
    {
        QFETCH(QByteArray, lines);
        QFETCH(bool, applies);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Zorvane.ini"_s);
        QVERIFY(writeFile(path, "[Calibration]\n" + lines));
        const SettingsStore store(path);
        QCOMPARE(hasPrinterCorrection(store, u"P"_s), applies);
        QVERIFY(!hasPrinterCorrection(store, QString()));
    }

    void noPrinterNameWritesNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Zorvane.ini"_s);
        {
            SettingsStore store(path);
            savePrinterCorrection(store, QString(), sample);
        }
        QVERIFY(!QFile::exists(path) || !readFile(path).contains("Calibration"));
    }
};

QTEST_MAIN(TestCalibrationStore)
#include "tst_calibrationstore.moc"
