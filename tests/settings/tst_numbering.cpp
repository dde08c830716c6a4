#include "settings/Numbering.h"
#include "settings/SettingsStore.h"
#include "settings/SheetJob.h"
#include "settings/StoreKeys.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zorvane;
using namespace Qt::StringLiterals;

class TestNumbering : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString storePath() const { return dir_.filePath(u"Zorvane.ini"_s); }

private Q_SLOTS:
    void init() { QFile::remove(storePath()); }

    void emptyStoreReadsDefaultsAndWritesNothing()
    {
        {
            SettingsStore store(storePath());
            QCOMPARE(loadNumberingValues(store), NumberingValues{});
            const SheetJob job = readSheetJob(store, MainValues{}, SheetChoices{});
            QCOMPARE(job.numbering, NumberingValues{});
            QCOMPARE(job.firstNumber, 1);
        }
        QVERIFY(!QFile::exists(storePath()));
    }

    void storeRoundTrip()
    {
        NumberingValues v;
        v.enabled = true;
        v.start = 4721;
        v.digits = 6;
        v.prefix = u"No."_s;
        v.suffix = u"番"_s;
        v.height = 55;
        v.position = NumberPosition::TopLeft;
        v.inset = 12;
        v.stubPosition = NumberPosition::Centre;
        v.colour = 0x123456;
        v.backing = true;
        v.sheets = 999;
        {
            SettingsStore store(storePath());
            saveNumberingValues(store, v);
        }
        SettingsStore store(storePath());
        QCOMPARE(loadNumberingValues(store), v);
        QCOMPARE(store.GetProfileInt(keys::numberingSection, keys::numbering::stubPosition, 0), 4);
        QCOMPARE(store.GetProfileString(keys::numberingSection, keys::numbering::suffix, {}),
                 u"番"_s);
        const SheetJob job = readSheetJob(store, MainValues{}, SheetChoices{});
        QCOMPARE(job.numbering, v);
        QCOMPARE(job.firstNumber, 4721);
    }

    void outOfRangeStoredValuesReadAsDefaults_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QString>("stored");
        QTest::newRow("negative start") << QByteArray("Start") << u"-5"_s;
        QTest::newRow("start beyond nine digits") << QByteArray("Start") << u"1000000000"_s;
        QTest::newRow("ten digits") << QByteArray("Digits") << u"10"_s;
        QTest::newRow("zero height") << QByteArray("Height") << u"0"_s;
        QTest::newRow("position 5") << QByteArray("Position") << u"5"_s;
        QTest::newRow("negative inset") << QByteArray("Inset") << u"-1"_s;
        QTest::newRow("no sheets") << QByteArray("Sheets") << u"0"_s;
        QTest::newRow("1000 sheets") << QByteArray("Sheets") << u"1000"_s;
        QTest::newRow("colour beyond 24 bits") << QByteArray("Colour") << u"16777216"_s;
        QTest::newRow("not a number") << QByteArray("Sheets") << u"3x"_s;
        QTest::newRow("long prefix") << QByteArray("Prefix") << u"12345678901"_s;
    }

    void outOfRangeStoredValuesReadAsDefaults()
    {
        QFETCH(QByteArray, key);
        QFETCH(QString, stored);
        {
            SettingsStore store(storePath());
            store.WriteProfileString(keys::numberingSection, key.constData(), stored);
        }
        SettingsStore store(storePath());
        QCOMPARE(loadNumberingValues(store), NumberingValues{});
    }

    void stubPositionCodes_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<std::optional<NumberPosition>>("position");
        QTest::newRow("none") << -1 << std::optional<NumberPosition>();
        QTest::newRow("unknown") << 7 << std::optional<NumberPosition>();
        QTest::newRow("top left") << 0 << std::optional(NumberPosition::TopLeft);
        QTest::newRow("bottom right") << 3 << std::optional(NumberPosition::BottomRight);
        QTest::newRow("centre") << 4 << std::optional(NumberPosition::Centre);
    }

    void stubPositionCodes()
    {
        QFETCH(int, code);
        QFETCH(std::optional<NumberPosition>, position);
        QCOMPARE(positionOfCode(code), position);
        if (position)
            QCOMPARE(positionCode(position), code);
    }

    void texts_data()
    {
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<qint64>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("as is") << 0 << QString() << QString() << qint64(42) << u"42"_s;
        QTest::newRow("padded") << 6 << QString() << QString() << qint64(42) << u"000042"_s;
        QTest::newRow("longer than digits")
            << 2 << QString() << QString() << qint64(4721) << u"4721"_s;
        QTest::newRow("prefix and suffix")
            << 3 << u"No."_s << u"番"_s << qint64(7) << u"No.007番"_s;
        QTest::newRow("beyond 32 bits")
            << 0 << QString() << QString() << qint64(4294967296) << u"4294967296"_s;
    }

    void texts()
    {
        QFETCH(int, digits);
        QFETCH(QString, prefix);
        QFETCH(QString, suffix);
        QFETCH(qint64, number);
        QFETCH(QString, text);
        NumberingValues v;
        v.digits = digits;
        v.prefix = prefix;
        v.suffix = suffix;
        QCOMPARE(numberText(v, number), text);
    }

    void rangeAndNextStart_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("sheets");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("range");
        QTest::addColumn<int>("nextStart");
        QTest::newRow("three sheets of 30") << true << 1 << 3 << 30 << u"1〜90 (3枚)"_s << 91;
        QTest::newRow("one sheet") << true << 4721 << 1 << 40 << u"4721〜4760 (1枚)"_s << 4761;
        QTest::newRow("off") << false << 1 << 3 << 30 << u"(3枚)"_s << 1;
        QTest::newRow("no tickets") << true << 5 << 2 << 0 << u"5〜5 (2枚)"_s << 5;
        QTest::newRow("held at the largest start")
            << true << 999'999'990 << 1 << 30 << u"999999990〜1000000019 (1枚)"_s << 999'999'999;
    }

    void rangeAndNextStart()
    {
        QFETCH(bool, enabled);
        QFETCH(int, start);
        QFETCH(int, sheets);
        QFETCH(int, count);
        QFETCH(QString, range);
        QFETCH(int, nextStart);
        NumberingValues v;
        v.enabled = enabled;
        v.start = start;
        v.sheets = sheets;
        QCOMPARE(numberRangeText(v, count), range);
        QCOMPARE(afterPrintedRun(v, count).start, nextStart);
    }

    void runPagesNumberOnFromTheFreeCells()
    {
        SheetJob job = sheetJobOf(MainValues{}, OptionValues{});
        job.count = 28;
        job.sheet.usedCells = {{0, 0}, {0, 1}};
        job.numbering.enabled = true;
        job.numbering.sheets = 3;
        job.firstNumber = 101;
        const std::vector<SheetJob> pages = runPages(job);
        QCOMPARE(pages.size(), size_t(3));
        QCOMPARE(pages[0].sheet.usedCells, job.sheet.usedCells);
        QCOMPARE(pages[0].firstNumber, 101);
        for (size_t k = 1; k < pages.size(); ++k) {
            QVERIFY(pages[k].sheet.usedCells.empty());
            QCOMPARE(pages[k].firstNumber, 101 + qint64(k) * 28);
            QCOMPARE(pages[k].count, 28);
        }
    }

    void runPagesOfOneSheetIsTheJob()
    {
        SheetJob job = sheetJobOf(MainValues{}, OptionValues{});
        job.sheet.usedCells = {{1, 1}};
        const std::vector<SheetJob> pages = runPages(job);
        QCOMPARE(pages.size(), size_t(1));
        QCOMPARE(pages[0].sheet, job.sheet);
        QCOMPARE(pages[0].firstNumber, job.firstNumber);
    }
};

QTEST_GUILESS_MAIN(TestNumbering)
#include "tst_numbering.moc"
