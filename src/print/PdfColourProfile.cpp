#include "PdfColourProfile.h"

// Without this, a #warning in qpdf's headers about its pointer type fails
// the build under -Werror.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFXRefEntry.hh>

#include <QIODevice>

#include <algorithm>
#include <cstring>
#include <exception>
#include <map>
#include <string>
#include <vector>

namespace zorvane {
namespace {

// The profile's colour space, from its header: a grey JPEG has one sample a
// pixel, a colour one three.
int componentsOf(const QByteArray& icc)
{
    return icc.size() > 20 && icc.mid(16, 4) == "GRAY" ? 1 : 3;
}

// The picture's image: a JPEG of the file's length. Its bytes are not
// compared, which would copy megabytes for nothing: cairo embeds the bytes
// it was given.
bool isTheJpeg(QPDFObjectHandle& image, const QByteArray& jpeg)
{
    QPDFObjectHandle dict = image.getDict();
    return dict.getKey("/Filter").isNameAndEquals("/DCTDecode") &&
           dict.getKey("/Length").isInteger() &&
           dict.getKey("/Length").getIntValue() == jpeg.size();
}

// Where in the file one image names its device colour space: the offset of
// the name after /ColorSpace and the name itself.
struct ColourSpaceName
{
    qsizetype at = -1;
    QByteArray name;
};

bool isPdfSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0';
}

// A name ends at white space or a delimiter.
bool endsName(char c)
{
    return isPdfSpace(c) || std::strchr("/<>[]()%", c) != nullptr;
}

// The name in the object's own dictionary, found from the object's offset
// and never past its stream: a name elsewhere in the file is not touched.
ColourSpaceName findColourSpaceName(const QByteArray& pdf, qpdf_offset_t objectAt,
                                    const std::string& name)
{
    const qsizetype streamAt = pdf.indexOf("stream", qsizetype(objectAt));
    const QByteArray key = "/ColorSpace";
    for (qsizetype at = pdf.indexOf(key, qsizetype(objectAt)); at >= 0 && at < streamAt;
         at = pdf.indexOf(key, at + 1)) {
        qsizetype value = at + key.size();
        while (value < streamAt && isPdfSpace(pdf[value]))
            ++value;
        const qsizetype end = value + qsizetype(name.size());
        if (end < streamAt && pdf.mid(value, qsizetype(name.size())) == name.c_str() &&
            endsName(pdf[end]))
            return {value, QByteArray::fromStdString(name)};
    }
    return {};
}

// The JPEG's image objects with where each names its colour space; empty
// when one of them cannot be found in the file as written.
std::vector<ColourSpaceName> jpegColourSpaces(QPDF& document, const QByteArray& pdf,
                                              const QByteArray& jpeg)
{
    std::vector<QPDFObjGen> images;
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(document).getAllPages()) {
        page.forEachImage(
            true, [&](QPDFObjectHandle& image, QPDFObjectHandle&, const std::string&) {
                if (isTheJpeg(image, jpeg) &&
                    std::find(images.begin(), images.end(), image.getObjGen()) == images.end())
                    images.push_back(image.getObjGen());
            });
    }
    const std::map<QPDFObjGen, QPDFXRefEntry> xref = document.getXRefTable();
    std::vector<ColourSpaceName> found;
    for (const QPDFObjGen& image : images) {
        const auto entry = xref.find(image);
        QPDFObjectHandle space = document.getObject(image).getDict().getKey("/ColorSpace");
        if (entry == xref.end() || entry->second.getType() != 1 || !space.isName())
            return {};
        ColourSpaceName named =
            findColourSpaceName(pdf, entry->second.getOffset(), space.getName());
        if (named.at < 0)
            return {};
        found.push_back(named);
    }
    return found;
}

// The offset of the file's last cross-reference section, which the update
// names as the one before it.
qint64 lastXrefOffset(const QByteArray& pdf)
{
    const qsizetype at = pdf.lastIndexOf("startxref");
    if (at < 0)
        return -1;
    bool ok = false;
    const qint64 offset =
        pdf.mid(at + 9, 32).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    return ok ? offset : -1;
}

QByteArray objectHeader(long long number)
{
    return QByteArray::number(number) + " 0 obj\n";
}

// One cross-reference line: exactly twenty bytes.
QByteArray xrefLine(qint64 offset)
{
    return QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
}

// What follows cairo's file: the profile's stream, the ICCBased space that
// names it, their cross-reference section and a trailer that continues the
// file's own.
QByteArray incrementalUpdate(QPDF& document, qint64 fileSize, qint64 previousXref,
                             long long profileObject, const QByteArray& icc)
{
    const int components = componentsOf(icc);
    QByteArray update;
    const qint64 profileAt = fileSize;
    update += objectHeader(profileObject);
    update += "<< /N " + QByteArray::number(components) + " /Alternate " +
              (components == 1 ? "/DeviceGray" : "/DeviceRGB") + " /Length " +
              QByteArray::number(icc.size()) + " >>\nstream\n";
    update += icc;
    update += "\nendstream\nendobj\n";
    const qint64 spaceAt = fileSize + update.size();
    update += objectHeader(profileObject + 1);
    update += "[/ICCBased " + QByteArray::number(profileObject) + " 0 R]\nendobj\n";
    const qint64 xrefAt = fileSize + update.size();
    update += "xref\n" + QByteArray::number(profileObject) + " 2\n";
    update += xrefLine(profileAt) + xrefLine(spaceAt);
    QPDFObjectHandle trailer = document.getTrailer();
    update += "trailer\n<< /Size " + QByteArray::number(profileObject + 2);
    for (const char* key : {"/Root", "/Info", "/ID"}) {
        if (trailer.hasKey(key))
            update += QByteArray(" ") + key + " " +
                      QByteArray::fromStdString(trailer.getKey(key).unparse());
    }
    update += " /Prev " + QByteArray::number(previousXref) + " >>\nstartxref\n" +
              QByteArray::number(xrefAt) + "\n%%EOF\n";
    return update;
}

// The file with each name replaced, in place and of the same length, so
// every offset in it stays true.
bool writeWithNamesReplaced(QIODevice& device, const QByteArray& pdf,
                            std::vector<ColourSpaceName> names, const QByteArray& replacement)
{
    std::sort(names.begin(), names.end(),
              [](const ColourSpaceName& a, const ColourSpaceName& b) { return a.at < b.at; });
    qsizetype from = 0;
    for (const ColourSpaceName& named : names) {
        const QByteArray padded = replacement.leftJustified(named.name.size(), ' ');
        if (device.write(pdf.constData() + from, named.at - from) != named.at - from ||
            device.write(padded) != padded.size())
            return false;
        from = named.at + named.name.size();
    }
    return device.write(pdf.constData() + from, pdf.size() - from) == pdf.size() - from;
}

} // namespace

// The file goes out as cairo wrote it with an incremental update after it,
// rather than written anew: writing anew copies the JPEG's megabytes through
// growing buffers, which took most of the export's time.
bool writeWithJpegProfile(QIODevice& device, const QByteArray& pdf, const QByteArray& jpeg,
                          const QByteArray& icc)
{
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        document.processMemoryFile("sheet", pdf.constData(), size_t(pdf.size()));
        const qint64 previousXref = lastXrefOffset(pdf);
        QPDFObjectHandle size = document.getTrailer().getKey("/Size");
        // A file qpdf had to repair has offsets an update cannot build on.
        if (document.anyWarnings() || previousXref < 0 || !size.isInteger())
            return false;
        const std::vector<ColourSpaceName> names = jpegColourSpaces(document, pdf, jpeg);
        const long long profileObject = size.getIntValue();
        // The reference takes the name's place, so it must fit in it.
        const QByteArray spaceReference = QByteArray::number(profileObject + 1) + " 0 R";
        const bool fits = std::all_of(names.begin(), names.end(), [&](const ColourSpaceName& n) {
            return spaceReference.size() <= n.name.size();
        });
        if (names.empty() || !fits)
            return false;
        const QByteArray update =
            incrementalUpdate(document, pdf.size(), previousXref, profileObject, icc);
        return writeWithNamesReplaced(device, pdf, names, spaceReference) &&
               device.write(update) == update.size();
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace zorvane
