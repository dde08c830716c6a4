#include "StoredJob.h"
#include "TestPictures.h"
#include "layout/DrawingSurface.h"
#include "layout/SheetDrawing.h"
#include "picture/PictureHolder.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <set>

using namespace zorvane;
using namespace zorvane::test;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(zorvane::FillOrder)

namespace {

using Cell = std::pair<int, int>; // row, column
using Cells = std::set<Cell>;

constexpr QRgb white = 0xffffffff;
constexpr QSize pictureSize(50, 30);

QImage page(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(white);
    return image;
}

} // namespace

class TestSheetDrawing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void pixelConversion_data();
    void pixelConversion();
    void tileCoversPictureAndFrame();
    void frameColourUsesLowBits();
    void frameOnlyWhenOptionSet_data();
    void frameOnlyWhenOptionSet();
    void differentResolutionsAlongAxes();
    void negativePositionTruncatesTowardZero();
    void nothingWithoutPictureOrTicket();
    void fillOrders_data();
    void fillOrders();
    void customTicketPitch();
    void jobSheetUsesMainValues();
    void absurdValuesDrawSafely();
    void pdfHoldsPictureOnce();

private:
    void setOption(const char* key, int value)
    {
        store_->WriteProfileInt(keys::optionSection, key, value);
    }
    Cells drawnCells(const QImage& image, int rows, int columns) const;

    QTemporaryDir dir_;
    std::unique_ptr<SettingsStore> store_;
};

void TestSheetDrawing::init()
{
    store_.reset();
    QFile::remove(dir_.filePath(u"store.ini"_s));
    store_ = std::make_unique<SettingsStore>(dir_.filePath(u"store.ini"_s));
}

void TestSheetDrawing::pixelConversion_data()
{
    QTest::addColumn<int>("tenths");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("pixels");

    QTest::newRow("A width at 96") << 579 << 96 << 218;
    QTest::newRow("A height at 96") << 302 << 96 << 114;
    QTest::newRow("A width at 600") << 579 << 600 << 1367;
    QTest::newRow("A height at 300") << 302 << 300 << 356;
    QTest::newRow("B height at 600") << 252 << 600 << 595;
    QTest::newRow("D width at 600") << 884 << 600 << 2088;
    QTest::newRow("offset 100 at 96") << 100 << 96 << 37;
    QTest::newRow("-5 at 96 is -1") << -5 << 96 << -1;
    QTest::newRow("-2 at 96 is 0") << -2 << 96 << 0;
    QTest::newRow("product beyond 32 bits") << 10'000'000 << 600 << 23'622'047;
    QTest::newRow("pinned to int")
        << std::numeric_limits<int>::max() << 600 << std::numeric_limits<int>::max();
}

void TestSheetDrawing::pixelConversion()
{
    QFETCH(int, tenths);
    QFETCH(int, dpi);
    QFETCH(int, pixels);
    QCOMPARE(pixelsFromTenths(tenths, dpi), pixels);
}

void TestSheetDrawing::tileCoversPictureAndFrame()
{
    setOption(keys::option::drawFrame, 1);
    setOption(keys::option::frameRed, 255);
    setOption(keys::option::frameGreen, 0);
    setOption(keys::option::frameBlue, 0);
    const auto picture = solidPicture(pictureSize);
    QImage image = page(300, 200);
    {
        QPainter painter(&image);
        DrawingSurface surface(painter, 96, 96);
        DrawTile(surface, picture.get(), loadOptionValues(*store_), {579, 302}, 100, 100);
    }
    // L 37, T 37, R 255, B 151: picture on 37..254 x 37..150.
    const QRgb red = 0xffff0000;
    QCOMPARE(image.pixel(37, 37), pictureColour);
    QCOMPARE(image.pixel(254, 150), pictureColour);
    QCOMPARE(image.pixel(255, 100), white); // column R untouched
    QCOMPARE(image.pixel(100, 151), white); // row B untouched
    QCOMPARE(image.pixel(255, 151), white);
    for (int x = 36; x <= 256; ++x) {
        QCOMPARE(image.pixel(x, 36), red);
        QCOMPARE(image.pixel(x, 152), red);
    }
    for (int y = 36; y <= 152; ++y) {
        QCOMPARE(image.pixel(36, y), red);
        QCOMPARE(image.pixel(256, y), red);
    }
    QCOMPARE(image.pixel(35, 36), white);
    QCOMPARE(image.pixel(257, 152), white);
    QCOMPARE(image.pixel(36, 35), white);
    QCOMPARE(image.pixel(256, 153), white);
}

void TestSheetDrawing::frameColourUsesLowBits()
{
    setOption(keys::option::drawFrame, 1);
    setOption(keys::option::frameRed, 256);
    setOption(keys::option::frameGreen, 0);
    setOption(keys::option::frameBlue, 300);
    const auto picture = solidPicture(pictureSize);
    QImage image = page(300, 200);
    {
        QPainter painter(&image);
        DrawingSurface surface(painter, 96, 96);
        DrawTile(surface, picture.get(), loadOptionValues(*store_), {579, 252}, 100, 100);
    }
    QCOMPARE(image.pixel(36, 36), qRgb(0, 0, 44));
}

void TestSheetDrawing::frameOnlyWhenOptionSet_data()
{
    QTest::addColumn<int>("drawFrame");
    QTest::addColumn<bool>("framed");
    QTest::newRow("0") << 0 << false;
    QTest::newRow("1") << 1 << true;
    QTest::newRow("7") << 7 << true;
    QTest::newRow("-1") << -1 << true;
}

void TestSheetDrawing::frameOnlyWhenOptionSet()
{
    QFETCH(int, drawFrame);
    QFETCH(bool, framed);
    setOption(keys::option::drawFrame, drawFrame);
    const auto picture = solidPicture(pictureSize);
    QImage image = page(300, 200);
    {
        QPainter painter(&image);
        DrawingSurface surface(painter, 96, 96);
        DrawTile(surface, picture.get(), loadOptionValues(*store_), {579, 302}, 100, 100);
    }
    // The default frame colour is 224, 224, 224.
    QCOMPARE(image.pixel(36, 36), framed ? qRgb(224, 224, 224) : white);
    QCOMPARE(image.pixel(256, 152), framed ? qRgb(224, 224, 224) : white);
}

void TestSheetDrawing::differentResolutionsAlongAxes()
{
    const auto picture = solidPicture(pictureSize);
    QImage image = page(1700, 500);
    {
        QPainter painter(&image);
        DrawingSurface surface(painter, 600, 300);
        DrawTile(surface, picture.get(), loadOptionValues(*store_), {579, 302}, 100, 100);
    }
    // L = 236, T = 118; W x H = 1367 x 356.
    QCOMPARE(image.pixel(236, 118), pictureColour);
    QCOMPARE(image.pixel(235, 118), white);
    QCOMPARE(image.pixel(236, 117), white);
    QCOMPARE(image.pixel(236 + 1366, 118 + 355), pictureColour);
    QCOMPARE(image.pixel(236 + 1367, 118), white);
    QCOMPARE(image.pixel(236, 118 + 356), white);
}

void TestSheetDrawing::negativePositionTruncatesTowardZero()
{
    setOption(keys::option::drawFrame, 1);
    const auto picture = solidPicture(pictureSize);
    QImage image = page(300, 200);
    {
        QPainter painter(&image);
        DrawingSurface surface(painter, 96, 96);
        DrawTile(surface, picture.get(), loadOptionValues(*store_), {579, 302}, -5, 100);
    }
    // L = -1: the picture covers -1..216, column 217 is R, 218 the frame.
    QCOMPARE(image.pixel(0, 50), pictureColour);
    QCOMPARE(image.pixel(216, 50), pictureColour);
    QCOMPARE(image.pixel(217, 50), white);
    QCOMPARE(image.pixel(218, 50), qRgb(224, 224, 224));
}

void TestSheetDrawing::nothingWithoutPictureOrTicket()
{
    setOption(keys::option::drawFrame, 1);
    const auto picture = solidPicture(pictureSize);
    QImage image = page(300, 200);
    {
        QPainter painter(&image);
        DrawingSurface surface(painter, 96, 96);
        DrawTile(surface, nullptr, loadOptionValues(*store_), {579, 302}, 100, 100);
        // A job without a ticket type has no ticket to draw.
        DrawSheet(surface, picture.get(),
                  placedJob(*store_, {std::nullopt, FillOrder::RowsFirst, 4}), GridSize{2, 2});
    }
    QImage blank = page(300, 200);
    QCOMPARE(image, blank);
}

Cells TestSheetDrawing::drawnCells(const QImage& image, int rows, int columns) const
{
    // Type A at 96 dpi, offsets 100 and gaps 3: cell (r, c) starts at
    // 37 + c * 219 (582 tenths) and 37 + r * 115 (305 tenths), give or take.
    Cells cells;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int x = pixelsFromTenths(100 + column * 582, 96) + 100;
            const int y = pixelsFromTenths(100 + row * 305, 96) + 50;
            if (image.pixel(x, y) == pictureColour)
                cells.insert({row, column});
        }
    }
    return cells;
}

void TestSheetDrawing::fillOrders_data()
{
    QTest::addColumn<FillOrder>("order");
    QTest::addColumn<int>("count");
    QTest::addColumn<std::vector<Cell>>("expected");

    const FillOrder rowsFirst = FillOrder::RowsFirst;
    const FillOrder columnsFirst = FillOrder::ColumnsFirst;
    QTest::newRow("rows first 5") << rowsFirst << 5
                                  << std::vector<Cell>{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}};
    QTest::newRow("columns first 5")
        << columnsFirst << 5 << std::vector<Cell>{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}};
    QTest::newRow("rows first 3") << rowsFirst << 3 << std::vector<Cell>{{0, 0}, {0, 1}, {1, 0}};
    QTest::newRow("columns first 3")
        << columnsFirst << 3 << std::vector<Cell>{{0, 0}, {1, 0}, {2, 0}};
    QTest::newRow("rows first 6") << rowsFirst << 6 << std::vector<Cell>{{0, 0}, {0, 1}, {1, 0},
                                                                         {1, 1}, {2, 0}, {2, 1}};
    QTest::newRow("more than cells")
        << columnsFirst << 9 << std::vector<Cell>{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}};
    QTest::newRow("count 0") << rowsFirst << 0 << std::vector<Cell>{};
    QTest::newRow("negative count") << columnsFirst << -3 << std::vector<Cell>{};
}

void TestSheetDrawing::fillOrders()
{
    QFETCH(FillOrder, order);
    QFETCH(int, count);
    QFETCH(std::vector<Cell>, expected);
    const auto picture = solidPicture(pictureSize);
    QImage image = page(800, 500);
    {
        QPainter painter(&image);
        DrawingSurface surface(painter, 96, 96);
        DrawSheet(surface, picture.get(), placedJob(*store_, {TicketSize{579, 302}, order, count}),
                  GridSize{2, 3});
    }
    QCOMPARE(drawnCells(image, 4, 3), Cells(expected.begin(), expected.end()));
}

void TestSheetDrawing::customTicketPitch()
{
    const auto picture = solidPicture(pictureSize);
    QImage image = page(800, 500);
    {
        QPainter painter(&image);
        DrawingSurface surface(painter, 96, 96);
        DrawSheet(surface, picture.get(),
                  placedJob(*store_, {TicketSize{500, 300}, FillOrder::RowsFirst, 4}),
                  GridSize{2, 2});
    }
    // Tickets 500 x 300 tenths are 188 x 113 pixels; the second column
    // starts at 603 tenths (227 px), the second row at 403 tenths (152 px).
    QCOMPARE(image.pixel(37, 37), pictureColour);
    QCOMPARE(image.pixel(37 + 187, 37 + 112), pictureColour);
    QCOMPARE(image.pixel(37 + 188, 37), white);
    QCOMPARE(image.pixel(227, 37), pictureColour);
    QCOMPARE(image.pixel(226, 37), white);
    QCOMPARE(image.pixel(37, 152), pictureColour);
    QCOMPARE(image.pixel(37, 151), white);
}

void TestSheetDrawing::jobSheetUsesMainValues()
{
    setOption(keys::option::offsetX, 0);
    setOption(keys::option::offsetY, 0);
    setOption(keys::option::gapH, 100);
    const auto picture = solidPicture(pictureSize);
    MainValues main;
    main.ticketType = TicketType::D;
    main.countText = u" 2x"_s;
    main.fillOrder = FillOrder::ColumnsFirst;
    QImage image = page(800, 500);
    {
        QPainter painter(&image);
        DrawingSurface surface(painter, 96, 96);
        DrawSheet(surface, picture.get(), storedJob(*store_, main), GridSize{3, 3});
    }
    // D is 884 x 302: 334 x 114 px; columns first puts the second ticket
    // below the first.
    QCOMPARE(image.pixel(0, 0), pictureColour);
    QCOMPARE(image.pixel(333, 113), pictureColour);
    QCOMPARE(image.pixel(334, 0), white);
    QCOMPARE(image.pixel(10, pixelsFromTenths(305, 96)), pictureColour);
    QCOMPARE(image.pixel(pixelsFromTenths(984, 96) + 5, 10), white);
    QCOMPARE(image.pixel(10, pixelsFromTenths(610, 96) + 5), white);

    main.fillOrder.reset();
    QImage untouched = page(800, 500);
    {
        QPainter painter(&untouched);
        DrawingSurface surface(painter, 96, 96);
        DrawSheet(surface, picture.get(), storedJob(*store_, main), GridSize{3, 3});
    }
    QCOMPARE(untouched, page(800, 500));
}

void TestSheetDrawing::absurdValuesDrawSafely()
{
    // Stored values are not bounded; products and sums must stay defined.
    constexpr int most = std::numeric_limits<int>::max();
    constexpr int least = std::numeric_limits<int>::min();
    setOption(keys::option::drawFrame, 1);
    const auto picture = solidPicture(pictureSize);
    QImage image = page(200, 100);
    {
        QPainter painter(&image);
        DrawingSurface surface(painter, 600, 600);
        for (int width : {most, least, 0, -500}) {
            for (int position : {most, least, 0, -1}) {
                DrawTile(surface, picture.get(), loadOptionValues(*store_), {width, width},
                         position, position);
                const Placement placement{TicketSize{width, width},
                                          FillOrder::ColumnsFirst,
                                          9,
                                          position,
                                          position,
                                          most,
                                          least};
                DrawSheet(surface, picture.get(), placedJob(*store_, placement), GridSize{3, 3});
            }
        }
    }
    // A ticket from 0 to the far right covers the whole page.
    QCOMPARE(image.pixel(100, 50), pictureColour);
}

void TestSheetDrawing::pdfHoldsPictureOnce()
{
    // A noisy picture, so its compressed size dominates the file.
    QImage noise(400, 300, QImage::Format_RGB32);
    quint32 seed = 1;
    for (int y = 0; y < noise.height(); ++y) {
        for (int x = 0; x < noise.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            noise.setPixel(x, y, 0xff000000 | (seed >> 8));
        }
    }
    const auto picture = PictureHolder::fromImage(noise);
    auto pdfSize = [&](int count) {
        const QString path = dir_.filePath(u"sheet%1.pdf"_s.arg(count));
        {
            QPdfWriter writer(path);
            writer.setResolution(600);
            writer.setPageSize(QPageSize(QPageSize::A4));
            QPainter painter(&writer);
            DrawingSurface surface(painter);
            DrawSheet(surface, picture.get(),
                      placedJob(*store_, {TicketSize{579, 302}, FillOrder::RowsFirst, count}),
                      GridSize{3, 9});
        }
        return QFileInfo(path).size();
    };
    const qint64 one = pdfSize(1);
    const qint64 many = pdfSize(27);
    QVERIFY2(one > 100000, qPrintable(QString::number(one)));
    QVERIFY2(many < one * 3 / 2, qPrintable(u"%1 vs %2"_s.arg(many).arg(one)));
}

QTEST_MAIN(TestSheetDrawing)
#include "tst_sheetdrawing.moc"
