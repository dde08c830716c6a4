#include "ColourCheck.h"

#include "picture/ColourProfile.h"

#include <QFile>

#include <lcms2.h>

#include <algorithm>
#include <memory>

namespace zorvane::test {
namespace {

using Profile = LcmsProfile;
using Transform = LcmsTransform;

Profile opened(const QByteArray& bytes)
{
    Profile profile(cmsOpenProfileFromMem(bytes.constData(), cmsUInt32Number(bytes.size())));
    if (!profile)
        qFatal("a test profile does not open");
    return profile;
}

Transform fromSrgb(const QByteArray& profile, cmsUInt32Number outFormat,
                   cmsUInt32Number intent = INTENT_RELATIVE_COLORIMETRIC)
{
    const Profile srgb(cmsCreate_sRGBProfile());
    const Profile target = opened(profile);
    Transform transform(cmsCreateTransform(srgb.get(), TYPE_BGRA_8, target.get(), outFormat, intent,
                                           cmsFLAGS_BLACKPOINTCOMPENSATION));
    if (!transform)
        qFatal("no transform into a test profile");
    return transform;
}

QByteArray built(cmsHPROFILE profile)
{
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    QByteArray bytes(qsizetype(size), '\0');
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    return bytes;
}

cmsCIELab labOf(QRgb colour, cmsHTRANSFORM toLab)
{
    const uchar rgb[3] = {uchar(qRed(colour)), uchar(qGreen(colour)), uchar(qBlue(colour))};
    cmsCIELab lab{};
    cmsDoTransform(toLab, rgb, &lab, 1);
    return lab;
}

struct LabTransform
{
    Profile srgb{cmsCreate_sRGBProfile()};
    Profile lab{cmsCreateLab4Profile(nullptr)};
    Transform transform{cmsCreateTransform(srgb.get(), TYPE_RGB_8, lab.get(), TYPE_Lab_DBL,
                                           INTENT_RELATIVE_COLORIMETRIC, 0)};
};

double difference(QRgb a, QRgb b)
{
    static const LabTransform lab;
    const cmsCIELab first = labOf(a, lab.transform.get());
    const cmsCIELab second = labOf(b, lab.transform.get());
    return cmsCIE2000DeltaE(&first, &second, 1, 1, 1);
}

} // namespace

namespace profiles {

QByteArray file(const QString& path)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        qFatal("missing test profile %s", qPrintable(path));
    return in.readAll();
}

QByteArray srgb()
{
    return file(QStringLiteral("/usr/share/color/icc/colord/sRGB.icc"));
}
QByteArray adobeRgb()
{
    return file(QStringLiteral("/usr/share/color/icc/colord/AdobeRGB1998.icc"));
}
QByteArray proPhoto()
{
    return file(QStringLiteral("/usr/share/color/icc/colord/ProPhotoRGB.icc"));
}
QByteArray swappedRedAndGreen()
{
    return file(QStringLiteral("/usr/share/color/icc/colord/SwappedRedAndGreen.icc"));
}
QByteArray swopCmyk()
{
    return file(QStringLiteral("/usr/share/color/icc/ghostscript/default_cmyk.icc"));
}

QByteArray displayP3()
{
    const cmsCIExyY d65{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE p3{{0.680, 0.320, 1.0}, {0.265, 0.690, 1.0}, {0.150, 0.060, 1.0}};
    return rgbProfileFor(d65, p3, ToneCurve::srgb());
}

QByteArray greyGamma18()
{
    cmsToneCurve* curve = cmsBuildGamma(nullptr, 1.8);
    const QByteArray bytes = built(cmsCreateGrayProfile(cmsD50_xyY(), curve));
    cmsFreeToneCurve(curve);
    return bytes;
}

} // namespace profiles

const QList<QRgb>& checkerPatches()
{
    static const QList<QRgb> patches{
        qRgb(115, 82, 68),   qRgb(194, 150, 130), qRgb(98, 122, 157),  qRgb(87, 108, 67),
        qRgb(133, 128, 177), qRgb(103, 189, 170), qRgb(214, 126, 44),  qRgb(80, 91, 166),
        qRgb(193, 90, 99),   qRgb(94, 60, 108),   qRgb(157, 188, 64),  qRgb(224, 163, 46),
        qRgb(56, 61, 150),   qRgb(70, 148, 73),   qRgb(175, 54, 60),   qRgb(231, 199, 31),
        qRgb(187, 86, 149),  qRgb(8, 133, 161),   qRgb(243, 243, 242), qRgb(200, 200, 200),
        qRgb(160, 160, 160), qRgb(122, 122, 121), qRgb(85, 85, 85),    qRgb(52, 52, 52)};
    return patches;
}

QImage patchChart(int side)
{
    QImage chart(6 * side, 4 * side, QImage::Format_RGB32);
    for (int y = 0; y < chart.height(); ++y) {
        for (int x = 0; x < chart.width(); ++x)
            chart.setPixel(x, y, checkerPatches().at((y / side) * 6 + x / side));
    }
    return chart;
}

QImage srgbIntoProfile(const QImage& srgb, const QByteArray& profile)
{
    QImage out = srgb.convertToFormat(QImage::Format_RGB32);
    const Transform transform = fromSrgb(profile, TYPE_BGRA_8);
    for (int y = 0; y < out.height(); ++y)
        cmsDoTransform(transform.get(), out.scanLine(y), out.scanLine(y), out.width());
    return out;
}

QByteArray srgbIntoCmyk(const QImage& srgb, const QByteArray& profile)
{
    const QImage in = srgb.convertToFormat(QImage::Format_RGB32);
    QByteArray cmyk(qsizetype(in.width()) * in.height() * 4, '\0');
    const Transform transform = fromSrgb(profile, TYPE_CMYK_8_REV, INTENT_PERCEPTUAL);
    for (int y = 0; y < in.height(); ++y)
        cmsDoTransform(transform.get(), in.constScanLine(y),
                       cmyk.data() + qsizetype(y) * in.width() * 4, in.width());
    return cmyk;
}

QImage cmykIntoSrgb(const QByteArray& cmyk, int width, int height, const QByteArray& profile)
{
    const Profile from = opened(profile);
    const Profile srgb(cmsCreate_sRGBProfile());
    const Transform transform(cmsCreateTransform(from.get(), TYPE_CMYK_8_REV, srgb.get(),
                                                 TYPE_BGRA_8, INTENT_PERCEPTUAL, 0));
    QImage out(width, height, QImage::Format_RGB32);
    out.fill(0xff000000u);
    for (int y = 0; y < height; ++y)
        cmsDoTransform(transform.get(), cmyk.constData() + qsizetype(y) * width * 4,
                       out.scanLine(y), cmsUInt32Number(width));
    return out;
}

QString DeltaE::describe() const
{
    return QStringLiteral("mean ΔE %1, max %2").arg(mean, 0, 'f', 2).arg(max, 0, 'f', 2);
}

DeltaE deltaE(const QImage& reference, const QImage& actual)
{
    if (reference.size() != actual.size())
        return {1000, 1000};
    DeltaE result;
    for (int y = 0; y < reference.height(); ++y) {
        for (int x = 0; x < reference.width(); ++x) {
            const double d = difference(reference.pixel(x, y), actual.pixel(x, y));
            result.mean += d;
            result.max = std::max(result.max, d);
        }
    }
    result.mean /= double(reference.width()) * reference.height();
    return result;
}

DeltaE patchDeltaE(const QImage& reference, const QImage& actual, int columns, int rows)
{
    DeltaE result;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const auto centre = [&](const QImage& image) {
                return image.pixel((2 * column + 1) * image.width() / (2 * columns),
                                   (2 * row + 1) * image.height() / (2 * rows));
            };
            const double d = difference(centre(reference), centre(actual));
            result.mean += d;
            result.max = std::max(result.max, d);
        }
    }
    result.mean /= double(columns) * rows;
    return result;
}

} // namespace zorvane::test
