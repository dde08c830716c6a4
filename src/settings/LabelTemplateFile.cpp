#include "LabelTemplateFile.h"

#include <QXmlStreamReader>

#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

namespace zorvane {

std::optional<double> parseLabelLength(QStringView text)
{
    struct Unit
    {
        QStringView suffix;
        double tenths; // tenths of a millimetre in one unit
    };
    static constexpr double tenthsPerPoint = 254.0 / 72.0;
    const std::array units{Unit{u"mm", 10.0}, Unit{u"cm", 100.0}, Unit{u"in", 254.0},
                           Unit{u"pt", tenthsPerPoint}};

    QStringView number = text.trimmed();
    double factor = tenthsPerPoint; // a bare number counts in points
    for (const Unit& unit : units) {
        if (number.endsWith(unit.suffix, Qt::CaseInsensitive)) {
            number = number.chopped(unit.suffix.size()).trimmed();
            factor = unit.tenths;
            break;
        }
    }
    if (number.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value) || !std::isfinite(value * factor))
        return std::nullopt;
    return value * factor;
}

namespace {

// Reads one product or one paper size, noting the first malformed value.
class ElementReader
{
public:
    explicit ElementReader(QXmlStreamReader& xml) : xml_(xml) {}

    QString text(QLatin1StringView name) const { return xml_.attributes().value(name).toString(); }

    // A length that may be missing or left empty (it then reads as its
    // default, as a sheet's edge does for a first label there); one that is
    // given must be well-formed.
    double length(QLatin1StringView name, double missing = 0)
    {
        if (xml_.attributes().value(name).trimmed().isEmpty())
            return missing;
        return requiredLength(name);
    }

    double requiredLength(QLatin1StringView name)
    {
        const QStringView value = xml_.attributes().value(name);
        const std::optional<double> parsed = parseLabelLength(value);
        if (!parsed) {
            fail(u"%1 '%2' is not a length"_s.arg(name, value));
            return 0;
        }
        return *parsed;
    }

    double positiveLength(QLatin1StringView name)
    {
        const double value = requiredLength(name);
        if (ok() && value <= 0)
            fail(u"%1 must be greater than 0"_s.arg(name));
        return value;
    }

    int count(QLatin1StringView name)
    {
        const QStringView value = xml_.attributes().value(name);
        bool parsed = false;
        const int number = value.trimmed().toInt(&parsed);
        if (!parsed || number < 0) {
            fail(u"%1 '%2' is not a count"_s.arg(name, value));
            return 0;
        }
        return number;
    }

    void fail(const QString& fault)
    {
        if (fault_.isEmpty())
            fault_ = fault;
    }
    bool ok() const { return fault_.isEmpty(); }
    const QString& fault() const { return fault_; }

private:
    QXmlStreamReader& xml_;
    QString fault_;
};

LabelShape shapeOfElement(QStringView name)
{
    if (name == u"Label-rectangle")
        return LabelShape::Rectangle;
    if (name == u"Label-round")
        return LabelShape::Round;
    if (name == u"Label-ellipse")
        return LabelShape::Ellipse;
    return LabelShape::Other;
}

void readLayout(QXmlStreamReader& xml, ElementReader& reader, LabelTemplate& product)
{
    LabelLayout layout;
    layout.nx = reader.count("nx"_L1);
    layout.ny = reader.count("ny"_L1);
    layout.x0 = reader.length("x0"_L1);
    layout.y0 = reader.length("y0"_L1);
    layout.dx = reader.length("dx"_L1);
    layout.dy = reader.length("dy"_L1);
    product.layouts.append(layout);
    xml.skipCurrentElement();
}

// The first label element describes the label; later ones are only counted.
void readLabel(QXmlStreamReader& xml, ElementReader& reader, LabelTemplate& product)
{
    ++product.labelCount;
    if (product.labelCount > 1) {
        xml.skipCurrentElement();
        return;
    }
    product.shapeElement = xml.name().toString();
    product.shape = shapeOfElement(xml.name());
    switch (product.shape) {
    case LabelShape::Rectangle:
    case LabelShape::Ellipse:
        product.labelWidth = reader.positiveLength("width"_L1);
        product.labelHeight = reader.positiveLength("height"_L1);
        break;
    case LabelShape::Round:
        product.labelWidth = product.labelHeight = 2 * reader.positiveLength("radius"_L1);
        break;
    case LabelShape::Other:
        break;
    }
    while (xml.readNextStartElement()) {
        if (xml.name() == u"Layout")
            readLayout(xml, reader, product);
        else
            xml.skipCurrentElement();
    }
}

void readTemplate(QXmlStreamReader& xml, LabelTemplateFile& file)
{
    ElementReader reader(xml);
    LabelTemplate product;
    product.brand = reader.text("brand"_L1).trimmed();
    product.part = reader.text("part"_L1).trimmed();
    product.equiv = reader.text("equiv"_L1).trimmed();
    product.description = reader.text("_description"_L1);
    if (product.description.isEmpty())
        product.description = reader.text("description"_L1);
    product.paperId = reader.text("size"_L1).trimmed();

    if (product.brand.isEmpty() || product.part.isEmpty())
        reader.fail(u"a product without brand or part"_s);
    if (product.equiv.isEmpty()) {
        if (product.paperId.isEmpty()) {
            reader.fail(u"no paper size"_s);
        } else if (product.paperId == u"Other") {
            product.paperWidth = reader.positiveLength("width"_L1);
            product.paperHeight = reader.positiveLength("height"_L1);
        }
    }
    while (xml.readNextStartElement()) {
        if (xml.name().startsWith(u"Label-"))
            readLabel(xml, reader, product);
        else
            xml.skipCurrentElement();
    }

    if (reader.ok()) {
        file.templates.append(product);
        return;
    }
    ++file.templatesLeftOut;
    if (file.firstFault.isEmpty())
        file.firstFault = u"%1: %2"_s.arg(product.name().trimmed(), reader.fault());
}

void readPaperSize(QXmlStreamReader& xml, LabelTemplateFile& file)
{
    ElementReader reader(xml);
    const QString id = reader.text("id"_L1);
    LabelPaperSize size;
    size.width = reader.positiveLength("width"_L1);
    size.height = reader.positiveLength("height"_L1);
    if (reader.ok() && !id.isEmpty())
        file.paperSizes.insert(id, size);
    else if (file.firstFault.isEmpty())
        file.firstFault = u"paper %1: %2"_s.arg(id, reader.fault());
    xml.skipCurrentElement();
}

template<typename ReadChild>
void readChildren(QXmlStreamReader& xml, QStringView childName, ReadChild readChild)
{
    while (xml.readNextStartElement()) {
        if (xml.name() == childName)
            readChild();
        else
            xml.skipCurrentElement();
    }
}

} // namespace

LabelTemplateFile parseLabelTemplateFile(const QByteArray& content)
{
    LabelTemplateFile file;
    QXmlStreamReader xml(content);
    if (xml.readNextStartElement()) {
        if (xml.name() == u"Glabels-templates")
            readChildren(xml, u"Template", [&] { readTemplate(xml, file); });
        else if (xml.name() == u"Glabels-paper-sizes")
            readChildren(xml, u"Paper-size", [&] { readPaperSize(xml, file); });
        else
            xml.skipCurrentElement();
    }
    // The rest of the document must be well-formed too.
    while (!xml.atEnd())
        xml.readNext();
    if (xml.hasError()) {
        file = LabelTemplateFile();
        file.error = u"line %1: %2"_s.arg(xml.lineNumber()).arg(xml.errorString());
    }
    return file;
}

} // namespace zorvane
