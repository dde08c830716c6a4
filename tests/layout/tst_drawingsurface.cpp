#include "TestPictures.h"
#include "layout/DrawingSurface.h"
#include "picture/PictureHolder.h"

#include <QPainter>
#include <QTest>

using namespace zorvane;

namespace {

constexpr QRgb white = 0xffffffff;
constexpr QRgb ink = 0xff102030;

QImage blank(int width = 40, int height = 40)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(white);
    return image;
}

// The pixels of an image that are not white.
QList<QPoint> inked(const QImage& image)
{
    QList<QPoint> points;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != white)
                points.append(QPoint(x, y));
        }
    }
    return points;
}

// Four colours in four quadrants.
QImage quadrants(int width, int height)
{
    return zorvane::test::quarteredImage(width, height,
                                         {0xffff0000, 0xff00ff00, 0xff0000ff, 0xff000000});
}

} // namespace

class TestDrawingSurface : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void resolutionFromDevice();
    void linesLeaveOutTheirEndPoint_data();
    void linesLeaveOutTheirEndPoint();
    void linesStayCrispUnderAntialiasing();
    void penSelectionRestoresPen();
    void pictureFillsRectangleExactly_data();
    void pictureFillsRectangleExactly();
    void emptyOrInvertedRectangleDrawsNothing();
};

void TestDrawingSurface::resolutionFromDevice()
{
    QImage image = blank();
    image.setDotsPerMeterX(23622); // 600 dpi
    image.setDotsPerMeterY(11811); // 300 dpi
    QPainter painter(&image);
    const DrawingSurface fromDevice(painter);
    QCOMPARE(fromDevice.pixelsPerInchX(), 600);
    QCOMPARE(fromDevice.pixelsPerInchY(), 300);
    const DrawingSurface given(painter, 72, 144);
    QCOMPARE(given.pixelsPerInchX(), 72);
    QCOMPARE(given.pixelsPerInchY(), 144);
}

void TestDrawingSurface::linesLeaveOutTheirEndPoint_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QList<QPoint>>("expected");

    QTest::newRow("rightward") << QPoint(3, 5) << QPoint(6, 5)
                               << QList<QPoint>{{3, 5}, {4, 5}, {5, 5}};
    QTest::newRow("leftward") << QPoint(6, 5) << QPoint(3, 5)
                              << QList<QPoint>{{4, 5}, {5, 5}, {6, 5}};
    QTest::newRow("downward") << QPoint(2, 1) << QPoint(2, 4)
                              << QList<QPoint>{{2, 1}, {2, 2}, {2, 3}};
    QTest::newRow("upward") << QPoint(2, 4) << QPoint(2, 1)
                            << QList<QPoint>{{2, 2}, {2, 3}, {2, 4}};
    QTest::newRow("one step") << QPoint(7, 7) << QPoint(8, 7) << QList<QPoint>{{7, 7}};
    QTest::newRow("no length") << QPoint(7, 7) << QPoint(7, 7) << QList<QPoint>{};
    QTest::newRow("diagonal") << QPoint(1, 1) << QPoint(5, 5)
                              << QList<QPoint>{{1, 1}, {2, 2}, {3, 3}, {4, 4}};
    QTest::newRow("off the device")
        << QPoint(-100, 2) << QPoint(3, 2) << QList<QPoint>{{0, 2}, {1, 2}, {2, 2}};
}

void TestDrawingSurface::linesLeaveOutTheirEndPoint()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QList<QPoint>, expected);
    QImage image = blank(12, 12);
    {
        QPainter painter(&image);
        DrawingSurface surface(painter, 96, 96);
        DrawingSurface::PenSelection pen(surface, QColor(ink));
        surface.moveTo(from);
        surface.lineTo(to);
    }
    QCOMPARE(inked(image), expected);
    for (const QPoint& point : expected)
        QCOMPARE(image.pixel(point), ink);
}

void TestDrawingSurface::linesStayCrispUnderAntialiasing()
{
    QImage image = blank(12, 12);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        DrawingSurface surface(painter, 96, 96);
        DrawingSurface::PenSelection pen(surface, QColor(ink));
        surface.moveTo(QPoint(1, 3));
        surface.lineTo(QPoint(9, 3));
        surface.lineTo(QPoint(9, 8));
    }
    QCOMPARE(inked(image).size(), 8 + 5);
}

void TestDrawingSurface::penSelectionRestoresPen()
{
    QImage image = blank(12, 12);
    {
        QPainter painter(&image);
        DrawingSurface surface(painter, 96, 96);
        {
            DrawingSurface::PenSelection red(surface, Qt::red);
            surface.moveTo(QPoint(0, 0));
            surface.lineTo(QPoint(3, 0));
        }
        surface.moveTo(QPoint(0, 1));
        surface.lineTo(QPoint(3, 1)); // the surface's own black pen again
    }
    QCOMPARE(image.pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(0, 1), qRgb(0, 0, 0));
}

void TestDrawingSurface::pictureFillsRectangleExactly_data()
{
    QTest::addColumn<QSize>("pictureSize");
    QTest::addColumn<QRect>("target");
    QTest::newRow("shrunk") << QSize(400, 100) << QRect(10, 20, 60, 30);
    QTest::newRow("enlarged") << QSize(8, 6) << QRect(3, 4, 70, 50);
    QTest::newRow("shrunk across, enlarged down") << QSize(300, 10) << QRect(5, 5, 40, 60);
    QTest::newRow("same size") << QSize(20, 10) << QRect(0, 0, 20, 10);
}

void TestDrawingSurface::pictureFillsRectangleExactly()
{
    QFETCH(QSize, pictureSize);
    QFETCH(QRect, target);
    const auto picture =
        PictureHolder::fromImage(quadrants(pictureSize.width(), pictureSize.height()));
    QImage image = blank(100, 100);
    {
        QPainter painter(&image);
        DrawingSurface surface(painter, 96, 96);
        surface.renderPicture(*picture, target);
    }
    // Corners in their quadrant's colour, nothing outside the rectangle.
    QCOMPARE(image.pixel(target.topLeft()), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(target.topRight()), qRgb(0, 255, 0));
    QCOMPARE(image.pixel(target.bottomLeft()), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(target.bottomRight()), qRgb(0, 0, 0));
    QCOMPARE(inked(image).size(), target.width() * target.height());
}

void TestDrawingSurface::emptyOrInvertedRectangleDrawsNothing()
{
    const auto picture = PictureHolder::fromImage(quadrants(10, 10));
    QImage image = blank(20, 20);
    {
        QPainter painter(&image);
        DrawingSurface surface(painter, 96, 96);
        surface.renderPicture(*picture, QRect(5, 5, 0, 10));
        surface.renderPicture(*picture, QRect(QPoint(10, 10), QPoint(5, 5)));
    }
    QCOMPARE(inked(image).size(), 0);
}

QTEST_MAIN(TestDrawingSurface)
#include "tst_drawingsurface.moc"
