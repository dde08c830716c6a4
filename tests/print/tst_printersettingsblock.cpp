#include "print/DeviceModeLayout.h"
#include "print/DriverExtraTail.h"
#include "print/PrinterSettingsBlock.h"

#include <QTest>

using namespace zorvane;
using namespace Qt::StringLiterals;

class TestPrinterSettingsBlock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void blankRecordDescribesItself();
    void fieldsLieAtTheirOffsetsLittleEndian_data();
    void fieldsLieAtTheirOffsetsLittleEndian();
    void signedFieldsKeepTheirSign();
    void accessesBeyondTheBlockDoNothing();
    void sizesCannotGrowBeyondTheBlock_data();
    void sizesCannotGrowBeyondTheBlock();
    void textFieldsAreCutAndTerminated();
    void overlay_data();
    void overlay();
    void tailRoundTrips();
    void tailDropsWhatDoesNotFit();
};

void TestPrinterSettingsBlock::blankRecordDescribesItself()
{
    const PrinterSettingsBlock block;
    QCOMPARE(block.size(), PrinterSettingsBlock::blockSize);
    QCOMPARE(block.readU16(devmode::specVersion), 0x0401);
    QCOMPARE(block.dmSize(), 156);
    QCOMPARE(block.dmDriverExtra(), PrinterSettingsBlock::driverExtraCapacity);
    QCOMPARE(block.recordLength(), block.size());
    QCOMPARE(block.record().size(), block.size());
    QCOMPARE(block.dmFields(), 0u);
}

void TestPrinterSettingsBlock::fieldsLieAtTheirOffsetsLittleEndian_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("width");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QByteArray>("expectedBytes");

    QTest::newRow("dmFields") << devmode::fields << 4 << quint32(15)
                              << QByteArray::fromHex("0f000000");
    QTest::newRow("dmFields high bits")
        << devmode::fields << 4 << quint32(0x01020304) << QByteArray::fromHex("04030201");
    QTest::newRow("dmOrientation")
        << devmode::orientation << 2 << quint32(1) << QByteArray::fromHex("0100");
    QTest::newRow("dmPaperSize user")
        << devmode::paperSize << 2 << quint32(256) << QByteArray::fromHex("0001");
    QTest::newRow("dmPaperLength")
        << devmode::paperLength << 2 << quint32(1050) << QByteArray::fromHex("1a04");
    QTest::newRow("dmPaperWidth") << devmode::paperWidth << 2 << quint32(1480)
                                  << QByteArray::fromHex("c805");
    QTest::newRow("dmDriverVersion")
        << devmode::driverVersion << 2 << quint32(0xBEEF) << QByteArray::fromHex("efbe");
}

void TestPrinterSettingsBlock::fieldsLieAtTheirOffsetsLittleEndian()
{
    QFETCH(int, offset);
    QFETCH(int, width);
    QFETCH(quint32, value);
    QFETCH(QByteArray, expectedBytes);

    PrinterSettingsBlock block;
    const QByteArray before = block.bytes().toByteArray();
    if (width == 4)
        block.writeU32(offset, value);
    else
        block.writeU16(offset, quint16(value));

    const QByteArray after = block.bytes().toByteArray();
    QCOMPARE(after.mid(offset, width), expectedBytes);
    // Nothing but the field changed.
    QCOMPARE(after.first(offset), before.first(offset));
    QCOMPARE(after.sliced(offset + width), before.sliced(offset + width));
    QCOMPARE(width == 4 ? block.readU32(offset) : block.readU16(offset), value);
}

void TestPrinterSettingsBlock::signedFieldsKeepTheirSign()
{
    PrinterSettingsBlock block;
    block.writeI16(devmode::paperWidth, -2);
    QCOMPARE(block.readI16(devmode::paperWidth), -2);
    QCOMPARE(block.readU16(devmode::paperWidth), 0xFFFE);
}

void TestPrinterSettingsBlock::accessesBeyondTheBlockDoNothing()
{
    PrinterSettingsBlock block;
    const QByteArray before = block.bytes().toByteArray();
    block.writeU32(block.size() - 3, 0xFFFFFFFF);
    block.writeU16(block.size() - 1, 0xFFFF);
    block.writeU16(-1, 0xFFFF);
    block.writeText(block.size() - 4, 8, "abcdefg");
    QCOMPARE(block.bytes().toByteArray(), before);
    QCOMPARE(block.readU32(block.size() - 3), 0u);
    QCOMPARE(block.readU16(-2), 0);
    QVERIFY(block.readText(block.size() - 1, 2).isEmpty());
}

void TestPrinterSettingsBlock::sizesCannotGrowBeyondTheBlock_data()
{
    QTest::addColumn<int>("newSize");
    QTest::addColumn<int>("newExtra");
    QTest::addColumn<bool>("accepted");

    const int extra = PrinterSettingsBlock::driverExtraCapacity;
    QTest::newRow("smaller public part") << 100 << extra << true;
    QTest::newRow("exactly the block") << 156 << extra << true;
    QTest::newRow("one byte more") << 157 << extra << false;
    QTest::newRow("largest 16-bit size") << 0xFFFF << extra << false;
}

void TestPrinterSettingsBlock::sizesCannotGrowBeyondTheBlock()
{
    QFETCH(int, newSize);
    QFETCH(int, newExtra);
    QFETCH(bool, accepted);

    PrinterSettingsBlock block;
    block.writeU16(devmode::driverExtra, quint16(newExtra));
    block.writeU16(devmode::size, quint16(newSize));
    QCOMPARE(block.dmSize() == newSize, accepted);
    QVERIFY(block.recordLength() <= block.size());
    // Reaching both sizes at once through a wider write is held to the same rule.
    block.writeU32(devmode::size, 0xFFFFFFFF);
    QVERIFY(block.recordLength() <= block.size());
    block.writeText(30, 16, "0123456789abcde");
    QVERIFY(block.recordLength() <= block.size());
}

void TestPrinterSettingsBlock::textFieldsAreCutAndTerminated()
{
    PrinterSettingsBlock block;
    block.writeText(devmode::deviceName, devmode::nameWidth,
                    "a printer name that is much longer than thirty-one bytes");
    QCOMPARE(block.readText(devmode::deviceName, devmode::nameWidth),
             QByteArray("a printer name that is much lon"));
    QCOMPARE(block.bytes()[31], '\0');
    QCOMPARE(block.readU16(devmode::specVersion), 0x0401);

    block.writeText(devmode::deviceName, devmode::nameWidth, "short");
    QCOMPARE(block.readText(devmode::deviceName, devmode::nameWidth), QByteArray("short"));
    QCOMPARE(block.bytes().sliced(5, 27).toByteArray(), QByteArray(27, '\0'));
}

void TestPrinterSettingsBlock::overlay_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("accepted");

    const int size = PrinterSettingsBlock::blockSize;
    QByteArray shorterRecord(100, 'x');
    shorterRecord.replace(36, 4, QByteArray::fromHex("4c003000")); // dmSize 76, extra 48
    QByteArray claimsTooMuch(40, 'y');
    claimsTooMuch.replace(36, 4, QByteArray::fromHex("9c00ffff"));

    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("three bytes") << QByteArray("abc") << true;
    QTest::newRow("shorter record") << shorterRecord << true;
    QTest::newRow("whole block") << QByteArray(size, '\0') << true;
    QTest::newRow("one byte too long") << QByteArray(size + 1, '\0') << false;
    QTest::newRow("sizes claim more than the block") << claimsTooMuch << false;
}

void TestPrinterSettingsBlock::overlay()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, accepted);

    PrinterSettingsBlock block;
    block.writeText(devmode::deviceName, devmode::nameWidth, "Default printer");
    block.writeI16(devmode::copies, 7);
    const QByteArray before = block.bytes().toByteArray();

    QCOMPARE(block.overlay(stored), accepted);
    const QByteArray after = block.bytes().toByteArray();
    QCOMPARE(after.size(), before.size());
    if (accepted) {
        QCOMPARE(after.first(stored.size()), stored);
        QCOMPARE(after.sliced(stored.size()), before.sliced(stored.size()));
    } else {
        QCOMPARE(after, before);
    }
    QVERIFY(block.recordLength() <= block.size());
}

void TestPrinterSettingsBlock::tailRoundTrips()
{
    DriverExtraTail tail;
    tail.printerName = u"Ｐｒｉｎｔｅｒ with a long name\nand a 100% odd line"_s;
    tail.outputFile = u"/tmp/out=put.pdf"_s;
    tail.cupsOptions = QStringList{u"page-set"_s, u"odd"_s, u"job-sheets"_s, u"none,none"_s};

    PrinterSettingsBlock block;
    block.setDriverExtra(tail.encode(PrinterSettingsBlock::driverExtraCapacity));
    const DriverExtraTail back = DriverExtraTail::decode(block.driverExtra());
    QCOMPARE(back.printerName, tail.printerName);
    QCOMPARE(back.pdfFile, false);
    QCOMPARE(back.outputFile, tail.outputFile);
    QCOMPARE(back.cupsOptions, tail.cupsOptions);
}

void TestPrinterSettingsBlock::tailDropsWhatDoesNotFit()
{
    DriverExtraTail tail;
    tail.printerName = u"P"_s;
    tail.outputFile = QString(5000, u'o');
    const QByteArray encoded = tail.encode(PrinterSettingsBlock::driverExtraCapacity);
    QVERIFY(encoded.size() <= PrinterSettingsBlock::driverExtraCapacity);
    const DriverExtraTail back = DriverExtraTail::decode(encoded);
    QCOMPARE(back.printerName, u"P"_s);
    QVERIFY(back.outputFile.isEmpty());
}

QTEST_GUILESS_MAIN(TestPrinterSettingsBlock)
#include "tst_printersettingsblock.moc"
