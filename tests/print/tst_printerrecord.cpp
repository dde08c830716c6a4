#include "PdfProbe.h"
#include "print/CorrectedPrinter.h"
#include "print/DeviceModeLayout.h"
#include "print/DriverExtraTail.h"
#include "print/PaperSettings.h"
#include "print/PrinterDefaults.h"
#include "print/PrinterRecord.h"

#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace zorvane;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(zorvane::PaperKind)

namespace {

QSizeF pageMm(const QPrinter& printer)
{
    return printer.pageLayout().fullRect(QPageLayout::Millimeter).size();
}

bool near(QSizeF a, QSizeF b)
{
    return qAbs(a.width() - b.width()) < 0.2 && qAbs(a.height() - b.height()) < 0.2;
}

} // namespace

class TestPrinterRecord : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fillsTheFieldsFromThePrinter();
    void appliesBackWhatItHolds();
    void customSheetKeepsItsWidthAndLength();
    void paperSettingsGiveTheRightPage_data();
    void paperSettingsGiveTheRightPage();
    void fieldsOutsideThePublicPartAreIgnored();
    void vanishedPrinterGivesWayToTheDefault();
    void defaultsNameTheDefaultPrinter();
    void cupsOptionsTravelInTheTail();
    void randomRecordsApplyWithoutHarm();
    void fileOutputIsNeverCorrected();

private:
    QTemporaryDir dir_;
};

void TestPrinterRecord::fillsTheFieldsFromThePrinter()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir_.filePath(u"out.pdf"_s));
    printer.setPageSize(QPageSize(QPageSize::JisB5));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setCopyCount(3);
    printer.setColorMode(QPrinter::GrayScale);
    printer.setCollateCopies(false);
    printer.setResolution(600);

    const PrinterSettingsBlock block = PrinterRecord::fromPrinter(printer);
    QCOMPARE(block.size(), PrinterSettingsBlock::blockSize);
    QCOMPARE(block.readU16(devmode::specVersion), 0x0401);
    QCOMPARE(block.dmSize(), 156);
    QVERIFY(block.recordLength() <= block.size());
    QCOMPARE(block.readI16(devmode::orientation), devmode::landscape);
    QCOMPARE(block.readI16(devmode::paperSize), 13);
    QCOMPARE(block.readI16(devmode::copies), 3);
    QCOMPARE(block.readI16(devmode::color), devmode::monochrome);
    QCOMPARE(block.readI16(devmode::duplex), devmode::simplex); // a PDF file has one side
    QCOMPARE(block.readI16(devmode::collate), 0);
    QCOMPARE(block.readI16(devmode::printQuality), 600);
    QCOMPARE(block.readI16(devmode::yResolution), 600);
    const quint32 expectedFields = devmode::hasOrientation | devmode::hasPaperSize |
                                   devmode::hasCopies | devmode::hasColor | devmode::hasDuplex |
                                   devmode::hasCollate | devmode::hasPrintQuality |
                                   devmode::hasYResolution | devmode::hasFormName;
    QCOMPARE(block.dmFields(), expectedFields);

    const DriverExtraTail tail = DriverExtraTail::decode(block.driverExtra());
    QVERIFY(tail.pdfFile);
    QCOMPARE(tail.outputFile, printer.outputFileName());
}

void TestPrinterRecord::appliesBackWhatItHolds()
{
    QPrinter chosen(QPrinter::HighResolution);
    chosen.setOutputFormat(QPrinter::PdfFormat);
    chosen.setOutputFileName(dir_.filePath(u"chosen.pdf"_s));
    chosen.setPageSize(QPageSize(QPageSize::A5));
    chosen.setPageOrientation(QPageLayout::Landscape);
    chosen.setCopyCount(2);
    chosen.setResolution(300);
    const PrinterSettingsBlock block = PrinterRecord::fromPrinter(chosen);

    QPrinter next(QPrinter::HighResolution);
    PrinterRecord::applyTo(block, next);
    QCOMPARE(next.outputFormat(), QPrinter::PdfFormat);
    QCOMPARE(next.outputFileName(), chosen.outputFileName());
    QCOMPARE(next.pageLayout().pageSize().id(), QPageSize::A5);
    QCOMPARE(next.pageLayout().orientation(), QPageLayout::Landscape);
    QCOMPARE(next.copyCount(), 2);
    QCOMPARE(next.resolution(), 300);
    // Reading back gives the same record.
    QCOMPARE(PrinterRecord::fromPrinter(next).bytes(), block.bytes());
}

void TestPrinterRecord::customSheetKeepsItsWidthAndLength()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(
        QPageSize(QSizeF(148, 105), QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    const PrinterSettingsBlock block = PrinterRecord::fromPrinter(printer);
    QCOMPARE(block.readI16(devmode::paperSize), devmode::paperUser);
    QCOMPARE(block.readI16(devmode::paperWidth), 1480);
    QCOMPARE(block.readI16(devmode::paperLength), 1050);

    QPrinter next(QPrinter::HighResolution);
    PrinterRecord::applyTo(block, next);
    QCOMPARE(next.pageLayout().orientation(), QPageLayout::Portrait);
    QVERIFY(near(pageMm(next), QSizeF(148, 105)));
}

void TestPrinterRecord::paperSettingsGiveTheRightPage_data()
{
    QTest::addColumn<PaperKind>("paper");
    QTest::addColumn<QSizeF>("pageMm");

    QTest::newRow("A4") << PaperKind::A4 << QSizeF(210, 297);
    QTest::newRow("B5 (JIS)") << PaperKind::B5 << QSizeF(182, 257);
    QTest::newRow("quarter sheet, wide in portrait") << PaperKind::A4Quarter << QSizeF(148, 105);
}

void TestPrinterRecord::paperSettingsGiveTheRightPage()
{
    QFETCH(PaperKind, paper);
    QFETCH(QSizeF, pageMm);
    if (!pdfprobe::toolsAvailable())
        QSKIP("poppler tools (pdfinfo, pdftoppm) are not installed");

    // A record the user left in landscape on another paper.
    QPrinter earlier(QPrinter::HighResolution);
    earlier.setOutputFormat(QPrinter::PdfFormat);
    earlier.setPageSize(QPageSize(QPageSize::Letter));
    earlier.setPageOrientation(QPageLayout::Landscape);
    PrinterSettingsBlock block = PrinterRecord::fromPrinter(earlier);
    const std::uint32_t earlierFields = block.dmFields();

    writePaperSettings(block, paper);
    // The four paper fields are added; the user's other choices stay flagged.
    QCOMPARE(block.dmFields(), earlierFields | 15u);
    QCOMPARE(block.readI16(devmode::orientation), devmode::portrait);

    QPrinter printer(QPrinter::HighResolution);
    PrinterRecord::applyTo(block, printer);
    const QString pdf = dir_.filePath(QString::fromLatin1(QTest::currentDataTag()) + u".pdf"_s);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    {
        QPainter painter(&printer);
        painter.fillRect(QRect(0, 0, 10, 10), Qt::black);
    }
    QVERIFY2(near(pdfprobe::pageSizeMm(pdf), pageMm),
             qPrintable(u"%1 x %2"_s.arg(pdfprobe::pageSizeMm(pdf).width())
                            .arg(pdfprobe::pageSizeMm(pdf).height())));
}

void TestPrinterRecord::fieldsOutsideThePublicPartAreIgnored()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    PrinterSettingsBlock block = PrinterRecord::fromPrinter(printer);
    block.writeI16(devmode::orientation, devmode::landscape);
    block.writeI16(devmode::copies, 9);
    block.writeU16(devmode::size, 50); // a record whose public part ends before copies

    QPrinter next(QPrinter::HighResolution);
    next.setOutputFormat(QPrinter::PdfFormat);
    PrinterRecord::applyTo(block, next);
    QCOMPARE(next.pageLayout().orientation(), QPageLayout::Landscape);
    QCOMPARE(next.copyCount(), 1);
}

void TestPrinterRecord::vanishedPrinterGivesWayToTheDefault()
{
    PrinterSettingsBlock block;
    block.writeText(devmode::deviceName, devmode::nameWidth, "Printer sold last year");
    DriverExtraTail tail;
    tail.printerName = u"Printer sold last year"_s;
    block.setDriverExtra(tail.encode(PrinterSettingsBlock::driverExtraCapacity));

    QPrinter printer(QPrinter::HighResolution);
    PrinterRecord::applyTo(block, printer);
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    if (defaultName.isEmpty()) {
        QCOMPARE(printer.outputFormat(), QPrinter::PdfFormat);
    } else {
        QCOMPARE(printer.outputFormat(), QPrinter::NativeFormat);
        QCOMPARE(printer.printerName(), defaultName);
    }
}

void TestPrinterRecord::defaultsNameTheDefaultPrinter()
{
    std::optional<PrinterSettingsBlock> settings;
    QVERIFY(GetPrinterDefaults(settings));
    QVERIFY(settings);
    const DriverExtraTail tail = DriverExtraTail::decode(settings->driverExtra());
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    if (defaultName.isEmpty()) {
        QVERIFY(tail.pdfFile);
        QVERIFY(!GetPrinterDefaults(settings, WithoutPrinter::Fail));
        QVERIFY(!settings);
    } else {
        QVERIFY(!tail.pdfFile);
        QCOMPARE(tail.printerName, defaultName);
        QCOMPARE(settings->readText(devmode::deviceName, devmode::nameWidth),
                 defaultName.toUtf8().left(31));
    }
}

void TestPrinterRecord::cupsOptionsTravelInTheTail()
{
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    if (defaultName.isEmpty()) {
        if (qEnvironmentVariableIntValue("ZORVANE_REQUIRE_CUPS") == 1)
            QFAIL("no default printer, though the test scheduler should provide one");
        QSKIP("no printer on this system");
    }
    QPrinter printer(QPrinterInfo::printerInfo(defaultName), QPrinter::HighResolution);
    const QStringList options{u"page-set"_s, u"odd"_s, u"number-up"_s, u"2"_s};
    printer.printEngine()->setProperty(QPrintEngine::PrintEnginePropertyKey(0xfe00), options);
    const PrinterSettingsBlock block = PrinterRecord::fromPrinter(printer);

    QPrinter next(QPrinter::HighResolution);
    PrinterRecord::applyTo(block, next);
    QCOMPARE(next.printerName(), defaultName);
    QCOMPARE(
        next.printEngine()->property(QPrintEngine::PrintEnginePropertyKey(0xfe00)).toStringList(),
        options);
}

void TestPrinterRecord::randomRecordsApplyWithoutHarm()
{
    QRandomGenerator random(99);
    for (int round = 0; round < 100; ++round) {
        QByteArray bytes(random.bounded(PrinterSettingsBlock::blockSize + 1), '\0');
        for (char& byte : bytes)
            byte = char(random.bounded(256));
        if (round % 3 == 0 && bytes.size() > 200) // a readable tail now and then
            bytes.replace(156, 40, QByteArray("format=pdf\noutput=/nonexistent/x.pdf\n\0\0", 40));
        PrinterSettingsBlock block;
        block.overlay(bytes);
        QVERIFY(block.recordLength() <= block.size());

        QPrinter printer(QPrinter::HighResolution);
        PrinterRecord::applyTo(block, printer);
        const PrinterSettingsBlock back = PrinterRecord::fromPrinter(printer);
        QCOMPARE(back.size(), PrinterSettingsBlock::blockSize);
        QVERIFY(back.recordLength() <= back.size());
    }
}

void TestPrinterRecord::fileOutputIsNeverCorrected()
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(u"/tmp/x.pdf"_s);
    QVERIFY(correctedPrinterName(printer).isEmpty());
}

QTEST_MAIN(TestPrinterRecord)
#include "tst_printerrecord.moc"
