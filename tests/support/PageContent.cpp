#include "PageContent.h"

namespace zorvane::test {

QImage drawnPart(const QImage& page)
{
    const QImage rgb = page.convertToFormat(QImage::Format_RGB32);
    QRect box;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            if (qMin(qRed(row[x]), qMin(qGreen(row[x]), qBlue(row[x]))) < 235)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box.isEmpty() ? QImage() : rgb.copy(box);
}

} // namespace zorvane::test
