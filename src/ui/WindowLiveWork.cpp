#include "WindowLiveWork.h"

#include "picture/PictureHolder.h"

#include <QEventLoop>
#include <QThread>

#include <memory>

namespace zorvane {

void runKeepingWindowLive(const std::function<void()>& work)
{
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
