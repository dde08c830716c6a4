// Measures printing on this machine: 50 tickets of a 24-megapixel JPEG on
// one A4 sheet at 600 dpi, through the print job into a PDF file (the Print
// dialog confirmed by the program) and through the command line's PDF
// export. Prints medians, the process's peak resident memory, the file's
// size and how many distinct images it embeds (the picture must be there
// once, however many tickets show it).
#include "BenchSupport.h"
#include "picture/PictureHolder.h"
#include "print/PrintDialogPort.h"
#include "print/PrintJob.h"
#include "print/PrinterRecord.h"
#include "print/SheetExport.h"
#include "settings/SettingsStore.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPrinter>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace zorvane;
using namespace zorvane::bench;
using namespace Qt::StringLiterals;

namespace {

constexpr int runs = 5;

// Distinct image objects in a PDF, by pdfimages; -1 when it is not there.
int distinctImages(const QString& pdf)
{
    if (QStandardPaths::findExecutable(u"pdfimages"_s).isEmpty())
        return -1;
    QProcess process;
    process.start(u"pdfimages"_s, {u"-list"_s, pdf});
    process.waitForFinished(120000);
    QSet<QString> objects;
    const QStringList lines =
        QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QStringList columns = lines[i].split(u' ', Qt::SkipEmptyParts);
        if (columns.size() > 11)
            objects.insert(columns[10] + u' ' + columns[11]);
    }
    return int(objects.size());
}

void report(const char* what, const Timing& t, const QString& pdf)
{
    std::printf("%-44s median %8.1f ms  (min %.1f, max %.1f, %d runs)  peak RSS %.0f MB  "
                "PDF %.1f MB, %d distinct image(s)\n",
                what, t.median, t.fastest, t.slowest, runs, peakMemoryMb(),
                QFileInfo(pdf).size() / 1e6, distinctImages(pdf));
    std::fflush(stdout);
}

// The Print dialog as a user who prints to a PDF file at 600 dpi.
class PdfAt600Dpi : public PrintDialogPort
{
public:
    explicit PdfAt600Dpi(QString path) : path_(std::move(path)) {}

    bool confirm(QPrinter& printer) override
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path_);
        printer.setResolution(600);
        return true;
    }

private:
    QString path_;
};

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QString jpeg = writeJpeg(dir, u"photo24mp.jpg"_s, 6000, 4000, 777);
    std::printf("24 MP JPEG: %.1f MB; peak RSS after making it %.0f MB\n",
                QFileInfo(jpeg).size() / 1e6, peakMemoryMb());

    QElapsedTimer loadTimer;
    loadTimer.start();
    const std::unique_ptr<PictureHolder> picture = PictureHolder::load(jpeg);
    if (!picture) {
        std::fprintf(stderr, "cannot load the test picture\n");
        return 1;
    }
    std::printf("load %dx%d: %.1f ms; peak RSS %.0f MB\n", picture->size().width(),
                picture->size().height(), loadTimer.nsecsElapsed() / 1e6, peakMemoryMb());

    SettingsStore store(dir.filePath(u"Zorvane.ini"_s));
    MainValues main; // 50 tickets of 30 x 20 mm: 6 across, 13 down on A4
    main.ticketType = TicketType::Other;
    main.customWidth = 300;
    main.customHeight = 200;
    main.countText = u"50"_s;

    const QString jobPdf = dir.filePath(u"job.pdf"_s);
    PdfAt600Dpi user(jobPdf);
    PrintJob job(
        user, [](const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); },
        dir.filePath(u"devmode.zvn"_s));
    std::optional<PrinterSettingsBlock> printerSettings;
    {
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        printerSettings = PrinterRecord::fromPrinter(pdf);
    }
    bool ok = true;
    const Timing jobTiming = measure(runs, [&] {
        ok = job.run(sheetJobOf(main, loadOptionValues(store)), picture.get(), printerSettings) ==
                 PrintJob::Outcome::Printed &&
             ok;
    });
    report("print job, 50 tickets, A4, 600 dpi PDF", jobTiming, jobPdf);

    const QString exportPdf = dir.filePath(u"export.pdf"_s);
    const Timing exportTiming = measure(runs, [&] {
        ok = exportSheet(exportPdf, SheetFileFormat::Pdf, 600,
                         sheetJobOf(main, loadOptionValues(store)),
                         picture.get()) == SheetExportResult::Written &&
             ok;
    });
    report("--print-to PDF, 50 tickets, A4, 600 dpi", exportTiming, exportPdf);
    return ok ? 0 : 1;
}
