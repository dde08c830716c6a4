#include "NumberProbe.h"

#include <QColor>

#include <algorithm>
#include <cmath>

namespace numberprobe {

QRectF inkBoxMm(const QImage& page, double dpi, const QRectF& areaMm)
{
    const double pixelsPerMm = dpi / 25.4;
    const QRect area = QRect(int(std::floor(areaMm.left() * pixelsPerMm)),
                             int(std::floor(areaMm.top() * pixelsPerMm)),
                             int(std::ceil(areaMm.width() * pixelsPerMm)),
                             int(std::ceil(areaMm.height() * pixelsPerMm)))
                           .intersected(page.rect());
    int left = area.right() + 1;
    int top = area.bottom() + 1;
    int right = area.left() - 1;
    int bottom = area.top() - 1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(page.pixel(x, y)) >= 128)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < left)
        return {};
    return QRectF(left / pixelsPerMm, top / pixelsPerMm, (right - left + 1) / pixelsPerMm,
                  (bottom - top + 1) / pixelsPerMm);
}

} // namespace numberprobe
