#include "PdfColourProfile.h"

// Without this, a #warning in qpdf's headers about its pointer type fails
// the build under -Werror.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <cstring>
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

bool holdsBytes(QPDFObjectHandle& image, const QByteArray& jpeg)
{
    if (image.getDict().getKey("/Length").getIntValue() != jpeg.size())
        return false;
    const std::shared_ptr<Buffer> data = image.getRawStreamData();
    return data->getSize() == size_t(jpeg.size()) &&
           std::memcmp(data->getBuffer(), jpeg.constData(), size_t(jpeg.size())) == 0;
}

QByteArray written(QPDF& pdf)
{
    QPDFWriter writer(pdf);
    writer.setOutputMemory();
    // The JPEG and cairo's own streams go out as they came in.
    writer.setStreamDataMode(qpdf_s_preserve);
    writer.write();
    const std::shared_ptr<Buffer> out = writer.getBufferSharedPointer();
    return QByteArray(reinterpret_cast<const char*>(out->getBuffer()), qsizetype(out->getSize()));
}

} // namespace

QByteArray withJpegProfile(const QByteArray& pdf, const QByteArray& jpeg, const QByteArray& icc)
{
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        document.processMemoryFile("sheet", pdf.constData(), size_t(pdf.size()));
        const QPDFObjectHandle colourSpace = iccColourSpace(document, icc);
        bool attached = false;
        for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(document).getAllPages()) {
            page.forEachImage(true,
                              [&](QPDFObjectHandle& image, QPDFObjectHandle&, const std::string&) {
                                  if (holdsBytes(image, jpeg)) {
                                      image.getDict().replaceKey("/ColorSpace", colourSpace);
                                      attached = true;
                                  }
                              });
        }
        return attached ? written(document) : QByteArray();
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace zorvane
