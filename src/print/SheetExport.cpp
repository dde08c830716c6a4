#include "SheetExport.h"

#include "CheckedSaveFile.h"
#include "PaperSettings.h"
#include "layout/DrawingSurface.h"
#include "layout/GridFit.h"
#include "layout/SheetDrawing.h"
#include "picture/ImageLibraryNoise.h"
#include "settings/Units.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>

namespace zorvane {
namespace {

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

bool writePng(QIODevice& file, PaperKind paper, int dpi, const MainValues& main,
              const SettingsStore& store, const PictureHolder* picture, const GridSize& grid)
{
    // Truncated as the preview's page is, so both show the same pixels.
    QImage image(pagePixelSize(paper, dpi, dpi), QImage::Format_RGB32);
    if (image.isNull())
        return false;
    image.setDotsPerMeterX(dotsPerMetre(dpi));
    image.setDotsPerMeterY(dotsPerMetre(dpi));
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
    const bool drawn =
        format == SheetFileFormat::Pdf
            ? writePdf(file, pageSizeOf(*main.paper), dpi, main, store, picture, fit.grid)
            : writePng(file, *main.paper, dpi, main, store, picture, fit.grid);
    if (!drawn)
        return SheetExportResult::CannotWrite; // the previous file stays
    return file.commit() ? SheetExportResult::Written : SheetExportResult::CannotWrite;
}

} // namespace zorvane
