#include "CommandLine.h"

#include "settings/Numbers.h"

#include <QCommandLineParser>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace zorvane {

void MainOverrides::applyTo(MainValues& values) const
{
    if (ticketType)
        values.ticketType = ticketType;
    if (customWidth)
        values.customWidth = *customWidth;
    if (customHeight)
        values.customHeight = *customHeight;
    if (paper)
        values.paper = paper;
    if (countText)
        values.countText = *countText;
    if (fillOrder)
        values.fillOrder = fillOrder;
}

namespace {

// Options of our own; any of them asks for a run without a window.
const QList<QCommandLineOption>& ourOptions()
{
    static const QList<QCommandLineOption> options{
        {{u"h"_s, u"?"_s, u"help"_s}, QString()},
        {u"print-to"_s, QString(), u"file"_s},
        {u"print"_s, QString()},
        {u"picture"_s, QString(), u"path"_s},
        {u"dpi"_s, QString(), u"n"_s},
        {u"calibration-sheet"_s, QString()},
        {u"type"_s, QString(), u"code"_s},
        {u"size"_s, QString(), u"size"_s},
        {u"paper"_s, QString(), u"paper"_s},
        {u"count"_s, QString(), u"text"_s},
        {u"order"_s, QString(), u"order"_s},
        {u"label"_s, QString(), u"product"_s},
        {u"list-labels"_s, QString()},
        {u"fit"_s, QString(), u"placement"_s},
        {u"turn"_s, QString()},
        {u"skip"_s, QString(), u"n"_s},
    };
    return options;
}

// Qt's own start-up options, which its application object takes out of the
// arguments; they go with the window.
QList<QCommandLineOption> qtOptions()
{
    QList<QCommandLineOption> options;
    for (const char* name :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
          "geometry", "qwindowtitle", "title", "qwindowicon", "icon", "session", "style",
          "stylesheet", "display", "name", "visual", "qmljsdebugger"})
        options.append(QCommandLineOption(QString::fromLatin1(name), QString(), u"value"_s));
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"})
        options.append(QCommandLineOption(QString::fromLatin1(name)));
    return options;
}

bool isOurOption(const QString& name)
{
    for (const QCommandLineOption& option : ourOptions()) {
        if (option.names().contains(name))
            return true;
    }
    return false;
}

// One parser decides both whether a run needs the window and what it asks
// for, so "-print-to" and "--print-to" (and every other spelling it takes)
// behave alike.
void setUp(QCommandLineParser& parser)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(ourOptions());
    parser.addOptions(qtOptions());
}

} // namespace

bool CommandLine::asksForHeadlessRun(const QStringList& arguments)
{
    QCommandLineParser parser;
    setUp(parser);
    if (!parser.parse(arguments))
        return true; // an option of no one's, or one without its value
    const QStringList names = parser.optionNames();
    return std::any_of(names.cbegin(), names.cend(), isOurOption);
}

QString CommandLine::helpText()
{
    return uR"(Usage: Zorvane [options]
Without options Zorvane opens its window. With these it prints the sheet that
the stored settings describe, without a window and without a display:

  --print-to FILE.pdf|FILE.png  draw the sheet into a PDF or PNG file of the
                                paper's size, origin at the paper's corner
  --print                       send the sheet to the printer of the stored
                                printer record (default printer), no dialog
  --picture PATH                the picture to print (required)
  --dpi N                       resolution of the file, 1 to 1200 (default 600)
  --calibration-sheet           print or write the calibration sheet of the
                                paper instead of the tickets (no picture)

These replace stored values for this run only; nothing is stored:
  --type A|B|D|Z                ticket type (Z: the custom size)
  --size WIDTHxHEIGHT           custom ticket size in 0.1 mm, e.g. 500x300
  --paper A4|B5|A4Quarter       paper
  --count TEXT                  number of tickets, read as the window reads it
  --order rows|columns          fill rows first or columns first
  --label "BRAND PART"          print on a label sheet product: its label
                                size, paper, offsets, gaps, rows and
                                columns (not with --type, --size, --paper)

  --fit stretch|fit|fill        how the picture sits in its ticket: stretched,
                                whole with its proportions kept, or filling
                                the ticket with the overflow cut off
  --turn                        turn the tickets (and the picture) by 90
                                degrees
  --skip N                      leave the first N cells in fill order empty,
                                as used, instead of the cells marked in the
                                window

  --list-labels                 list the label sheet products that can be
                                printed, one per line, and exit

  -h, --help                    show this text

Exit status: 0 printed; 1 the tickets do not fit (the message goes to
standard error); 2 bad option, unreadable picture or unwritable file;
3 no printer found or the printer refused the document.
)"_s;
}

namespace {

std::optional<TicketType> ticketTypeNamed(const QString& text)
{
    const QByteArray code = text.toUpper().toLatin1();
    return ticketTypeForCode(std::string_view(code.constData(), size_t(code.size())));
}

std::optional<PaperKind> paperNamed(const QString& text)
{
    if (text.compare(u"A4", Qt::CaseInsensitive) == 0)
        return PaperKind::A4;
    if (text.compare(u"B5", Qt::CaseInsensitive) == 0)
        return PaperKind::B5;
    if (text.compare(u"A4Quarter", Qt::CaseInsensitive) == 0)
        return PaperKind::A4Quarter;
    return std::nullopt;
}

std::optional<FillOrder> orderNamed(const QString& text)
{
    if (text.compare(u"rows", Qt::CaseInsensitive) == 0)
        return FillOrder::RowsFirst;
    if (text.compare(u"columns", Qt::CaseInsensitive) == 0)
        return FillOrder::ColumnsFirst;
    return std::nullopt;
}

// Collects the first fault; later checks do not overwrite it.
class Checker
{
public:
    explicit Checker(CommandLine& line) : line_(line) {}

    void fail(const QString& message)
    {
        if (line_.error.isEmpty())
            line_.error = message;
    }
    bool failed() const { return !line_.error.isEmpty(); }

private:
    CommandLine& line_;
};

void readOverrides(const QCommandLineParser& parser, CommandLine& line, Checker& check)
{
    MainOverrides& overrides = line.overrides;
    if (parser.isSet(u"type"_s)) {
        overrides.ticketType = ticketTypeNamed(parser.value(u"type"_s));
        if (!overrides.ticketType)
            check.fail(u"--type takes A, B, D or Z, not '%1'"_s.arg(parser.value(u"type"_s)));
    }
    if (parser.isSet(u"size"_s)) {
        const QString text = parser.value(u"size"_s);
        const QStringList parts = text.split(u'x', Qt::KeepEmptyParts, Qt::CaseInsensitive);
        const auto width = parts.size() == 2 ? parseWholeNumber(parts[0]) : std::nullopt;
        const auto height = parts.size() == 2 ? parseWholeNumber(parts[1]) : std::nullopt;
        if (!width || !height)
            check.fail(u"--size takes WIDTHxHEIGHT in 0.1 mm, not '%1'"_s.arg(text));
        overrides.customWidth = width;
        overrides.customHeight = height;
    }
    if (parser.isSet(u"paper"_s)) {
        overrides.paper = paperNamed(parser.value(u"paper"_s));
        if (!overrides.paper)
            check.fail(
                u"--paper takes A4, B5 or A4Quarter, not '%1'"_s.arg(parser.value(u"paper"_s)));
    }
    if (parser.isSet(u"count"_s))
        overrides.countText = parser.value(u"count"_s);
    if (parser.isSet(u"order"_s)) {
        overrides.fillOrder = orderNamed(parser.value(u"order"_s));
        if (!overrides.fillOrder)
            check.fail(u"--order takes rows or columns, not '%1'"_s.arg(parser.value(u"order"_s)));
    }
    if (parser.isSet(u"label"_s)) {
        line.labelName = parser.value(u"label"_s).simplified();
        if (line.labelName.isEmpty())
            check.fail(u"--label takes a product as \"BRAND PART\""_s);
        if (parser.isSet(u"type"_s) || parser.isSet(u"size"_s) || parser.isSet(u"paper"_s))
            check.fail(u"--label sets the size and the paper itself: drop --type, --size and "
                       u"--paper"_s);
    }
}

void readSheetOverrides(const QCommandLineParser& parser, CommandLine& line, Checker& check)
{
    SheetOverrides& sheet = line.sheet;
    if (parser.isSet(u"fit"_s)) {
        const QByteArray word = parser.value(u"fit"_s).toLower().toLatin1();
        sheet.placement = placementForWord(std::string_view(word.constData(), size_t(word.size())));
        if (!sheet.placement)
            check.fail(u"--fit takes stretch, fit or fill, not '%1'"_s.arg(parser.value(u"fit"_s)));
    }
    sheet.turned = parser.isSet(u"turn"_s);
    if (parser.isSet(u"skip"_s)) {
        sheet.skip = parseWholeNumber(parser.value(u"skip"_s));
        // A sign or trailing text is refused: the count of cells is a plain number.
        if (!sheet.skip || *sheet.skip < 0 ||
            QString::number(*sheet.skip) != parser.value(u"skip"_s).trimmed())
            check.fail(u"--skip takes a whole number of 0 or more, not '%1'"_s.arg(
                parser.value(u"skip"_s)));
    }
}

void readDestination(const QCommandLineParser& parser, CommandLine& line, Checker& check)
{
    const bool toFile = parser.isSet(u"print-to"_s);
    const bool toPrinter = parser.isSet(u"print"_s);
    line.calibrationSheet = parser.isSet(u"calibration-sheet"_s);
    if (line.calibrationSheet && !toFile && !toPrinter) {
        check.fail(u"--calibration-sheet needs --print-to FILE or --print"_s);
        return;
    }
    if (toFile == toPrinter) {
        check.fail(toFile ? u"give either --print-to or --print, not both"_s
                          : u"nothing to do: give --print-to FILE or --print"_s);
        return;
    }
    line.mode = toFile ? CommandLine::Mode::PrintToFile : CommandLine::Mode::PrintToPrinter;
    if (toFile) {
        line.outputFile = parser.value(u"print-to"_s);
        if (line.outputFile.endsWith(u".pdf", Qt::CaseInsensitive))
            line.fileFormat = CommandLine::FileFormat::Pdf;
        else if (line.outputFile.endsWith(u".png", Qt::CaseInsensitive))
            line.fileFormat = CommandLine::FileFormat::Png;
        else
            check.fail(u"--print-to needs a file name ending in .pdf or .png"_s);
    }
    if (parser.isSet(u"dpi"_s)) {
        const auto dpi = parseWholeNumber(parser.value(u"dpi"_s));
        if (!toFile)
            check.fail(u"--dpi goes with --print-to only"_s);
        else if (!dpi || *dpi < 1 || *dpi > CommandLine::maxDpi)
            check.fail(u"--dpi takes a whole number from 1 to %1"_s.arg(CommandLine::maxDpi));
        else
            line.dpi = *dpi;
    }
    line.picturePath = parser.value(u"picture"_s);
    if (line.picturePath.isEmpty() && !line.calibrationSheet)
        check.fail(u"--picture PATH is required"_s);
}

} // namespace

CommandLine CommandLine::parse(const QStringList& arguments)
{
    CommandLine line;
    if (!asksForHeadlessRun(arguments))
        return line;

    QCommandLineParser parser;
    setUp(parser);

    Checker check(line);
    const QStringList names = parser.parse(arguments) ? parser.optionNames() : QStringList();
    const auto qtOption = std::find_if_not(names.cbegin(), names.cend(), isOurOption);
    if (!parser.errorText().isEmpty()) {
        check.fail(parser.errorText());
    } else if (qtOption != names.cend()) {
        check.fail(u"-%1 goes with the window only"_s.arg(*qtOption));
    } else if (parser.isSet(u"help"_s)) {
        line.mode = Mode::Help;
        return line;
    } else if (parser.isSet(u"list-labels"_s)) {
        if (parser.optionNames().size() > 1 || !parser.positionalArguments().isEmpty())
            check.fail(u"--list-labels goes alone"_s);
        line.mode = Mode::ListLabels;
    } else if (!parser.positionalArguments().isEmpty()) {
        check.fail(u"unexpected argument '%1'"_s.arg(parser.positionalArguments().constFirst()));
    } else {
        readDestination(parser, line, check);
        readOverrides(parser, line, check);
        readSheetOverrides(parser, line, check);
    }
    if (check.failed())
        line.mode = Mode::Invalid;
    return line;
}

} // namespace zorvane
