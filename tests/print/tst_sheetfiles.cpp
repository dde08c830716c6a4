#include "PdfProbe.h"
#include "SheetProbe.h"
#include "StoredJob.h"
#include "TestFiles.h"
#include "TestPictures.h"
#include "layout/DrawingSurface.h"
#include "layout/GridFit.h"
#include "layout/SheetDrawing.h"
#include "picture/PictureHolder.h"
#include "print/PaperSettings.h"
#include "print/SheetExport.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"
#include "settings/Units.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zorvane;
using namespace Qt::StringLiterals;

namespace {

// The JPEG with an EXIF block saying how to turn it for showing.
QByteArray withExifOrientation(const QByteArray& jpeg, quint16 orientation)
{
    QByteArray tiff("II*\0\x08\0\0\0", 8);      // little-endian, first directory at 8
    tiff.append("\x01\0", 2);                   // one entry
    tiff.append("\x12\x01\x03\0\x01\0\0\0", 8); // orientation, SHORT, count 1
    tiff.append(char(orientation & 0xFF));
    tiff.append(char(orientation >> 8));
    tiff.append("\0\0", 2);     // value padding
    tiff.append("\0\0\0\0", 4); // no next directory
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(payload.size()) + 2;
    QByteArray segment("\xFF\xE1", 2);
    segment.append(char(length >> 8));
    segment.append(char(length & 0xFF));
    segment.append(payload);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

MainValues sheetOf(int count, PaperKind paper = PaperKind::A4)
{
    MainValues main;
    main.ticketType = TicketType::B;
    main.paper = paper;
    main.countText = QString::number(count);
    main.fillOrder = FillOrder::ColumnsFirst;
    return main;
}

// What sheetOf(count) draws on A4, for the sheet probe: type B tickets,
// 3 across and 10 down, filled column by column.
sheetprobe::Sheet probeOf(int count)
{
    sheetprobe::Sheet sheet;
    sheet.ticketWidth = 579;
    sheet.ticketHeight = 252;
    sheet.columns = 3;
    sheet.rows = 10;
    sheet.count = count;
    sheet.order = FillOrder::ColumnsFirst;
    return sheet;
}

// The page drawn whole on one white image, as the PNG used to be made.
QImage wholePage(QSize pixels, int dpi, const MainValues& main, const SettingsStore& store,
                 const PictureHolder& picture, const GridSize& grid)
{
    QImage page(pixels, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    DrawingSurface surface(painter, dpi, dpi);
    DrawSheet(surface, &picture, storedJob(store, main), grid);
    return page;
}

bool hasPdfImages()
{
    return pdfprobe::toolsAvailable() && !QStandardPaths::findExecutable(u"pdfimages"_s).isEmpty();
}

bool isInk(QRgb p)
{
    return qRed(p) < 200 || qGreen(p) < 200 || qBlue(p) < 200;
}

bool isFrame(QRgb p)
{
    return qRed(p) < 60 && qGreen(p) < 60 && qBlue(p) < 60;
}

// The pixels that pass the test, as a mask (255 where they do).
QImage pixelsWhere(const QImage& page, bool (*test)(QRgb))
{
    const QImage rgb = page.convertToFormat(QImage::Format_RGB32);
    QImage mask(page.size(), QImage::Format_Grayscale8);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* out = mask.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x)
            out[x] = test(in[x]) ? 255 : 0;
    }
    return mask;
}

// The mask grown by one pixel in every direction.
QImage grown(const QImage& mask)
{
    QImage out(mask.size(), QImage::Format_Grayscale8);
    out.fill(0);
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            if (mask.constScanLine(y)[x] == 0)
                continue;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int gx = x + dx;
                    const int gy = y + dy;
                    if (gx >= 0 && gy >= 0 && gx < mask.width() && gy < mask.height())
                        out.scanLine(gy)[gx] = 255;
                }
            }
        }
    }
    return out;
}

// How many pixels of the mask lie outside the other.
int outside(const QImage& mask, const QImage& other)
{
    int count = 0;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x)
            count += mask.constScanLine(y)[x] != 0 && other.constScanLine(y)[x] == 0;
    }
    return count;
}

// Where two PDFs of one sheet, rendered at the sheet's own resolution (every
// frame line one whole pixel), put things differently: the black frames
// must match exactly, the pictures to within the reader's rounding of an
// image edge that falls on a pixel boundary. Empty when they agree.
QString placesDifferIn(const QString& pdfA, const QString& pdfB)
{
    const QImage a = pdfprobe::render(pdfA, 600);
    const QImage b = pdfprobe::render(pdfB, 600);
    if (a.isNull() || a.size() != b.size())
        return u"the pages differ in size"_s;
    if (pixelsWhere(a, isFrame) != pixelsWhere(b, isFrame))
        return u"the frames differ"_s;
    const QImage inkA = pixelsWhere(a, isInk);
    const QImage inkB = pixelsWhere(b, isInk);
    const int strays = outside(inkA, grown(inkB)) + outside(inkB, grown(inkA));
    return strays == 0 ? QString() : u"%1 picture pixels stray"_s.arg(strays);
}

} // namespace

class TestSheetFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void bandedPngEqualsWholePage_data();
    void bandedPngEqualsWholePage();
    void pngWriteThatFailsIsReported();
    void pdfEmbedsTheJpegUnchanged();
    void turnedJpegIsDrawnUpright_data();
    void turnedJpegIsDrawnUpright();
    void jpegKeptWholeInEveryLook_data();
    void jpegKeptWholeInEveryLook();
    void pngPictureGoesInAsTheEnginesJpeg_data();
    void pngPictureGoesInAsTheEnginesJpeg();

private:
    void drawBlackFrames();

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SettingsStore> store_;
};

void TestSheetFiles::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    store_ = std::make_unique<SettingsStore>(dir_->filePath(u"Zorvane.ini"_s));
}

// Black frames, which the probes tell from the pictures' ink.
void TestSheetFiles::drawBlackFrames()
{
    store_->WriteProfileInt(keys::optionSection, keys::option::drawFrame, 1);
    store_->WriteProfileInt(keys::optionSection, keys::option::frameRed, 0);
    store_->WriteProfileInt(keys::optionSection, keys::option::frameGreen, 0);
    store_->WriteProfileInt(keys::optionSection, keys::option::frameBlue, 0);
}

void TestSheetFiles::bandedPngEqualsWholePage_data()
{
    QTest::addColumn<QSize>("pictureSize");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<bool>("frame");
    QTest::addColumn<int>("count");

    // Shrunk to the ticket, enlarged to it, and a resolution whose page and
    // tickets fall across band edges at odd rows.
    QTest::newRow("shrunk, 300 dpi, frame") << QSize(900, 500) << 300 << true << 30;
    QTest::newRow("enlarged, 200 dpi") << QSize(37, 23) << 200 << false << 17;
    QTest::newRow("shrunk, 97 dpi, frame") << QSize(300, 200) << 97 << true << 25;
}

void TestSheetFiles::bandedPngEqualsWholePage()
{
    QFETCH(QSize, pictureSize);
    QFETCH(int, dpi);
    QFETCH(bool, frame);
    QFETCH(int, count);
    store_->WriteProfileInt(keys::optionSection, keys::option::drawFrame, frame ? 1 : 0);
    store_->WriteProfileInt(keys::optionSection, keys::option::frameRed, 200);
    store_->WriteProfileInt(keys::optionSection, keys::option::frameGreen, 0);
    store_->WriteProfileInt(keys::optionSection, keys::option::frameBlue, 120);
    const MainValues main = sheetOf(count);
    const GridFitResult fit = GridFit(main, loadOptionValues(*store_));
    QVERIFY(fit.fits);
    const auto picture = PictureHolder::fromImage(
        test::noisyQuarteredImage(pictureSize.width(), pictureSize.height()));
    const QSize pixels = pagePixelSize(PaperKind::A4, dpi, dpi);

    QByteArray png;
    QBuffer buffer(&png);
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QVERIFY(writeSheetPng(buffer, pixels, dpi, storedJob(*store_, main), picture.get(), fit.grid));

    // An 8-bit RGB PNG (IHDR: bit depth, then colour type 2) with its
    // resolution recorded.
    QCOMPARE(png.mid(12, 4), QByteArray("IHDR"));
    QCOMPARE(int(uchar(png[24])), 8);
    QCOMPARE(int(uchar(png[25])), 2);
    QImage written = QImage::fromData(png, "PNG");
    QCOMPARE(written.size(), pixels);
    QCOMPARE(written.dotsPerMeterX(), dotsPerMetre(dpi));
    written.convertTo(QImage::Format_RGB32);
    QImage expected = wholePage(pixels, dpi, main, *store_, *picture, fit.grid);
    // The file says its colours are sRGB, as the page's are.
    expected.setColorSpace(QColorSpace(QColorSpace::SRgb));
    QVERIFY(written == expected);
}

void TestSheetFiles::pngWriteThatFailsIsReported()
{
    const MainValues main = sheetOf(3);
    const GridFitResult fit = GridFit(main, loadOptionValues(*store_));
    const auto picture = PictureHolder::fromImage(test::noisyQuarteredImage(60, 40));
    QByteArray bytes;
    QBuffer refusing(&bytes);
    QVERIFY(refusing.open(QIODevice::ReadOnly)); // every write fails
    QVERIFY(!writeSheetPng(refusing, pagePixelSize(PaperKind::A4, 100, 100), 100,
                           storedJob(*store_, main), picture.get(), fit.grid));
}

void TestSheetFiles::pdfEmbedsTheJpegUnchanged()
{
    if (!hasPdfImages())
        QSKIP("poppler tools (pdfinfo, pdftoppm, pdfimages) are not installed");
    drawBlackFrames();
    const QString jpeg = dir_->filePath(u"photo.jpg"_s);
    QImageWriter writer(jpeg, "jpeg");
    writer.setQuality(85);
    QVERIFY(writer.write(test::noisyQuarteredImage(640, 400)));
    const QByteArray original = test::readFile(jpeg);
    const auto opened = PictureHolder::open(jpeg);
    QVERIFY(opened);
    QVERIFY(!opened->hasPixels());
    const MainValues main = sheetOf(20);
    const MainValues quarter = sheetOf(3, PaperKind::A4Quarter);

    const QString embedded = dir_->filePath(u"embedded.pdf"_s);
    QCOMPARE(
        exportSheet(embedded, SheetFileFormat::Pdf, 600, storedJob(*store_, main), opened.get()),
        SheetExportResult::Written);
    QCOMPARE(pdfprobe::imageCount(embedded), 1);
    const QStringList list = pdfprobe::imageList(embedded);
    QVERIFY(list.size() > 2);
    const QStringList first = list[2].split(u' ', Qt::SkipEmptyParts);
    QCOMPARE(first.value(3), u"640"_s);
    QCOMPARE(first.value(4), u"400"_s);
    QCOMPARE(first.value(8), u"jpeg"_s);
    const QString prefix = dir_->filePath(u"extracted"_s);
    pdfprobe::extractImages(embedded, prefix, 1);
    QVERIFY(test::readFile(prefix + u"-000.jpg"_s) == original);

    // The same sheet by the Qt PDF engine from the decoded pixels: tickets
    // and frames at the same places.
    const auto decoded = PictureHolder::fromImage(opened->decodeFull());
    QVERIFY(decoded && decoded->embeddableJpeg().isEmpty());
    QCOMPARE(
        exportSheet(embedded, SheetFileFormat::Pdf, 600, storedJob(*store_, quarter), opened.get()),
        SheetExportResult::Written);
    const QString redrawn = dir_->filePath(u"redrawn.pdf"_s);
    QCOMPARE(
        exportSheet(redrawn, SheetFileFormat::Pdf, 600, storedJob(*store_, quarter), decoded.get()),
        SheetExportResult::Written);
    QCOMPARE(pdfprobe::pageSizeMm(embedded), pdfprobe::pageSizeMm(redrawn));
    const QString misplaced = placesDifferIn(embedded, redrawn);
    QVERIFY2(misplaced.isEmpty(), qPrintable(misplaced));
    const sheetprobe::Sheet sheet = probeOf(20);
    store_->WriteProfileInt(keys::optionSection, keys::option::drawFrame, 0);
    QCOMPARE(
        exportSheet(embedded, SheetFileFormat::Pdf, 600, storedJob(*store_, main), opened.get()),
        SheetExportResult::Written);
    const QString fault = sheetprobe::check(pdfprobe::render(embedded, 100), 100, sheet);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

void TestSheetFiles::turnedJpegIsDrawnUpright_data()
{
    // The EXIF orientation, and how the stored pixels are made from the
    // upright picture: turned a quarter clockwise this many times, then
    // mirrored left to right.
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("quarters");
    QTest::addColumn<bool>("mirrored");
    QTest::newRow("6: turn clockwise to show") << 6 << 3 << false;
    QTest::newRow("3: upside down") << 3 << 2 << false;
    QTest::newRow("8: turn anticlockwise to show") << 8 << 1 << false;
    QTest::newRow("2: mirrored") << 2 << 0 << true;
    QTest::newRow("5: mirrored and turned") << 5 << 1 << true;
}

// A JPEG stored on its side or mirrored, tagged to be shown upright, goes
// into the PDF as the file's own bytes and shows upright.
void TestSheetFiles::turnedJpegIsDrawnUpright()
{
    QFETCH(int, orientation);
    QFETCH(int, quarters);
    QFETCH(bool, mirrored);
    if (!hasPdfImages())
        QSKIP("poppler tools (pdfinfo, pdftoppm, pdfimages) are not installed");
    const QImage upright = sheetprobe::quarteredPicture(400, 640);
    QImage stored = upright.transformed(QTransform().rotate(90 * quarters));
    if (mirrored)
        stored = stored.mirrored(true, false);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QVERIFY(QImageWriter(&buffer, "jpeg").write(stored));
    const QString jpeg = dir_->filePath(u"turned.jpg"_s);
    QFile file(jpeg);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(withExifOrientation(bytes, quint16(orientation)));
    file.close();
    const auto opened = PictureHolder::open(jpeg);
    QVERIFY(opened);
    QCOMPARE(opened->size(), QSize(400, 640));
    // Qt's decoder, which the window and the printer use, shows it upright.
    const QImage shown = opened->decodeFull();
    QVERIFY(qAbs(QColor(shown.pixel(100, 160)).red() - sheetprobe::topLeftColour.red()) < 40);
    QVERIFY(qAbs(QColor(shown.pixel(300, 480)).green() - sheetprobe::bottomRightColour.green()) <
            40);
    QVERIFY(QColor(shown.pixel(300, 160)).red() < 60 && QColor(shown.pixel(100, 480)).red() < 60);
    const QString pdf = dir_->filePath(u"turned.pdf"_s);
    QCOMPARE(
        exportSheet(pdf, SheetFileFormat::Pdf, 300, storedJob(*store_, sheetOf(4)), opened.get()),
        SheetExportResult::Written);
    const QString prefix = dir_->filePath(u"turned"_s);
    pdfprobe::extractImages(pdf, prefix);
    QVERIFY(test::readFile(prefix + u"-000.jpg"_s) == test::readFile(jpeg));
    const sheetprobe::Sheet sheet = probeOf(4);
    const QString fault = sheetprobe::check(pdfprobe::render(pdf, 100), 100, sheet);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

void TestSheetFiles::jpegKeptWholeInEveryLook_data()
{
    QTest::addColumn<int>("placement");
    QTest::addColumn<bool>("turned");
    QTest::newRow("fill, cut by the ticket") << int(PicturePlacement::Fill) << false;
    QTest::newRow("fit, turned") << int(PicturePlacement::Fit) << true;
    QTest::newRow("fill, turned") << int(PicturePlacement::Fill) << true;
}

// Cut and turned pictures keep the file's own bytes in the PDF and land
// where the Qt PDF engine puts the decoded pixels.
void TestSheetFiles::jpegKeptWholeInEveryLook()
{
    QFETCH(int, placement);
    QFETCH(bool, turned);
    if (!hasPdfImages())
        QSKIP("poppler tools (pdfinfo, pdftoppm, pdfimages) are not installed");
    drawBlackFrames();
    const QString jpeg = dir_->filePath(u"wide.jpg"_s);
    QVERIFY(QImageWriter(jpeg, "jpeg").write(test::noisyQuarteredImage(800, 300)));
    const auto opened = PictureHolder::open(jpeg);
    QVERIFY(opened);
    const auto decoded = PictureHolder::fromImage(opened->decodeFull());
    SheetOptions look;
    look.placement = PicturePlacement(placement);
    look.turned = turned;
    const MainValues quarter = sheetOf(3, PaperKind::A4Quarter);
    const QString embedded = dir_->filePath(u"embedded.pdf"_s);
    const QString redrawn = dir_->filePath(u"redrawn.pdf"_s);
    QCOMPARE(exportSheet(embedded, SheetFileFormat::Pdf, 600, storedJob(*store_, quarter, look),
                         opened.get()),
             SheetExportResult::Written);
    QCOMPARE(exportSheet(redrawn, SheetFileFormat::Pdf, 600, storedJob(*store_, quarter, look),
                         decoded.get()),
             SheetExportResult::Written);
    QCOMPARE(pdfprobe::imageCount(embedded), 1);
    const QString prefix = dir_->filePath(u"look"_s);
    pdfprobe::extractImages(embedded, prefix);
    QVERIFY(test::readFile(prefix + u"-000.jpg"_s) == test::readFile(jpeg));
    const QString fault = placesDifferIn(embedded, redrawn);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

void TestSheetFiles::pngPictureGoesInAsTheEnginesJpeg_data()
{
    QTest::addColumn<int>("format"); // of the image the PNG is written from
    QTest::addColumn<bool>("damaged");
    QTest::addColumn<bool>("streamed");
    QTest::newRow("8-bit colour") << int(QImage::Format_RGB32) << false << true;
    QTest::newRow("grey") << int(QImage::Format_Grayscale8) << false << true;
    QTest::newRow("palette") << int(QImage::Format_Indexed8) << false << true;
    QTest::newRow("16-bit colour") << int(QImage::Format_RGBX64) << false << true;
    QTest::newRow("transparent: the engine's way") << int(QImage::Format_ARGB32) << false << false;
    QTest::newRow("damaged image data: refused") << int(QImage::Format_RGB32) << true << false;
}

// A PNG picture goes into the PDF as the very JPEG the Qt PDF engine makes
// of its pixels, made from the file row by row; a transparent one still
// takes the engine's way, and a damaged one is refused, not half written.
void TestSheetFiles::pngPictureGoesInAsTheEnginesJpeg()
{
    QFETCH(int, format);
    QFETCH(bool, damaged);
    QFETCH(bool, streamed);
    if (!hasPdfImages())
        QSKIP("poppler tools (pdfinfo, pdftoppm, pdfimages) are not installed");
    QImage picture = test::noisyQuarteredImage(320, 200).convertToFormat(QImage::Format(format));
    if (picture.hasAlphaChannel())
        picture.setPixel(5, 5, qRgba(0, 0, 0, 0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QVERIFY(QImageWriter(&buffer, "png").write(picture));
    if (damaged) {
        const qsizetype imageData = bytes.indexOf("IDAT") + 200;
        bytes[imageData] = char(bytes[imageData] ^ 0x55);
    }
    const QString png = dir_->filePath(u"picture.png"_s);
    QFile file(png);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    const auto opened = PictureHolder::open(png);
    QVERIFY(opened && !opened->hasPixels());

    const QString pdf = dir_->filePath(u"picture.pdf"_s);
    const SheetExportResult result =
        exportSheet(pdf, SheetFileFormat::Pdf, 300, storedJob(*store_, sheetOf(4)), opened.get());
    if (damaged) {
        QCOMPARE(result, SheetExportResult::PictureUnreadable);
        return;
    }
    QCOMPARE(result, SheetExportResult::Written);
    const bool byCairo = pdfprobe::info(pdf).contains(u"cairo"_s);
    QCOMPARE(byCairo, streamed);
    if (!streamed)
        return;
    QCOMPARE(pdfprobe::imageCount(pdf), 1);
    const QString prefix = dir_->filePath(u"png"_s);
    pdfprobe::extractImages(pdf, prefix);
    QByteArray engines;
    QBuffer engineBuffer(&engines);
    QVERIFY(engineBuffer.open(QIODevice::WriteOnly));
    QImageWriter engineWriter(&engineBuffer, "jpeg");
    engineWriter.setQuality(94);
    QVERIFY(engineWriter.write(opened->decodeFull()));
    const QImage embedded = QImage(prefix + u"-000.jpg"_s).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!embedded.isNull());
    QCOMPARE(embedded, QImage::fromData(engines).convertToFormat(QImage::Format_RGB32));
}

QTEST_GUILESS_MAIN(TestSheetFiles)
#include "tst_sheetfiles.moc"
