#pragma once

#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

// Looks into PDF files with the poppler tools: the page box and the page
// rendered as an image.
namespace pdfprobe {

bool toolsAvailable();
// The first page's media box in millimetres; empty when it cannot be read.
QSizeF pageSizeMm(const QString& pdfPath);
// The first page rendered at the given resolution; null on failure.
QImage render(const QString& pdfPath, int dpi);
// The document's title as its information dictionary holds it; empty when
// it has none or the file cannot be read.
QString title(const QString& pdfPath);
// The number of distinct images the file embeds, however often each is drawn.
int imageCount(const QString& pdfPath);
// pdfimages' table of the images: two header lines, then one line per use
// of an image; empty when it cannot be read.
QStringList imageList(const QString& pdfPath);
// What poppler says on standard error while it lists the images, which
// resolves every image's colour space: empty for a well-formed file.
QByteArray readerComplaints(const QString& pdfPath);
// Writes the images of the given page (all pages when 0) as files
// prefix-000.jpg, prefix-001.png, … in the order of imageList; JPEG images
// come out as the bytes the file holds.
void extractImages(const QString& pdfPath, const QString& prefix, int page = 0);
// What pdfinfo says of the file (producer, pages, page size, …); empty
// when it cannot be read.
QString info(const QString& pdfPath);

// A word of the text layer as pdftotext -bbox reads it: the page from 1
// and the word's box in millimetres from the page's top-left corner.
struct Word
{
    int page = 0;
    QString text;
    QRectF boxMm;
};
QList<Word> words(const QString& pdfPath);

// pdffonts' table of the fonts: two header lines, then one line a font.
QStringList fontList(const QString& pdfPath);

// The document's page count as pdfinfo reads it; 0 when it cannot be read.
int pageCount(const QString& pdfPath);

// The given page (from 1) rendered at the given resolution; null on failure.
QImage renderPage(const QString& pdfPath, int page, int dpi);

} // namespace pdfprobe
