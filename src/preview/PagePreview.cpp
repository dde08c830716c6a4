#include "PagePreview.h"

#include "PreviewFont.h"
#include "layout/CutMarks.h"
#include "layout/DrawingSurface.h"
#include "layout/SheetDrawing.h"
#include "settings/Units.h"
#include "settings/WideMath.h"

#include <QFontMetrics>
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
QImage drawnPage(const DrawingSurface& box, const PictureHolder* picture, const SheetJob& job,
                 const GridSize& grid)
{
    const QSize size = pagePixelSize(*job.paper, box.pixelsPerInchX(), box.pixelsPerInchY());
    if (size.isEmpty() || qint64(size.width()) * size.height() > maxPagePixels)
        return {};
    QImage page(size, QImage::Format_RGB32);
    if (page.isNull())
        return {};
    page.fill(Qt::white);
    QPainter painter(&page);
    DrawingSurface surface(painter, box.pixelsPerInchX(), box.pixelsPerInchY());
    DrawSheet(surface, picture, job, grid);
    return page;
}

// A length in tenths of a millimetre along a page side, as box pixels of a
// page rectangle whose side is boxLength pixels for pageMm millimetres.
int boxPixels(qint64 tenths, int pageMm, int boxLength)
{
    return clampToInt(qint64(std::floor(double(tenths) * boxLength / (pageMm * 10.0))));
}

// Grey hatching over the used cells in the grid, in box pixels, so it stays
// sharp however far the page was shrunk.
void hatchUsedCells(QPainter& painter, const QRect& target, const SheetJob& job,
                    const GridSize& grid)
{
    const std::optional<SheetPitch> pitch = sheetPitch(job);
    if (!pitch || job.sheet.usedCells.empty())
        return;
    const PaperSpec& paper = paperSpec(*job.paper);
    const QColor grey = QColor::fromRgb(usedCellHatchColour);
    painter.save();
    painter.setClipRect(target);
    for (const GridCell& cell : job.sheet.usedCells) {
        if (cell.row >= grid.rows || cell.column >= grid.columns)
            continue;
        const QPoint corner = cellPosition(*pitch, cell);
        const int left = boxPixels(corner.x(), paper.pageWidthMm, target.width());
        const int top = boxPixels(corner.y(), paper.pageHeightMm, target.height());
        const int right =
            boxPixels(qint64(corner.x()) + pitch->ticket.width, paper.pageWidthMm, target.width());
        const int bottom = boxPixels(qint64(corner.y()) + pitch->ticket.height, paper.pageHeightMm,
                                     target.height());
        const QRect cellRect(QPoint(target.left() + left, target.top() + top),
                             QPoint(target.left() + std::max(left, right - 1),
                                    target.top() + std::max(top, bottom - 1)));
        painter.fillRect(cellRect, Qt::white);
        painter.fillRect(cellRect, QBrush(grey, Qt::BDiagPattern));
        painter.setPen(grey);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(cellRect.adjusted(0, 0, -1, -1));
    }
    painter.restore();
}

// A frame one page pixel wide all but vanishes when the page is shrunk
// several times over, leaving a faint tint; it is drawn again, one device
// pixel wide and in its own colour, where the shrink put it.
void redrawFrames(QPainter& painter, const QRect& target, QSize shrunkSize, QSize pageSize,
                  const SheetFrames& frames)
{
    if (frames.outlines.empty())
        return;
    const auto shrunk = [](int pagePixel, int shrunkLength, int pageLength) {
        return int(std::floor((pagePixel + 0.5) * shrunkLength / pageLength));
    };
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    painter.translate(target.topLeft());
    painter.scale(double(target.width()) / shrunkSize.width(),
                  double(target.height()) / shrunkSize.height());
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(frames.colour, 0));
    painter.setBrush(Qt::NoBrush);
    for (const QRect& outline : frames.outlines) {
        const QPoint topLeft(shrunk(outline.left(), shrunkSize.width(), pageSize.width()),
                             shrunk(outline.top(), shrunkSize.height(), pageSize.height()));
        const QPoint bottomRight(shrunk(outline.right(), shrunkSize.width(), pageSize.width()),
                                 shrunk(outline.bottom(), shrunkSize.height(), pageSize.height()));
        // A stroked rectangle covers one pixel more than its size.
        painter.drawRect(
            QRect(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y())));
    }
    painter.restore();
}

// Cut marks a page pixel thin vanish in the shrink as frames do; they are
// drawn again in black, at least one device pixel each, where it put them.
void redrawCutMarks(QPainter& painter, const QRect& target, QSize shrunkSize, QSize pageSize,
                    const std::vector<QRect>& marks)
{
    if (marks.empty())
        return;
    const auto shrunk = [](int pagePixel, int shrunkLength, int pageLength) {
        return int(std::floor(double(pagePixel) * shrunkLength / pageLength));
    };
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    painter.translate(target.topLeft());
    painter.scale(double(target.width()) / shrunkSize.width(),
                  double(target.height()) / shrunkSize.height());
    for (const QRect& mark : marks) {
        const QPoint topLeft(shrunk(mark.left(), shrunkSize.width(), pageSize.width()),
                             shrunk(mark.top(), shrunkSize.height(), pageSize.height()));
        const QPoint bottomRight(shrunk(mark.right(), shrunkSize.width(), pageSize.width()),
                                 shrunk(mark.bottom(), shrunkSize.height(), pageSize.height()));
        painter.fillRect(QRect(topLeft, bottomRight), Qt::black);
    }
    painter.restore();
}

void writeText(QPainter& painter, QPoint topLeft, const QString& text, int fontPercent)
{
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

QString runText(const SheetJob& job)
{
    NumberingValues run = job.numbering;
    run.start = int(std::min<qint64>(job.firstNumber, numberingLimits::maxStart));
    return numberRangeText(run, job.count);
}

QString noPictureNotice()
{
    return u"画像がロードされていません。"_s;
}

QImage warningPicture()
{
    return QImage(u":/zorvane/warning.bmp"_s);
}

QString previewStateText(const PictureHolder* picture, const SheetJob& job)
{
    if (!picture)
        return noPictureNotice();
    // The same fit as the painted count, turn and used cells included.
    const SheetFit fit = fitSheet(job);
    if (!fit.fit.fits)
        return u"すべてのアイテムを印刷できません。"_s + printableCountText(0);
    if (job.numbering.enabled || job.numbering.sheets > 1)
        return printableCountText(fit.freeCells) + u' ' + runText(job);
    return printableCountText(fit.freeCells);
}

PreviewOutcome RenderPreview(DrawingSurface& box, QSize boxSize, const PictureHolder* picture,
                             const SheetJob& job)
{
    PreviewOutcome outcome;
    const SheetFit sheetFit = fitSheet(job);
    const GridFitResult& fit = sheetFit.fit;
    if (!fit.fits) {
        outcome.doesNotFit = true;
        return outcome;
    }
    outcome.printableCount = sheetFit.freeCells;
    if (!picture || !job.paper)
        return outcome;

    const QImage page = drawnPage(box, picture, job, fit.grid);
    if (page.isNull())
        return outcome;
    // An area filter, so fine detail turns grey instead of into moire. On a
    // screen of several device pixels to the point the page is shrunk into
    // all of them, so the preview stays sharp there.
    const QRect target = pageRectangle(*job.paper, boxSize);
    QPainter& painter = box.painter();
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const QSize shrunkSize = (QSizeF(target.size()) * ratio).toSize().expandedTo(QSize(1, 1));
    QImage shrunk = page.scaled(shrunkSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    shrunk.setDevicePixelRatio(ratio);
    painter.drawImage(target.topLeft(), shrunk);
    redrawFrames(painter, target, shrunkSize, page.size(),
                 sheetFrames(job, fit.grid, box.pixelsPerInchX(), box.pixelsPerInchY()));
    redrawCutMarks(
        painter, target, shrunkSize, page.size(),
        cutMarkRects(job, fit.grid, box.pixelsPerInchX(), box.pixelsPerInchY(), std::nullopt));
    hatchUsedCells(box.painter(), target, job, fit.grid);
    return outcome;
}

std::optional<GridCell> previewCellAt(QPoint boxPoint, QSize boxSize, const PictureHolder* picture,
                                      const SheetJob& job)
{
    if (!picture || !job.paper)
        return std::nullopt;
    const SheetFit sheetFit = fitSheet(job);
    const std::optional<SheetPitch> pitch = sheetPitch(job);
    if (!sheetFit.fit.fits || !pitch)
        return std::nullopt;
    const QRect target = pageRectangle(*job.paper, boxSize);
    if (!target.contains(boxPoint))
        return std::nullopt;
    // The middle of the box pixel, in tenths of a millimetre on the page.
    const PaperSpec& paper = paperSpec(*job.paper);
    const double x =
        (boxPoint.x() - target.left() + 0.5) * paper.pageWidthMm * 10.0 / target.width();
    const double y =
        (boxPoint.y() - target.top() + 0.5) * paper.pageHeightMm * 10.0 / target.height();
    return cellAtPoint(*pitch, sheetFit.fit.grid, qint64(std::floor(x)), qint64(std::floor(y)));
}

QPoint placeInBox(QPoint referencePlace, QSize boxSize)
{
    return {int(qint64(referencePlace.x()) * boxSize.width() / referenceBoxSize.width()),
            int(qint64(referencePlace.y()) * boxSize.height() / referenceBoxSize.height())};
}

PreviewOutcome paintPreviewBox(QPainter& painter, QSize boxSize, const PictureHolder* picture,
                               const SheetJob& job)
{
    painter.fillRect(QRect(QPoint(0, 0), boxSize), Qt::black);
    const int fontPercent = job.options.fontPercent;
    if (!picture) {
        writeText(painter, placeInBox(noPictureNoticePlace, boxSize), noPictureNotice(),
                  fontPercent);
        return {};
    }
    DrawingSurface box(painter);
    const PreviewOutcome outcome = RenderPreview(box, boxSize, picture, job);
    if (outcome.doesNotFit)
        painter.drawImage(placeInBox(warningPicturePlace, boxSize), warningPicture());
    QPoint countPlace = placeInBox(printableCountPlace, boxSize);
    const bool showsRun = job.numbering.enabled || job.numbering.sheets > 1;
    // The run takes a line beneath the count; the count moves up as far as
    // the two lines need to stay inside the box.
    const int line = showsRun
                         ? QFontMetrics(previewFont(painter.font(), painter.device(), fontPercent),
                                        painter.device())
                               .height()
                         : 0;
    if (showsRun)
        countPlace.setY(std::min(countPlace.y(), boxSize.height() - 2 * line));
    writeText(painter, countPlace, printableCountText(outcome.printableCount), fontPercent);
    if (showsRun)
        writeText(painter, countPlace + QPoint(0, line), runText(job), fontPercent);
    return outcome;
}

} // namespace zorvane
