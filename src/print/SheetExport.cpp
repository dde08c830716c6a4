#include "SheetExport.h"

#include "PaperSettings.h"
#include "layout/CalibrationSheet.h"
#include "layout/DrawingSurface.h"
#include "layout/GridFit.h"
#include "layout/SheetDrawing.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cmath>
#include <functional>

namespace zorvane {
namespace {

constexpr double mmPerInch = 25.4;
constexpr double metresPerInch = 0.0254;

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

bool writePng(QSaveFile& file, const QPageSize& page, int dpi, const PageDrawing& draw)
{
    const QSizeF mm = page.size(QPageSize::Millimeter);
    QImage image(int(std::lround(mm.width() * dpi / mmPerInch)),
                 int(std::lround(mm.height() * dpi / mmPerInch)), QImage::Format_RGB32);
    if (image.isNull())
        return false;
    const int dotsPerMetre = int(std::lround(dpi / metresPerInch));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
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
    const QPageSize page = pageSizeOf(paper);
    const bool drawn = format == SheetFileFormat::Pdf ? writePdf(file, page, dpi, draw)
                                                      : writePng(file, page, dpi, draw);
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
