#include "FakePrintDialog.h"
#include "LargeJpeg.h"
#include "PdfProbe.h"
#include "SheetProbe.h"
#include "StoredJob.h"
#include "picture/PictureHolder.h"
#include "print/PrintJob.h"
#include "print/SheetExport.h"
#include "settings/SettingsStore.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

using namespace zorvane;
using namespace zorvane::test;
using namespace Qt::StringLiterals;

namespace {

qint64 peakMemoryMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// The picture's width and height as pdfimages lists its one image.
QSize embeddedSize(const QString& pdf)
{
    const QStringList lines = pdfprobe::imageList(pdf);
    if (lines.size() < 3)
        return {};
    const QStringList fields = lines.at(2).split(u' ', Qt::SkipEmptyParts);
    return fields.size() > 4 ? QSize(fields.at(3).toInt(), fields.at(4).toInt()) : QSize();
}

} // namespace

// A JPEG of a 200-megapixel phone sensor printed and exported: the printer
// and the PNG file get it no larger than the tickets need, the PDF file its
// own bytes whole, and the tickets show it upright where they belong.
class TestLargeSensorPrint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void printGetsWhatTheTicketsNeed();
    void pdfExportEmbedsTheWholeJpeg();

private:
    SheetJob job();
    sheetprobe::Sheet expectedSheet(QPointF originMm) const;

    QTemporaryDir dir_;
    QString photo_;
};

void TestLargeSensorPrint::initTestCase()
{
    if (!pdfprobe::toolsAvailable())
        QSKIP("poppler tools are not installed");
    photo_ = dir_.filePath(u"sensor200.jpg"_s);
    const QuarterColours quarters{sheetprobe::topLeftColour.rgb(), sheetprobe::topRightColour.rgb(),
                                  sheetprobe::bottomLeftColour.rgb(),
                                  sheetprobe::bottomRightColour.rgb()};
    QVERIFY(writeLargeJpeg(photo_, QSize(16320, 12240), quarters));
}

SheetJob TestLargeSensorPrint::job()
{
    const SettingsStore store(dir_.filePath(u"Zorvane.ini"_s));
    MainValues main;
    main.paper = PaperKind::A4;
    main.countText = u"4"_s;
    return storedJob(store, main);
}

sheetprobe::Sheet TestLargeSensorPrint::expectedSheet(QPointF originMm) const
{
    sheetprobe::Sheet sheet;
    sheet.originMm = originMm;
    sheet.columns = 3;
    sheet.rows = 9;
    sheet.count = 4;
    return sheet;
}

void TestLargeSensorPrint::printGetsWhatTheTicketsNeed()
{
    const qint64 before = peakMemoryMb();
    // As the window holds it for a print.
    const auto picture = PictureHolder::load(photo_);
    QVERIFY(picture);
    QCOMPARE(picture->size(), QSize(16320, 12240));
    const QString pdf = dir_.filePath(u"printed.pdf"_s);
    FakePrintDialog dialog(pdf);
    std::optional<PrinterSettingsBlock> printerSettings;
    PrintJob print(
        dialog, [](const QString&) {}, dir_.filePath(u"devmode.zvn"_s));
    QCOMPARE(print.run(job(), picture.get(), printerSettings), PrintJob::Outcome::Printed);
    QVERIFY2(peakMemoryMb() - before < 600,
             qPrintable(u"peak grew by %1 MB"_s.arg(peakMemoryMb() - before)));

    // A 57.9 mm ticket at the printer's 1200 dpi needs 2736 pixels: a
    // quarter of each side covers it, an eighth does not.
    QCOMPARE(embeddedSize(pdf), QSize(4080, 3060));
    const QString fault =
        sheetprobe::check(pdfprobe::render(pdf, 100), 100, expectedSheet(dialog.paintableCorner));
    QVERIFY2(fault.isEmpty(), qPrintable(fault));

    // The PNG export of the same sheet, from the file's bytes only.
    const auto opened = PictureHolder::open(photo_);
    QVERIFY(opened);
    const QString png = dir_.filePath(u"sheet.png"_s);
    QCOMPARE(exportSheet(png, SheetFileFormat::Png, 100, job(), opened.get()),
             SheetExportResult::Written);
    const QString pngFault = sheetprobe::check(QImage(png), 100, expectedSheet(QPointF()));
    QVERIFY2(pngFault.isEmpty(), qPrintable(pngFault));
    QVERIFY2(peakMemoryMb() - before < 600,
             qPrintable(u"peak grew by %1 MB"_s.arg(peakMemoryMb() - before)));
}

void TestLargeSensorPrint::pdfExportEmbedsTheWholeJpeg()
{
    const auto opened = PictureHolder::open(photo_);
    QVERIFY(opened);
    const QString pdf = dir_.filePath(u"sheet.pdf"_s);
    QCOMPARE(exportSheet(pdf, SheetFileFormat::Pdf, 600, job(), opened.get()),
             SheetExportResult::Written);
    QCOMPARE(embeddedSize(pdf), QSize(16320, 12240));
    QVERIFY(!opened->hasPixels());
}

QTEST_MAIN(TestLargeSensorPrint)
#include "tst_largesensorprint.moc"
