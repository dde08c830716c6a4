#include "SheetExport.h"

#include "CheckedSaveFile.h"
#include "PaperSettings.h"
#include "layout/DrawingSurface.h"
#include "layout/GridFit.h"
#include "layout/SheetDrawing.h"
#include "picture/ImageLibraryNoise.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

namespace zorvane {
namespace {

constexpr double mmPerInch = 25.4;
constexpr double metresPerInch = 0.0254;

bool drawOn(QPaintDevice& device, const MainValues& main, const SettingsStore& store,
            const PictureHolder* picture, const GridSize& grid)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    DrawingSurface surface(painter);
    drawJobSheet(surface, picture, main, grid, store);
    return painter.end();
}

bool writePdf(QIODevice& file, const QPageSize& page, int dpi, const MainValues& main,
              const SettingsStore& store, const PictureHolder* picture, const GridSize& grid)
{
    QPdfWriter writer(&file);
    writer.setResolution(dpi);
    writer.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF()));
    return drawOn(writer, main, store, picture, grid);
}

bool writePng(QIODevice& file, const QPageSize& page, int dpi, const MainValues& main,
              const SettingsStore& store, const PictureHolder* picture, const GridSize& grid)
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
    if (!drawOn(image, main, store, picture, grid))
        return false;
    // A failed write is reported by the caller in one line of its own.
    const ImageLibraryNoiseScope quiet;
    return image.save(&file, "PNG");
}

} // namespace

SheetExportResult exportSheet(const QString& filePath, SheetFileFormat format, int dpi,
                              const MainValues& main, const SettingsStore& store,
                              const PictureHolder* picture)
{
    const GridFitResult fit = GridFit(main, loadOptionValues(store));
    if (!fit.fits || !main.paper)
        return SheetExportResult::DoesNotFit;

    CheckedSaveFile file(filePath);
    if (!file.openForWriting())
        return SheetExportResult::CannotWrite;
    const QPageSize page = pageSizeOf(*main.paper);
    const bool drawn = format == SheetFileFormat::Pdf
                           ? writePdf(file, page, dpi, main, store, picture, fit.grid)
                           : writePng(file, page, dpi, main, store, picture, fit.grid);
    if (!drawn)
        return SheetExportResult::CannotWrite; // the previous file stays
    return file.commit() ? SheetExportResult::Written : SheetExportResult::CannotWrite;
}

} // namespace zorvane
