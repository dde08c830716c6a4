#include "ColourProfile.h"

#include "ImageLibraryNoise.h"

#include <QtEndian>

#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace zorvane {
namespace {

// The header (128 bytes) and the tag count.
constexpr qsizetype minProfileBytes = 132;

void logLittleCmsError(cmsContext, cmsUInt32Number code, const char* text)
{
    qCDebug(lcImageLibraries, "Little CMS (%u): %s", unsigned(code), text ? text : "");
}

// Little CMS writes nothing itself, but its default handler is a no-op only
// by chance of the build; ours sends its words where the other image
// libraries' go.
void quietLittleCmsOnce()
{
    static const bool quiet = [] {
        cmsSetLogErrorHandler(logLittleCmsError);
        return true;
    }();
    Q_UNUSED(quiet);
}

using Profile = LcmsProfile;
using Transform = LcmsTransform;

// A file's signatures are any four bytes; they are compared as numbers,
// since holding one in Little CMS's enum types is undefined for a value the
// enum does not name.
bool isUsableClass(cmsUInt32Number kind)
{
    return kind == cmsSigInputClass || kind == cmsSigDisplayClass || kind == cmsSigOutputClass ||
           kind == cmsSigColorSpaceClass;
}

// The profile parsed, or null for one that is cut off, claims more bytes
// than it holds, is too large, or cannot turn its colours into the
// connection space.
Profile openProfile(const QByteArray& bytes, cmsColorSpaceSignature space)
{
    if (bytes.size() < minProfileBytes || bytes.size() > maxIccProfileBytes)
        return {};
    const quint32 declared = qFromBigEndian<quint32>(bytes.constData());
    if (declared < minProfileBytes || declared > quint32(bytes.size()))
        return {};
    quietLittleCmsOnce();
    Profile profile(cmsOpenProfileFromMem(bytes.constData(), declared));
    if (!profile || cmsUInt32Number(cmsGetColorSpace(profile.get())) != space ||
        !isUsableClass(cmsUInt32Number(cmsGetDeviceClass(profile.get()))))
        return {};
    const auto connection = cmsUInt32Number(cmsGetPCS(profile.get()));
    if (connection != cmsSigXYZData && connection != cmsSigLabData)
        return {};
    return profile;
}

// Perceptual where the profile has tables for it (a press or photo profile
// made to map its gamut); a matrix profile has no perceptual rendering of
// its own, so it maps colorimetrically with black-point compensation.
Transform makeTransform(void* from, cmsUInt32Number inFormat, void* to, cmsUInt32Number outFormat,
                        cmsUInt32Number extraFlags = 0)
{
    const bool perceptual = cmsIsCLUT(from, INTENT_PERCEPTUAL, LCMS_USED_AS_INPUT);
    const cmsUInt32Number intent = perceptual ? INTENT_PERCEPTUAL : INTENT_RELATIVE_COLORIMETRIC;
    const cmsUInt32Number flags = (perceptual ? 0 : cmsFLAGS_BLACKPOINTCOMPENSATION) | extraFlags;
    return Transform(cmsCreateTransform(from, inFormat, to, outFormat, intent, flags));
}

Profile srgbProfile()
{
    return Profile(cmsCreate_sRGBProfile());
}

// sRGB's tone curve on grey, so grey pictures stay grey and sRGB-encoded.
Profile srgbGreyProfile()
{
    const ToneCurve srgb = ToneCurve::srgb();
    const cmsFloat64Number parameters[] = {srgb.gamma, srgb.a, srgb.b, srgb.c, srgb.d};
    cmsToneCurve* curve = cmsBuildParametricToneCurve(nullptr, 4, parameters);
    Profile grey(cmsCreateGrayProfile(cmsD50_xyY(), curve));
    cmsFreeToneCurve(curve);
    return grey;
}

// Whether a matrix profile's primaries are plainly not sRGB's (Adobe RGB,
// Display P3, ProPhoto): such a profile needs no probe to say so, which
// saves building a transform while a picture is opened.
bool primariesFarFromSrgb(void* profile)
{
    if (!cmsIsMatrixShaper(profile))
        return false;
    static const std::array<cmsCIEXYZ, 3> srgb = [] {
        const Profile reference = srgbProfile();
        std::array<cmsCIEXYZ, 3> colorants{};
        const cmsTagSignature tags[] = {cmsSigRedColorantTag, cmsSigGreenColorantTag,
                                        cmsSigBlueColorantTag};
        for (size_t i = 0; i < colorants.size(); ++i)
            colorants[i] = *static_cast<const cmsCIEXYZ*>(cmsReadTag(reference.get(), tags[i]));
        return colorants;
    }();
    const cmsTagSignature tags[] = {cmsSigRedColorantTag, cmsSigGreenColorantTag,
                                    cmsSigBlueColorantTag};
    for (size_t i = 0; i < srgb.size(); ++i) {
        const auto* colorant = static_cast<const cmsCIEXYZ*>(cmsReadTag(profile, tags[i]));
        if (!colorant)
            return false;
        constexpr double far = 0.02;
        if (std::abs(colorant->X - srgb[i].X) > far || std::abs(colorant->Y - srgb[i].Y) > far ||
            std::abs(colorant->Z - srgb[i].Z) > far)
            return true;
    }
    return false;
}

// Whether the profile takes every colour of a coarse grid to itself within
// one step: an sRGB profile, whoever wrote it, whose picture is left alone
// so it stays bit for bit as an untagged one.
bool describesSrgb(void* profile, bool grey)
{
    if (!grey && primariesFarFromSrgb(profile))
        return false;
    const Profile target = grey ? srgbGreyProfile() : srgbProfile();
    const Transform probe = makeTransform(profile, grey ? TYPE_GRAY_8 : TYPE_RGB_8, target.get(),
                                          grey ? TYPE_GRAY_8 : TYPE_RGB_8);
    if (!probe)
        return false;
    constexpr std::array<uchar, 7> steps{0, 16, 48, 96, 160, 224, 255};
    std::array<uchar, steps.size() * steps.size() * steps.size() * 3> in{};
    size_t at = 0;
    for (uchar r : steps)
        for (uchar g : steps)
            for (uchar b : steps) {
                in[at++] = r;
                in[at++] = g;
                in[at++] = b;
            }
    std::array<uchar, in.size()> out{};
    const cmsUInt32Number pixels = grey ? in.size() : in.size() / 3;
    cmsDoTransform(probe.get(), in.data(), out.data(), pixels);
    for (size_t i = 0; i < in.size(); ++i) {
        if (std::abs(int(in[i]) - int(out[i])) > 1)
            return false;
    }
    return true;
}

constexpr cmsUInt32Number bgra8 = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TYPE_BGRA_8 : TYPE_ARGB_8;

// The pixel layout Little CMS reads the image in, after the image is brought
// to one it reads; 0 for none.
cmsUInt32Number littleCmsFormat(QImage& image)
{
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        return bgra8;
    case QImage::Format_Grayscale8:
        return TYPE_GRAY_8;
    case QImage::Format_Grayscale16:
        return TYPE_GRAY_16;
    case QImage::Format_RGBX64:
    case QImage::Format_RGBA64:
        return TYPE_RGBA_16;
    case QImage::Format_RGBA64_Premultiplied:
        image.convertTo(QImage::Format_RGBA64);
        return TYPE_RGBA_16;
    case QImage::Format_RGBX16FPx4:
    case QImage::Format_RGBA16FPx4:
    case QImage::Format_RGBA16FPx4_Premultiplied:
    case QImage::Format_RGBX32FPx4:
    case QImage::Format_RGBA32FPx4:
    case QImage::Format_RGBA32FPx4_Premultiplied:
        image.convertTo(image.hasAlphaChannel() ? QImage::Format_RGBA64 : QImage::Format_RGBX64);
        return TYPE_RGBA_16;
    default:
        image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        return bgra8;
    }
}

ProfileUse convertPalette(QImage& image, void* profile)
{
    const Profile srgb = srgbProfile();
    const Transform transform =
        makeTransform(profile, bgra8, srgb.get(), bgra8, cmsFLAGS_COPY_ALPHA);
    if (!transform)
        return ProfileUse::Ignored;
    QList<QRgb> colours = image.colorTable();
    cmsDoTransform(transform.get(), colours.data(), colours.data(),
                   cmsUInt32Number(colours.size()));
    image.setColorTable(colours);
    return ProfileUse::Converted;
}

ProfileUse convertPixels(QImage& image, void* profile, bool grey)
{
    const QImage::Format original = image.format();
    const cmsUInt32Number format = littleCmsFormat(image);
    const Profile target = grey ? srgbGreyProfile() : srgbProfile();
    const Transform transform = makeTransform(profile, format, target.get(), format);
    if (!transform)
        return ProfileUse::Ignored;
    // In place, Little CMS leaves the alpha bytes as they are: no copying
    // them, which would cost the fast 8-bit path.
    uchar* bits = image.bits(); // detaches before the pixels change
    cmsDoTransformLineStride(transform.get(), bits, bits, cmsUInt32Number(image.width()),
                             cmsUInt32Number(image.height()), cmsUInt32Number(image.bytesPerLine()),
                             cmsUInt32Number(image.bytesPerLine()), 0, 0);
    if (original == QImage::Format_ARGB32_Premultiplied ||
        original == QImage::Format_RGBA64_Premultiplied)
        image.convertTo(original);
    return ProfileUse::Converted;
}

bool isGrey(QImage::Format format)
{
    return format == QImage::Format_Grayscale8 || format == QImage::Format_Grayscale16;
}

cmsHTRANSFORM cmykTransform(const QByteArray& iccProfile, bool inverted)
{
    const Profile profile = openProfile(iccProfile, cmsSigCmykData);
    if (!profile)
        return nullptr;
    const Profile srgb = srgbProfile();
    return makeTransform(profile.get(), inverted ? TYPE_CMYK_8_REV : TYPE_CMYK_8, srgb.get(), bgra8)
        .release();
}

cmsHTRANSFORM rgbTransform(const QByteArray& iccProfile, bool sixteenBits)
{
    const Profile profile = openProfile(iccProfile, cmsSigRgbData);
    if (!profile)
        return nullptr;
    const Profile srgb = srgbProfile();
    return makeTransform(profile.get(), sixteenBits ? TYPE_RGB_16_SE : TYPE_RGB_8, srgb.get(),
                         TYPE_RGB_8)
        .release();
}

} // namespace

ProfileUse profileUseFor(QImage::Format format, const QByteArray& iccProfile)
{
    if (iccProfile.isEmpty())
        return ProfileUse::Untagged;
    const bool grey = isGrey(format);
    const Profile profile = openProfile(iccProfile, grey ? cmsSigGrayData : cmsSigRgbData);
    if (!profile)
        return ProfileUse::Ignored;
    return describesSrgb(profile.get(), grey) ? ProfileUse::Untagged : ProfileUse::Converted;
}

ProfileUse cmykProfileUse(const QByteArray& iccProfile)
{
    if (iccProfile.isEmpty())
        return ProfileUse::Untagged;
    return CmykRowConverter(iccProfile, true).valid() ? ProfileUse::Converted : ProfileUse::Ignored;
}

namespace {

ProfileUse convertThrough(QImage& image, cmsHPROFILE profile, bool grey)
{
    // A palette picture's colours are all in its palette.
    if (image.format() == QImage::Format_Indexed8)
        return convertPalette(image, profile);
    return convertPixels(image, profile, grey);
}

} // namespace

ProfileUse convertToSrgb(QImage& image, const QByteArray& iccProfile)
{
    if (iccProfile.isEmpty() || image.isNull())
        return ProfileUse::Untagged;
    const bool grey = isGrey(image.format());
    const Profile profile = openProfile(iccProfile, grey ? cmsSigGrayData : cmsSigRgbData);
    if (!profile)
        return ProfileUse::Ignored;
    if (describesSrgb(profile.get(), grey))
        return ProfileUse::Untagged;
    return convertThrough(image, profile.get(), grey);
}

ProfileUse convertFromProfile(QImage& image, const QByteArray& iccProfile)
{
    if (iccProfile.isEmpty() || image.isNull())
        return ProfileUse::Untagged;
    const bool grey = isGrey(image.format());
    const Profile profile = openProfile(iccProfile, grey ? cmsSigGrayData : cmsSigRgbData);
    if (!profile)
        return ProfileUse::Ignored;
    return convertThrough(image, profile.get(), grey);
}

ToneCurve ToneCurve::power(double gamma)
{
    ToneCurve curve;
    curve.gamma = gamma;
    return curve;
}

ToneCurve ToneCurve::srgb()
{
    return {2.4, 1.0 / 1.055, 0.055 / 1.055, 1.0 / 12.92, 0.04045};
}

ToneCurve ToneCurve::rec709()
{
    return {1.0 / 0.45, 1.0 / 1.099, 0.099 / 1.099, 1.0 / 4.5, 0.081};
}

QByteArray rgbProfileFor(const cmsCIExyY& white, const cmsCIExyYTRIPLE& primaries,
                         const ToneCurve& curve)
{
    quietLittleCmsOnce();
    const cmsFloat64Number parameters[] = {curve.gamma, curve.a, curve.b, curve.c, curve.d};
    cmsToneCurve* tone = cmsBuildParametricToneCurve(nullptr, 4, parameters);
    if (!tone)
        return {};
    cmsToneCurve* curves[3] = {tone, tone, tone};
    const Profile profile(cmsCreateRGBProfile(&white, &primaries, curves));
    cmsFreeToneCurve(tone);
    cmsUInt32Number size = 0;
    if (!profile || !cmsSaveProfileToMem(profile.get(), nullptr, &size) || size == 0)
        return {};
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    if (!cmsSaveProfileToMem(profile.get(), bytes.data(), &size))
        return {};
    return bytes;
}

QByteArray rgbProfileFor(const ToneCurve& curve)
{
    const cmsCIExyY d65{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE srgbPrimaries{{0.64, 0.33, 1.0}, {0.30, 0.60, 1.0}, {0.15, 0.06, 1.0}};
    return rgbProfileFor(d65, srgbPrimaries, curve);
}

CmykRowConverter::CmykRowConverter(const QByteArray& iccProfile, bool inverted)
    : transform_(cmykTransform(iccProfile, inverted))
{}

void CmykRowConverter::convert(const uchar* cmyk, QRgb* out, int pixels) const
{
    // Little CMS writes blue, green and red and leaves the fourth byte, so
    // the row is opaque before it is filled.
    std::fill(out, out + pixels, 0xff000000u);
    cmsDoTransform(transform_.get(), cmyk, out, cmsUInt32Number(pixels));
}

RgbRowConverter::RgbRowConverter(const QByteArray& iccProfile, bool sixteenBits)
    : transform_(rgbTransform(iccProfile, sixteenBits))
{}

void RgbRowConverter::convert(const uchar* rgb, uchar* out, int pixels) const
{
    cmsDoTransform(transform_.get(), rgb, out, cmsUInt32Number(pixels));
}

} // namespace zorvane
