#include "StoredJob.h"
#include "TestPictures.h"
#include "layout/DrawingSurface.h"
#include "picture/PictureHolder.h"
#include "preview/PagePreview.h"
#include "preview/PreviewFont.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"
#include "settings/Units.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace zorvane;
using namespace zorvane::test;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(zorvane::PaperKind)

namespace {

constexpr QSize boxSize(123, 196);
constexpr int dotsPerMetreAt96 = 3780; // 96.01 dpi, read back as 96

QImage boxImage()
{
    QImage image(boxSize, QImage::Format_RGB32);
    image.setDotsPerMeterX(dotsPerMetreAt96);
    image.setDotsPerMeterY(dotsPerMetreAt96);
    image.fill(0xff808080); // neither black nor white: the paint must cover it
    return image;
}

// One-pixel stripes: any unfiltered shrink turns them black, white or into
// bands.
std::unique_ptr<PictureHolder> stripedPicture(bool vertical)
{
    QImage image(1201, 803, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, ((vertical ? x : y) % 2) ? 0xffffffff : 0xff000000);
    }
    return PictureHolder::fromImage(image);
}

// Where the centre of a ticket of type A (default offsets and gaps) lands
// in the preview box for A4 at 96 dpi.
QPoint ticketCentre(int row, int column)
{
    const double pageX = 37 + column * 219.9 + 109;
    const double pageY = 37 + row * 115.3 + 57;
    return {5 + int(pageX * 113 / 793), 18 + int(pageY * 160 / 1122)};
}

bool near(QRgb a, QRgb b, int tolerance)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance &&
           qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

// The rows of the box where a text painted something bright.
std::pair<int, int> brightRows(const QImage& image, QRect area)
{
    int first = -1;
    int last = -1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) > 128) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
        }
    }
    return {first, last};
}

} // namespace

class TestPagePreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void pageImageSizes_data();
    void pageImageSizes();
    void pageRectangles_data();
    void pageRectangles();
    void fontSizes_data();
    void fontSizes();
    void fontRendersJapaneseAtScaledHeight();
    void texts();
    void a4WithFiveTickets();
    void countThatDoesNotFit();
    void noPaperOrTypeDoesNotFit();
    void withoutPicture();
    void quarterSheetRectangle();
    void stripesTurnGrey_data();
    void stripesTurnGrey();
    void fontPercentScalesText();
    void absurdResolutionDrawsNoPage();
    void optionChangesShowAtNextPaint();
    void placesFollowTheBoxSize_data();
    void placesFollowTheBoxSize();
    void largerBoxKeepsTextBelowThePageAndInside();
    void framesStayInTheirColour();
    void doubleDensityScreenGetsEveryDevicePixel();

private:
    PreviewOutcome paint(QImage& image, const PictureHolder* picture, const MainValues& main);

    QTemporaryDir dir_;
    std::unique_ptr<SettingsStore> store_;
};

void TestPagePreview::init()
{
    store_.reset();
    QFile::remove(dir_.filePath(u"store.ini"_s));
    store_ = std::make_unique<SettingsStore>(dir_.filePath(u"store.ini"_s));
}

PreviewOutcome TestPagePreview::paint(QImage& image, const PictureHolder* picture,
                                      const MainValues& main)
{
    QPainter painter(&image);
    return paintPreviewBox(painter, boxSize, picture, storedJob(*store_, main));
}

void TestPagePreview::pageImageSizes_data()
{
    QTest::addColumn<PaperKind>("paper");
    QTest::addColumn<int>("dpiX");
    QTest::addColumn<int>("dpiY");
    QTest::addColumn<QSize>("size");
    QTest::newRow("A4 96") << PaperKind::A4 << 96 << 96 << QSize(793, 1122);
    QTest::newRow("B5 96") << PaperKind::B5 << 96 << 96 << QSize(687, 971);
    QTest::newRow("quarter 96") << PaperKind::A4Quarter << 96 << 96 << QSize(559, 396);
    QTest::newRow("A4 120 x 72") << PaperKind::A4 << 120 << 72 << QSize(992, 841);
}

void TestPagePreview::pageImageSizes()
{
    QFETCH(PaperKind, paper);
    QFETCH(int, dpiX);
    QFETCH(int, dpiY);
    QFETCH(QSize, size);
    QCOMPARE(pagePixelSize(paper, dpiX, dpiY), size);
}

void TestPagePreview::pageRectangles_data()
{
    QTest::addColumn<PaperKind>("paper");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("A4") << PaperKind::A4 << QRect(5, 18, 113, 160);
    QTest::newRow("B5") << PaperKind::B5 << QRect(5, 18, 113, 160);
    QTest::newRow("quarter") << PaperKind::A4Quarter << QRect(1, 55, 120, 85);
}

void TestPagePreview::pageRectangles()
{
    QFETCH(PaperKind, paper);
    QFETCH(QRect, rect);
    QCOMPARE(pageRectangle(paper, boxSize), rect);
}

void TestPagePreview::fontSizes_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("width");
    QTest::newRow("100") << 100 << 9 << 4;
    QTest::newRow("150") << 150 << 14 << 6;
    QTest::newRow("50") << 50 << 4 << 2;
    QTest::newRow("0") << 0 << 0 << 0;
    QTest::newRow("-100") << -100 << -9 << -4;
}

void TestPagePreview::fontSizes()
{
    QFETCH(int, percent);
    QFETCH(int, height);
    QFETCH(int, width);
    QCOMPARE(previewFontSize(16, 7, percent), (PreviewFontSize{height, width}));
}

void TestPagePreview::fontRendersJapaneseAtScaledHeight()
{
    QImage image = boxImage();
    image.fill(Qt::black);
    QFont standard;
    standard.setPixelSize(20);
    const QFont font = previewFont(standard, &image, 100);
    const QFontMetrics metrics(font, &image);
    QVERIFY2(QFontInfo(font).family().contains(u"CJK"_s), qPrintable(QFontInfo(font).family()));
    QVERIFY(metrics.inFont(u'印') && metrics.inFont(u'個') && metrics.inFont(u'ロ'));
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QPoint(2, 60), printableCountText(27));
    }
    // The glyphs' ink, not their cell, stands as tall as asked.
    const int asked = int(QFontMetrics(standard, &image).height() * 0.6);
    const auto [first, last] = brightRows(image, image.rect());
    QVERIFY2(qAbs(last - first + 1 - asked) <= 1,
             qPrintable(u"ink %1 px, asked %2"_s.arg(last - first + 1).arg(asked)));
}

void TestPagePreview::texts()
{
    QCOMPARE(printableCountText(27), u"印刷可能な最大数： 27 個"_s);
    QCOMPARE(printableCountText(-3), u"印刷可能な最大数： -3 個"_s);
    QCOMPARE(noPictureNotice(), u"画像がロードされていません。"_s);
    const QImage warning = warningPicture();
    QCOMPARE(warning.size(), QSize(40, 40));
    QCOMPARE(warning.pixel(0, 0), qRgb(0, 0, 0));
    QCOMPARE(warning.pixel(20, 20), qRgb(255, 255, 255));
    QVERIFY(qRed(warning.pixel(20, 4)) > 200 && qGreen(warning.pixel(20, 4)) < 50);
}

void TestPagePreview::a4WithFiveTickets()
{
    const auto picture = solidPicture();
    MainValues main;
    main.countText = u"5"_s;
    QImage image = boxImage();
    const PreviewOutcome outcome = paint(image, picture.get(), main);
    QVERIFY(!outcome.doesNotFit);
    QCOMPARE(outcome.printableCount, 27);

    for (const auto& [row, column] : {std::pair{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}})
        QVERIFY2(near(image.pixel(ticketCentre(row, column)), pictureColour, 8),
                 qPrintable(u"cell %1,%2"_s.arg(row).arg(column)));
    for (const auto& [row, column] : {std::pair{1, 2}, {2, 0}, {8, 2}})
        QCOMPARE(image.pixel(ticketCentre(row, column)), qRgb(255, 255, 255));
    // The page's corners are white, the box around them black.
    QCOMPARE(image.pixel(5, 18), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(117, 177), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(4, 18), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(118, 100), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(60, 17), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(60, 179), qRgb(0, 0, 0));
    // The count text lies below the page.
    const auto [first, last] = brightRows(image, QRect(17, 179, 106, 17));
    QVERIFY(first >= 182 && last > first);
}

void TestPagePreview::countThatDoesNotFit()
{
    const auto picture = solidPicture();
    MainValues main;
    main.countText = u"28"_s;
    QImage image = boxImage();
    const PreviewOutcome outcome = paint(image, picture.get(), main);
    QVERIFY(outcome.doesNotFit);
    QCOMPARE(outcome.printableCount, 0);
    // No page, only the warning at (50, 75).
    QCOMPARE(image.pixel(10, 30), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(100, 170), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(50, 75), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(70, 95), qRgb(255, 255, 255));
    QVERIFY(qRed(image.pixel(70, 79)) > 200 && qGreen(image.pixel(70, 79)) < 50);
    QCOMPARE(image.pixel(70, 116), qRgb(0, 0, 0));
    const auto [first, last] = brightRows(image, QRect(17, 179, 106, 17));
    QVERIFY(first >= 182 && last > first);
}

void TestPagePreview::noPaperOrTypeDoesNotFit()
{
    const auto picture = solidPicture();
    MainValues main;
    main.paper.reset();
    QImage image = boxImage();
    QVERIFY(paint(image, picture.get(), main).doesNotFit);
    main = MainValues();
    main.ticketType.reset();
    QVERIFY(paint(image, picture.get(), main).doesNotFit);
    QCOMPARE(image.pixel(70, 95), qRgb(255, 255, 255));
}

void TestPagePreview::withoutPicture()
{
    MainValues main;
    main.countText = u"28"_s; // would not fit, but nothing is fitted
    QImage image = boxImage();
    const PreviewOutcome outcome = paint(image, nullptr, main);
    QVERIFY(!outcome.doesNotFit);
    QCOMPARE(outcome.printableCount, 0);
    const auto [first, last] = brightRows(image, QRect(0, 0, 123, 196));
    QVERIFY2(first >= 90 && last < 115, qPrintable(u"%1..%2"_s.arg(first).arg(last)));
    QCOMPARE(image.pixel(70, 95 + 30), qRgb(0, 0, 0));
}

void TestPagePreview::quarterSheetRectangle()
{
    const auto picture = solidPicture();
    MainValues main;
    main.paper = PaperKind::A4Quarter;
    QImage image = boxImage();
    const PreviewOutcome outcome = paint(image, picture.get(), main);
    QCOMPARE(outcome.printableCount, 4);
    QCOMPARE(image.pixel(1, 55), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(120, 139), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(0, 100), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(121, 100), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(60, 54), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(60, 140), qRgb(0, 0, 0));
}

void TestPagePreview::stripesTurnGrey_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<QString>("count");
    QTest::addColumn<TicketType>("type");
    QTest::newRow("vertical stripes, type A") << true << u"27"_s << TicketType::A;
    QTest::newRow("horizontal stripes, type A") << false << u"27"_s << TicketType::A;
    QTest::newRow("vertical stripes, custom") << true << u"1"_s << TicketType::Other;
}

void TestPagePreview::stripesTurnGrey()
{
    QFETCH(bool, vertical);
    QFETCH(QString, count);
    QFETCH(TicketType, type);
    const auto picture = stripedPicture(vertical);
    MainValues main;
    main.countText = count;
    main.ticketType = type;
    main.customWidth = 1700; // a large ticket: less shrinking per tile
    main.customHeight = 2500;
    QImage image = boxImage();
    QVERIFY(!paint(image, picture.get(), main).doesNotFit);
    // Every pixel well inside the first ticket is mid-grey.
    const QRect inside = type == TicketType::A ? QRect(12, 25, 26, 11) : QRect(12, 25, 55, 120);
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const int grey = qGray(image.pixel(x, y));
            QVERIFY2(grey > 100 && grey < 155,
                     qPrintable(u"%1 at %2,%3"_s.arg(grey).arg(x).arg(y)));
        }
    }
}

void TestPagePreview::fontPercentScalesText()
{
    auto textHeight = [this](int percent) {
        store_->WriteProfileInt(keys::optionSection, keys::option::fontPercent, percent);
        QImage image = boxImage();
        QPainter painter(&image);
        QFont standard;
        standard.setPixelSize(24);
        painter.setFont(standard);
        paintPreviewBox(painter, boxSize, nullptr, storedJob(*store_, MainValues()));
        painter.end();
        const auto [first, last] = brightRows(image, QRect(0, 0, 123, 196));
        return last - first + 1;
    };
    const int small = textHeight(50);
    const int normal = textHeight(100);
    const int large = textHeight(150);
    QVERIFY2(small < normal && normal < large,
             qPrintable(u"%1 %2 %3"_s.arg(small).arg(normal).arg(large)));
}

void TestPagePreview::absurdResolutionDrawsNoPage()
{
    const auto picture = solidPicture();
    MainValues main;
    QImage image = boxImage();
    QPainter painter(&image);
    DrawingSurface box(painter, 100000, 100000);
    const PreviewOutcome outcome =
        RenderPreview(box, boxSize, picture.get(), storedJob(*store_, main));
    painter.end();
    QCOMPARE(outcome.printableCount, 27);
    QCOMPARE(image.pixel(60, 100), qRgb(128, 128, 128)); // untouched
}

void TestPagePreview::optionChangesShowAtNextPaint()
{
    const auto picture = solidPicture();
    MainValues main;
    main.countText = u"1"_s;
    QImage image = boxImage();
    paint(image, picture.get(), main);
    QVERIFY(near(image.pixel(ticketCentre(0, 0)), pictureColour, 8));
    store_->WriteProfileInt(keys::optionSection, keys::option::offsetX, 1000);
    image = boxImage();
    const PreviewOutcome outcome = paint(image, picture.get(), main);
    QCOMPARE(outcome.printableCount, 9 * 1);
    QCOMPARE(image.pixel(ticketCentre(0, 0)), qRgb(255, 255, 255));
}

void TestPagePreview::placesFollowTheBoxSize_data()
{
    QTest::addColumn<QSize>("box");
    QTest::addColumn<QPoint>("place");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("reference box") << QSize(123, 196) << QPoint(17, 182) << QPoint(17, 182);
    QTest::newRow("dialog font box") << QSize(141, 276) << QPoint(17, 182) << QPoint(19, 256);
    QTest::newRow("warning") << QSize(141, 276) << QPoint(50, 75) << QPoint(57, 105);
    QTest::newRow("empty box") << QSize(0, 0) << QPoint(12, 90) << QPoint(0, 0);
}

void TestPagePreview::placesFollowTheBoxSize()
{
    QFETCH(QSize, box);
    QFETCH(QPoint, place);
    QFETCH(QPoint, expected);
    QCOMPARE(placeInBox(place, box), expected);
}

// The main window's box is larger than the reference when its dialog font
// is: the text must still sit below the page and inside the box, in a font
// whose Latin average (not its ideographs) sets the width.
void TestPagePreview::largerBoxKeepsTextBelowThePageAndInside()
{
    const QSize box(141, 276);
    QImage image(box, QImage::Format_RGB32);
    image.setDotsPerMeterX(dotsPerMetreAt96);
    image.setDotsPerMeterY(dotsPerMetreAt96);
    const auto picture = solidPicture();
    MainValues main;
    main.countText = u"5"_s;
    {
        QPainter painter(&image);
        QFont standard(u"Noto Sans CJK JP"_s);
        standard.setPointSize(9);
        painter.setFont(standard);
        paintPreviewBox(painter, box, picture.get(), storedJob(*store_, main));
    }
    const QRect page = pageRectangle(PaperKind::A4, box);
    const auto [first, last] = brightRows(
        image, QRect(0, page.bottom() + 1, box.width(), box.height() - page.bottom() - 1));
    QVERIFY2(first > page.bottom() + 1 && last > first,
             qPrintable(u"%1..%2"_s.arg(first).arg(last)));
    // The right edge of the box stays black on the text's rows: nothing is cut off.
    for (int y = first; y <= last; ++y)
        QCOMPARE(image.pixel(box.width() - 2, y), qRgb(0, 0, 0));
}

// A frame one page pixel wide must not fade into the shrunken page.
void TestPagePreview::framesStayInTheirColour()
{
    store_->WriteProfileInt(keys::optionSection, keys::option::drawFrame, 1);
    store_->WriteProfileInt(keys::optionSection, keys::option::frameRed, 255);
    store_->WriteProfileInt(keys::optionSection, keys::option::frameGreen, 0);
    store_->WriteProfileInt(keys::optionSection, keys::option::frameBlue, 0);
    const auto picture = solidPicture();
    MainValues main;
    main.countText = u"5"_s;
    QImage image = boxImage();
    paint(image, picture.get(), main);
    const auto redOnRow = [&](int y) {
        int red = 0;
        for (int x = 5; x < 118; ++x)
            red += image.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
        return red;
    };
    // Three tickets on the first row: the left edge, the right edge, and
    // between them two places where neighbours' edges, 0.3 mm apart, share a
    // preview pixel.
    QCOMPARE(redOnRow(ticketCentre(0, 0).y()), 4);
    QCOMPARE(redOnRow(ticketCentre(2, 0).y()), 0);
    QVERIFY(near(image.pixel(ticketCentre(0, 0)), pictureColour, 8));
}

// At two device pixels to the point the page is shrunk into every device
// pixel, not shrunk into half as many and doubled.
void TestPagePreview::doubleDensityScreenGetsEveryDevicePixel()
{
    QImage gradient(300, 200, QImage::Format_RGB32);
    for (int x = 0; x < gradient.width(); ++x) {
        for (int y = 0; y < gradient.height(); ++y)
            gradient.setPixel(x, y, qRgb(x * 255 / 299, x * 255 / 299, x * 255 / 299));
    }
    const auto picture = PictureHolder::fromImage(gradient);
    MainValues main;
    main.countText = u"1"_s;
    QImage image(boxSize * 2, QImage::Format_RGB32);
    image.setDotsPerMeterX(dotsPerMetreAt96);
    image.setDotsPerMeterY(dotsPerMetreAt96);
    image.setDevicePixelRatio(2);
    {
        QPainter painter(&image);
        paintPreviewBox(painter, boxSize, picture.get(), storedJob(*store_, main));
    }
    const int y = ticketCentre(0, 0).y() * 2;
    int differingPairs = 0;
    for (int x = 2 * 10; x < 2 * 35; x += 2)
        differingPairs += image.pixel(x, y) != image.pixel(x + 1, y) ? 1 : 0;
    QVERIFY2(differingPairs > 10, qPrintable(QString::number(differingPairs)));
    // The page still fills its rectangle, in logical points.
    QCOMPARE(image.pixel(2 * 5, 2 * 18), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(2 * 4 + 1, 2 * 18), qRgb(0, 0, 0));
}

QTEST_MAIN(TestPagePreview)
#include "tst_pagepreview.moc"
