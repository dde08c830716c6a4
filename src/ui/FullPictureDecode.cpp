#include "FullPictureDecode.h"

#include "picture/PictureHolder.h"

#include <QEventLoop>
#include <QThread>

#include <memory>

namespace zorvane {

QImage decodeFullKeepingWindowLive(const PictureHolder& picture)
{
    // The worker owns its copy of the file's bytes and its result.
    std::shared_ptr<const PictureHolder> source = picture.withPixels(QImage());
    auto pixels = std::make_shared<QImage>();
    std::unique_ptr<QThread> worker(
        QThread::create([source, pixels] { *pixels = source->decodeFull(); }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();
    return *pixels;
}

} // namespace zorvane
