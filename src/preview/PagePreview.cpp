#include "PagePreview.h"

#include "PreviewFont.h"
#include "layout/DrawingSurface.h"
#include "layout/SheetDrawing.h"
#include "settings/SettingsStore.h"
#include "settings/Units.h"
#include "settings/WideMath.h"

#include <QPainter>

#include <cmath>

using namespace Qt::StringLiterals;

namespace zorvane {
namespace {

// A screen's page image stays far below this (A4 at 96 dpi is under one
// megapixel); a device reporting an absurd resolution gets no page rather
// than an allocation of gigabytes.
constexpr qint64 maxPagePixels = qint64(1) << 25;

// The page as the printer gets it, at the box's resolution, white.
QImage drawnPage(const DrawingSurface& box, const PictureHolder* picture, const MainValues& main,
                 const GridSize& grid, const SettingsStore& store)
{
    const QSize size = pagePixelSize(*main.paper, box.pixelsPerInchX(), box.pixelsPerInchY());
    if (size.isEmpty() || qint64(size.width()) * size.height() > maxPagePixels)
        return {};
    QImage page(size, QImage::Format_RGB32);
    if (page.isNull())
        return {};
    page.fill(Qt::white);
    QPainter painter(&page);
    DrawingSurface surface(painter, box.pixelsPerInchX(), box.pixelsPerInchY());
    drawJobSheet(surface, picture, main, grid, store);
    return page;
}

void writeText(QPainter& painter, QPoint topLeft, const QString& text, const SettingsStore& store)
{
    const int fontPercent = loadOptionValues(store).fontPercent;
    painter.save();
    painter.setFont(previewFont(painter.font(), painter.device(), fontPercent));
    painter.setPen(Qt::white);
    painter.setBackground(Qt::black);
    painter.setBackgroundMode(Qt::OpaqueMode); // the text's cells are black too
    painter.drawText(QPoint(topLeft.x(), topLeft.y() + painter.fontMetrics().ascent()), text);
    painter.restore();
}

} // namespace

QRect pageRectangle(PaperKind paper, QSize boxSize)
{
    const QSize size = paperSpec(paper).previewPageRect;
    return {QPoint((boxSize.width() - size.width()) / 2, (boxSize.height() - size.height()) / 2),
            size};
}

QString printableCountText(int printableCount)
{
    return u"印刷可能な最大数： "_s + QString::number(printableCount) + u" 個"_s;
}

QString noPictureNotice()
{
    return u"画像がロードされていません。"_s;
}

QImage warningPicture()
{
    return QImage(u":/zorvane/warning.bmp"_s);
}

QString previewStateText(const PictureHolder* picture, const MainValues& main,
                         const SettingsStore& store)
{
    if (!picture)
        return noPictureNotice();
    const GridFitResult fit = GridFit(main, loadOptionValues(store));
    if (!fit.fits)
        return u"すべてのアイテムを印刷できません。"_s + printableCountText(0);
    return printableCountText(capacity(fit.grid));
}

PreviewOutcome RenderPreview(DrawingSurface& box, QSize boxSize, const PictureHolder* picture,
                             const MainValues& main, const SettingsStore& store)
{
    PreviewOutcome outcome;
    const GridFitResult fit = GridFit(main, loadOptionValues(store));
    if (!fit.fits) {
        outcome.doesNotFit = true;
        return outcome;
    }
    outcome.printableCount = capacity(fit.grid);
    if (!picture || !main.paper)
        return outcome;

    const QImage page = drawnPage(box, picture, main, fit.grid, store);
    if (page.isNull())
        return outcome;
    // An area filter, so fine detail turns grey instead of into moire.
    const QRect target = pageRectangle(*main.paper, boxSize);
    box.painter().drawImage(target.topLeft(), page.scaled(target.size(), Qt::IgnoreAspectRatio,
                                                          Qt::SmoothTransformation));
    return outcome;
}

QPoint placeInBox(QPoint referencePlace, QSize boxSize)
{
    return {int(qint64(referencePlace.x()) * boxSize.width() / referenceBoxSize.width()),
            int(qint64(referencePlace.y()) * boxSize.height() / referenceBoxSize.height())};
}

PreviewOutcome paintPreviewBox(QPainter& painter, QSize boxSize, const PictureHolder* picture,
                               const MainValues& main, const SettingsStore& store)
{
    painter.fillRect(QRect(QPoint(0, 0), boxSize), Qt::black);
    if (!picture) {
        writeText(painter, placeInBox(noPictureNoticePlace, boxSize), noPictureNotice(), store);
        return {};
    }
    DrawingSurface box(painter);
    const PreviewOutcome outcome = RenderPreview(box, boxSize, picture, main, store);
    if (outcome.doesNotFit)
        painter.drawImage(placeInBox(warningPicturePlace, boxSize), warningPicture());
    writeText(painter, placeInBox(printableCountPlace, boxSize),
              printableCountText(outcome.printableCount), store);
    return outcome;
}

} // namespace zorvane
