#include "SheetExport.h"

#include "CheckedSaveFile.h"
#include "PaperSettings.h"
#include "PdfColourProfile.h"
#include "PngAsJpeg.h"
#include "PngRowWriter.h"
#include "layout/CairoCanvas.h"
#include "layout/CalibrationSheet.h"
#include "layout/DrawingSurface.h"
#include "layout/GridFit.h"
#include "layout/SheetDrawing.h"
#include "layout/SheetGeometry.h"
#include "layout/TicketNumbers.h"
#include "picture/ImageLibraryNoise.h"
#include "picture/PictureHolder.h"
#include "settings/Units.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <cairo-pdf.h>
#include <cairo.h>

#include <functional>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace zorvane {
namespace {

constexpr double pointsPerInch = 72.0;

// The quality the Qt PDF engine stores a colour picture's pixels at.
constexpr int pdfJpegQuality = 94;

// Rows of the page drawn at a time into a PNG: small enough to stay in the
// cache, large enough that drawing a band costs far more than visiting the
// tickets outside it.
constexpr int pngBandRows = 256;

// What a page adds to its picture's bytes in a PDF, so the page is written
// into memory without growing its buffer.
constexpr qsizetype pdfPageReserve = 256 * 1024;

using PageDrawing = std::function<bool(QPainter&)>;
// Draws sheet k of a run; false stops the run.
using RunPageDrawing = std::function<bool(QPainter&, int)>;

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

cairo_status_t writeToDevice(void* device, const unsigned char* data, unsigned int length)
{
    const qint64 written =
        static_cast<QIODevice*>(device)->write(reinterpret_cast<const char*>(data), length);
    return written == qint64(length) ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

// The pages of a run in one document; every page draws the same QImage, so
// the engine stores the picture once.
bool writePdfPages(QIODevice& file, const QPageSize& page, int dpi, int pages,
                   const RunPageDrawing& draw)
{
    QPdfWriter writer(&file);
    writer.setResolution(dpi);
    writer.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    bool drawn = true;
    for (int k = 0; k < pages && drawn; ++k) {
        if (k > 0)
            writer.newPage();
        drawn = draw(painter, k);
    }
    return painter.end() && drawn;
}

// The same page as the Qt PDF engine's, in points, with user space scaled
// to device pixels at the resolution, so every ticket and frame lands where
// it lands there. Every page of a run draws through one canvas, which hands
// cairo one picture surface with one id, so the PDF holds the picture once.
bool writeCairoPdf(QIODevice& file, const QPageSize& page, int dpi,
                   const std::vector<SheetJob>& pages, const PictureHolder* picture,
                   const GridSize& grid, const RunProgress& progress)
{
    const QSize points = page.sizePoints();
    cairo_surface_t* pdf =
        cairo_pdf_surface_create_for_stream(writeToDevice, &file, points.width(), points.height());
    cairo_t* cairo = cairo_create(pdf);
    cairo_scale(cairo, pointsPerInch / dpi, pointsPerInch / dpi);
    // The page records the picture's surface as a snapshot that is copied
    // if the surface goes first; the canvas, which owns the surface, stays
    // until the PDF is finished, so the picture's pixels are never copied.
    CairoCanvas canvas(cairo);
    bool going = true;
    for (size_t k = 0; k < pages.size() && going; ++k) {
        going = !progress || progress(int(k), int(pages.size()));
        if (!going)
            break;
        {
            DrawingSurface surface(canvas, dpi, dpi);
            DrawSheet(surface, picture, pages[k], grid);
        }
        cairo_show_page(cairo);
    }
    const bool drawn = going && cairo_status(cairo) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cairo);
    cairo_surface_finish(pdf);
    const bool written = cairo_surface_status(pdf) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(pdf);
    return drawn && written;
}

// A JPEG whose own bytes are embedded, with the colour profile they are
// meant in named as their colour space. Only such pictures go through the
// rewrite, so the PDFs of all others are cairo's own, byte for byte.
bool writeJpegPdf(QIODevice& file, const QPageSize& page, int dpi,
                  const std::vector<SheetJob>& pages, const PictureHolder& picture,
                  const GridSize& grid, const RunProgress& progress)
{
    const QByteArray profile = picture.embeddableJpegProfile();
    if (profile.isEmpty())
        return writeCairoPdf(file, page, dpi, pages, &picture, grid, progress);
    QByteArray pdf;
    pdf.reserve(picture.fileBytes().size() + pdfPageReserve);
    {
        QBuffer buffer(&pdf);
        if (!buffer.open(QIODevice::WriteOnly) ||
            !writeCairoPdf(buffer, page, dpi, pages, &picture, grid, progress))
            return false;
    }
    if (writeWithJpegProfile(file, pdf, picture.embeddableJpeg(), profile))
        return true;
    // Not expected of cairo's own file; the picture's colours then print as
    // sRGB rather than not at all.
    return file.seek(0) && file.write(pdf) == pdf.size();
}

// A PNG picture not yet decoded, as the JPEG the Qt PDF engine would store
// for it, made row by row from the file: the PDF then embeds it as it does a
// JPEG picture's own bytes, and the picture's pixels are never held whole.
// nullptr for a picture this does not suit.
std::unique_ptr<PictureHolder> streamedJpegOf(const PictureHolder& picture)
{
    if (picture.hasFullPixels() || picture.storedTurn() != QImageIOHandler::TransformationNone)
        return nullptr;
    const QByteArray jpeg = pngAsJpeg(picture.fileBytes(), pdfJpegQuality, picture.colourProfile());
    if (jpeg.isEmpty())
        return nullptr;
    auto streamed = PictureHolder::openBytes(jpeg);
    if (!streamed || streamed->size() != picture.size() || streamed->embeddableJpeg().isEmpty())
        return nullptr;
    return streamed;
}

// The plain sheet: every ticket shows the whole picture at the ticket's own
// size, so a PNG needs the picture no larger than a ticket.
bool isPlainLook(const SheetOptions& sheet)
{
    return sheet.placement == PicturePlacement::Stretch && !sheet.turned && sheet.cut.bleed == 0;
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

bool writeSheetPng(QIODevice& device, QSize pixels, int dpi, const SheetJob& job,
                   const PictureHolder* picture, const GridSize& grid)
{
    QImage band(pixels.width(), std::min(pngBandRows, pixels.height()), QImage::Format_RGB32);
    if (band.isNull())
        return false;
    PngRowWriter png(device, pixels, dotsPerMetre(dpi));
    QPainter painter;
    if (!painter.begin(&band))
        return false;
    // One surface for all bands, so the picture is shrunk for the tickets
    // once, not once a band.
    DrawingSurface surface(painter, dpi, dpi);
    bool ok = true;
    for (int top = 0; top < pixels.height() && ok; top += band.height()) {
        painter.resetTransform();
        painter.fillRect(band.rect(), Qt::white);
        painter.translate(0, -top);
        DrawSheet(surface, picture, job, grid);
        ok = png.writeRows(band, std::min(band.height(), pixels.height() - top));
    }
    return painter.end() && ok && png.finish();
}

namespace {

// One PNG a sheet, each in its own file beside the others; none replaces
// its target until every one is written whole, so a full disk or a stop
// leaves the previous files as they were.
SheetExportResult writePngRun(const QString& filePath, int dpi, const std::vector<SheetJob>& pages,
                              const PictureHolder* picture, const GridSize& grid,
                              const RunProgress& progress)
{
    std::vector<std::unique_ptr<CheckedSaveFile>> files;
    const int sheets = int(pages.size());
    for (int k = 0; k < sheets; ++k) {
        if (progress && !progress(k, sheets))
            return SheetExportResult::Cancelled;
        auto file = std::make_unique<CheckedSaveFile>(runSheetFilePath(filePath, k + 1));
        const SheetJob& page = pages[size_t(k)];
        if (!file->openForWriting() ||
            !writeSheetPng(*file, pagePixelSize(*page.paper, dpi, dpi), dpi, page, picture, grid))
            return SheetExportResult::CannotWrite;
        files.push_back(std::move(file));
    }
    if (progress && !progress(sheets, sheets))
        return SheetExportResult::Cancelled;
    bool all = true;
    for (const auto& file : files)
        all = file->commit() && all;
    return all ? SheetExportResult::Written : SheetExportResult::CannotWrite;
}

} // namespace

QString runSheetFilePath(const QString& filePath, int sheet)
{
    const QFileInfo info(filePath);
    const QString suffix = info.suffix();
    const QString number = u"-%1"_s.arg(sheet, 3, 10, QLatin1Char('0'));
    if (suffix.isEmpty() || info.completeBaseName().isEmpty())
        return filePath + number;
    return filePath.left(filePath.size() - suffix.size() - 1) + number + u'.' + suffix;
}

SheetExportResult exportSheet(const QString& filePath, SheetFileFormat format, int dpi,
                              const SheetJob& job, const PictureHolder* picture,
                              const RunProgress& progress)
{
    const GridFitResult fit = fitSheet(job).fit;
    if (!fit.fits || !job.paper)
        return SheetExportResult::DoesNotFit;
    if (!runNumbersFit(job))
        return SheetExportResult::NumbersDoNotFit;

    // A picture opened without its pixels is decoded here, only as far as
    // the file needs: not at all for a JPEG a PDF embeds as it is, nor for a
    // PNG picture it embeds as a JPEG made row by row, and for a plain PNG
    // sheet no larger than a ticket in the file's pixels.
    std::unique_ptr<PictureHolder> decoded;
    if (format == SheetFileFormat::Pdf && picture && picture->embeddableJpeg().isEmpty()) {
        decoded = streamedJpegOf(*picture);
        if (decoded)
            picture = decoded.get();
    }
    const bool embedsJpeg =
        format == SheetFileFormat::Pdf && picture && !picture->embeddableJpeg().isEmpty();
    if (picture && !picture->hasFullPixels() && !embedsJpeg) {
        QImage pixels;
        if (format == SheetFileFormat::Png && job.ticket && isPlainLook(job.sheet)) {
            const TicketSize ticket = *job.ticket;
            pixels = picture->decodeCovering(
                QSize(pixelsFromTenths(ticket.width, dpi), pixelsFromTenths(ticket.height, dpi)));
        } else {
            pixels = picture->decodeFull();
        }
        if (pixels.isNull())
            return SheetExportResult::PictureUnreadable;
        decoded = picture->withPixels(std::move(pixels));
        picture = decoded.get();
    }

    const std::vector<SheetJob> pages = runPages(job);
    if (format == SheetFileFormat::Png && pages.size() > 1)
        return writePngRun(filePath, dpi, pages, picture, fit.grid, progress);

    bool cancelled = false;
    const RunProgress watched = [&](int sheet, int sheets) {
        cancelled = progress && !progress(sheet, sheets);
        return !cancelled;
    };
    CheckedSaveFile file(filePath);
    if (!file.openForWriting())
        return SheetExportResult::CannotWrite;
    bool drawn = false;
    if (format == SheetFileFormat::Png) {
        // Truncated as the preview's page is, so both show the same pixels.
        drawn =
            writeSheetPng(file, pagePixelSize(*job.paper, dpi, dpi), dpi, job, picture, fit.grid);
    } else if (embedsJpeg) {
        drawn = writeJpegPdf(file, pageSizeOf(*job.paper), dpi, pages, *picture, fit.grid, watched);
    } else {
        drawn = writePdfPages(file, pageSizeOf(*job.paper), dpi, int(pages.size()),
                              [&](QPainter& painter, int k) {
                                  if (!watched(k, int(pages.size())))
                                      return false;
                                  DrawingSurface surface(painter);
                                  DrawSheet(surface, picture, pages[size_t(k)], fit.grid);
                                  return true;
                              });
    }
    if (cancelled || (drawn && !watched(int(pages.size()), int(pages.size()))))
        return SheetExportResult::Cancelled;
    return drawn && file.commit() ? SheetExportResult::Written : SheetExportResult::CannotWrite;
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
