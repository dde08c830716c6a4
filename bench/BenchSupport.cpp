#include "BenchSupport.h"

#include <QElapsedTimer>
#include <QImageWriter>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <vector>

namespace zorvane::bench {

Timing measure(int runs, const std::function<void()>& work)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front(), ms.back()};
}

double peakMemoryMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

QImage photoLike(int width, int height, quint32 seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int(seed >> 28) - 8;
            line[x] = qRgb((x * 255 / width + noise) & 0xFF, (y * 255 / height + noise) & 0xFF,
                           ((x + y) * 127 / (width + height) + 64 + noise) & 0xFF);
        }
    }
    return image;
}

QString writeJpeg(const QTemporaryDir& dir, const QString& name, int width, int height,
                  quint32 seed)
{
    const QString path = dir.filePath(name);
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    if (!writer.write(photoLike(width, height, seed)))
        qFatal("cannot write the benchmark JPEG");
    return path;
}

} // namespace zorvane::bench
