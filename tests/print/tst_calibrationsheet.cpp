#include "CalibrationProbe.h"
#include "FakePrintDialog.h"
#include "PdfProbe.h"
#include "SheetProbe.h"
#include "StoredJob.h"
#include "layout/CalibrationSheet.h"
#include "picture/PictureHolder.h"
#include "print/PrintJob.h"
#include "print/PrinterRecord.h"
#include "print/SheetExport.h"
#include "settings/CalibrationStore.h"
#include "settings/SettingsStore.h"

#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

using namespace zorvane;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(zorvane::PaperKind)

namespace {

constexpr int dpi = 300;

// The user picks a PDF file on a printer that keeps unequal margins, as a
// real printer's printable area does.
test::FakePrintDialog pdfWithMargins(const QString& file = {})
{
    test::FakePrintDialog user(file);
    user.marginsMm = QMarginsF(6.0, 9.5, 4.0, 3.0);
    return user;
}

QString describe(QPointF mm)
{
    return u"(%1, %2) mm"_s.arg(mm.x(), 0, 'f', 3).arg(mm.y(), 0, 'f', 3);
}

// Both crosshairs of the page lie where the paper says, within a tenth of
// the measuring unit plus a pixel's rounding.
void verifyCrosshairs(const QImage& page, PaperKind paper)
{
    QVERIFY(!page.isNull());
    const CalibrationMarks marks = calibrationMarks(paper);
    const QPointF nearMm = QPointF(marks.nearMark) / 10.0;
    const QPointF farMm = QPointF(marks.farMark) / 10.0;
    const QPointF nearFound = calibrationprobe::crosshairMm(page, dpi, nearMm, 1);
    const QPointF farFound = calibrationprobe::crosshairMm(page, dpi, farMm, -1);
    QVERIFY2(qAbs(nearFound.x() - nearMm.x()) < 0.1 && qAbs(nearFound.y() - nearMm.y()) < 0.1,
             qPrintable(describe(nearFound)));
    QVERIFY2(qAbs(farFound.x() - farMm.x()) < 0.1 && qAbs(farFound.y() - farMm.y()) < 0.1,
             qPrintable(describe(farFound)));
}

} // namespace

class TestCalibrationSheet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!pdfprobe::toolsAvailable())
            QSKIP("poppler tools (pdftoppm) are not installed");
    }

    void papers_data()
    {
        QTest::addColumn<PaperKind>("paper");
        QTest::newRow("A4") << PaperKind::A4;
        QTest::newRow("B5") << PaperKind::B5;
        QTest::newRow("quarter sheet") << PaperKind::A4Quarter;
    }

    void fileHasTheMarksAtTheirPlaces_data() { papers_data(); }
    void fileHasTheMarksAtTheirPlaces()
    {
        QFETCH(PaperKind, paper);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"sheet.pdf"_s);
        QCOMPARE(exportCalibrationSheet(pdf, SheetFileFormat::Pdf, dpi, paper),
                 SheetExportResult::Written);
        verifyCrosshairs(pdfprobe::render(pdf, dpi), paper);
    }

    // The printer's origin is its printable area's corner; the sheet is
    // placed by it, so the marks still land at their places on the paper.
    void printerMarginsAreTakenOut_data() { papers_data(); }
    void printerMarginsAreTakenOut()
    {
        QFETCH(PaperKind, paper);
        QTemporaryDir dir;
        auto user = pdfWithMargins(dir.filePath(u"printed.pdf"_s));
        QStringList messages;
        PrintJob job(
            user, [&messages](const QString& text) { messages << text; }, QString());
        std::optional<PrinterSettingsBlock> record = PrinterSettingsBlock();
        QCOMPARE(job.runCalibrationSheet(paper, record), PrintJob::Outcome::Printed);
        QCOMPARE(messages, QStringList());
        QVERIFY(user.paintableCorner.x() > 5.9 && user.paintableCorner.y() > 9.4);
        verifyCrosshairs(pdfprobe::render(user.file, dpi), paper);
    }

    void noPaperPrintsNothing()
    {
        auto user = pdfWithMargins();
        QStringList messages;
        PrintJob job(
            user, [&messages](const QString& text) { messages << text; }, QString());
        std::optional<PrinterSettingsBlock> record = PrinterSettingsBlock();
        QCOMPARE(job.runCalibrationSheet(std::nullopt, record), PrintJob::Outcome::DoesNotFit);
        QCOMPARE(messages, QStringList{QString::fromUtf16(printMessages::doesNotFit)});
    }

    // A print into a file is never corrected, even when the printer the
    // record names has a correction: the tickets stay where the Part puts
    // them, counted from the printable area's corner.
    void printToFileIsNotCorrected()
    {
        QTemporaryDir dir;
        SettingsStore store(dir.filePath(u"Zorvane.ini"_s));
        QPrinter named;
        named.setPrinterName(u"ZorvanePDF"_s);
        savePrinterCorrection(store, u"ZorvanePDF"_s,
                              PositionCorrection{{950'000, 3000}, {1'050'000, -2000}});
        auto user = pdfWithMargins(dir.filePath(u"tickets.pdf"_s));
        PrintJob job(
            user, [](const QString&) {}, QString());
        std::optional<PrinterSettingsBlock> record = PrinterRecord::fromPrinter(named);
        MainValues main;
        main.countText = u"4"_s;
        const auto picture = PictureHolder::fromImage(sheetprobe::quarteredPicture(300, 160));
        QCOMPARE(job.run(storedJob(store, main), picture.get(), record),
                 PrintJob::Outcome::Printed);

        sheetprobe::Sheet sheet;
        sheet.originMm = user.paintableCorner;
        sheet.columns = 3;
        sheet.rows = 9;
        sheet.count = 4;
        const QString fault = sheetprobe::check(pdfprobe::render(user.file, 100), 100, sheet);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }
};

QTEST_MAIN(TestCalibrationSheet)
#include "tst_calibrationsheet.moc"
