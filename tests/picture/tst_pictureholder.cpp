#include "TestPictures.h"
#include "picture/PictureFileCheck.h"
#include "picture/PictureHolder.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace zorvane;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(zorvane::PictureProblem)

namespace {

// A picture with a different colour in each quadrant, so orientation and
// stretching show in the pixels.
QImage quadrants(int width, int height)
{
    return zorvane::test::quarteredImage(width, height,
                                         {0xffff0000, 0xff00ff00, 0xffffff00, 0xff0000ff});
}

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.write(image);
    return bytes;
}

// GIF with a four-colour palette. The image data uses 3-bit codes with a
// clear code before every second pixel, so the code width never grows.
QByteArray gifOf(int width, int height, const std::array<QRgb, 4>& palette,
                 const std::function<int(int, int)>& colourIndex)
{
    QByteArray gif("GIF89a");
    auto put16 = [&gif](int value) {
        gif.append(char(value & 0xFF));
        gif.append(char((value >> 8) & 0xFF));
    };
    put16(width);
    put16(height);
    gif.append(char(0x81)); // global colour table of 4 entries
    gif.append(char(0));
    gif.append(char(0));
    for (QRgb colour : palette) {
        gif.append(char(qRed(colour)));
        gif.append(char(qGreen(colour)));
        gif.append(char(qBlue(colour)));
    }
    gif.append(char(0x2C));
    put16(0);
    put16(0);
    put16(width);
    put16(height);
    gif.append(char(0));
    gif.append(char(2)); // minimum code size

    QByteArray codes;
    quint32 bits = 0;
    int bitCount = 0;
    auto emit = [&](int code) {
        bits |= quint32(code) << bitCount;
        bitCount += 3;
        while (bitCount >= 8) {
            codes.append(char(bits & 0xFF));
            bits >>= 8;
            bitCount -= 8;
        }
    };
    constexpr int clearCode = 4;
    constexpr int endCode = 5;
    int index = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, ++index) {
            if (index % 2 == 0)
                emit(clearCode);
            emit(colourIndex(x, y));
        }
    }
    emit(endCode);
    if (bitCount > 0)
        codes.append(char(bits & 0xFF));
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        gif.append(char(block.size()));
        gif.append(block);
    }
    gif.append(char(0));
    gif.append(char(0x3B));
    return gif;
}

QByteArray quadrantGif(int width, int height)
{
    return gifOf(
        width, height, {0xffff0000, 0xff00ff00, 0xffffff00, 0xff0000ff},
        [=](int x, int y) { return (x >= width / 2 ? 1 : 0) + (y >= height / 2 ? 2 : 0); });
}

// An animated GIF: the quadrants first, then a frame all in one colour.
QByteArray twoFrameGif(int width, int height)
{
    constexpr qsizetype firstBlock = 13 + 12; // header and four-colour palette
    QByteArray gif = quadrantGif(width, height);
    const QByteArray second = gifOf(width, height, {0xffff0000, 0xff00ff00, 0xffffff00, 0xff0000ff},
                                    [](int, int) { return 3; });
    gif.insert(gif.size() - 1, second.mid(firstBlock, second.size() - firstBlock - 1));
    return gif;
}

// A baseline JPEG whose frame header claims a size; the rest is a small
// real picture's data.
QByteArray jpegClaiming(quint16 width, quint16 height)
{
    QByteArray jpeg = encoded(quadrants(16, 16), "jpeg");
    const qsizetype sof = jpeg.indexOf("\xFF\xC0");
    qToBigEndian<quint16>(height, jpeg.data() + sof + 5);
    qToBigEndian<quint16>(width, jpeg.data() + sof + 7);
    return jpeg;
}

QByteArray gifClaiming(quint16 width, quint16 height)
{
    QByteArray gif = quadrantGif(8, 8);
    qToLittleEndian<quint16>(width, gif.data() + 6);
    qToLittleEndian<quint16>(height, gif.data() + 8);
    qToLittleEndian<quint16>(width, gif.data() + 13 + 12 + 5);
    qToLittleEndian<quint16>(height, gif.data() + 13 + 12 + 7);
    return gif;
}

QByteArray corrupted(QByteArray bytes, qsizetype keep)
{
    for (qsizetype i = keep; i < bytes.size(); ++i)
        bytes[i] = char((i * 37 + 11) & 0xFF);
    return bytes;
}

} // namespace

class TestPictureHolder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void loadsFormats_data();
    void loadsFormats();
    void appliesExifOrientation();
    void loadsFirstFrameOfGif();
    void refusesBadFiles_data();
    void refusesBadFiles();
    void refusesMissingFileAndDirectory();
    void loadsJpegWithoutEndMarker();
    void loadsPictureAboveQtsDefaultLimit();
    void structureChecks_data();
    void structureChecks();
    void reducedCopies();

private:
    QString write(const QString& name, const QByteArray& bytes);
    QTemporaryDir dir_;
};

void TestPictureHolder::initTestCase()
{
    QVERIFY(dir_.isValid());
}

QString TestPictureHolder::write(const QString& name, const QByteArray& bytes)
{
    const QString path = dir_.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write a test file");
    return path;
}

void TestPictureHolder::loadsFormats_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("tolerance"); // JPEG is lossy

    const QImage picture = quadrants(60, 40);
    QTest::newRow("bmp") << encoded(picture, "bmp") << u"a.bmp"_s << 0;
    QTest::newRow("jpeg") << encoded(picture, "jpeg") << u"a.JPG"_s << 40;
    QTest::newRow("gif") << quadrantGif(60, 40) << u"a.gif"_s << 0;
    QTest::newRow("png") << encoded(picture, "png") << u"a.png"_s << 0;
    QTest::newRow("bmp named jpg") << encoded(picture, "bmp") << u"b.jpg"_s << 0;
    QTest::newRow("tiff") << encoded(picture, "tiff") << u"a.tif"_s << 0;
    QTest::newRow("webp") << encoded(picture, "webp") << u"a.webp"_s << 40;
    QTest::newRow("ppm") << encoded(picture, "ppm") << u"a.ppm"_s << 0;
}

void TestPictureHolder::loadsFormats()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(int, tolerance);
    const auto holder = PictureHolder::load(write(name, bytes));
    QVERIFY(holder);
    QCOMPARE(holder->size(), QSize(60, 40));
    const QImage& image = holder->image();
    const std::array<std::pair<QPoint, QRgb>, 4> probes{{{{5, 5}, 0xffff0000},
                                                         {{55, 5}, 0xff00ff00},
                                                         {{5, 35}, 0xffffff00},
                                                         {{55, 35}, 0xff0000ff}}};
    for (const auto& [point, colour] : probes) {
        const QRgb got = image.pixel(point);
        QVERIFY2(qAbs(qRed(got) - qRed(colour)) <= tolerance &&
                     qAbs(qGreen(got) - qGreen(colour)) <= tolerance &&
                     qAbs(qBlue(got) - qBlue(colour)) <= tolerance,
                 qPrintable(QString::number(got, 16)));
    }
}

void TestPictureHolder::appliesExifOrientation()
{
    // Stored 60 x 40, tagged "rotate 90 degrees clockwise to show".
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
    QVERIFY(writer.write(quadrants(60, 40)));
    const auto holder = PictureHolder::load(write(u"rotated.jpg"_s, bytes));
    QVERIFY(holder);
    QCOMPARE(holder->size(), QSize(40, 60));
    // The stored top-left (red) is now the top-right.
    QVERIFY(qRed(holder->image().pixel(35, 5)) > 200);
    QVERIFY(qGreen(holder->image().pixel(35, 5)) < 60);
}

void TestPictureHolder::loadsFirstFrameOfGif()
{
    const auto holder = PictureHolder::load(write(u"animated.gif"_s, twoFrameGif(20, 10)));
    QVERIFY(holder);
    QCOMPARE(holder->size(), QSize(20, 10));
    QCOMPARE(holder->image().pixel(1, 1), QRgb(0xffff0000));
    QCOMPARE(holder->image().pixel(18, 8), QRgb(0xff0000ff));
}

void TestPictureHolder::refusesBadFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<PictureProblem>("problem");

    using enum PictureProblem;
    const QByteArray bmp = encoded(quadrants(60, 40), "bmp");
    const QByteArray jpeg = encoded(quadrants(60, 40), "jpeg");
    const QByteArray gif = quadrantGif(60, 40);
    QTest::newRow("bmp truncated") << bmp.left(bmp.size() - 100) << u"t.bmp"_s << Damaged;
    QTest::newRow("bmp header only") << bmp.left(54) << u"h.bmp"_s << Damaged;
    QTest::newRow("bmp corrupt") << corrupted(bmp, 2) << u"c.bmp"_s << Damaged;
    QTest::newRow("jpeg truncated") << jpeg.left(jpeg.size() * 2 / 3) << u"t.jpg"_s << Damaged;
    QTest::newRow("jpeg corrupt") << corrupted(jpeg, 3) << u"c.jpg"_s << Damaged;
    QTest::newRow("gif truncated") << gif.left(gif.size() / 2) << u"t.gif"_s << Damaged;
    QTest::newRow("gif header only") << gif.left(13) << u"h.gif"_s << Damaged;
    QTest::newRow("gif corrupt") << corrupted(gif, 6) << u"c.gif"_s << Damaged;
    QTest::newRow("text named jpg")
        << QByteArray("this is not a picture\n") << u"x.jpg"_s << NotAPicture;
    QTest::newRow("icon") << encoded(quadrants(16, 16), "ico") << u"a.ico"_s << NotAPicture;
    QTest::newRow("empty") << QByteArray() << u"empty.jpg"_s << Damaged;
    // The pixels a BMP claims must all be in the file, and these are not.
    QTest::newRow("bmp claims 100000 x 100000")
        << test::bmpClaiming(100000, 100000) << u"big.bmp"_s << Damaged;
    QTest::newRow("bmp claims negative height")
        << test::bmpClaiming(100000, -100000) << u"neg.bmp"_s << Damaged;
    QTest::newRow("jpeg claims 65000 x 65000")
        << jpegClaiming(65000, 65000) << u"big.jpg"_s << TooLarge;
    QTest::newRow("gif claims 65535 x 65535")
        << gifClaiming(65535, 65535) << u"big.gif"_s << TooLarge;
    QTest::newRow("png of 12000 x 8400") << test::blankPng(12000, 8400) << u"big.png"_s << TooLarge;
}

void TestPictureHolder::refusesBadFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(PictureProblem, problem);
    const QString path = write(name, bytes);
    QVERIFY(!PictureHolder::load(path));
    // Each way in says the same reason.
    PictureProblem loaded = PictureProblem::None;
    QVERIFY(!PictureHolder::load(path, &loaded));
    QCOMPARE(loaded, problem);
    PictureProblem forScreen = PictureProblem::None;
    QVERIFY(!PictureHolder::openForScreen(path, QSize(200, 200), &forScreen));
    QCOMPARE(forScreen, problem);
}

void TestPictureHolder::refusesMissingFileAndDirectory()
{
    PictureProblem why = PictureProblem::None;
    QVERIFY(!PictureHolder::load(dir_.filePath(u"missing.bmp"_s), &why));
    QCOMPARE(why, PictureProblem::CannotOpen);
    why = PictureProblem::None;
    QVERIFY(!PictureHolder::load(dir_.path(), &why));
    QCOMPARE(why, PictureProblem::CannotOpen);
    QVERIFY(!PictureHolder::load(QString()));
    // A file larger than any allowed picture needs is not read at all.
    QFile huge(write(u"huge.bmp"_s, encoded(quadrants(8, 8), "bmp")));
    QVERIFY(huge.resize(qint64(600) * 1024 * 1024)); // sparse: costs no disk
    why = PictureProblem::None;
    QVERIFY(!PictureHolder::load(huge.fileName(), &why));
    QCOMPARE(why, PictureProblem::TooLarge);
    // A file that is there but may not be read.
    const QString locked = write(u"locked.png"_s, encoded(quadrants(8, 8), "png"));
    QVERIFY(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    if (QFile(locked).open(QIODevice::ReadOnly))
        QSKIP("running with the rights to read any file");
    why = PictureProblem::None;
    QVERIFY(!PictureHolder::load(locked, &why));
    QCOMPARE(why, PictureProblem::CannotOpen);
}

void TestPictureHolder::loadsJpegWithoutEndMarker()
{
    const QByteArray jpeg = encoded(quadrants(60, 40), "jpeg");
    QVERIFY(jpeg.endsWith("\xFF\xD9"));
    const auto holder = PictureHolder::load(write(u"camera.jpg"_s, jpeg.left(jpeg.size() - 2)));
    QVERIFY(holder);
    QCOMPARE(holder->size(), QSize(60, 40));
    const QColor lowerRight = holder->image().pixelColor(50, 35);
    QVERIFY2(lowerRight.blue() > 200 && lowerRight.red() < 60, qPrintable(lowerRight.name()));
}

void TestPictureHolder::loadsPictureAboveQtsDefaultLimit()
{
    // 40 megapixels decode to 160 MB, over Qt's default ceiling of 128 MB.
    const QImage large(8000, 5000, QImage::Format_RGB32);
    QImage filled = large;
    filled.fill(0xff336699);
    const auto holder = PictureHolder::load(write(u"large.bmp"_s, encoded(filled, "bmp")));
    QVERIFY(holder);
    QCOMPARE(holder->size(), QSize(8000, 5000));
    QCOMPARE(holder->image().pixel(7999, 4999), QRgb(0xff336699));
}

void TestPictureHolder::structureChecks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("complete");

    const QByteArray jpeg = encoded(quadrants(30, 20), "jpeg");
    QTest::newRow("jpeg whole") << jpeg << true;
    QTest::newRow("jpeg with trailing data") << jpeg + QByteArray(100, 'x') << true;
    QTest::newRow("jpeg cut in the scan") << jpeg.left(jpeg.size() - 40) << false;
    QTest::newRow("jpeg cut in a header") << jpeg.left(30) << false;
    // Complete image data without the 2-byte end marker, as many cameras
    // write them; cut a few bytes further, the last scanlines are missing.
    QTest::newRow("jpeg without end marker") << jpeg.left(jpeg.size() - 2) << true;
    QTest::newRow("jpeg without end marker, cut by 3 more") << jpeg.left(jpeg.size() - 5) << false;
    QByteArray progressive;
    {
        QBuffer buffer(&progressive);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setProgressiveScanWrite(true);
        writer.write(quadrants(64, 48));
    }
    QVERIFY(progressive.count("\xFF\xDA") > 1); // several scans
    QTest::newRow("progressive jpeg whole") << progressive << true;
    QTest::newRow("progressive jpeg cut") << progressive.left(progressive.size() * 3 / 4) << false;
    QTest::newRow("progressive jpeg without end marker")
        << progressive.left(progressive.size() - 2) << false;
    const QByteArray gif = quadrantGif(30, 20);
    QTest::newRow("gif whole") << gif << true;
    QTest::newRow("gif with a second frame") << twoFrameGif(30, 20) << true;
    QTest::newRow("gif cut in the second frame")
        << twoFrameGif(30, 20).left(gif.size() + 5) << true; // the first frame is whole
    QTest::newRow("gif without trailer") << gif.left(gif.size() - 1) << true;
    QTest::newRow("gif cut in the data") << gif.left(gif.size() - 3) << false;
    const QByteArray bmp = encoded(quadrants(30, 20), "bmp");
    QTest::newRow("bmp whole") << bmp << true;
    QTest::newRow("bmp one byte short") << bmp.left(bmp.size() - 1) << false;
    QTest::newRow("other format") << QByteArray("P1\n1 1\n0\n") << true;
}

void TestPictureHolder::structureChecks()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, complete);
    QCOMPARE(isCompletePictureFile(bytes), complete);
}

void TestPictureHolder::reducedCopies()
{
    const auto holder = PictureHolder::fromImage(quadrants(400, 200));
    QVERIFY(holder);
    QCOMPARE(holder->reducedCopyCovering(QSize(400, 200)).size(), QSize(400, 200));
    QCOMPARE(holder->reducedCopyCovering(QSize(201, 10)).size(), QSize(400, 200));
    QCOMPARE(holder->reducedCopyCovering(QSize(200, 100)).size(), QSize(200, 100));
    QCOMPARE(holder->reducedCopyCovering(QSize(60, 60)).size(), QSize(200, 100));
    QCOMPARE(holder->reducedCopyCovering(QSize(1, 1)).size(), QSize(100, 50));
    QCOMPARE(holder->reducedCopyCovering(QSize(500, 1)).size(), QSize(400, 200));
    QVERIFY(!PictureHolder::fromImage(QImage()));
}

QTEST_GUILESS_MAIN(TestPictureHolder)
#include "tst_pictureholder.moc"
