// Measures what numbered tickets cost on this machine: the preview of a
// sheet of 30 type B tickets with and without numbers, and a run of 100
// numbered sheets of a 24-megapixel JPEG into one PDF (CPU time and the
// file's size against a single sheet without numbers).
#include "BenchSupport.h"
#include "picture/PictureHolder.h"
#include "preview/PagePreview.h"
#include "print/SheetExport.h"
#include "settings/SheetJob.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>

#include <ctime>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace zorvane;
using namespace zorvane::bench;
using namespace Qt::StringLiterals;

namespace {

double cpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double threadCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

SheetJob typeBJob(bool numbered, int sheets)
{
    MainValues main;
    main.ticketType = TicketType::B;
    main.countText = u"30"_s;
    SheetJob job = sheetJobOf(main, OptionValues{});
    job.numbering.enabled = numbered;
    job.numbering.prefix = u"No."_s;
    job.numbering.digits = 4;
    job.numbering.sheets = sheets;
    return job;
}

void paintBox(const PictureHolder& picture, const SheetJob& job)
{
    QImage box(123, 196, QImage::Format_RGB32);
    box.setDotsPerMeterX(3780); // 96 dpi, the usual screen
    box.setDotsPerMeterY(3780);
    QPainter painter(&box);
    paintPreviewBox(painter, box.size(), &picture, job);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        qFatal("no temporary directory");
    const QString photo = writeJpeg(dir, u"photo24.jpg"_s, 6000, 4000);

    const auto shown = PictureHolder::load(photo);
    if (!shown)
        qFatal("the 24 MP JPEG did not load");
    constexpr int renders = 300;
    const SheetJob plain = typeBJob(false, 1);
    const SheetJob numbered = typeBJob(true, 1);
    paintBox(*shown, numbered); // the face loaded once, as the window has it
    // Interleaved and timed in this thread's CPU time, so other work on a
    // shared machine weighs on both alike.
    std::vector<double> without;
    std::vector<double> with;
    for (int i = 0; i < renders; ++i) {
        for (auto* samples : {&without, &with}) {
            const double before = threadCpuMilliseconds();
            paintBox(*shown, samples == &with ? numbered : plain);
            samples->push_back(threadCpuMilliseconds() - before);
        }
    }
    const double plainMedian = median(without);
    const double numberedMedian = median(with);
    std::printf("preview A4, type B, 30 tickets (CPU): without numbers %.2f ms, with %.2f ms, "
                "numbers add %.2f ms (medians of %d)\n",
                plainMedian, numberedMedian, numberedMedian - plainMedian, renders);

    // As the command line exports: the picture opened, not decoded.
    const auto picture = PictureHolder::open(photo);
    if (!picture)
        qFatal("the 24 MP JPEG did not open");
    const QString one = dir.filePath(u"one.pdf"_s);
    const QString run = dir.filePath(u"run.pdf"_s);
    if (exportSheet(one, SheetFileFormat::Pdf, 600, plain, picture.get()) !=
        SheetExportResult::Written)
        qFatal("the single sheet was not written");
    const double start = cpuMilliseconds();
    const Timing wall = measure(1, [&] {
        if (exportSheet(run, SheetFileFormat::Pdf, 600, typeBJob(true, 100), picture.get()) !=
            SheetExportResult::Written)
            qFatal("the run was not written");
    });
    const double cpu = cpuMilliseconds() - start;
    const qint64 oneSize = QFileInfo(one).size();
    const qint64 runSize = QFileInfo(run).size();
    std::printf("100 sheets x 30 numbered type B tickets, 24 MP JPEG, 600 dpi PDF: "
                "CPU %.0f ms, wall %.0f ms\n",
                cpu, wall.median);
    std::printf("PDF sizes: one sheet without numbers %.1f kB, 100 numbered sheets %.1f kB, "
                "difference %.1f kB\n",
                oneSize / 1e3, runSize / 1e3, (runSize - oneSize) / 1e3);
    return 0;
}
