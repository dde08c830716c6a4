#include "app/CommandLine.h"

#include <QTest>

using namespace zorvane;

Q_DECLARE_METATYPE(zorvane::NumberingValues)
using namespace Qt::StringLiterals;

namespace {

QStringList args(const QString& line)
{
    return QStringList{u"Zorvane"_s} + line.split(u' ', Qt::SkipEmptyParts);
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theParserDecidesTheRun_data();
    void theParserDecidesTheRun();
    void destinations_data();
    void destinations();
    void overrides_data();
    void overrides();
    void badInputIsOneClearLine_data();
    void badInputIsOneClearLine();
    void overridesReplaceOnlyWhatWasGiven();
    void numberingOptions_data();
    void numberingOptions();
};

void TestCommandLine::theParserDecidesTheRun_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<CommandLine::Mode>("mode");
    QTest::addColumn<QString>("picture");

    using M = CommandLine::Mode;
    QTest::newRow("no arguments") << QString() << M::Window << QString();
    QTest::newRow("Qt's own options")
        << u"-platform xcb -style=fusion --reverse"_s << M::Window << QString();
    QTest::newRow("a lone file opens it") << u"photo.jpg"_s << M::Window << u"photo.jpg"_s;
    QTest::newRow("file after Qt's option")
        << u"--platform offscreen photo.jpg"_s << M::Window << u"photo.jpg"_s;
    QTest::newRow("help") << u"--help"_s << M::Help << QString();
    QTest::newRow("short help") << u"-h"_s << M::Help << QString();
    QTest::newRow("version") << u"--version"_s << M::Version << QString();
    QTest::newRow("list labels") << u"--list-labels"_s << M::ListLabels << QString();
    QTest::newRow("single dash is a long option")
        << u"-print-to a.pdf -picture p.jpg"_s << M::PrintToFile << u"p.jpg"_s;
    QTest::newRow("lone file is the picture")
        << u"--print p.jpg"_s << M::PrintToPrinter << u"p.jpg"_s;
    QTest::newRow("no picture is decided at run time")
        << u"--print"_s << M::PrintToPrinter << QString();
}

void TestCommandLine::theParserDecidesTheRun()
{
    QFETCH(QString, line);
    QFETCH(CommandLine::Mode, mode);
    QFETCH(QString, picture);
    const CommandLine parsed = CommandLine::parse(args(line));
    QCOMPARE(parsed.error, QString());
    QCOMPARE(parsed.mode, mode);
    QCOMPARE(parsed.picturePath, picture);
}

void TestCommandLine::destinations_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<CommandLine::Mode>("mode");
    QTest::addColumn<CommandLine::FileFormat>("format");
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("dpi");

    using M = CommandLine::Mode;
    using F = CommandLine::FileFormat;
    QTest::newRow("pdf, default dpi") << u"--print-to out.pdf --picture p.jpg"_s << M::PrintToFile
                                      << F::Pdf << u"out.pdf"_s << 600;
    QTest::newRow("png at 300, = form") << u"--print-to=OUT.PNG --picture=p.jpg --dpi=300"_s
                                        << M::PrintToFile << F::Png << u"OUT.PNG"_s << 300;
    QTest::newRow("printer") << u"--picture p.jpg --print"_s << M::PrintToPrinter << F::Pdf
                             << QString() << 600;
    QTest::newRow("help wins") << u"--print --help"_s << M::Help << F::Pdf << QString() << 600;
}

void TestCommandLine::destinations()
{
    QFETCH(QString, line);
    QFETCH(CommandLine::Mode, mode);
    QFETCH(CommandLine::FileFormat, format);
    QFETCH(QString, output);
    QFETCH(int, dpi);

    const CommandLine parsed = CommandLine::parse(args(line));
    QCOMPARE(parsed.error, QString());
    QCOMPARE(parsed.mode, mode);
    if (mode == CommandLine::Mode::Help)
        return;
    QCOMPARE(parsed.fileFormat, format);
    QCOMPARE(parsed.outputFile, output);
    QCOMPARE(parsed.dpi, dpi);
    QCOMPARE(parsed.picturePath, u"p.jpg"_s);
}

void TestCommandLine::overrides_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<MainValues>("expected");

    MainValues stored;
    stored.ticketType = TicketType::B;
    stored.customWidth = 11;
    stored.customHeight = 22;
    stored.paper = PaperKind::B5;
    stored.countText = u"4"_s;
    stored.fillOrder = FillOrder::ColumnsFirst;

    QTest::newRow("nothing given keeps the stored values") << QString() << stored;
    MainValues typeZ = stored;
    typeZ.ticketType = TicketType::Other;
    typeZ.customWidth = 500;
    typeZ.customHeight = 300;
    QTest::newRow("custom type and size") << u"--type z --size 500x300"_s << typeZ;
    MainValues quarter = stored;
    quarter.paper = PaperKind::A4Quarter;
    quarter.fillOrder = FillOrder::RowsFirst;
    quarter.countText = u" 12x"_s;
    QTest::newRow("paper, order, count text as typed")
        << u"--paper a4quarter --order rows --count= 12x"_s << quarter;
    MainValues typeA = stored;
    typeA.ticketType = TicketType::A;
    typeA.paper = PaperKind::A4;
    QTest::newRow("type A on A4") << u"--type A --paper A4"_s << typeA;
}

void TestCommandLine::overrides()
{
    QFETCH(QString, options);
    QFETCH(MainValues, expected);

    MainValues values;
    values.ticketType = TicketType::B;
    values.customWidth = 11;
    values.customHeight = 22;
    values.paper = PaperKind::B5;
    values.countText = u"4"_s;
    values.fillOrder = FillOrder::ColumnsFirst;

    // "--count= 12x" splits into "--count=" and "12x" above; give it whole.
    QStringList arguments = args(u"--print --picture p.png "_s + options);
    if (const qsizetype at = arguments.indexOf(u"--count="_s); at >= 0) {
        arguments[at] += u' ' + arguments[at + 1];
        arguments.removeAt(at + 1);
    }
    const CommandLine parsed = CommandLine::parse(arguments);
    QCOMPARE(parsed.error, QString());
    parsed.overrides.applyTo(values);
    QCOMPARE(values, expected);
}

void TestCommandLine::badInputIsOneClearLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("mentions");

    QTest::newRow("unknown option") << u"--print --picture p --colour red"_s << u"colour"_s;
    QTest::newRow("no destination") << u"--picture p"_s << u"--print-to"_s;
    QTest::newRow("other file type") << u"--print-to a.jpg --picture p"_s << u".png"_s;
    QTest::newRow("dpi zero") << u"--print-to a.pdf --picture p --dpi 0"_s << u"--dpi"_s;
    QTest::newRow("dpi too high") << u"--print-to a.pdf --picture p --dpi 5000"_s << u"--dpi"_s;
    QTest::newRow("dpi not a number") << u"--print-to a.pdf --picture p --dpi 3x"_s << u"--dpi"_s;
    QTest::newRow("dpi for the printer") << u"--print --picture p --dpi 300"_s << u"--dpi"_s;
    QTest::newRow("type C") << u"--print --picture p --type C"_s << u"--type"_s;
    QTest::newRow("size without x") << u"--print --picture p --type Z --size 500"_s << u"--size"_s;
    QTest::newRow("size with text") << u"--print --picture p --type z --size 5ax3"_s << u"--size"_s;
    QTest::newRow("size without type Z") << u"--print p --type A --size 500x300"_s << u"--type Z"_s;
    QTest::newRow("paper A3") << u"--print --picture p --paper A3"_s << u"--paper"_s;
    QTest::newRow("order diagonal") << u"--print --picture p --order diagonal"_s << u"--order"_s;
    QTest::newRow("second picture") << u"--print --picture p extra"_s << u"extra"_s;
    QTest::newRow("second file") << u"--print p extra"_s << u"extra"_s;
    QTest::newRow("second file, window") << u"a.jpg b.jpg"_s << u"b.jpg"_s;
    QTest::newRow("unknown option, window") << u"--colour a.jpg"_s << u"--colour"_s;
    QTest::newRow("unknown single dash") << u"-x a.jpg"_s << u"-x"_s;
    QTest::newRow("override without action") << u"--count 3 a.jpg"_s << u"--print"_s;
    QTest::newRow("two actions") << u"--print --print-to a.pdf p"_s << u"together"_s;
    QTest::newRow("list labels with more") << u"--list-labels p.jpg"_s << u"alone"_s;
    QTest::newRow("label with paper") << u"--print p --label X --paper A4"_s << u"--paper"_s;
    QTest::newRow("option without value") << u"--print --picture"_s << u"picture"_s;
    QTest::newRow("fit sideways") << u"--print --picture p --fit sideways"_s << u"--fit"_s;
    QTest::newRow("skip negative") << u"--print --picture p --skip -2"_s << u"--skip"_s;
    QTest::newRow("skip with text") << u"--print --picture p --skip 2x"_s << u"--skip"_s;
    QTest::newRow("bleed out of range") << u"--print --picture p --bleed 301"_s << u"--bleed"_s;
    QTest::newRow("bleed with text") << u"--print --picture p --bleed 1.5"_s << u"--bleed"_s;
    QTest::newRow("cut marks without action") << u"--cut-marks a.jpg"_s << u"--print"_s;
    QTest::newRow("calibration sheet nowhere")
        << u"--calibration-sheet --paper B5"_s << u"--calibration-sheet needs"_s;
    QTest::newRow("number negative") << u"--print p --number -1"_s << u"--number"_s;
    QTest::newRow("number too large") << u"--print p --number 1000000000"_s << u"--number"_s;
    QTest::newRow("number with text") << u"--print p --number 12a"_s << u"--number"_s;
    QTest::newRow("digits ten") << u"--print p --digits 10"_s << u"--digits"_s;
    QTest::newRow("sheets zero") << u"--print p --sheets 0"_s << u"--sheets"_s;
    QTest::newRow("sheets 1000") << u"--print p --sheets 1000"_s << u"--sheets"_s;
    QTest::newRow("long prefix") << u"--print p --prefix 12345678901"_s << u"--prefix"_s;
    QTest::newRow("number without action") << u"--number 3 a.jpg"_s << u"--print"_s;
}

void TestCommandLine::badInputIsOneClearLine()
{
    QFETCH(QString, line);
    QFETCH(QString, mentions);

    const CommandLine parsed = CommandLine::parse(args(line));
    QCOMPARE(parsed.mode, CommandLine::Mode::Invalid);
    QVERIFY2(parsed.error.contains(mentions), qPrintable(parsed.error));
    QVERIFY(!parsed.error.contains(u'\n'));
}

void TestCommandLine::overridesReplaceOnlyWhatWasGiven()
{
    MainValues values;
    values.ticketType.reset(); // a store with no type selected stays so
    const CommandLine parsed = CommandLine::parse(args(u"--print --picture p --count 3"_s));
    parsed.overrides.applyTo(values);
    QVERIFY(!values.ticketType);
    QCOMPARE(values.countText, u"3"_s);
}

void TestCommandLine::numberingOptions_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<NumberingValues>("expected");
    NumberingValues stored;
    stored.start = 500;
    stored.prefix = u"A"_s;
    QTest::newRow("none: as stored") << QString() << stored;
    NumberingValues on = stored;
    on.enabled = true;
    on.start = 4721;
    QTest::newRow("number turns it on") << u"--number 4721"_s << on;
    NumberingValues all = on;
    all.start = 0;
    all.digits = 6;
    all.prefix = u"No."_s;
    all.suffix = u"番"_s;
    all.sheets = 999;
    QTest::newRow("all of them") << u"--number 0 --digits 6 --prefix No. --suffix 番 --sheets 999"_s
                                 << all;
    NumberingValues sheetsOnly = stored;
    sheetsOnly.sheets = 3;
    QTest::newRow("sheets without numbers") << u"--sheets 3"_s << sheetsOnly;
}

void TestCommandLine::numberingOptions()
{
    QFETCH(QString, options);
    QFETCH(NumberingValues, expected);
    const CommandLine parsed = CommandLine::parse(args(u"--print p "_s + options));
    QCOMPARE(parsed.mode, CommandLine::Mode::PrintToPrinter);
    NumberingValues values;
    values.start = 500;
    values.prefix = u"A"_s;
    parsed.numbering.applyTo(values);
    QCOMPARE(values, expected);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
