#pragma once

#include <QImage>
#include <QString>

#include <functional>

class QTemporaryDir;

// What every benchmark program needs: timing with medians, the process's
// peak memory and a photo-like JPEG made on the spot.
namespace zorvane::bench {

struct Timing
{
    double median = 0; // milliseconds
    double fastest = 0;
    double slowest = 0;
};

Timing measure(int runs, const std::function<void()>& work);

// The process's peak resident memory so far, in megabytes.
double peakMemoryMb();

// Smooth colour fields with fine noise, so the JPEG is as large as a real
// photo's and decodes like one.
QImage photoLike(int width, int height, quint32 seed = 12345);

// Writes a photo-like JPEG of the given size into dir; aborts on failure.
QString writeJpeg(const QTemporaryDir& dir, const QString& name, int width, int height,
                  quint32 seed = 12345);

} // namespace zorvane::bench
