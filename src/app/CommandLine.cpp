#include "CommandLine.h"

#include "ZorvaneVersion.h"
#include "settings/CutGuides.h"
#include "settings/Numbers.h"

#include <QCommandLineParser>

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

void NumberingOverrides::applyTo(NumberingValues& values) const
{
    if (start) {
        values.enabled = true;
        values.start = *start;
    }
    if (digits)
        values.digits = *digits;
    if (prefix)
        values.prefix = *prefix;
    if (suffix)
        values.suffix = *suffix;
    if (sheets)
        values.sheets = *sheets;
}

void CommandLine::refuse(const QString& message)
{
    if (error.isEmpty())
        error = message;
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

// --- Reading each option's value -------------------------------------------

void readPrintTo(CommandLine& line, const QString& file)
{
    line.mode = CommandLine::Mode::PrintToFile;
    line.outputFile = file;
    if (file.endsWith(u".pdf", Qt::CaseInsensitive))
        line.fileFormat = CommandLine::FileFormat::Pdf;
    else if (file.endsWith(u".png", Qt::CaseInsensitive))
        line.fileFormat = CommandLine::FileFormat::Png;
    else
        line.refuse(u"--print-to needs a file name ending in .pdf or .png"_s);
}

void readPrint(CommandLine& line, const QString&)
{
    line.mode = CommandLine::Mode::PrintToPrinter;
}

void readListLabels(CommandLine& line, const QString&)
{
    line.mode = CommandLine::Mode::ListLabels;
}

void readPicture(CommandLine& line, const QString& path)
{
    line.picturePath = path;
}

void readCalibrationSheet(CommandLine& line, const QString&)
{
    line.calibrationSheet = true;
}

void readDpi(CommandLine& line, const QString& text)
{
    const auto dpi = parseWholeNumber(text);
    if (line.mode != CommandLine::Mode::PrintToFile)
        line.refuse(u"--dpi goes with --print-to only"_s);
    else if (!dpi || *dpi < 1 || *dpi > CommandLine::maxDpi)
        line.refuse(u"--dpi takes a whole number from 1 to %1"_s.arg(CommandLine::maxDpi));
    else
        line.dpi = *dpi;
}

void readType(CommandLine& line, const QString& text)
{
    line.overrides.ticketType = ticketTypeNamed(text);
    if (!line.overrides.ticketType)
        line.refuse(u"--type takes A, B, D or Z, not '%1'"_s.arg(text));
}

void readSize(CommandLine& line, const QString& text)
{
    const QStringList parts = text.split(u'x', Qt::KeepEmptyParts, Qt::CaseInsensitive);
    const auto width = parts.size() == 2 ? parseWholeNumber(parts[0]) : std::nullopt;
    const auto height = parts.size() == 2 ? parseWholeNumber(parts[1]) : std::nullopt;
    if (!width || !height)
        line.refuse(u"--size takes WIDTHxHEIGHT in 0.1 mm, not '%1'"_s.arg(text));
    line.overrides.customWidth = width;
    line.overrides.customHeight = height;
}

void readPaper(CommandLine& line, const QString& text)
{
    line.overrides.paper = paperNamed(text);
    if (!line.overrides.paper)
        line.refuse(u"--paper takes A4, B5 or A4Quarter, not '%1'"_s.arg(text));
}

void readCount(CommandLine& line, const QString& text)
{
    line.countAll = text.trimmed().compare(u"all"_s, Qt::CaseInsensitive) == 0;
    if (!line.countAll)
        line.overrides.countText = text;
}

void readLabel(CommandLine& line, const QString& text)
{
    line.labelName = text.simplified();
    if (line.labelName.isEmpty())
        line.refuse(u"--label takes a product as \"BRAND PART\""_s);
}

void readOrder(CommandLine& line, const QString& text)
{
    line.overrides.fillOrder = orderNamed(text);
    if (!line.overrides.fillOrder)
        line.refuse(u"--order takes rows or columns, not '%1'"_s.arg(text));
}

void readFit(CommandLine& line, const QString& text)
{
    const QByteArray word = text.toLower().toLatin1();
    line.sheet.placement =
        placementForWord(std::string_view(word.constData(), size_t(word.size())));
    if (!line.sheet.placement)
        line.refuse(u"--fit takes stretch, fit or fill, not '%1'"_s.arg(text));
}

void readTurn(CommandLine& line, const QString&)
{
    line.sheet.turned = true;
}

void readSkip(CommandLine& line, const QString& text)
{
    line.sheet.skip = parseWholeNumber(text);
    // A sign or trailing text is refused: the count of cells is a plain number.
    if (!line.sheet.skip || *line.sheet.skip < 0 ||
        QString::number(*line.sheet.skip) != text.trimmed())
        line.refuse(u"--skip takes a whole number of 0 or more, not '%1'"_s.arg(text));
}

void readCutMarks(CommandLine& line, const QString&)
{
    line.sheet.cutMarks = true;
}

void readBleed(CommandLine& line, const QString& text)
{
    line.sheet.bleed = parseWholeNumber(text);
    if (!line.sheet.bleed || *line.sheet.bleed < 0 || *line.sheet.bleed > maxBleed ||
        QString::number(*line.sheet.bleed) != text.trimmed())
        line.refuse(
            u"--bleed takes a whole number from 0 to %1 (0.1 mm), not '%2'"_s.arg(maxBleed).arg(
                text));
}

// A plain whole number from lowest to highest: no sign, no other text.
std::optional<int> plainNumberIn(const QString& text, int lowest, int highest)
{
    const auto number = parseWholeNumber(text);
    if (!number || *number < lowest || *number > highest ||
        QString::number(*number) != text.trimmed())
        return std::nullopt;
    return number;
}

void readNumber(CommandLine& line, const QString& text)
{
    line.numbering.start = plainNumberIn(text, 0, numberingLimits::maxStart);
    if (!line.numbering.start)
        line.refuse(u"--number takes a whole number from 0 to %1, not '%2'"_s.arg(
            QString::number(numberingLimits::maxStart), text));
}

void readDigits(CommandLine& line, const QString& text)
{
    line.numbering.digits = plainNumberIn(text, 0, numberingLimits::maxDigits);
    if (!line.numbering.digits)
        line.refuse(u"--digits takes a whole number from 0 to %1, not '%2'"_s.arg(
            QString::number(numberingLimits::maxDigits), text));
}

void readAffix(CommandLine& line, std::optional<QString>& affix, const QString& option,
               const QString& text)
{
    if (text.size() > numberingLimits::maxAffixLength)
        line.refuse(u"%1 takes at most %2 characters"_s.arg(
            option, QString::number(numberingLimits::maxAffixLength)));
    else
        affix = text;
}

void readPrefix(CommandLine& line, const QString& text)
{
    readAffix(line, line.numbering.prefix, u"--prefix"_s, text);
}

void readSuffix(CommandLine& line, const QString& text)
{
    readAffix(line, line.numbering.suffix, u"--suffix"_s, text);
}

void readSheets(CommandLine& line, const QString& text)
{
    line.numbering.sheets = plainNumberIn(text, 1, numberingLimits::maxSheets);
    if (!line.numbering.sheets)
        line.refuse(u"--sheets takes a whole number from 1 to %1, not '%2'"_s.arg(
            QString::number(numberingLimits::maxSheets), text));
}

// --- The option table ------------------------------------------------------

enum class Group
{
    Action,   // decides the run: at most one of these
    Input,    // what a windowless run prints, and how
    Override, // replaces a stored value for one run
    Sheet,    // replaces a stored sheet value for one run
};

struct OptionRow
{
    QStringList names; // the last is the one --help and messages use
    QString valueName; // empty for a switch
    Group group;
    QString syntax; // as --help shows it
    QString help;   // lines separated by '\n'
    void (*read)(CommandLine& line, const QString& value);
};

const std::vector<OptionRow>& optionTable()
{
    static const std::vector<OptionRow> rows{
        {{u"print-to"_s},
         u"file"_s,
         Group::Action,
         u"--print-to FILE.pdf|FILE.png"_s,
         u"draw the sheet into a PDF or PNG file of the\npaper's size, origin at the paper's corner"_s,
         readPrintTo},
        {{u"print"_s},
         QString(),
         Group::Action,
         u"--print"_s,
         u"send the sheet to the printer of the stored\nprinter record (default printer), no dialog"_s,
         readPrint},
        {{u"list-labels"_s},
         QString(),
         Group::Action,
         u"--list-labels"_s,
         u"list the label sheet products that can be\nprinted, one per line, and exit"_s,
         readListLabels},
        {{u"h"_s, u"?"_s, u"help"_s},
         QString(),
         Group::Action,
         u"-h, --help"_s,
         u"show this text"_s,
         nullptr},
        {{u"version"_s}, QString(), Group::Action, u"--version"_s, u"show the version"_s, nullptr},

        {{u"picture"_s},
         u"path"_s,
         Group::Input,
         u"--picture PATH"_s,
         u"the picture to print; a lone FILE means the same"_s,
         readPicture},
        {{u"dpi"_s},
         u"n"_s,
         Group::Input,
         u"--dpi N"_s,
         u"resolution of the file, 1 to 1200 (default 600)"_s,
         readDpi},
        {{u"calibration-sheet"_s},
         QString(),
         Group::Input,
         u"--calibration-sheet"_s,
         u"print or write the calibration sheet of the\npaper instead of the tickets (no picture)"_s,
         readCalibrationSheet},

        {{u"type"_s},
         u"code"_s,
         Group::Override,
         u"--type A|B|D|Z"_s,
         u"ticket type (Z: the custom size)"_s,
         readType},
        {{u"size"_s},
         u"size"_s,
         Group::Override,
         u"--size WIDTHxHEIGHT"_s,
         u"custom ticket size in 0.1 mm, e.g. 500x300;\nneeds --type Z"_s,
         readSize},
        {{u"paper"_s},
         u"paper"_s,
         Group::Override,
         u"--paper A4|B5|A4Quarter"_s,
         u"paper"_s,
         readPaper},
        {{u"count"_s},
         u"text"_s,
         Group::Override,
         u"--count TEXT|all"_s,
         u"number of tickets, read as the window reads it;\nall: as many as there are free cells"_s,
         readCount},
        {{u"order"_s},
         u"order"_s,
         Group::Override,
         u"--order rows|columns"_s,
         u"fill rows first or columns first"_s,
         readOrder},
        {{u"label"_s},
         u"product"_s,
         Group::Override,
         u"--label \"BRAND PART\""_s,
         u"print on a label sheet product: its label\nsize, paper, offsets, gaps, rows and\n"
         u"columns (not with --type, --size, --paper)"_s,
         readLabel},

        {{u"fit"_s},
         u"placement"_s,
         Group::Sheet,
         u"--fit stretch|fit|fill"_s,
         u"how the picture sits in its ticket: stretched,\nwhole with its proportions kept, or "
         u"filling\n"
         u"the ticket with the overflow cut off"_s,
         readFit},
        {{u"turn"_s},
         QString(),
         Group::Sheet,
         u"--turn"_s,
         u"turn the tickets (and the picture) by 90\ndegrees"_s,
         readTurn},
        {{u"skip"_s},
         u"n"_s,
         Group::Sheet,
         u"--skip N"_s,
         u"leave the first N cells in fill order empty,\nas used, instead of the cells marked in "
         u"the\n"
         u"window"_s,
         readSkip},
        {{u"cut-marks"_s},
         QString(),
         Group::Sheet,
         u"--cut-marks"_s,
         u"draw cut marks outside the grid on every cut\nline of the tickets"_s,
         readCutMarks},
        {{u"bleed"_s},
         u"n"_s,
         Group::Sheet,
         u"--bleed N"_s,
         u"run a stretched or filled picture N x 0.1 mm\npast the cut line (0 to 300)"_s,
         readBleed},
        {{u"number"_s},
         u"start"_s,
         Group::Sheet,
         u"--number START"_s,
         u"number the tickets from START on; after a\nprint on a printer the next start is "
         u"stored"_s,
         readNumber},
        {{u"digits"_s},
         u"n"_s,
         Group::Sheet,
         u"--digits N"_s,
         u"pad the numbers with zeros to N digits (0-9)"_s,
         readDigits},
        {{u"prefix"_s},
         u"text"_s,
         Group::Sheet,
         u"--prefix TEXT"_s,
         u"text before each number, e.g. \"No.\""_s,
         readPrefix},
        {{u"suffix"_s},
         u"text"_s,
         Group::Sheet,
         u"--suffix TEXT"_s,
         u"text after each number"_s,
         readSuffix},
        {{u"sheets"_s},
         u"n"_s,
         Group::Sheet,
         u"--sheets N"_s,
         u"print N sheets (1-999) in one job; a PNG file\nis written once a sheet, "
         u"as FILE-001.png"_s,
         readSheets},
    };
    return rows;
}

const QString& mainName(const OptionRow& row)
{
    return row.names.constLast();
}

QString spelled(const QString& name)
{
    return (name.size() == 1 ? u"-"_s : u"--"_s) + name;
}

// Rules between options, checked once every value is read.
void checkCombinations(const QCommandLineParser& parser, CommandLine& line)
{
    if (parser.isSet(u"calibration-sheet"_s) && line.mode != CommandLine::Mode::PrintToFile &&
        line.mode != CommandLine::Mode::PrintToPrinter)
        line.refuse(u"--calibration-sheet needs --print-to FILE or --print"_s);
    if (line.mode == CommandLine::Mode::ListLabels &&
        (parser.optionNames().size() > 1 || !parser.positionalArguments().isEmpty()))
        line.refuse(u"--list-labels goes alone"_s);
    if (parser.isSet(u"label"_s) &&
        (parser.isSet(u"type"_s) || parser.isSet(u"size"_s) || parser.isSet(u"paper"_s)))
        line.refuse(u"--label sets the size and the paper itself: drop --type, --size and "
                    u"--paper"_s);
    else if (parser.isSet(u"size"_s) && line.overrides.ticketType != TicketType::Other)
        line.refuse(u"--size sets the custom size: it needs --type Z"_s);
}

// --- Qt's own options ------------------------------------------------------

// QGuiApplication and QApplication take these from the command line
// themselves, with one dash or two; the ones in the first list take a value.
bool isQtOption(const QString& argument, bool& takesValue)
{
    static const QStringList withValue{u"platform"_s,
                                       u"platformpluginpath"_s,
                                       u"platformtheme"_s,
                                       u"plugin"_s,
                                       u"qwindowgeometry"_s,
                                       u"geometry"_s,
                                       u"qwindowtitle"_s,
                                       u"title"_s,
                                       u"qwindowicon"_s,
                                       u"icon"_s,
                                       u"session"_s,
                                       u"display"_s,
                                       u"name"_s,
                                       u"style"_s,
                                       u"stylesheet"_s};
    static const QStringList switches{u"reverse"_s, u"nograb"_s,      u"dograb"_s,
                                      u"sync"_s,    u"widgetcount"_s, u"testability"_s};
    if (!argument.startsWith(u'-'))
        return false;
    QString name = argument.mid(argument.startsWith(u"--") ? 2 : 1);
    if (name.startsWith(u"qmljsdebugger="))
        return (takesValue = false, true);
    const qsizetype equals = name.indexOf(u'=');
    if (equals >= 0) {
        takesValue = false;
        return withValue.contains(name.left(equals));
    }
    takesValue = withValue.contains(name);
    return takesValue || switches.contains(name);
}

// firstQtOption: set to the first of Qt's options found, as spelled.
QStringList withoutQtOptions(const QStringList& arguments, QString& firstQtOption)
{
    QStringList ours;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        bool takesValue = false;
        if (i == 0 || !isQtOption(arguments[i], takesValue)) {
            ours.append(arguments[i]);
            continue;
        }
        if (firstQtOption.isEmpty())
            firstQtOption = arguments[i].section(u'=', 0, 0);
        if (takesValue)
            ++i;
    }
    return ours;
}

QString parseFault(const QCommandLineParser& parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return u"unknown option '%1'"_s.arg(spelled(unknown.constFirst()));
    QString text = parser.errorText().trimmed();
    if (text.endsWith(u'.'))
        text.chop(1);
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

void readArguments(const QCommandLineParser& parser, CommandLine& line)
{
    const auto& rows = optionTable();
    std::vector<const OptionRow*> actions;
    for (const OptionRow& row : rows) {
        if (row.group == Group::Action && parser.isSet(mainName(row)))
            actions.push_back(&row);
    }
    if (actions.size() > 1) {
        line.refuse(u"%1 and %2 cannot go together"_s.arg(spelled(mainName(*actions[0])),
                                                          spelled(mainName(*actions[1]))));
        return;
    }
    if (actions.size() == 1)
        actions.front()->read(line, parser.value(mainName(*actions.front())));

    for (const OptionRow& row : rows) {
        if (row.group == Group::Action || !parser.isSet(mainName(row)))
            continue;
        if (line.opensWindow()) {
            line.refuse(u"%1 needs --print-to FILE or --print"_s.arg(spelled(mainName(row))));
            return;
        }
        row.read(line, parser.value(mainName(row)));
    }

    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        line.refuse(u"a second file '%1': give one picture"_s.arg(files[1]));
    else if (files.size() == 1 && !line.picturePath.isEmpty())
        line.refuse(u"a second picture '%1' besides --picture"_s.arg(files[0]));
    else if (files.size() == 1)
        line.picturePath = files[0];

    checkCombinations(parser, line);
}

} // namespace

CommandLine CommandLine::parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    // One dash or two: "-print-to" is "--print-to", never a bundle of
    // letters, so every spelling the parser accepts decides the run alike.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionRow& row : optionTable())
        parser.addOption(QCommandLineOption(row.names, QString(), row.valueName));

    CommandLine line;
    QString qtOption;
    if (!parser.parse(withoutQtOptions(arguments, qtOption)))
        line.refuse(parseFault(parser));
    else if (parser.isSet(u"help"_s))
        line.mode = Mode::Help;
    else if (parser.isSet(u"version"_s))
        line.mode = Mode::Version;
    else
        readArguments(parser, line);
    // Qt's own options are taken by the window's application object; a run
    // without a window would silently drop them.
    if (!line.opensWindow() && !qtOption.isEmpty())
        line.refuse(u"%1 goes with the window only"_s.arg(qtOption));
    if (!line.error.isEmpty())
        line.mode = Mode::Invalid;
    return line;
}

QString CommandLine::versionText()
{
    return u"Zorvane "_s + QLatin1StringView(ZORVANE_VERSION);
}

QString CommandLine::helpText()
{
    static constexpr qsizetype column = 32;
    const auto section = [](Group group) {
        QString text;
        for (const OptionRow& row : optionTable()) {
            if (row.group != group)
                continue;
            const QStringList lines = row.help.split(u'\n');
            text +=
                QString(u"  "_s + row.syntax).leftJustified(column - 1) + u' ' + lines[0] + u'\n';
            for (qsizetype i = 1; i < lines.size(); ++i)
                text += QString(column, u' ') + lines[i] + u'\n';
        }
        return text;
    };
    return u"Usage: Zorvane [FILE]\n"
           u"  or:  Zorvane --print-to FILE|--print [options] [--picture] PICTURE\n"
           u"Prints one picture many times on one sheet, as a grid of equal tickets.\n"
           u"Without options Zorvane opens its window, with the picture FILE loaded as if\n"
           u"dropped on it. These run without a window and without a display:\n\n"_s +
           section(Group::Action) +
           u"\nWhat --print-to and --print print; they use the stored settings:\n"_s +
           section(Group::Input) +
           u"\nThese replace stored values for this run only; nothing is stored:\n"_s +
           section(Group::Override) + u'\n' + section(Group::Sheet) +
           u"\nFiles:\n"
           u"  The settings file:\n"
           u"    $XDG_CONFIG_HOME/Local AppWizard-Generated Applications/Zorvane.ini\n"
           u"  (XDG_CONFIG_HOME is ~/.config when unset). The printer settings file\n"
           u"  devmode.zvn lies beside the program, or beside the settings file when the\n"
           u"  program's directory is not writable or the program is installed under /usr.\n"
           u"\nExit status:\n"
           u"  0 printed; 1 the tickets do not fit; 2 bad option, unreadable picture or\n"
           u"  unwritable file; 3 no printer found or the printer refused the document;\n"
           u"  4 nothing to print (no picture, or a count of 0 or less).\n"
           u"Every error is one line on standard error, beginning \"Zorvane: \".\n"_s;
}

} // namespace zorvane
