#include "picture/PictureFileCheck.h"
#include "picture/PictureHolder.h"

#include "HeifFiles.h"
#include "TestPictures.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QtEndian>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace zorvane;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(zorvane::PictureProblem)

namespace {

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image))
        qFatal("cannot encode a test picture");
    return bytes;
}

QImage smallPicture()
{
    QImage image(16, 12, QImage::Format_RGB32);
    image.fill(0xff3366cc);
    return image;
}

QByteArray be32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

// A small PNG with one more chunk after the header; the chunk claims a
// length of its own, whatever it holds.
QByteArray pngWithChunk(quint32 claimedLength, const QByteArray& type, const QByteArray& data)
{
    QByteArray png = encoded(smallPicture(), "png");
    constexpr qsizetype afterHeader = 8 + 25;
    png.insert(afterHeader, be32(claimedLength) + type + data + be32(0));
    return png;
}

qint64 peakMemoryKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// What reaches file descriptor 2 while the action runs.
QByteArray standardErrorOf(const std::function<void()>& action)
{
    QTemporaryFile caught;
    if (!caught.open())
        qFatal("cannot make a temporary file");
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(caught.handle(), STDERR_FILENO);
    action();
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    caught.seek(0);
    return caught.readAll();
}

} // namespace

// Pictures made to hurt: lengths that claim far more than the file holds,
// sizes whose products overflow, and files the image libraries complain
// about on standard error.
class TestHostilePictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // First, while the process is still small, so its peak memory tells.
    void hugeChunkIsRefusedCheaply();
    void heifClaimingHugeSizeIsRefusedCheaply_data();
    void heifClaimingHugeSizeIsRefusedCheaply();
    void pngChunkWalk_data();
    void pngChunkWalk();
    void bmpSizeProductsDoNotOverflow_data();
    void bmpSizeProductsDoNotOverflow();
    void librariesStayQuiet_data();
    void librariesStayQuiet();
    void iconAndLegacyFormatsAreNotDecoded_data();
    void iconAndLegacyFormatsAreNotDecoded();

private:
    QString write(const QString& name, const QByteArray& bytes);
    QTemporaryDir dir_;
};

QString TestHostilePictures::write(const QString& name, const QByteArray& bytes)
{
    const QString path = dir_.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write a test file");
    return path;
}

void TestHostilePictures::hugeChunkIsRefusedCheaply()
{
    const QByteArray png = pngWithChunk(0x7FFFFFFF, "tEXt", "Comment\0a few bytes");
    QVERIFY(png.size() < 400);
    const QString path = write(u"claims-2gb.png"_s, png);
    const qint64 before = peakMemoryKb();
    QVERIFY(!PictureHolder::load(path));
    QVERIFY2(peakMemoryKb() - before < 32 * 1024,
             qPrintable(u"peak grew by %1 kB"_s.arg(peakMemoryKb() - before)));
}

void TestHostilePictures::heifClaimingHugeSizeIsRefusedCheaply_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<PictureProblem>("problem");

    QTest::newRow("HEIC claiming 20000 x 20000")
        << test::heifClaiming(20000, 20000) << PictureProblem::TooLarge;
    QTest::newRow("HEIC claiming 12000 x 9000 of 8 x 8")
        << test::heifClaiming(12000, 9000) << PictureProblem::TooLarge;
    QTest::newRow("HEIC claiming 2^32-1 square")
        << test::heifClaiming(0xFFFFFFFF, 0xFFFFFFFF) << PictureProblem::TooLarge;
    QTest::newRow("HEIC claiming no pixels") << test::heifClaiming(0, 0) << PictureProblem::Damaged;
}

// A few hundred bytes of HEIF that claim a huge picture are refused from
// their boxes, before the decoder allocates anything for the claim, and
// quietly: the command line reports the refusal in one line of its own.
void TestHostilePictures::heifClaimingHugeSizeIsRefusedCheaply()
{
    QFETCH(QByteArray, bytes);
    QFETCH(PictureProblem, problem);
    QVERIFY(!bytes.isEmpty() && bytes.size() < 1000);
    const QString path = write(u"claim.heic"_s, bytes);
    const qint64 before = peakMemoryKb();
    PictureProblem why = PictureProblem::None;
    const QByteArray noise = standardErrorOf([&] { QVERIFY(!PictureHolder::load(path, &why)); });
    QCOMPARE(why, problem);
    QVERIFY2(noise.isEmpty(), noise.constData());
    QVERIFY2(peakMemoryKb() - before < 32 * 1024,
             qPrintable(u"peak grew by %1 kB"_s.arg(peakMemoryKb() - before)));
}

void TestHostilePictures::pngChunkWalk_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("complete");

    const QByteArray png = encoded(smallPicture(), "png");
    QTest::newRow("whole") << png << true;
    QTest::newRow("with a text chunk") << pngWithChunk(5, "tEXt", QByteArray("a\0bcd", 5)) << true;
    QTest::newRow("data after the end") << png + QByteArray(50, 'x') << true;
    QTest::newRow("text claims 2^31-1") << pngWithChunk(0x7FFFFFFF, "tEXt", "a\0b") << false;
    QTest::newRow("length over 2^31") << pngWithChunk(0xFFFFFFF0, "zTXt", "a\0b") << false;
    QTest::newRow("cut in the data") << png.left(png.size() - 20) << false;
    QTest::newRow("cut in a chunk header") << png.left(8 + 25 + 6) << false;
    QTest::newRow("signature only") << png.left(8) << true;
}

void TestHostilePictures::pngChunkWalk()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, complete);
    QCOMPARE(isCompletePictureFile(bytes), complete);
    if (!complete)
        QVERIFY(!PictureHolder::load(write(u"walk.png"_s, bytes)));
}

void TestHostilePictures::bmpSizeProductsDoNotOverflow_data()
{
    QTest::addColumn<qint32>("width");
    QTest::addColumn<qint32>("height");
    QTest::addColumn<quint16>("bits");

    QTest::newRow("2^31-1 square at 32 bits")
        << qint32(0x7FFFFFFF) << qint32(0x7FFFFFFF) << quint16(32);
    QTest::newRow("2^31-1 square, bottom up")
        << qint32(0x7FFFFFFF) << qint32(-0x7FFFFFFF) << quint16(32);
    QTest::newRow("2^31-1 square at 65535 bits")
        << qint32(0x7FFFFFFF) << qint32(0x7FFFFFFF) << quint16(65535);
    QTest::newRow("most negative height") << qint32(4) << qint32(INT32_MIN) << quint16(32);
}

// The check alone: a wrapped product would pass such a file on as complete
// (and the sanitizer build stops at the overflow itself).
void TestHostilePictures::bmpSizeProductsDoNotOverflow()
{
    QFETCH(qint32, width);
    QFETCH(qint32, height);
    QFETCH(quint16, bits);
    const QByteArray bmp = test::bmpClaiming(width, height, bits);
    QCOMPARE(bmp.size(), 70);
    QVERIFY(!isCompleteBmp(bmp));
    QVERIFY(!PictureHolder::load(write(u"huge.bmp"_s, bmp)));
}

void TestHostilePictures::librariesStayQuiet_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");

    QByteArray badCrc = encoded(smallPicture(), "png");
    const qsizetype imageData = badCrc.indexOf("IDAT") + 6;
    badCrc[imageData] = char(badCrc[imageData] ^ 0x55);
    QTest::newRow("png with a damaged image chunk") << badCrc << u"crc.png"_s;
    QByteArray badHeader = encoded(smallPicture(), "png");
    badHeader[8 + 8] = 0x7F; // width over libpng's limit
    QTest::newRow("png with an absurd width") << badHeader << u"wide.png"_s;
    const QByteArray tiff = encoded(smallPicture(), "tiff");
    QTest::newRow("tiff cut short") << tiff.left(tiff.size() / 2) << u"cut.tif"_s;
    QByteArray unknownTag = tiff;
    const quint32 ifd = qFromLittleEndian<quint32>(unknownTag.constData() + 4);
    qToLittleEndian<quint16>(0xC7FF, unknownTag.data() + ifd + 2); // first entry's tag
    QTest::newRow("tiff with a strange tag") << unknownTag << u"tag.tif"_s;
    // Found by fuzzing: an AV1 decoder that writes to standard error.
    QFile avif(
        QStringLiteral(ZORVANE_TEST_DATA "/fuzz/picture-avif-dav1d-complains-and-leaks.avif"));
    QVERIFY(avif.open(QIODevice::ReadOnly));
    QTest::newRow("avif found by fuzzing") << avif.readAll() << u"found.avif"_s;
}

// libpng and libtiff write their complaints to standard error by default;
// the command line promises one line of its own per refused picture.
void TestHostilePictures::librariesStayQuiet()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    const QString path = write(name, bytes);
    const QByteArray noise = standardErrorOf([&] { PictureHolder::load(path); });
    QVERIFY2(noise.isEmpty(), noise.constData());
}

void TestHostilePictures::iconAndLegacyFormatsAreNotDecoded_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");

    for (const char* format : {"icns", "ico", "tga", "wbmp"}) {
        if (QImageWriter::supportedImageFormats().contains(format))
            QTest::newRow(format) << encoded(smallPicture(), format)
                                  << u"a."_s + QLatin1StringView(format);
    }
    // Found by fuzzing: its icon table makes the decoder read gigabytes.
    QFile found(QStringLiteral(ZORVANE_TEST_DATA "/fuzz/picture-icns-reads-gigabytes.icns"));
    QVERIFY(found.open(QIODevice::ReadOnly));
    QTest::newRow("icns found by fuzzing") << found.readAll() << u"found.icns"_s;
}

void TestHostilePictures::iconAndLegacyFormatsAreNotDecoded()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QVERIFY(!PictureHolder::load(write(name, bytes)));
    QVERIFY(!PictureHolder::readableFormats().contains(QFileInfo(name).suffix().toLatin1()));
}

QTEST_MAIN(TestHostilePictures)
#include "tst_hostilepictures.moc"
