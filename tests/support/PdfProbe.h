#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>

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

} // namespace pdfprobe
