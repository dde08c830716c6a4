#include "PreviewFont.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QStringList>

#include <cmath>

using namespace Qt::StringLiterals;

namespace zorvane {
namespace {

constexpr double standardShare = 0.6;
constexpr int probePixelSize = 100;

int scaledMetric(int metric, int fontPercent)
{
    const double scaled = metric * standardShare * fontPercent / 100.0;
    return int(std::trunc(std::clamp(scaled, -1.0e6, 1.0e6)));
}

QFont gothicFace()
{
    QFont font;
    // The face the program was designed with first, then the Japanese
    // Gothic faces that Linux systems carry.
    font.setFamilies({u"ＭＳゴシック"_s, u"Noto Sans Mono CJK JP"_s, u"Noto Sans CJK JP"_s});
    font.setStyleHint(QFont::Monospace);
    font.setWeight(QFont::Normal);
    return font;
}

// The preview's own words, whose ink decides how tall the text stands.
const QString& referenceText()
{
    static const QString text = u"印刷可能な最大数個画像がロードされていません"_s;
    return text;
}

// Qt sizes a font by its em, and a Japanese face's glyphs fill only part
// of their cell: sized by cell height, the text would stand a third shorter
// than asked. The request is met by the ink of the preview's own words.
int pixelSizeForInkHeight(QFont font, const QPaintDevice* device, int inkHeight)
{
    font.setPixelSize(probePixelSize);
    const double inkPerEm =
        QFontMetricsF(font, device).tightBoundingRect(referenceText()).height() / probePixelSize;
    return std::max(1, int(std::lround(inkHeight / (inkPerEm > 0 ? inkPerEm : 1.0))));
}

// The average character width as the platform's text metrics report it:
// that of the Latin letters. A Japanese face's own average counts its
// full-width ideographs and would double the preview text's width.
int averageLatinWidth(const QFontMetricsF& metrics)
{
    static const QString letters = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"_s;
    return int(std::lround(metrics.horizontalAdvance(letters) / letters.size()));
}

} // namespace

PreviewFontSize previewFontSize(int cellHeight, int averageWidth, int fontPercent)
{
    return {scaledMetric(cellHeight, fontPercent), scaledMetric(averageWidth, fontPercent)};
}

QFont previewFont(const QFont& standard, const QPaintDevice* device, int fontPercent)
{
    const QFontMetricsF metrics(standard, device);
    const PreviewFontSize size = previewFontSize(int(std::lround(metrics.height())),
                                                 averageLatinWidth(metrics), fontPercent);
    QFont font = gothicFace();
    // A negative height asks for the em size instead of the cell height; 0
    // keeps the standard size.
    if (size.height > 0)
        font.setPixelSize(pixelSizeForInkHeight(font, device, size.height));
    else if (size.height < 0)
        font.setPixelSize(-size.height);
    else
        font.setPixelSize(std::max(1, QFontInfo(standard).pixelSize()));

    if (size.width != 0) {
        // In a fixed-pitch Japanese face the average width is that of a
        // half-width character; the face's own average counts the ideographs.
        const double natural = QFontMetricsF(font, device).horizontalAdvance(u'0');
        if (natural > 0) {
            const double stretch = std::abs(size.width) * 100.0 / natural;
            font.setStretch(std::clamp(int(std::lround(stretch)), 1, 4000));
        }
    }
    return font;
}

} // namespace zorvane
