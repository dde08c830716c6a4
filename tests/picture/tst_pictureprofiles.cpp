#include "picture/PictureHolder.h"

#include "ColourCheck.h"
#include "ProfiledFiles.h"

#include <QColorSpace>
#include <QTest>
#include <QtEndian>

#include <cmath>

#include <sys/resource.h>

using namespace zorvane;
using namespace Qt::StringLiterals;

namespace {

const QList<double> adobeChromaticity{0.3127, 0.3290, 0.64, 0.33, 0.21, 0.71, 0.15, 0.06};

QImage chart()
{
    return test::patchChart(32);
}

QImage inProfile(const QByteArray& profile)
{
    return test::srgbIntoProfile(chart(), profile);
}

// The chart stored as a camera of linear sRGB writes it.
QImage linearChart()
{
    QImage image = chart();
    for (int y = 0; y < image.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const auto linear = [](int v) {
                const double s = v / 255.0;
                const double l = s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
                return int(std::lround(l * 255));
            };
            row[x] = qRgb(linear(qRed(row[x])), linear(qGreen(row[x])), linear(qBlue(row[x])));
        }
    }
    return image;
}

QImage greyChart()
{
    return chart().convertToFormat(QImage::Format_Grayscale8);
}

// The pixels alone: Qt's reader tags some images with the colour space it
// read, which is no pixel's business.
bool samePixels(QImage a, QImage b)
{
    a.setColorSpace(QColorSpace());
    b.setColorSpace(QColorSpace());
    return a == b;
}

qint64 peakMemoryKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

// Every file format's way of carrying a colour profile, read into sRGB at
// full size and at the screen's reduced size; and pictures whose profile
// says sRGB, or is unusable, left exactly as they decode without one.
class TestPictureProfiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void convertedIntoSrgb_data();
    void convertedIntoSrgb();
    void srgbPicturesStayBitForBit_data();
    void srgbPicturesStayBitForBit();
    void unusableProfilesAreIgnored_data();
    void unusableProfilesAreIgnored();
};

void TestPictureProfiles::convertedIntoSrgb_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QImage>("reference");
    QTest::addColumn<double>("maxDeltaE");

    using namespace test;
    const QByteArray adobe = profiles::adobeRgb();
    const QByteArray proPhoto = profiles::proPhoto();
    const QByteArray p3 = profiles::displayP3();
    const QByteArray swapped = profiles::swappedRedAndGreen();
    QTest::newRow("JPEG Adobe RGB") << jpegWithProfile(inProfile(adobe), adobe) << chart() << 3.0;
    QTest::newRow("JPEG ProPhoto RGB")
        << jpegWithProfile(inProfile(proPhoto), proPhoto) << chart() << 3.0;
    QTest::newRow("JPEG Display P3") << jpegWithProfile(inProfile(p3), p3) << chart() << 3.0;
    QTest::newRow("JPEG swapped red and green")
        << jpegWithProfile(inProfile(swapped), swapped) << chart() << 3.0;
    const QByteArray padded = paddedProfile(adobe, 200'000);
    QTest::newRow("JPEG profile over four markers")
        << jpegWithProfile(inProfile(padded), padded) << chart() << 3.0;
    QImage greyStored = greyChart();
    // sRGB grey into gamma 1.8: the grey profile's own test does the sums.
    for (int y = 0; y < greyStored.height(); ++y) {
        uchar* row = greyStored.scanLine(y);
        for (int x = 0; x < greyStored.width(); ++x) {
            const double s = row[x] / 255.0;
            const double l = s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
            row[x] = uchar(std::lround(255 * std::pow(l, 1 / 1.8)));
        }
    }
    QTest::newRow("grey JPEG, grey profile")
        << jpegWithProfile(greyStored, profiles::greyGamma18()) << greyChart() << 3.0;
    const QByteArray swop = profiles::swopCmyk();
    const QByteArray cmyk = srgbIntoCmyk(chart(), swop);
    QTest::newRow("CMYK JPEG SWOP")
        << cmykJpegWithProfile(chart().width(), chart().height(), cmyk, swop)
        << cmykIntoSrgb(cmyk, chart().width(), chart().height(), swop) << 4.0;
    QTest::newRow("PNG iCCP ProPhoto RGB")
        << pngWithChunks(inProfile(proPhoto), {iccpChunk(proPhoto)}) << chart() << 3.0;
    QTest::newRow("PNG iCCP ProPhoto RGB, 16 bits")
        << pngWithChunks(inProfile(proPhoto).convertToFormat(QImage::Format_RGBX64),
                         {iccpChunk(proPhoto)})
        << chart() << 3.0;
    QTest::newRow("PNG gAMA 1.0") << pngWithChunks(linearChart(), {gamaChunk(1.0)}) << chart()
                                  << 3.0;
    QTest::newRow("PNG gAMA and cHRM of Adobe RGB")
        << pngWithChunks(inProfile(adobe),
                         {gamaChunk(1 / 2.19921875), chrmChunk(adobeChromaticity)})
        << chart() << 3.0;
    QTest::newRow("TIFF Adobe RGB") << tiffWithProfile(inProfile(adobe), adobe) << chart() << 3.0;
    QTest::newRow("WebP Display P3") << webpWithProfile(inProfile(p3), p3) << chart() << 3.0;
}

void TestPictureProfiles::convertedIntoSrgb()
{
    QFETCH(QByteArray, file);
    QFETCH(QImage, reference);
    QFETCH(double, maxDeltaE);
    const auto full = PictureHolder::fromFileBytes(file);
    QVERIFY(full);
    QCOMPARE(full->profileUse(), ProfileUse::Converted);
    const test::DeltaE atFull = test::patchDeltaE(reference, full->image());
    QVERIFY2(atFull.mean <= 1.0 && atFull.max <= maxDeltaE, qPrintable(atFull.describe()));
    const auto opened = PictureHolder::openBytes(file);
    const QImage reduced = opened->decodeCovering(reference.size() / 4);
    QVERIFY(reduced.width() < reference.width() || !opened->decodesReducedCheaply());
    const test::DeltaE atScreen = test::patchDeltaE(reference, reduced);
    QVERIFY2(atScreen.mean <= 1.0 && atScreen.max <= maxDeltaE, qPrintable(atScreen.describe()));
    // Read without its profile the file fails the bounds: the row tells.
    const test::DeltaE naive = test::patchDeltaE(reference, QImage::fromData(file));
    QVERIFY2(naive.mean > 1.0 || naive.max > maxDeltaE, qPrintable(naive.describe()));
}

void TestPictureProfiles::srgbPicturesStayBitForBit_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("untagged");

    using namespace test;
    const QImage image = chart();
    const QByteArray srgb = profiles::srgb();
    QTest::newRow("JPEG with sRGB's profile")
        << jpegWithProfile(image, srgb) << jpegWithProfile(image, {});
    QTest::newRow("PNG with an sRGB chunk")
        << pngWithChunks(image, {{"sRGB", QByteArray(1, '\0')}}) << pngWithChunks(image, {});
    QTest::newRow("PNG with gAMA 1/2.2")
        << pngWithChunks(image, {gamaChunk(1 / 2.2)}) << pngWithChunks(image, {});
    QTest::newRow("PNG with iCCP sRGB")
        << pngWithChunks(image, {iccpChunk(srgb)}) << pngWithChunks(image, {});
    QTest::newRow("TIFF with sRGB's profile")
        << tiffWithProfile(image, srgb) << tiffWithProfile(image, {});
    QTest::newRow("WebP with sRGB's profile") << webpWithProfile(image, srgb) << QByteArray();
    // Decoded as before, by Qt's reader, without colour management.
    QTest::newRow("CMYK JPEG without a profile")
        << cmykJpegWithProfile(image.width(), image.height(),
                               srgbIntoCmyk(image, profiles::swopCmyk()), {})
        << QByteArray();
}

void TestPictureProfiles::srgbPicturesStayBitForBit()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, untagged);
    const auto picture = PictureHolder::fromFileBytes(file);
    QVERIFY(picture);
    QCOMPARE(picture->profileUse(), ProfileUse::Untagged);
    const QImage plain = QImage::fromData(untagged.isEmpty() ? file : untagged)
                             .convertToFormat(picture->image().format());
    QCOMPARE(picture->image().size(), plain.size());
    QVERIFY(samePixels(picture->image(), plain));
}

void TestPictureProfiles::unusableProfilesAreIgnored_data()
{
    QTest::addColumn<QByteArray>("file");

    using namespace test;
    const QImage image = chart();
    const QByteArray adobe = profiles::adobeRgb();
    QTest::newRow("JPEG, profile cut short") << jpegWithProfile(image, adobe.left(3000));
    QByteArray claims = adobe.left(300);
    qToBigEndian<quint32>(0xFFFFFFF0u, claims.data());
    QTest::newRow("JPEG, profile claims 4 GB in 300 bytes") << jpegWithProfile(image, claims);
    // Signatures are four bytes of the file, any four: ones no enum names.
    for (const auto& [name, at] :
         {std::pair{"class", 12}, {"colour space", 16}, {"connection", 20}}) {
        QByteArray unnamed = adobe;
        qToBigEndian<quint32>(0xFFFFFFFFu, unnamed.data() + at);
        QTest::newRow(qPrintable(u"JPEG, profile of no known %1"_s.arg(QLatin1String(name))))
            << jpegWithProfile(image, unnamed);
    }
    QTest::newRow("JPEG, CMYK profile on RGB") << jpegWithProfile(image, profiles::swopCmyk());
    QTest::newRow("CMYK JPEG, RGB profile") << cmykJpegWithProfile(
        image.width(), image.height(), srgbIntoCmyk(image, profiles::swopCmyk()), adobe);
    // 64 MB of zeros deflate to a few tens of kilobytes.
    QTest::newRow("PNG, profile inflates to 64 MB")
        << pngWithChunks(image, {iccpChunk(QByteArray(64 * 1024 * 1024, '\0'))});
    QTest::newRow("TIFF, profile claims more than the file") << [&] {
        QByteArray tiff = tiffWithProfile(image, adobe);
        const qsizetype at = tiff.indexOf(QByteArray("\x73\x87\x07\x00", 4));
        qToLittleEndian<quint32>(0x7FFFFFF0u, tiff.data() + at + 4);
        return tiff;
    }();
}

void TestPictureProfiles::unusableProfilesAreIgnored()
{
    QFETCH(QByteArray, file);
    const qint64 before = peakMemoryKb();
    const auto picture = PictureHolder::fromFileBytes(file);
    QVERIFY(picture);
    QVERIFY(peakMemoryKb() - before < 48 * 1024);
    QCOMPARE(picture->profileUse(), ProfileUse::Ignored);
    const QImage plain = QImage::fromData(file).convertToFormat(picture->image().format());
    QVERIFY(samePixels(picture->image(), plain));
}

QTEST_GUILESS_MAIN(TestPictureProfiles)
#include "tst_pictureprofiles.moc"
