#include "SheetExport.h"

#include "PaperSettings.h"
#include "layout/DrawingSurface.h"
#include "layout/GridFit.h"
#include "layout/SheetDrawing.h"
#include "layout/SheetGeometry.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cmath>

namespace zorvane {
namespace {

constexpr double mmPerInch = 25.4;
constexpr double metresPerInch = 0.0254;

bool drawOn(QPaintDevice& device, const MainValues& main, const SettingsStore& store,
            const PictureHolder* picture, const GridSize& grid, const SheetOptions& sheet)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    DrawingSurface surface(painter);
    drawJobSheet(surface, picture, main, grid, store, sheet);
    return painter.end();
}

bool writePdf(QSaveFile& file, const QPageSize& page, int dpi, const MainValues& main,
              const SettingsStore& store, const PictureHolder* picture, const GridSize& grid,
              const SheetOptions& sheet)
{
    QPdfWriter writer(&file);
    writer.setResolution(dpi);
    writer.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF()));
    return drawOn(writer, main, store, picture, grid, sheet);
}

bool writePng(QSaveFile& file, const QPageSize& page, int dpi, const MainValues& main,
              const SettingsStore& store, const PictureHolder* picture, const GridSize& grid,
              const SheetOptions& sheet)
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
    return drawOn(image, main, store, picture, grid, sheet) && image.save(&file, "PNG");
}

} // namespace

SheetExportResult exportSheet(const QString& filePath, SheetFileFormat format, int dpi,
                              const MainValues& main, const SettingsStore& store,
                              const PictureHolder* picture, const SheetOptions& sheet)
{
    const GridFitResult fit = fitSheet(main, loadOptionValues(store), sheet).fit;
    if (!fit.fits || !main.paper)
        return SheetExportResult::DoesNotFit;

    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return SheetExportResult::CannotWrite;
    const QPageSize page = pageSizeOf(*main.paper);
    const bool drawn = format == SheetFileFormat::Pdf
                           ? writePdf(file, page, dpi, main, store, picture, fit.grid, sheet)
                           : writePng(file, page, dpi, main, store, picture, fit.grid, sheet);
    if (!drawn) {
        file.cancelWriting();
        return SheetExportResult::CannotWrite;
    }
    return file.commit() ? SheetExportResult::Written : SheetExportResult::CannotWrite;
}

} // namespace zorvane
