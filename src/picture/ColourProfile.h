#pragma once

#include <QByteArray>
#include <QImage>

#include <lcms2.h>

#include <memory>

namespace zorvane {

// Owners of Little CMS's profiles and transforms, closed when they go.
struct LcmsProfileClose
{
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};
using LcmsProfile = std::unique_ptr<void, LcmsProfileClose>;
struct LcmsTransformDelete
{
    void operator()(void* transform) const { cmsDeleteTransform(transform); }
};
using LcmsTransform = std::unique_ptr<void, LcmsTransformDelete>;

// Real profiles, press profiles with large tables included, stay well below
// this; a larger one is taken as hostile rather than read or parsed.
constexpr qsizetype maxIccProfileBytes = 16 * 1024 * 1024;

// What became of a picture's embedded colour profile.
enum class ProfileUse
{
    Untagged,  // no profile, or one that describes sRGB: the pixels are left as they are
    Converted, // the pixels were converted from the profile to sRGB
    Ignored,   // the profile was unusable, the picture is taken as sRGB
};

// Converts the image's pixels in place from the given ICC profile to sRGB.
// Takes 8-bit RGB32/ARGB32 (other 8-bit colour formats are converted to one
// of them first, a palette picture has its palette converted), Grayscale8/16
// and RGBA64/RGBX64 for 16-bit sources, which are converted before anything
// cuts them to 8 bits. Qt 6.4 has no CMYK image format: CMYK samples are
// converted row by row with CmykRowConverter below. An empty profile or an
// sRGB profile leaves the image untouched and returns Untagged; a profile
// that is damaged, too large, of the wrong class or of another colour space
// than the image leaves it untouched and returns Ignored.
ProfileUse convertToSrgb(QImage& image, const QByteArray& iccProfile);
// The same without first asking whether the profile is sRGB's, for a
// profile that profileUseFor already found usable and not sRGB.
ProfileUse convertFromProfile(QImage& image, const QByteArray& iccProfile);
// What convertToSrgb would do with pixels of the given format, without
// converting any: whether the profile is absent or sRGB, usable, or not.
ProfileUse profileUseFor(QImage::Format format, const QByteArray& iccProfile);
// The same for a CMYK picture.
ProfileUse cmykProfileUse(const QByteArray& iccProfile);

// A transfer curve as ICC parametric curve type 4: Y = (aX + b)^gamma for
// X >= d, else cX. The named ones cover what PNG gAMA and HEIF nclx say.
struct ToneCurve
{
    double gamma = 1.0;
    double a = 1.0;
    double b = 0.0;
    double c = 0.0;
    double d = 0.0;

    // Y = X^gamma; a PNG's gAMA value g gives power(1 / g).
    static ToneCurve power(double gamma);
    static ToneCurve linear() { return power(1.0); }
    static ToneCurve srgb();
    // ITU-R BT.709, BT.601 and BT.2020 share this curve.
    static ToneCurve rec709();
};

// An ICC profile (bytes) for RGB primaries and a transfer curve, for
// pictures that describe their colour that way (PNG cHRM/gAMA, HEIF nclx);
// empty when Little CMS refuses the description (primaries on one line).
QByteArray rgbProfileFor(const cmsCIExyY& white, const cmsCIExyYTRIPLE& primaries,
                         const ToneCurve& curve);
// The same for sRGB's own primaries and white (a PNG with gAMA alone).
QByteArray rgbProfileFor(const ToneCurve& curve);

// Converts rows of 8-bit CMYK samples (C, M, Y, K, 255 = full ink, or
// inverted as Adobe's programs write them) through a CMYK profile into
// RGB32 rows. Made once per picture; valid() is false for a profile that is
// not a usable CMYK input profile.
class CmykRowConverter
{
public:
    CmykRowConverter(const QByteArray& iccProfile, bool inverted);
    bool valid() const { return transform_ != nullptr; }
    void convert(const uchar* cmyk, QRgb* out, int pixels) const;

private:
    LcmsTransform transform_;
};

// Converts rows of RGB samples, 8-bit or 16-bit big-endian as a PNG stores
// them, through an RGB profile into rows of 8-bit sRGB, three bytes a pixel.
class RgbRowConverter
{
public:
    RgbRowConverter(const QByteArray& iccProfile, bool sixteenBits);
    bool valid() const { return transform_ != nullptr; }
    void convert(const uchar* rgb, uchar* out, int pixels) const;

private:
    LcmsTransform transform_;
};

} // namespace zorvane
