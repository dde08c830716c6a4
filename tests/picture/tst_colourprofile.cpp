#include "picture/ColourProfile.h"

#include "ColourCheck.h"

#include <QSet>
#include <QTest>

#include <cmath>

using namespace zorvane;
using namespace Qt::StringLiterals;

namespace {

double srgbToLinear(double v)
{
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

// A grey ramp in sRGB and the same ramp as a camera writing grey of
// gamma 1.8 stores it (relative colorimetric keeps the luminance).
QImage greyRamp()
{
    QImage ramp(256, 4, QImage::Format_Grayscale8);
    for (int y = 0; y < ramp.height(); ++y) {
        for (int x = 0; x < 256; ++x)
            ramp.scanLine(y)[x] = uchar(x);
    }
    return ramp;
}

QImage greyRampInGamma18()
{
    QImage ramp = greyRamp();
    for (int y = 0; y < ramp.height(); ++y) {
        for (int x = 0; x < 256; ++x)
            ramp.scanLine(y)[x] =
                uchar(std::lround(255 * std::pow(srgbToLinear(x / 255.0), 1 / 1.8)));
    }
    return ramp;
}

QByteArray deviceLink()
{
    const QByteArray adobe = test::profiles::adobeRgb();
    cmsHPROFILE from = cmsOpenProfileFromMem(adobe.constData(), cmsUInt32Number(adobe.size()));
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM transform =
        cmsCreateTransform(from, TYPE_RGB_8, srgb, TYPE_RGB_8, INTENT_RELATIVE_COLORIMETRIC, 0);
    cmsHPROFILE link = cmsTransform2DeviceLink(transform, 4.3, 0);
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(link, nullptr, &size);
    QByteArray bytes(qsizetype(size), '\0');
    cmsSaveProfileToMem(link, bytes.data(), &size);
    cmsCloseProfile(link);
    cmsDeleteTransform(transform);
    cmsCloseProfile(srgb);
    cmsCloseProfile(from);
    return bytes;
}

QImage noisyChart()
{
    QImage chart = test::patchChart(8);
    for (int y = 0; y < chart.height(); ++y) {
        for (int x = 0; x < chart.width(); ++x)
            chart.setPixel(x, y, chart.pixel(x, y) ^ qRgb(x % 3, y % 5, (x * y) % 7));
    }
    return chart;
}

} // namespace

class TestColourProfile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void convertsIntoSrgb_data();
    void convertsIntoSrgb();
    void sixteenBitSourcesKeepTheirSteps();
    void srgbAndUntaggedStayBitForBit_data();
    void srgbAndUntaggedStayBitForBit();
    void unusableProfilesAreIgnored_data();
    void unusableProfilesAreIgnored();
    void cmykRowsConvertThroughTheProfile_data();
    void cmykRowsConvertThroughTheProfile();
    void builtProfilesCarryTheirCurve();
};

void TestColourProfile::convertsIntoSrgb_data()
{
    QTest::addColumn<QByteArray>("profile");
    QTest::addColumn<QImage>("stored");    // what the file's pixels hold
    QTest::addColumn<QImage>("reference"); // what they show, in sRGB

    const QImage chart = test::patchChart();
    const auto row = [&](const char* name, const QByteArray& profile, QImage::Format format) {
        QTest::newRow(name) << profile
                            << test::srgbIntoProfile(chart, profile).convertToFormat(format)
                            << chart;
    };
    row("Adobe RGB", test::profiles::adobeRgb(), QImage::Format_RGB32);
    row("ProPhoto RGB", test::profiles::proPhoto(), QImage::Format_RGB32);
    row("Display P3", test::profiles::displayP3(), QImage::Format_RGB32);
    row("swapped red and green", test::profiles::swappedRedAndGreen(), QImage::Format_RGB32);
    row("Adobe RGB with alpha", test::profiles::adobeRgb(), QImage::Format_ARGB32);
    row("Adobe RGB premultiplied", test::profiles::adobeRgb(), QImage::Format_ARGB32_Premultiplied);
    row("Adobe RGB in 24 bits", test::profiles::adobeRgb(), QImage::Format_RGB888);
    row("Adobe RGB in 16 bits a channel", test::profiles::adobeRgb(), QImage::Format_RGBX64);
    row("ProPhoto RGB in a palette", test::profiles::proPhoto(), QImage::Format_Indexed8);
    QTest::newRow("grey of gamma 1.8")
        << test::profiles::greyGamma18() << greyRampInGamma18() << greyRamp();
    QTest::newRow("grey of gamma 1.8 in 16 bits")
        << test::profiles::greyGamma18()
        << greyRampInGamma18().convertToFormat(QImage::Format_Grayscale16) << greyRamp();
}

void TestColourProfile::convertsIntoSrgb()
{
    QFETCH(QByteArray, profile);
    QFETCH(QImage, stored);
    QFETCH(QImage, reference);
    QImage image = stored;
    QCOMPARE(convertToSrgb(image, profile), ProfileUse::Converted);
    const bool grey = reference.format() == QImage::Format_Grayscale8;
    if (grey)
        QVERIFY(image.isGrayscale());
    const test::DeltaE d = test::deltaE(reference.convertToFormat(QImage::Format_RGB32),
                                        image.convertToFormat(QImage::Format_RGB32));
    QVERIFY2(d.mean <= 1.0 && d.max <= 3.0, qPrintable(d.describe()));
    // The stored numbers shown as sRGB fail the same bounds; otherwise the
    // row proves nothing.
    const test::DeltaE unconverted = test::deltaE(reference.convertToFormat(QImage::Format_RGB32),
                                                  stored.convertToFormat(QImage::Format_RGB32));
    QVERIFY2(unconverted.mean > 1.0 || unconverted.max > 3.0, qPrintable(unconverted.describe()));
}

void TestColourProfile::sixteenBitSourcesKeepTheirSteps()
{
    QImage ramp(4096, 1, QImage::Format_RGBX64);
    QRgba64* pixels = reinterpret_cast<QRgba64*>(ramp.scanLine(0));
    for (int x = 0; x < ramp.width(); ++x)
        pixels[x] = QRgba64::fromRgba64(quint16(x * 16), quint16(x * 16), quint16(x * 16), 65535);
    QCOMPARE(convertToSrgb(ramp, test::profiles::adobeRgb()), ProfileUse::Converted);
    QCOMPARE(ramp.format(), QImage::Format_RGBX64);
    QSet<quint16> greens;
    for (int x = 0; x < ramp.width(); ++x)
        greens.insert(reinterpret_cast<const QRgba64*>(ramp.constScanLine(0))[x].green());
    // Cut to 8 bits first, no more than 256 steps would be left.
    QVERIFY2(greens.size() > 2000, qPrintable(QString::number(greens.size())));
}

void TestColourProfile::srgbAndUntaggedStayBitForBit_data()
{
    QTest::addColumn<QByteArray>("profile");
    QTest::addColumn<QImage>("image");

    const QImage chart = noisyChart();
    QTest::newRow("no profile") << QByteArray() << chart;
    QTest::newRow("colord's sRGB") << test::profiles::srgb() << chart;
    QTest::newRow("sRGB built from its description") << rgbProfileFor(ToneCurve::srgb()) << chart;
    QTest::newRow("sRGB on 16 bits a channel")
        << test::profiles::srgb() << chart.convertToFormat(QImage::Format_RGBA64);
}

void TestColourProfile::srgbAndUntaggedStayBitForBit()
{
    QFETCH(QByteArray, profile);
    QFETCH(QImage, image);
    QImage converted = image;
    QCOMPARE(convertToSrgb(converted, profile), ProfileUse::Untagged);
    QCOMPARE(converted.format(), image.format());
    QVERIFY(converted == image);
}

void TestColourProfile::unusableProfilesAreIgnored_data()
{
    QTest::addColumn<QByteArray>("profile");
    QTest::addColumn<QImage>("image");

    const QImage chart = noisyChart();
    const QByteArray adobe = test::profiles::adobeRgb();
    QTest::newRow("cut in half") << adobe.left(adobe.size() / 2) << chart;
    QByteArray claimsGigabytes = adobe.left(200);
    claimsGigabytes[0] = char(0x7f);
    QTest::newRow("claims 2 GB in 200 bytes") << claimsGigabytes << chart;
    QByteArray manyTags = adobe.left(200);
    manyTags[128] = char(0x7f); // tag count
    QTest::newRow("claims millions of tags") << manyTags << chart;
    QTest::newRow("a device link") << deviceLink() << chart;
    QTest::newRow("CMYK profile on RGB") << test::profiles::swopCmyk() << chart;
    QTest::newRow("grey profile on RGB") << test::profiles::greyGamma18() << chart;
    QTest::newRow("RGB profile on grey") << adobe << greyRamp();
    QTest::newRow("noise") << QByteArray(600, '\x5a') << chart;
}

void TestColourProfile::unusableProfilesAreIgnored()
{
    QFETCH(QByteArray, profile);
    QFETCH(QImage, image);
    QImage converted = image;
    QCOMPARE(convertToSrgb(converted, profile), ProfileUse::Ignored);
    QVERIFY(converted == image);
}

void TestColourProfile::cmykRowsConvertThroughTheProfile_data()
{
    QTest::addColumn<bool>("inverted");
    QTest::newRow("Adobe's inverted samples") << true;
    QTest::newRow("plain samples") << false;
}

void TestColourProfile::cmykRowsConvertThroughTheProfile()
{
    QFETCH(bool, inverted);
    const QImage chart = test::patchChart();
    QByteArray cmyk = test::srgbIntoCmyk(chart, test::profiles::swopCmyk());
    if (!inverted) {
        for (char& sample : cmyk)
            sample = char(255 - uchar(sample));
    }
    const CmykRowConverter converter(test::profiles::swopCmyk(), inverted);
    QVERIFY(converter.valid());
    QImage out(chart.size(), QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y)
        converter.convert(reinterpret_cast<const uchar*>(cmyk.constData()) + y * out.width() * 4,
                          reinterpret_cast<QRgb*>(out.scanLine(y)), out.width());
    const test::DeltaE d = test::deltaE(chart, out);
    QVERIFY2(d.max <= 4.0, qPrintable(d.describe()));
    QCOMPARE(qAlpha(out.pixel(0, 0)), 255);
    QVERIFY(!CmykRowConverter(test::profiles::adobeRgb(), inverted).valid());
}

// A linear curve: half the light is sRGB 188, not 128 (nor 55, the curve
// taken the wrong way round).
void TestColourProfile::builtProfilesCarryTheirCurve()
{
    QImage image(1, 1, QImage::Format_RGB32);
    image.fill(qRgb(128, 128, 128));
    QCOMPARE(convertToSrgb(image, rgbProfileFor(ToneCurve::linear())), ProfileUse::Converted);
    QVERIFY2(std::abs(qGreen(image.pixel(0, 0)) - 188) <= 1,
             qPrintable(QString::number(qGreen(image.pixel(0, 0)))));
    image.fill(qRgb(128, 128, 128));
    QCOMPARE(convertToSrgb(image, rgbProfileFor(ToneCurve::power(2.2))), ProfileUse::Converted);
    QVERIFY(std::abs(qGreen(image.pixel(0, 0)) - 128) <= 3);
}

QTEST_GUILESS_MAIN(TestColourProfile)
#include "tst_colourprofile.moc"
