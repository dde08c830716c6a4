// Cut marks printed through a CUPS queue whose driver keeps unprintable
// margins: the marks above the grid end at the printable area's edge.
#include "CupsQueue.h"
#include "CutGuideProbe.h"
#include "FakePrintDialog.h"
#include "PdfProbe.h"
#include "SheetProbe.h"
#include "StoredJob.h"
#include "picture/PictureHolder.h"
#include "print/PrintJob.h"
#include "print/PrinterRecord.h"
#include "settings/SettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace zorvane;
using namespace Qt::StringLiterals;

namespace {

constexpr int dpi = 254; // a pixel is a tenth of a millimetre

// The top mark of the first ticket's left cut line: the dark runs above the
// ticket near the column given.
std::vector<std::pair<int, int>> topMarkRuns(const QImage& page, int column, int ticketTop)
{
    std::vector<std::pair<int, int>> runs;
    for (const int x : {column - 1, column, column + 1}) {
        for (const auto& run : cutprobe::darkRunsInColumn(page, x)) {
            if (run.second < ticketTop)
                runs.push_back(run);
        }
    }
    return runs;
}

} // namespace

class TestCutMarksCups : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void marksEndAtThePrintableArea();
};

void TestCutMarksCups::marksEndAtThePrintableArea()
{
    const QString queue = qEnvironmentVariable("ZORVANE_MARGINS_QUEUE");
    const QString outputDir = qEnvironmentVariable("ZORVANE_CUPS_PDF_DIR");
    if (queue.isEmpty() || outputDir.isEmpty()) {
        if (qEnvironmentVariableIntValue("ZORVANE_REQUIRE_CUPS") == 1)
            QFAIL("ZORVANE_REQUIRE_CUPS=1 but no queue with margins or output directory is named");
        QSKIP("no queue with margins (scripts/cups-margins-queue.sh, run by scripts/test.sh)");
    }
    QVERIFY(!QPrinterInfo::printerInfo(queue).isNull());
    QVERIFY(pdfprobe::toolsAvailable());
    const QSet<QString> before = cupsqueue::pdfsIn(outputDir);

    QTemporaryDir dir;
    SettingsStore store(dir.filePath(u"Zorvane.ini"_s));
    store.WriteProfileInt("Option", "EDIT2", 20); // tickets 2 mm below the sheet's top
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(queue);
    std::optional<PrinterSettingsBlock> record = PrinterRecord::fromPrinter(printer);
    test::ConfirmingUser user;
    PrintJob job(
        user, [](const QString& text) { QFAIL(qPrintable(text)); }, QString());
    MainValues main;
    main.countText = u"1"_s;
    SheetOptions sheet;
    sheet.cut.cutMarks = true;
    const auto picture = PictureHolder::fromImage(sheetprobe::quarteredPicture(300, 200));
    QCOMPARE(job.run(storedJob(store, main, sheet), picture.get(), record),
             PrintJob::Outcome::Printed);
    QVERIFY2(user.paintableCorner.y() > 3, "the queue keeps no top margin");

    const QString pdf = cupsqueue::awaitNewPdf(outputDir, before);
    QVERIFY2(!pdf.isEmpty(), "the queue wrote no page");
    const QImage page = pdfprobe::render(pdf, dpi);
    QFile::remove(pdf);
    QVERIFY(!page.isNull());
    // The sheet starts at the printable area's corner: the ticket's left
    // cut line 10 mm to its right, its top 2 mm below; the mark would run
    // from 3 mm to 7 mm above that, and stops at the printable edge.
    const int column = int(std::lround((user.paintableCorner.x() + 10) * 10));
    const int ticketTop = int(std::lround((user.paintableCorner.y() + 2) * 10));
    const int printableTop = int(std::lround(user.paintableCorner.y() * 10));
    const auto runs = topMarkRuns(page, column, ticketTop);
    QVERIFY2(!runs.empty(), "no mark above the ticket");
    for (const auto& [from, to] : runs) {
        QVERIFY2(from >= printableTop - 1 && qAbs(from - printableTop) <= 2 &&
                     qAbs(to + 1 - (ticketTop - 10)) <= 2,
                 qPrintable(u"mark from row %1 to %2, printable from %3"_s.arg(from).arg(to).arg(
                     printableTop)));
    }
}

QTEST_MAIN(TestCutMarksCups)
#include "tst_cutmarkscups.moc"
