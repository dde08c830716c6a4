#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace zorvane {

// Lengths of a label sheet file are read into tenths of a millimetre, the
// program's unit, but kept as doubles until the sheet is converted, so that
// rounding happens once, on the whole value.

// A length with its unit: "12mm", "1.2cm", "0.5in", "36pt", or a bare number,
// which counts in points. Blanks around the number and the unit are allowed.
// None for anything else, for an empty text and for a value that is not
// finite.
std::optional<double> parseLabelLength(QStringView text);

enum class LabelShape
{
    Rectangle,
    Round,   // a circle, taken by its bounding square
    Ellipse, // taken by its bounding box
    Other    // a shape the program cannot print (a disc with a hole, ...)
};

// One arrangement of labels on the sheet: nx across, ny down, the first at
// x0, y0 from the paper's corner, the next ones dx and dy further on.
struct LabelLayout
{
    int nx = 0;
    int ny = 0;
    double x0 = 0; // tenths of a millimetre
    double y0 = 0;
    double dx = 0;
    double dy = 0;
};

// One product of a label sheet file, as written there. A product that names
// an equivalent product ("equiv") has no geometry of its own until the
// database resolves it.
struct LabelTemplate
{
    QString brand;
    QString part;
    QString description;
    QString equiv;
    QString paperId; // "A4", "Other", ...; empty for an equivalent
    // The paper's size: given for "Other", looked up by name otherwise.
    std::optional<double> paperWidth; // tenths of a millimetre
    std::optional<double> paperHeight;
    LabelShape shape = LabelShape::Other;
    QString shapeElement;  // the element that described the label
    int labelCount = 0;    // label elements; the program prints one
    double labelWidth = 0; // tenths of a millimetre, the bounding box
    double labelHeight = 0;
    QList<LabelLayout> layouts;

    QString name() const { return brand + u' ' + part; }
};

// A paper named in a file of paper sizes.
struct LabelPaperSize
{
    double width = 0; // tenths of a millimetre
    double height = 0;
};

// What one file holds. A file that is not well-formed XML holds nothing but
// its error; a product with a malformed value is left out and counted, and
// the first such fault is kept to be reported.
struct LabelTemplateFile
{
    QList<LabelTemplate> templates;
    QHash<QString, LabelPaperSize> paperSizes;
    QString error;            // the file cannot be used at all
    int templatesLeftOut = 0; // products with a malformed value
    QString firstFault;       // the first of those faults

    bool usable() const { return error.isEmpty(); }
};

// Reads a file of label products or of paper sizes. Files of any other kind
// (category lists, vendor lists) give an empty result without an error.
LabelTemplateFile parseLabelTemplateFile(const QByteArray& content);

} // namespace zorvane
