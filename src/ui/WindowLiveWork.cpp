#include "WindowLiveWork.h"

#include "picture/PictureHolder.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QThread>

#include <memory>

namespace zorvane {

namespace {

// The work takes a moment; say so with the cursor.
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

void runKeepingWindowLive(const std::function<void()>& work)
{
    const WaitCursor busy;
    std::unique_ptr<QThread> worker(QThread::create(work));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();
}

QImage decodeFullKeepingWindowLive(const PictureHolder& picture)
{
    // The worker gets its own holder of the file's bytes.
    const std::unique_ptr<const PictureHolder> source = picture.withPixels(QImage());
    QImage pixels;
    runKeepingWindowLive([&] { pixels = source->decodeFull(); });
    return pixels;
}

} // namespace zorvane
