#include "SheetExport.h"

#include "CheckedSaveFile.h"
#include "PaperSettings.h"
#include "layout/CalibrationSheet.h"
#include "layout/DrawingSurface.h"
#include "layout/GridFit.h"
#include "layout/SheetDrawing.h"
#include "layout/SheetGeometry.h"
#include "picture/ImageLibraryNoise.h"
#include "settings/Units.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <functional>

namespace zorvane {
namespace {

using PageDrawing = std::function<bool(QPainter&)>;

bool drawOn(QPaintDevice& device, const PageDrawing& draw)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const bool drawn = draw(painter);
    return painter.end() && drawn;
}

bool writePdf(QIODevice& file, const QPageSize& page, int dpi, const PageDrawing& draw)
{
    QPdfWriter writer(&file);
    writer.setResolution(dpi);
    writer.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF()));
    return drawOn(writer, draw);
}

bool writePng(QIODevice& file, PaperKind paper, int dpi, const PageDrawing& draw)
{
    // Truncated as the preview's page is, so both show the same pixels.
    QImage image(pagePixelSize(paper, dpi, dpi), QImage::Format_RGB32);
    if (image.isNull())
        return false;
    image.setDotsPerMeterX(dotsPerMetre(dpi));
    image.setDotsPerMeterY(dotsPerMetre(dpi));
    image.fill(Qt::white);
    if (!drawOn(image, draw))
        return false;
    // A failed write is reported by the caller in one line of its own.
    const ImageLibraryNoiseScope quiet;
    return image.save(&file, "PNG");
}

// One page of the paper's size in a file that is replaced only once every
// byte of it reached the disk; otherwise the previous file stays.
bool writePage(const QString& filePath, SheetFileFormat format, int dpi, PaperKind paper,
               const PageDrawing& draw)
{
    CheckedSaveFile file(filePath);
    if (!file.openForWriting())
        return false;
    const bool drawn = format == SheetFileFormat::Pdf ? writePdf(file, pageSizeOf(paper), dpi, draw)
                                                      : writePng(file, paper, dpi, draw);
    return drawn && file.commit();
}

} // namespace

SheetExportResult exportSheet(const QString& filePath, SheetFileFormat format, int dpi,
                              const MainValues& main, const SettingsStore& store,
                              const PictureHolder* picture, const SheetOptions& sheet)
{
    const GridFitResult fit = fitSheet(main, loadOptionValues(store), sheet).fit;
    if (!fit.fits || !main.paper)
        return SheetExportResult::DoesNotFit;
    const bool written = writePage(filePath, format, dpi, *main.paper, [&](QPainter& painter) {
        DrawingSurface surface(painter);
        drawJobSheet(surface, picture, main, fit.grid, store, sheet);
        return true;
    });
    return written ? SheetExportResult::Written : SheetExportResult::CannotWrite;
}

SheetExportResult exportCalibrationSheet(const QString& filePath, SheetFileFormat format, int dpi,
                                         std::optional<PaperKind> paper)
{
    if (!paper)
        return SheetExportResult::DoesNotFit;
    const bool written = writePage(filePath, format, dpi, *paper, [&](QPainter& painter) {
        drawCalibrationSheet(painter, *paper, painter.device()->logicalDpiX(),
                             painter.device()->logicalDpiY(), QPointF(), QString());
        return true;
    });
    return written ? SheetExportResult::Written : SheetExportResult::CannotWrite;
}

} // namespace zorvane
