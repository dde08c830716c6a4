#include "CutGuideProbe.h"

#include <QColor>

namespace cutprobe {
namespace {

// Resampled edges and printed colours differ a little from the picture's.
constexpr int tolerance = 40;

bool near(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance &&
           qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

template<typename At> std::vector<std::pair<int, int>> darkRuns(int length, const At& pixelAt)
{
    std::vector<std::pair<int, int>> runs;
    for (int i = 0; i < length; ++i) {
        if (!isDark(pixelAt(i)))
            continue;
        if (!runs.empty() && runs.back().second == i - 1)
            runs.back().second = i;
        else
            runs.emplace_back(i, i);
    }
    return runs;
}

} // namespace

int reach(const QImage& page, QPoint start, QPoint step)
{
    const QRgb reference = page.pixel(start);
    QPoint last = start;
    for (QPoint next = start + step;
         page.rect().contains(next) && near(page.pixel(next), reference); next += step)
        last = next;
    return step.x() != 0 ? last.x() : last.y();
}

bool isDark(QRgb pixel)
{
    return qRed(pixel) < 80 && qGreen(pixel) < 80 && qBlue(pixel) < 80;
}

std::vector<std::pair<int, int>> darkRunsInRow(const QImage& page, int y)
{
    return darkRuns(page.width(), [&](int x) { return page.pixel(x, y); });
}

std::vector<std::pair<int, int>> darkRunsInColumn(const QImage& page, int x)
{
    return darkRuns(page.height(), [&](int y) { return page.pixel(x, y); });
}

std::vector<QPoint> darkPixels(const QImage& page)
{
    std::vector<QPoint> pixels;
    const QImage rgb = page.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            if (isDark(row[x]))
                pixels.emplace_back(x, y);
        }
    }
    return pixels;
}

} // namespace cutprobe
