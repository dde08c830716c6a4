#pragma once

#include <QColor>
#include <QImage>
#include <QImageIOHandler>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <optional>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace zorvane {

class PictureHolder;

// The drawing calls of a sheet on a cairo context whose user space is the
// device's pixels. A picture that is a JPEG is handed to cairo as the
// file's own bytes, which a PDF embeds unchanged, and turned there as its
// EXIF orientation asks; any other picture as its pixels. Every ticket of a sheet shares one cairo
// surface per picture, so a PDF holds the picture once.
class CairoCanvas
{
public:
    explicit CairoCanvas(cairo_t* cairo) : cairo_(cairo) {}
    ~CairoCanvas();

    CairoCanvas(const CairoCanvas&) = delete;
    CairoCanvas& operator=(const CairoCanvas&) = delete;

    // The picture stretched over the target, clipped to a rectangle when one
    // is given, turned a quarter clockwise when asked (the target is then
    // the turned picture's area).
    void drawPicture(const PictureHolder& picture, const QRect& target,
                     const std::optional<QRect>& clip = std::nullopt, bool turned = false);
    void fillRect(const QRect& pixels, const QColor& color);
    // A thin line from the centre of one pixel to the centre of another.
    void drawLine(QPoint from, QPoint to, const QColor& color);

    // Text in the numbers' face, as DrawingSurface::drawText; the PDF embeds
    // the face as a subset and maps the glyphs back to the text.
    void drawText(const QString& text, const QTransform& textToDevice, const QColor& color);
    void fillArea(const QRectF& area, const QTransform& toDevice, const QColor& color);

private:
    cairo_surface_t* surfaceFor(const PictureHolder& picture);
    void setColor(const QColor& color);

    cairo_t* cairo_;
    cairo_surface_t* picture_ = nullptr;
    const PictureHolder* pictureOf_ = nullptr;
    // How the surface's picture is turned to stand upright.
    QImageIOHandler::Transformations pictureTurn_ = QImageIOHandler::TransformationNone;
    QImage pixels_; // keeps the pixels a surface made from them points into
};

} // namespace zorvane
