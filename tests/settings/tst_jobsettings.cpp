#include "settings/JobSettings.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(std::optional<zorvane::TicketType>)
Q_DECLARE_METATYPE(std::optional<zorvane::PaperKind>)
Q_DECLARE_METATYPE(std::optional<zorvane::FillOrder>)

using namespace zorvane;
using namespace Qt::StringLiterals;

class TestJobSettings : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString storePath() const { return dir_.filePath(u"Zorvane.ini"_s); }

    void writeIni(const QByteArray& content)
    {
        QFile file(storePath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

private Q_SLOTS:
    void init() { QFile::remove(storePath()); }

    void emptyStoreGivesFirstRunJob()
    {
        SettingsStore store(storePath());
        const MainValues main = loadMainValues(store);
        QCOMPARE(main.ticketType, std::optional(TicketType::A));
        QCOMPARE(main.paper, std::optional(PaperKind::A4));
        QCOMPARE(main.fillOrder, std::optional(FillOrder::RowsFirst));
        QCOMPARE(main.countText, QString());
        QCOMPARE(main.customWidth, 0);
        QCOMPARE(main.customHeight, 0);
        QCOMPARE(main.keepAspect, false);

        const OptionValues o = loadOptionValues(store);
        QCOMPARE(o.offsetX, 100);
        QCOMPARE(o.offsetY, 100);
        QCOMPARE(o.gapV, 3);
        QCOMPARE(o.gapH, 3);
        QCOMPARE(o.frameRed, 224);
        QCOMPARE(o.frameGreen, 224);
        QCOMPARE(o.frameBlue, 224);
        QCOMPARE(o.drawFrame, 0);
        QCOMPARE(o.limitGrid, 0);
        QCOMPARE(o.maxRows, 0);
        QCOMPARE(o.maxCols, 0);
        QCOMPARE(o.fontPercent, 100);

        const MainButtonStates states = loadMainButtonStates(store);
        QCOMPARE(states.ticket, (std::array<int, 4>{1, 0, 0, 0}));
        QCOMPARE(states.paper, (std::array<int, 3>{1, 0, 0}));
        QCOMPARE(states.order, (std::array<int, 2>{1, 0}));
        QCOMPARE(states.keepAspect, 0);
    }

    void mainValuesRoundTrip()
    {
        MainValues values;
        values.ticketType = TicketType::Other;
        values.customWidth = -500;
        values.customHeight = 300;
        values.keepAspect = true;
        values.paper = PaperKind::A4Quarter;
        values.countText = u" 12x"_s;
        values.fillOrder = FillOrder::ColumnsFirst;
        {
            SettingsStore store(storePath());
            saveMainValues(store, values);
        }
        SettingsStore reopened(storePath());
        QCOMPARE(loadMainValues(reopened), values);
        QCOMPARE(requestedCount(values), 12);
    }

    void mainValuesUseTheirOwnKeys()
    {
        MainValues values;
        values.ticketType = TicketType::D;
        values.paper = PaperKind::B5;
        values.customWidth = 11;
        values.customHeight = 22;
        values.countText = u"7"_s;
        SettingsStore store(storePath());
        saveMainValues(store, values);
        const char* main = keys::mainSection;
        QCOMPARE(store.GetProfileInt(main, "EDIT2", -1), 11);
        QCOMPARE(store.GetProfileInt(main, "EDIT3", -1), 22);
        QCOMPARE(store.GetProfileString(main, "COMBO1", QString()), u"7"_s);
        const std::array<int, 9> radios{0, 0, 1, 0, 0, 1, 0, 1, 0};
        for (int i = 0; i < 9; ++i) {
            const QByteArray key = "RADIO" + QByteArray::number(i + 1);
            QCOMPARE(store.GetProfileInt(main, key.constData(), -1), radios[i]);
        }
        QCOMPARE(store.GetProfileInt(main, "CHK1", -1), 0);
        // Nothing leaks into the other section.
        QCOMPARE(store.GetProfileInt(keys::optionSection, "EDIT2", -1), -1);
    }

    void optionValuesRoundTrip()
    {
        OptionValues o;
        o.offsetX = -50;
        o.offsetY = 0;
        o.gapV = 6;
        o.gapH = 2147483647;
        o.frameRed = 300;
        o.frameGreen = -1;
        o.frameBlue = 256;
        o.fontPercent = 150;
        o.drawFrame = 2;
        o.limitGrid = 1;
        o.maxRows = 5;
        o.maxCols = 2;
        {
            SettingsStore store(storePath());
            saveOptionValues(store, o);
        }
        SettingsStore reopened(storePath());
        QCOMPARE(loadOptionValues(reopened), o);
        // Same key names as "Main" but not the same values.
        QCOMPARE(loadMainValues(reopened), MainValues());
    }

    void radioGroupsFromHandEditedStore_data()
    {
        QTest::addColumn<QByteArray>("mainSection");
        QTest::addColumn<std::optional<TicketType>>("ticket");
        QTest::addColumn<std::optional<PaperKind>>("paper");
        QTest::addColumn<std::optional<FillOrder>>("order");

        QTest::newRow("two types on: the first wins")
            << QByteArray("RADIO1=1\nRADIO2=1\n") << std::optional(TicketType::A)
            << std::optional(PaperKind::A4) << std::optional(FillOrder::RowsFirst);
        QTest::newRow("B and Other on")
            << QByteArray("RADIO1=0\nRADIO2=1\nRADIO4=1\n") << std::optional(TicketType::B)
            << std::optional(PaperKind::A4) << std::optional(FillOrder::RowsFirst);
        QTest::newRow("no type on")
            << QByteArray("RADIO1=0\n") << std::optional<TicketType>()
            << std::optional(PaperKind::A4) << std::optional(FillOrder::RowsFirst);
        QTest::newRow("no paper and no order on")
            << QByteArray("RADIO5=0\nRADIO8=0\n") << std::optional(TicketType::A)
            << std::optional<PaperKind>() << std::optional<FillOrder>();
        QTest::newRow("all papers on")
            << QByteArray("RADIO5=1\nRADIO6=1\nRADIO7=1\n") << std::optional(TicketType::A)
            << std::optional(PaperKind::A4) << std::optional(FillOrder::RowsFirst);
        QTest::newRow("state 2 counts as on")
            << QByteArray("RADIO1=0\nRADIO3=2\nRADIO5=0\nRADIO7=5\nRADIO8=0\nRADIO9=1\n")
            << std::optional(TicketType::D) << std::optional(PaperKind::A4Quarter)
            << std::optional(FillOrder::ColumnsFirst);
        QTest::newRow("text in a radio key reads as its default")
            << QByteArray("RADIO1=yes\nRADIO6=x\n") << std::optional(TicketType::A)
            << std::optional(PaperKind::A4) << std::optional(FillOrder::RowsFirst);
    }

    void radioGroupsFromHandEditedStore()
    {
        QFETCH(QByteArray, mainSection);
        QFETCH(std::optional<TicketType>, ticket);
        QFETCH(std::optional<PaperKind>, paper);
        QFETCH(std::optional<FillOrder>, order);
        writeIni("[Main]\n" + mainSection);
        SettingsStore store(storePath());
        const MainValues values = loadMainValues(store);
        QCOMPARE(values.ticketType, ticket);
        QCOMPARE(values.paper, paper);
        QCOMPARE(values.fillOrder, order);
    }

    void badValuesFallBackPerKey()
    {
        writeIni("[Main]\nEDIT2=abc\nEDIT3=99999999999\nCOMBO1=12\n"
                 "[Option]\nEDIT1=-5\nEDIT3=1e3\nCOMBO1=3\n");
        SettingsStore store(storePath());
        const MainValues main = loadMainValues(store);
        QCOMPARE(main.customWidth, 0);
        QCOMPARE(main.customHeight, 0);
        QCOMPARE(main.countText, u"12"_s);
        const OptionValues o = loadOptionValues(store);
        QCOMPARE(o.offsetX, -5);
        QCOMPARE(o.gapV, 3);
        QCOMPARE(o.maxRows, 3);
    }

    // Copy A has read the store; copy B then changes an Option value. A sees
    // B's value, and A's own change later keeps it. (The "Sheet" section's
    // case goes through the real window, in tst_sheetmenu.)
    void twoCopiesOnOneStoreKeepEachOthersValues()
    {
        SettingsStore copyA(storePath());
        OptionValues seenByA = loadOptionValues(copyA);
        QCOMPARE(seenByA.gapV, 3);

        QProcess copyB;
        copyB.start(QStringLiteral(STORE_WRITER), {storePath(), u"gap"_s, u"7"_s});
        QVERIFY(copyB.waitForFinished());
        QCOMPARE(copyB.exitCode(), 0);

        seenByA = loadOptionValues(copyA);
        QCOMPARE(seenByA.gapV, 7);
        seenByA.offsetX = 250;
        saveOptionValues(copyA, seenByA);

        const QSettings file(storePath(), QSettings::IniFormat);
        QCOMPARE(file.value(u"Option/EDIT3"_s).toInt(), 7);
        QCOMPARE(file.value(u"Option/EDIT1"_s).toInt(), 250);
    }
};

QTEST_GUILESS_MAIN(TestJobSettings)
#include "tst_jobsettings.moc"
