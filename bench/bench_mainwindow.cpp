// Measures how quickly the main window answers a change with a finished
// repaint, with a 24-megapixel picture loaded: a digit typed into the count
// field, and a click on another paper. Each run sends the real input event,
// then repaints the window at once and stops the clock when the paint ends.
// Before that, choosing a 24- and a 100-megapixel JPEG in turn: the time to
// the finished repaint of the preview, and the longest the event loop went
// without turning while the picture loaded; and, where the directory holds
// photo12.heic, the time from choosing that HEIC to the preview's first
// paint (its thumbnail) and to its full decode.
//   bench_mainwindow [PICTURE_DIRECTORY]   pictures of bench_pictures, else made here
//   bench_mainwindow --memory JPEG         only load the picture and report
//                                          the process's peak memory
#include "BenchSupport.h"
#include "picture/PictureHolder.h"
#include "settings/SettingsStore.h"
#include "ui/CMainDlg.h"
#include "ui/PreviewWidget.h"
#include "ui/WindowLiveWork.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <ctime>

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>
#include <vector>

using namespace zorvane;
using namespace zorvane::bench;
using namespace Qt::StringLiterals;

namespace {

constexpr int runs = 200;

void report(const char* what, const Timing& t)
{
    std::printf("%-44s median %7.2f ms  (min %.2f, max %.2f, %d runs)  peak RSS %.0f MB\n", what,
                t.median, t.fastest, t.slowest, runs, peakMemoryMb());
    std::fflush(stdout);
}

void typeKey(QWidget* field, Qt::Key key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(field, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(field, &release);
}

// Turns the event loop for a while, noting the longest time between two
// turns of a timer that asks to run every millisecond.
class EventLoopGaps
{
public:
    EventLoopGaps()
    {
        clock_.start();
        tick_.setTimerType(Qt::PreciseTimer);
        tick_.setInterval(1);
        QObject::connect(&tick_, &QTimer::timeout, [this] { turned(); });
        tick_.start();
    }
    void restart()
    {
        longest_ = 0;
        last_ = clock_.nsecsElapsed();
    }
    void spin(int ms)
    {
        QElapsedTimer spun;
        spun.start();
        while (spun.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        turned();
    }
    double longestMs() const { return longest_ / 1e6; }
    qint64 nowNs() const { return clock_.nsecsElapsed(); }

private:
    void turned()
    {
        const qint64 now = clock_.nsecsElapsed();
        longest_ = std::max(longest_, now - last_);
        last_ = now;
    }
    QElapsedTimer clock_;
    QTimer tick_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

constexpr int chooseRuns = 7;

// CPU time of the calling thread, in milliseconds: unlike the wall clock it
// does not grow when other programs share the machine.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

void chooseInTurn(CMainDlg& window, const QString& photo24, const QString& photo100)
{
    EventLoopGaps gaps;
    std::vector<double> repaint24, repaint100, gap24, gap100, cpu24, cpu100;
    for (int run = 0; run < 2 * chooseRuns; ++run) {
        const bool large = run % 2 == 1;
        gaps.spin(30);
        gaps.restart();
        const qint64 start = gaps.nowNs();
        const double startCpu = threadCpuMs();
        window.LoadPicture(large ? photo100 : photo24);
        window.repaint();
        (large ? repaint100 : repaint24).push_back((gaps.nowNs() - start) / 1e6);
        (large ? cpu100 : cpu24).push_back(threadCpuMs() - startCpu);
        gaps.spin(100); // anything the load left for later shows as a gap here
        (large ? gap100 : gap24).push_back(gaps.longestMs());
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("%-44s median %7.2f ms, GUI thread CPU %.2f ms  (%d runs)\n",
                "24 MP JPEG chosen -> preview repainted", median(repaint24), median(cpu24),
                chooseRuns);
    std::printf("%-44s median %7.2f ms\n", "  longest event-loop gap while loading", median(gap24));
    std::printf("%-44s median %7.2f ms, GUI thread CPU %.2f ms  (%d runs)\n",
                "100 MP JPEG chosen -> preview repainted", median(repaint100), median(cpu100),
                chooseRuns);
    std::printf("%-44s median %7.2f ms\n", "  longest event-loop gap while loading",
                median(gap100));
    std::fflush(stdout);
}

// Choosing the same 24 MP picture untagged and with an Adobe RGB profile in
// turn: what converting its colours adds between choosing and the preview.
void chooseTaggedInTurn(CMainDlg& window, const QString& untagged, const QString& tagged)
{
    std::vector<double> plain, converted;
    EventLoopGaps gaps;
    for (int run = 0; run < 2 * chooseRuns; ++run) {
        const bool profile = run % 2 == 1;
        gaps.spin(30);
        const qint64 start = gaps.nowNs();
        window.LoadPicture(profile ? tagged : untagged);
        window.repaint();
        (profile ? converted : plain).push_back((gaps.nowNs() - start) / 1e6);
        gaps.spin(100);
    }
    std::sort(plain.begin(), plain.end());
    std::sort(converted.begin(), converted.end());
    std::printf("%-44s median %7.2f ms, with an Adobe RGB profile %.2f ms  (%d runs)\n",
                "24 MP JPEG chosen -> preview repainted", plain[plain.size() / 2],
                converted[converted.size() / 2], chooseRuns);
}

// Notes when the watched widget next starts to paint.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(const EventLoopGaps& clock) : clock_(clock) {}
    void expect() { paintedNs_ = -1; }
    qint64 paintedNs() const { return paintedNs_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && paintedNs_ < 0)
            paintedNs_ = clock_.nowNs();
        return QObject::eventFilter(watched, event);
    }

private:
    const EventLoopGaps& clock_;
    qint64 paintedNs_ = -1;
};

// Choosing a phone's HEIC: its thumbnail painted first, then the picture
// decoded in full on a worker before LoadPicture returns.
void chooseHeic(CMainDlg& window, const QString& heic)
{
    EventLoopGaps gaps;
    FirstPaint firstPaint(gaps);
    auto* preview = window.findChild<PreviewWidget*>();
    preview->installEventFilter(&firstPaint);
    std::vector<double> shown, decoded, gap;
    for (int run = 0; run < chooseRuns; ++run) {
        gaps.spin(30);
        gaps.restart();
        firstPaint.expect();
        const qint64 start = gaps.nowNs();
        window.LoadPicture(heic);
        window.repaint();
        decoded.push_back((gaps.nowNs() - start) / 1e6);
        shown.push_back((firstPaint.paintedNs() - start) / 1e6);
        gaps.spin(100);
        gap.push_back(gaps.longestMs());
    }
    preview->removeEventFilter(&firstPaint);
    const Timing alone = measure(chooseRuns, [&] {
        if (!PictureHolder::openForScreen(heic, QSize(400, 300)))
            qFatal("the HEIC did not open");
    });
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("%-44s median %7.2f ms  (%d runs)\n", "12 MP HEIC chosen -> thumbnail painted",
                median(shown), chooseRuns);
    std::printf("%-44s median %7.2f ms\n", "  -> picture decoded in full", median(decoded));
    std::printf("%-44s median %7.2f ms\n", "  opening with its thumbnail alone", alone.median);
    const Timing onWorker = measure(chooseRuns, [&] {
        std::unique_ptr<PictureHolder> opened;
        runKeepingWindowLive([&] { opened = PictureHolder::openForScreen(heic, QSize(400, 300)); });
        if (!opened)
            qFatal("the HEIC did not open");
    });
    std::printf("%-44s median %7.2f ms\n", "  the same on a worker, window painting",
                onWorker.median);
    std::printf("%-44s median %7.2f ms\n", "  longest event-loop gap while loading", median(gap));
    std::fflush(stdout);
}

// The floor under choosing a picture: the decoder alone making the smallest
// copy it reaches (an eighth of each side), on the file's bytes in memory,
// with nothing else running.
void reducedDecodeAlone(const QString& photo24, const QString& photo100)
{
    for (const auto& [name, path] : {std::pair{"24 MP JPEG: reduced decode alone", photo24},
                                     std::pair{"100 MP JPEG: reduced decode alone", photo100}}) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(path));
        const auto picture = PictureHolder::openBytes(file.readAll());
        if (!picture)
            qFatal("cannot open %s", qPrintable(path));
        const Timing t = measure(chooseRuns, [&] {
            if (picture->decodeCovering(QSize(1, 1)).isNull())
                qFatal("the reduced decode failed");
        });
        std::printf("%-44s median %7.2f ms\n", name, t.median);
    }
    std::fflush(stdout);
}

// The memory of a window showing the picture, before any print.
int memoryWithPicture(const QString& photo)
{
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(u"store.ini"_s));
    CMainDlg window(store, nullptr, dir.filePath(u"devmode.zvn"_s));
    window.show();
    QCoreApplication::processEvents();
    window.LoadPicture(photo);
    if (!window.loadedPicture())
        qFatal("the picture did not load");
    window.repaint();
    EventLoopGaps().spin(300);
    std::printf("%-44s peak RSS %.0f MB\n", "window showing the picture, no print yet",
                peakMemoryMb());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 3 && arguments[1] == u"--memory"_s)
        return memoryWithPicture(arguments[2]);
    QTemporaryDir dir;
    QString photo;
    QString photo100;
    if (arguments.size() == 2) {
        photo = QDir(arguments[1]).filePath(u"photo24.jpg"_s);
        photo100 = QDir(arguments[1]).filePath(u"photo100.jpg"_s);
    } else {
        photo = writeJpeg(dir, u"photo24.jpg"_s, 6000, 4000);
        photo100 = writeJpeg(dir, u"photo100.jpg"_s, 12000, 8333);
    }
    SettingsStore store(dir.filePath(u"store.ini"_s));
    CMainDlg window(store, nullptr, dir.filePath(u"devmode.zvn"_s));
    window.show();
    QCoreApplication::processEvents();
    chooseInTurn(window, photo, photo100);
    if (arguments.size() == 2 &&
        QFileInfo::exists(QDir(arguments[1]).filePath(u"photo24-adobe.jpg"_s)))
        chooseTaggedInTurn(window, photo, QDir(arguments[1]).filePath(u"photo24-adobe.jpg"_s));
    if (arguments.size() == 2 && QFile::exists(QDir(arguments[1]).filePath(u"photo12.heic"_s)))
        chooseHeic(window, QDir(arguments[1]).filePath(u"photo12.heic"_s));
    window.LoadPicture(photo);
    if (!window.loadedPicture())
        qFatal("the 24 MP JPEG did not load");
    window.repaint();

    auto* count = window.findChild<QComboBox*>(u"1015"_s);
    QLineEdit* countField = count->lineEdit();
    countField->setFocus();
    int digit = 0;
    report("count typed -> repainted", measure(runs, [&] {
               // Alternate a digit and a backspace, so the count stays small.
               if (digit++ % 2 == 0)
                   typeKey(countField, Qt::Key_5, u"5"_s);
               else
                   typeKey(countField, Qt::Key_Backspace, QString());
               window.repaint();
           }));

    const std::array papers{window.findChild<QRadioButton*>(u"1012"_s),
                            window.findChild<QRadioButton*>(u"1013"_s),
                            window.findChild<QRadioButton*>(u"1014"_s)};
    int paper = 0;
    report("paper clicked -> repainted", measure(runs, [&] {
               papers[std::size_t(++paper % 3)]->click();
               window.repaint();
           }));
    // Last, so the memory figures above do not count its copies.
    reducedDecodeAlone(photo, photo100);
    return 0;
}
