#include "SheetExport.h"

#include "PaperSettings.h"
#include "layout/DrawingSurface.h"
#include "layout/GridFit.h"
#include "layout/SheetDrawing.h"
#include "settings/Units.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

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

bool writePdf(QSaveFile& file, const QPageSize& page, int dpi, const MainValues& main,
              const SettingsStore& store, const PictureHolder* picture, const GridSize& grid)
{
    QPdfWriter writer(&file);
    writer.setResolution(dpi);
    writer.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF()));
    return drawOn(writer, main, store, picture, grid);
}

bool writePng(QSaveFile& file, PaperKind paper, int dpi, const MainValues& main,
              const SettingsStore& store, const PictureHolder* picture, const GridSize& grid)
{
    // Truncated as the preview's page is, so both show the same pixels.
    QImage image(pagePixelSize(paper, dpi, dpi), QImage::Format_RGB32);
    if (image.isNull())
        return false;
    image.setDotsPerMeterX(dotsPerMetre(dpi));
    image.setDotsPerMeterY(dotsPerMetre(dpi));
    image.fill(Qt::white);
    return drawOn(image, main, store, picture, grid) && image.save(&file, "PNG");
}

} // namespace

SheetExportResult exportSheet(const QString& filePath, SheetFileFormat format, int dpi,
                              const MainValues& main, const SettingsStore& store,
                              const PictureHolder* picture)
{
    const GridFitResult fit = GridFit(main, loadOptionValues(store));
    if (!fit.fits || !main.paper)
        return SheetExportResult::DoesNotFit;

    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return SheetExportResult::CannotWrite;
    const bool drawn =
        format == SheetFileFormat::Pdf
            ? writePdf(file, pageSizeOf(*main.paper), dpi, main, store, picture, fit.grid)
            : writePng(file, *main.paper, dpi, main, store, picture, fit.grid);
    if (!drawn) {
        file.cancelWriting();
        return SheetExportResult::CannotWrite;
    }
    return file.commit() ? SheetExportResult::Written : SheetExportResult::CannotWrite;
}

} // namespace zorvane
