#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <memory>
#include <optional>

class QPainter;

namespace zorvane {

class CairoCanvas;
class PictureHolder;

// Something to draw a sheet on (the preview's page image, a printer page, a
// PDF): a painter on any paint device, or a cairo PDF page, with that
// device's pixels per inch, which may differ along x and y.
class DrawingSurface
{
public:
    // Pixels per inch taken from the device's logical resolution.
    explicit DrawingSurface(QPainter& painter);
    DrawingSurface(QPainter& painter, int dpiX, int dpiY);
    // A cairo PDF page whose user space is already the device's pixels.
    DrawingSurface(CairoCanvas& canvas, int dpiX, int dpiY);
    ~DrawingSurface();

    DrawingSurface(const DrawingSurface&) = delete;
    DrawingSurface& operator=(const DrawingSurface&) = delete;

    int pixelsPerInchX() const { return dpiX_; }
    int pixelsPerInchY() const { return dpiY_; }
    // The part of the paper the device prints on, in the surface's pixels;
    // none for a file or an image, which hold the whole paper.
    const std::optional<QRect>& printableArea() const { return printable_; }
    void setPrintableArea(const QRect& pixels) { printable_ = pixels; }
    // The painter of a surface made on one; not for a cairo page.
    QPainter& painter() const { return *painter_; }

    // Draws the whole picture stretched to fill the rectangle exactly, its
    // proportions not kept. An empty or inverted rectangle draws nothing.
    // On screen-like devices the picture is shrunk with filtering, once per
    // size, and every ticket is copied from that one shrunk image; on a
    // printer or PDF every ticket draws the picture's own QImage, so the
    // output holds it once.
    void renderPicture(const PictureHolder& picture, const QRect& target);
    // The same, clipped to a rectangle when one is given, and turned a
    // quarter clockwise when asked, so the picture's top edge runs down the
    // target's right edge (the target is then the turned picture's area).
    void renderPicture(const PictureHolder& picture, const QRect& target,
                       const std::optional<QRect>& clip, bool turned);

    // A solid one-pixel pen, current for the lifetime of this object; the
    // pen it displaced is current again afterwards.
    class PenSelection
    {
    public:
        PenSelection(DrawingSurface& surface, const QColor& color);
        ~PenSelection();

        PenSelection(const PenSelection&) = delete;
        PenSelection& operator=(const PenSelection&) = delete;

    private:
        DrawingSurface& surface_;
        QColor displaced_;
    };

    void moveTo(QPoint point) { position_ = point; }
    // A non-antialiased one-pixel line from the current position up to the
    // point, the point itself not drawn; the point becomes the position.
    void lineTo(QPoint point);

    // Text in the numbers' face at numberFaceEm units to the em, its
    // baseline starting at the origin of the text's space, which the
    // transform maps to device pixels; kept as text where the device keeps
    // text, so a PDF reader finds it.
    void drawText(const QString& text, const QTransform& textToDevice, const QColor& color);
    // A filled area given in a space that the transform maps to device pixels.
    void fillArea(const QRectF& area, const QTransform& toDevice, const QColor& color);

private:
    void renderTurnedPicture(const PictureHolder& picture, const QRect& target);
    const QImage& shrunkCopy(const PictureHolder& picture, QSize size, bool turned = false);
    void fillPixels(const QRect& pixels);

    QPainter* painter_ = nullptr;
    CairoCanvas* canvas_ = nullptr;
    int dpiX_ = 96;
    int dpiY_ = 96;
    QPoint position_;
    QColor penColor_ = Qt::black;
    std::optional<QRect> printable_;

    // The picture shrunk for the tickets of the sheet being drawn.
    QImage shrunk_;
    qint64 shrunkFrom_ = 0; // cache key of the picture it was shrunk from
    bool shrunkTurned_ = false;
};

} // namespace zorvane
