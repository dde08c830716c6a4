#include "CalibrationProbe.h"
#include "FakePrintDialog.h"
#include "PdfProbe.h"
#include "SheetProbe.h"
#include "StoredJob.h"
#include "layout/CalibrationSheet.h"
#include "layout/GridFit.h"
#include "layout/PositionCorrection.h"
#include "picture/PictureHolder.h"
#include "print/PrintJob.h"
#include "print/PrinterRecord.h"
#include "print/SheetExport.h"
#include "settings/CalibrationStore.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"

#include <QDateTime>
#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cmath>
#include <functional>

using namespace zorvane;
using namespace Qt::StringLiterals;

namespace {

constexpr int dpi = 300;

// The printer this test pretends to own: it puts everything 2.5 mm too far
// right, 1.5 mm too low, and feeds the paper 1 % short, so distances down
// the page come out 1 % shorter. The queue itself draws a perfect page, so
// this error is applied to what the queue wrote.
const PositionCorrection simulatedPrinter{{1'000'000, 2500}, {990'000, 1500}};

QPointF simulate(QPointF mm)
{
    return QPointF(simulatedPrinter.x.placedTenths(mm.x() * 10) / 10,
                   simulatedPrinter.y.placedTenths(mm.y() * 10) / 10);
}

QRectF simulate(const QRectF& mm)
{
    return QRectF(simulate(mm.topLeft()), simulate(mm.bottomRight()));
}

QString describe(const QRectF& mm)
{
    return u"left %1 top %2 right %3 bottom %4 mm"_s.arg(mm.left(), 0, 'f', 2)
        .arg(mm.top(), 0, 'f', 2)
        .arg(mm.right(), 0, 'f', 2)
        .arg(mm.bottom(), 0, 'f', 2);
}

// The largest distance between corresponding edges.
double worstEdge(const QRectF& a, const QRectF& b)
{
    return std::max({qAbs(a.left() - b.left()), qAbs(a.top() - b.top()),
                     qAbs(a.right() - b.right()), qAbs(a.bottom() - b.bottom())});
}

} // namespace

// Calibrates a CUPS queue whose driver keeps unprintable margins, end to
// end: its calibration sheet, a correction entered from measurements of a
// printer with a known fault, and tickets printed through the queue.
class TestCalibrationCups : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void calibrationSheetMarksLandAtTheirPlaces();
    void correctedTicketsLandWhereTheFileExportPutsThem();

private:
    // Waits for the queue to write a new PDF that the test recognises as
    // its own (other jobs may share the queue's directory).
    QImage awaitPage(const std::function<bool(const QImage&)>& isOurs);
    PrintJob::Outcome printTickets(const MainValues& main);

    QString queue_;
    QString outputDir_;
    QTemporaryDir dir_;
    std::unique_ptr<SettingsStore> store_;
    std::optional<PrinterSettingsBlock> record_;
    QPointF nearMeasured_;
    QPointF farMeasured_;
    QSet<QString> seen_;
};

void TestCalibrationCups::initTestCase()
{
    queue_ = qEnvironmentVariable("ZORVANE_MARGINS_QUEUE");
    if (queue_.isEmpty()) {
        if (qEnvironmentVariableIntValue("ZORVANE_REQUIRE_CUPS") == 1)
            QFAIL("ZORVANE_REQUIRE_CUPS=1 but ZORVANE_MARGINS_QUEUE names no queue");
        QSKIP("no queue with margins (scripts/cups-margins-queue.sh, run by scripts/test.sh)");
    }
    QVERIFY2(!QPrinterInfo::printerInfo(queue_).isNull(), qPrintable(queue_));
    outputDir_ = qEnvironmentVariable("ZORVANE_CUPS_PDF_DIR");
    // An empty name would be the working directory, where the queue never
    // writes: the test would wait out its time instead of saying why.
    QVERIFY2(!outputDir_.isEmpty() && QDir(outputDir_).exists(),
             "ZORVANE_CUPS_PDF_DIR names no directory");
    QVERIFY(pdfprobe::toolsAvailable());
    const QStringList existing = QDir(outputDir_).entryList({u"*.pdf"_s}, QDir::Files);
    seen_ = QSet<QString>(existing.begin(), existing.end());

    store_ = std::make_unique<SettingsStore>(dir_.filePath(u"Zorvane.ini"_s));
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(queue_);
    record_ = PrinterRecord::fromPrinter(printer);
}

QImage TestCalibrationCups::awaitPage(const std::function<bool(const QImage&)>& isOurs)
{
    const QDateTime deadline = QDateTime::currentDateTime().addSecs(90);
    while (QDateTime::currentDateTime() < deadline) {
        const QStringList names = QDir(outputDir_).entryList({u"*.pdf"_s}, QDir::Files);
        for (const QString& name : names) {
            const QString path = QDir(outputDir_).filePath(name);
            if (seen_.contains(name) || pdfprobe::pageSizeMm(path).isEmpty())
                continue;
            seen_.insert(name);
            const QImage page = pdfprobe::render(path, dpi);
            if (!page.isNull() && isOurs(page)) {
                QFile::remove(path);
                return page;
            }
        }
        QThread::msleep(250);
    }
    return QImage();
}

void TestCalibrationCups::calibrationSheetMarksLandAtTheirPlaces()
{
    test::ConfirmingUser user;
    PrintJob job(
        user, [](const QString& text) { QFAIL(qPrintable(text)); }, QString());
    QCOMPARE(job.runCalibrationSheet(PaperKind::A4, record_), PrintJob::Outcome::Printed);
    QCOMPARE(user.printerName, queue_);
    // The driver's margins reach Qt: the origin is not the paper's corner.
    QVERIFY2(user.paintableCorner.x() > 3 && user.paintableCorner.y() > 3,
             qPrintable(u"printable area from (%1, %2) mm"_s.arg(user.paintableCorner.x())
                            .arg(user.paintableCorner.y())));

    const CalibrationMarks marks = calibrationMarks(PaperKind::A4);
    const QPointF nearMm = QPointF(marks.nearMark) / 10.0;
    const QPointF farMm = QPointF(marks.farMark) / 10.0;
    const QImage page = awaitPage([&](const QImage& candidate) {
        return !calibrationprobe::crosshairMm(candidate, dpi, nearMm, 1).isNull();
    });
    QVERIFY2(!page.isNull(), "the queue wrote no calibration sheet");
    nearMeasured_ = calibrationprobe::crosshairMm(page, dpi, nearMm, 1);
    farMeasured_ = calibrationprobe::crosshairMm(page, dpi, farMm, -1);
    qInfo("printable area from (%.2f, %.2f) mm; crosshairs at (%.3f, %.3f) and (%.3f, %.3f) mm",
          user.paintableCorner.x(), user.paintableCorner.y(), nearMeasured_.x(), nearMeasured_.y(),
          farMeasured_.x(), farMeasured_.y());
    for (const auto& [found, nominal] : {std::pair(nearMeasured_, nearMm), {farMeasured_, farMm}})
        QVERIFY2(qAbs(found.x() - nominal.x()) < 0.15 && qAbs(found.y() - nominal.y()) < 0.15,
                 qPrintable(u"(%1, %2) mm"_s.arg(found.x()).arg(found.y())));
}

PrintJob::Outcome TestCalibrationCups::printTickets(const MainValues& main)
{
    test::ConfirmingUser user;
    const auto picture = PictureHolder::fromImage(sheetprobe::quarteredPicture(400, 250));
    PrintJob job(
        user, [](const QString& text) { qWarning("%s", qPrintable(text)); }, QString());
    return job.run(storedJob(*store_, main), picture.get(), record_);
}

void TestCalibrationCups::correctedTicketsLandWhereTheFileExportPutsThem()
{
    if (nearMeasured_.isNull())
        QSKIP("the calibration sheet was not measured");

    // What a user with a ruler reads on the faulty printer's sheet, in
    // whole tenths of a millimetre, entered as the dialog would take them.
    const CalibrationMarks marks = calibrationMarks(PaperKind::A4);
    const auto tenths = [](double mm) { return int(std::lround(mm * 10)); };
    const QPointF nearRead = simulate(nearMeasured_);
    const QPointF farRead = simulate(farMeasured_);
    const AxisDerivation x =
        deriveAxisCorrection(marks.nearMark.x(), marks.farMark.x(), tenths(nearRead.x()),
                             tenths(farRead.x()), marks.paperWidth);
    const AxisDerivation y =
        deriveAxisCorrection(marks.nearMark.y(), marks.farMark.y(), tenths(nearRead.y()),
                             tenths(farRead.y()), marks.paperHeight);
    QVERIFY(x.correction && y.correction);
    qInfo("entered (%d, %d) and (%d, %d); correction x: shift %d um scale %d ppm, y: shift %d um "
          "scale %d ppm",
          tenths(nearRead.x()), tenths(nearRead.y()), tenths(farRead.x()), tenths(farRead.y()),
          x.correction->shiftMicrometres, x.correction->scaleMillionths,
          y.correction->shiftMicrometres, y.correction->scaleMillionths);

    // A sheet of custom tickets with unusual offsets and gaps, so the
    // test knows its own pages among others in the queue's directory.
    store_->WriteProfileInt(keys::optionSection, keys::option::offsetX, 150);
    store_->WriteProfileInt(keys::optionSection, keys::option::offsetY, 120);
    store_->WriteProfileInt(keys::optionSection, keys::option::gapH, 20);
    store_->WriteProfileInt(keys::optionSection, keys::option::gapV, 25);
    MainValues main;
    main.ticketType = TicketType::Other;
    main.customWidth = 431;
    main.customHeight = 271;
    const GridFitResult grid = GridFit(main, loadOptionValues(*store_));
    main.countText = QString::number(grid.grid.columns * grid.grid.rows);
    QVERIFY(GridFit(main, loadOptionValues(*store_)).fits);

    const QString exported = dir_.filePath(u"export.pdf"_s);
    const auto picture = PictureHolder::fromImage(sheetprobe::quarteredPicture(400, 250));
    QCOMPARE(
        exportSheet(exported, SheetFileFormat::Pdf, dpi, storedJob(*store_, main), picture.get()),
        SheetExportResult::Written);
    const QImage exportPage = pdfprobe::render(exported, dpi);
    const QPointF firstCentre(15 + 43.1 / 2, 12 + 27.1 / 2);
    const QPointF lastCentre =
        firstCentre + QPointF((grid.grid.columns - 1) * 45.1, (grid.grid.rows - 1) * 29.6);
    const QRectF exportFirst = calibrationprobe::ticketMm(exportPage, dpi, firstCentre);
    const QRectF exportLast = calibrationprobe::ticketMm(exportPage, dpi, lastCentre);
    QVERIFY2(qAbs(exportFirst.width() - 43.1) < 0.2, qPrintable(describe(exportFirst)));
    QVERIFY2(qAbs(exportLast.height() - 27.1) < 0.2, qPrintable(describe(exportLast)));

    // A page is ours when its first ticket has our size at the place the
    // given correction sends it to.
    const auto ticketsOf = [&](const PositionCorrection& sent) {
        const QPointF first(sent.x.intendedTenths(firstCentre.x() * 10) / 10,
                            sent.y.intendedTenths(firstCentre.y() * 10) / 10);
        const QPointF last(sent.x.intendedTenths(lastCentre.x() * 10) / 10,
                           sent.y.intendedTenths(lastCentre.y() * 10) / 10);
        return std::pair(first, last);
    };
    const auto measureQueuePage = [&](QPointF firstGuess, QPointF lastGuess) {
        const QImage page = awaitPage([&](const QImage& candidate) {
            const QRectF found = calibrationprobe::ticketMm(candidate, dpi, firstGuess);
            // Drawn at scale 1, or stretched against the short feed.
            const bool plain =
                qAbs(found.width() - 43.1) < 0.3 && qAbs(found.height() - 27.1) < 0.3;
            const bool stretched = qAbs(found.width() - 43.1) < 0.3 &&
                                   qAbs(found.height() - 27.1 / simulatedPrinter.y.scale()) < 0.3;
            return plain || stretched;
        });
        return std::pair(calibrationprobe::ticketMm(page, dpi, firstGuess),
                         calibrationprobe::ticketMm(page, dpi, lastGuess));
    };

    // Before: no correction stored. The queue puts the tickets at its
    // margin plus the offsets, and the faulty printer moves them further.
    resetPrinterCorrection(*store_, queue_);
    QCOMPARE(printTickets(main), PrintJob::Outcome::Printed);
    const QPointF margin = [&] {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPrinterName(queue_);
        return printer.pageLayout().paintRect(QPageLayout::Millimeter).topLeft();
    }();
    const auto [before1, before2] = measureQueuePage(firstCentre + margin, lastCentre + margin);
    QVERIFY2(!before1.isEmpty() && !before2.isEmpty(), "the uncorrected sheet was not found");
    const double beforeWorst = std::max(worstEdge(simulate(before1), exportFirst),
                                        worstEdge(simulate(before2), exportLast));

    // After: the correction derived above, stored for the queue.
    const PositionCorrection correction{*x.correction, *y.correction};
    savePrinterCorrection(*store_, queue_, correction);
    QCOMPARE(printTickets(main), PrintJob::Outcome::Printed);
    const auto [guessFirst, guessLast] = ticketsOf(correction);
    const auto [after1, after2] = measureQueuePage(guessFirst, guessLast);
    QVERIFY2(!after1.isEmpty() && !after2.isEmpty(), "the corrected sheet was not found");
    const double afterWorst =
        std::max(worstEdge(simulate(after1), exportFirst), worstEdge(simulate(after2), exportLast));

    qInfo("file export: first %s; last %s", qPrintable(describe(exportFirst)),
          qPrintable(describe(exportLast)));
    qInfo("before, landed: first %s; last %s; worst edge %.2f mm",
          qPrintable(describe(simulate(before1))), qPrintable(describe(simulate(before2))),
          beforeWorst);
    qInfo("after, landed: first %s; last %s; worst edge %.2f mm",
          qPrintable(describe(simulate(after1))), qPrintable(describe(simulate(after2))),
          afterWorst);
    QVERIFY2(beforeWorst > 3.0, qPrintable(QString::number(beforeWorst)));
    QVERIFY2(afterWorst < 0.2, qPrintable(QString::number(afterWorst)));
}

QTEST_MAIN(TestCalibrationCups)
#include "tst_calibrationcups.moc"
