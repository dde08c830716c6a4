#include "PdfColourProfile.h"

// Without this, a #warning in qpdf's headers about its pointer type fails
// the build under -Werror.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <QIODevice>

#include <exception>
#include <string>

namespace zorvane {
namespace {

// The profile's colour space, from its header: a grey JPEG has one sample a
// pixel, a colour one three.
int componentsOf(const QByteArray& icc)
{
    return icc.size() > 20 && icc.mid(16, 4) == "GRAY" ? 1 : 3;
}

QPDFObjectHandle iccColourSpace(QPDF& pdf, const QByteArray& icc)
{
    QPDFObjectHandle profile =
        QPDFObjectHandle::newStream(&pdf, std::string(icc.constData(), size_t(icc.size())));
    const int components = componentsOf(icc);
    profile.getDict().replaceKey("/N", QPDFObjectHandle::newInteger(components));
    profile.getDict().replaceKey(
        "/Alternate", QPDFObjectHandle::newName(components == 1 ? "/DeviceGray" : "/DeviceRGB"));
    return QPDFObjectHandle::newArray(
        std::vector<QPDFObjectHandle>{QPDFObjectHandle::newName("/ICCBased"), profile});
}

// The picture's image: the page's one JPEG of the file's length. Its bytes
// are not compared, which would copy megabytes for nothing: cairo embeds
// the bytes it was given.
bool isTheJpeg(QPDFObjectHandle& image, const QByteArray& jpeg)
{
    QPDFObjectHandle dict = image.getDict();
    return dict.getKey("/Filter").isNameAndEquals("/DCTDecode") &&
           dict.getKey("/Length").isInteger() &&
           dict.getKey("/Length").getIntValue() == jpeg.size();
}

// qpdf's output straight into the device, without a copy in memory.
class DevicePipeline : public Pipeline
{
public:
    explicit DevicePipeline(QIODevice& device) : Pipeline("device", nullptr), device_(device) {}
    void write(unsigned char const* data, size_t length) override
    {
        if (device_.write(reinterpret_cast<const char*>(data), qint64(length)) != qint64(length))
            failed_ = true;
    }
    void finish() override {}
    bool failed() const { return failed_; }

private:
    QIODevice& device_;
    bool failed_ = false;
};

// The page's one image of the JPEG's length, given the profile; false when
// there is none.
bool attachProfile(QPDF& document, const QByteArray& jpeg, const QByteArray& icc)
{
    const QPDFObjectHandle colourSpace = iccColourSpace(document, icc);
    bool attached = false;
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(document).getAllPages()) {
        page.forEachImage(true,
                          [&](QPDFObjectHandle& image, QPDFObjectHandle&, const std::string&) {
                              if (isTheJpeg(image, jpeg)) {
                                  image.getDict().replaceKey("/ColorSpace", colourSpace);
                                  attached = true;
                              }
                          });
    }
    return attached;
}

} // namespace

bool writeWithJpegProfile(QIODevice& device, const QByteArray& pdf, const QByteArray& jpeg,
                          const QByteArray& icc)
{
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        document.processMemoryFile("sheet", pdf.constData(), size_t(pdf.size()));
        if (!attachProfile(document, jpeg, icc))
            return false;
        DevicePipeline out(device);
        QPDFWriter writer(document);
        writer.setOutputPipeline(&out);
        // The JPEG and cairo's own streams go out as they came in.
        writer.setStreamDataMode(qpdf_s_preserve);
        writer.write();
        return !out.failed();
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace zorvane
