#include "SheetExport.h"

#include "PaperSettings.h"
#include "layout/CalibrationSheet.h"
#include "layout/DrawingSurface.h"
#include "layout/GridFit.h"
#include "layout/SheetDrawing.h"
#include "settings/Units.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

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

bool writePdf(QSaveFile& file, const QPageSize& page, int dpi, const PageDrawing& draw)
{
    QPdfWriter writer(&file);
    writer.setResolution(dpi);
    writer.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF()));
    return drawOn(writer, draw);
}

bool writePng(QSaveFile& file, PaperKind paper, int dpi, const PageDrawing& draw)
{
    // Truncated as the preview's page is, so both show the same pixels.
    QImage image(pagePixelSize(paper, dpi, dpi), QImage::Format_RGB32);
    if (image.isNull())
        return false;
    image.setDotsPerMeterX(dotsPerMetre(dpi));
    image.setDotsPerMeterY(dotsPerMetre(dpi));
    image.fill(Qt::white);
    return drawOn(image, draw) && image.save(&file, "PNG");
}

// One page of the paper's size in a file that is replaced only once it is
// complete.
bool writePage(const QString& filePath, SheetFileFormat format, int dpi, PaperKind paper,
               const PageDrawing& draw)
{
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const bool drawn = format == SheetFileFormat::Pdf ? writePdf(file, pageSizeOf(paper), dpi, draw)
                                                      : writePng(file, paper, dpi, draw);
    if (!drawn) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

SheetExportResult exportSheet(const QString& filePath, SheetFileFormat format, int dpi,
                              const MainValues& main, const SettingsStore& store,
                              const PictureHolder* picture)
{
    const GridFitResult fit = GridFit(main, loadOptionValues(store));
    if (!fit.fits || !main.paper)
        return SheetExportResult::DoesNotFit;
    const bool written = writePage(filePath, format, dpi, *main.paper, [&](QPainter& painter) {
        DrawingSurface surface(painter);
        drawJobSheet(surface, picture, main, fit.grid, store);
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
