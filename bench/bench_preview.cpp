// Measures what the preview and the picture source cost on this machine:
// loading a 24-megapixel and a 100-megapixel JPEG, whole preview renders,
// and one A4 sheet at 600 dpi into a PDF. Prints medians and the process's
// peak resident memory after each step (steps run in growing memory order).
#include "BenchSupport.h"
#include "layout/DrawingSurface.h"
#include "layout/GridFit.h"
#include "layout/SheetDrawing.h"
#include "picture/PictureHolder.h"
#include "preview/PagePreview.h"
#include "settings/SettingsStore.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
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

void report(const char* what, const Timing& t, int runs)
{
    std::printf("%-48s median %9.2f ms  (min %.2f, max %.2f, %d runs)  peak RSS %.0f MB\n", what,
                t.median, t.fastest, t.slowest, runs, peakMemoryMb());
    std::fflush(stdout);
}

PreviewOutcome paintBox(const PictureHolder& picture, const MainValues& main,
                        const SettingsStore& store, const SheetOptions& sheet = {})
{
    QImage box(123, 196, QImage::Format_RGB32);
    box.setDotsPerMeterX(3780); // 96 dpi, the usual screen
    box.setDotsPerMeterY(3780);
    QPainter painter(&box);
    return paintPreviewBox(painter, box.size(), &picture,
                           sheetJobOf(main, loadOptionValues(store), sheet));
}

qint64 pdfOfSheet(const QString& path, const PictureHolder& picture, const MainValues& main,
                  const SettingsStore& store)
{
    {
        QPdfWriter writer(path);
        writer.setResolution(600);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        DrawingSurface surface(painter);
        const GridFitResult fit = GridFit(main, loadOptionValues(store));
        if (!fit.fits)
            qFatal("the benchmark sheet does not fit");
        DrawSheet(surface, &picture, sheetJobOf(main, loadOptionValues(store)), fit.grid);
    }
    return QFileInfo(path).size();
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        qFatal("no temporary directory");
    const SettingsStore store(dir.filePath(u"store.ini"_s)); // every Option at its default

    std::printf("peak RSS at start: %.0f MB\n", peakMemoryMb());
    const QString photo24 = writeJpeg(dir, u"photo24.jpg"_s, 6000, 4000);
    std::printf("24 MP JPEG written: 6000 x 4000, %.1f MB on disk\n",
                QFileInfo(photo24).size() / 1e6);

    std::unique_ptr<PictureHolder> picture;
    report("load 24 MP JPEG (decode + reduced copies)",
           measure(5,
                   [&] {
                       picture.reset(); // one picture in memory at a time, as in the program
                       picture = PictureHolder::load(photo24);
                   }),
           5);
    if (!picture)
        qFatal("the 24 MP JPEG did not load");

    MainValues typeB;
    typeB.ticketType = TicketType::B;
    typeB.countText = u"30"_s;
    MainValues custom;
    custom.ticketType = TicketType::Other;
    custom.customWidth = 200;
    custom.customHeight = 150;
    custom.countText = u"50"_s;

    constexpr int renders = 300;
    for (const auto& [name, main] :
         {std::pair{"preview A4, type B, 30 tickets", typeB},
          std::pair{"preview A4, custom 20 x 15 mm, 50 tickets", custom}}) {
        const PreviewOutcome outcome = paintBox(*picture, main, store);
        if (outcome.doesNotFit)
            qFatal("the benchmark count does not fit");
        report(name, measure(renders, [&] { paintBox(*picture, main, store); }), renders);
    }
    // A partly used label sheet: ten cells hatched, the tickets filling the
    // rest, each cropped to its ticket.
    SheetOptions partlyUsed;
    partlyUsed.placement = PicturePlacement::Fill;
    for (int row = 0; row < 5; ++row)
        partlyUsed.usedCells.insert({row, 0});
    for (int row = 0; row < 5; ++row)
        partlyUsed.usedCells.insert({row, 1});
    MainValues typeBRest = typeB;
    typeBRest.countText = u"20"_s;
    if (paintBox(*picture, typeBRest, store, partlyUsed).doesNotFit)
        qFatal("the benchmark count does not fit the free cells");
    report("preview A4, type B, 10 cells used, 20 filled",
           measure(renders, [&] { paintBox(*picture, typeBRest, store, partlyUsed); }), renders);

    const QString onePdf = dir.filePath(u"one.pdf"_s);
    const QString sheetPdf = dir.filePath(u"sheet.pdf"_s);
    MainValues single = typeB;
    single.countText = u"1"_s;
    qint64 oneSize = 0;
    qint64 sheetSize = 0;
    report("A4 at 600 dpi into PDF, 1 ticket",
           measure(3, [&] { oneSize = pdfOfSheet(onePdf, *picture, single, store); }), 3);
    report("A4 at 600 dpi into PDF, type B, 30 tickets",
           measure(3, [&] { sheetSize = pdfOfSheet(sheetPdf, *picture, typeB, store); }), 3);
    std::printf("PDF sizes: 1 ticket %.2f MB, 30 tickets %.2f MB, ratio %.3f\n", oneSize / 1e6,
                sheetSize / 1e6, double(sheetSize) / double(oneSize));

    picture.reset();
    const QString photo100 = writeJpeg(dir, u"photo100.jpg"_s, 10000, 10000);
    std::printf("100 MP JPEG written: 10000 x 10000, %.1f MB on disk\n",
                QFileInfo(photo100).size() / 1e6);
    report("load 100 MP JPEG (decode + reduced copies)",
           measure(3,
                   [&] {
                       picture.reset();
                       picture = PictureHolder::load(photo100);
                   }),
           3);
    if (!picture)
        qFatal("the 100 MP JPEG did not load");
    report("preview A4, type B, 30 tickets, 100 MP picture",
           measure(renders, [&] { paintBox(*picture, typeB, store); }), renders);
    return 0;
}
