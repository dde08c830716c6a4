#include "TestFiles.h"
#include "settings/LabelDatabase.h"
#include "settings/LabelSheet.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(zorvane::LabelShape)
Q_DECLARE_METATYPE(zorvane::LabelSheet)

using namespace zorvane;
using zorvane::test::writeFile;
using namespace Qt::StringLiterals;

namespace {

QByteArray templates(const QByteArray& body)
{
    return "<?xml version=\"1.0\"?>\n<Glabels-templates>\n" + body + "\n</Glabels-templates>\n";
}

constexpr char paperSizes[] = R"(<?xml version="1.0"?>
<Glabels-paper-sizes>
  <Paper-size id="A4" _name="A4" width="210mm" height="297mm"/>
  <Paper-size id="US-Letter" _name="US Letter" width="8.5in" height="11in"/>
  <Paper-size id="B5" _name="B5" width="176mm" height="250mm"/>
</Glabels-paper-sizes>
)";

LabelSheet sheet(PaperKind paper, int width, int height, int x0, int y0, int gapH, int gapV,
                 int columns, int rows)
{
    return LabelSheet{paper, width, height, x0, y0, gapH, gapV, columns, rows};
}

} // namespace

class TestLabelTemplates : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void length_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<double>("tenths");

        QTest::newRow("millimetres") << u"12mm"_s << true << 120.0;
        QTest::newRow("centimetres") << u"1.2cm"_s << true << 120.0;
        QTest::newRow("inches") << u"0.25in"_s << true << 63.5;
        QTest::newRow("points") << u"72pt"_s << true << 254.0;
        QTest::newRow("bare number is points") << u"36"_s << true << 127.0;
        QTest::newRow("blanks") << u" 12 mm "_s << true << 120.0;
        QTest::newRow("upper-case unit") << u"2IN"_s << true << 508.0;
        QTest::newRow("negative") << u"-3mm"_s << true << -30.0;
        QTest::newRow("empty") << QString() << false << 0.0;
        QTest::newRow("unit alone") << u"mm"_s << false << 0.0;
        QTest::newRow("letters") << u"abc"_s << false << 0.0;
        QTest::newRow("unknown unit") << u"12km"_s << false << 0.0;
        QTest::newRow("comma") << u"1,5mm"_s << false << 0.0;
        QTest::newRow("infinite") << u"1e400mm"_s << false << 0.0;
        QTest::newRow("not a number") << u"nan"_s << false << 0.0;
    }

    void length()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QFETCH(double, tenths);
        const std::optional<double> parsed = parseLabelLength(text);
        QCOMPARE(parsed.has_value(), accepted);
        if (accepted)
            QCOMPARE(*parsed, tenths);
    }

    void file_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("usable");
        QTest::addColumn<int>("kept");
        QTest::addColumn<int>("leftOut");
        QTest::addColumn<LabelShape>("shape");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("layouts");

        QTest::newRow("rectangle") << templates(R"(
  <Template brand="Hisago" part="X1" size="A4" _description="Rectangular labels">
    <Meta category="label"/>
    <Label-rectangle id="0" width="60mm" height="20mm" round="1mm">
      <Markup-margin size="1mm"/>
      <Layout nx="3" ny="12" x0="12mm" y0="12mm" dx="63mm" dy="23mm"/>
    </Label-rectangle>
  </Template>)") << true << 1 << 0 << LabelShape::Rectangle
                                   << 600.0 << 200.0 << 1;
        QTest::newRow("round by its bounding square") << templates(R"(
  <Template brand="B" part="R" size="A4">
    <Label-round id="0" radius="0.75in">
      <Layout nx="4" ny="5" x0="0.5in" y0="0.75in" dx="2in" dy="2in"/>
    </Label-round>
  </Template>)") << true << 1 << 0 << LabelShape::Round
                                                      << 381.0 << 381.0 << 1;
        QTest::newRow("ellipse by its bounding box") << templates(R"(
  <Template brand="B" part="E" size="A4">
    <Label-ellipse id="0" width="1.5in" height="54pt">
      <Layout nx="5" ny="11" x0="0.375in" y0="0.5in" dx="1.5625in" dy="0.925in"/>
    </Label-ellipse>
  </Template>)") << true << 1 << 0 << LabelShape::Ellipse
                                                     << 381.0 << 190.5 << 1;
        QTest::newRow("two layouts are read") << templates(R"(
  <Template brand="B" part="T" size="A4">
    <Label-rectangle id="0" width="10mm" height="10mm">
      <Layout nx="2" ny="2" x0="10mm" y0="10mm" dx="20mm" dy="20mm"/>
      <Layout nx="1" ny="1" x0="100mm" y0="100mm"/>
    </Label-rectangle>
  </Template>)") << true << 1 << 0 << LabelShape::Rectangle
                                              << 100.0 << 100.0 << 2;
        QTest::newRow("disc is another shape") << templates(R"(
  <Template brand="B" part="CD" size="A4">
    <Label-cd id="0" radius="58.5mm" hole="20mm">
      <Layout nx="1" ny="2" x0="46.5mm" y0="20mm" dy="140mm"/>
    </Label-cd>
  </Template>)") << true << 1 << 0 << LabelShape::Other
                                               << 0.0 << 0.0 << 1;
        QTest::newRow("equivalent without geometry")
            << templates(R"(<Template brand="B" part="Q" equiv="R"/>)") << true << 1 << 0
            << LabelShape::Other << 0.0 << 0.0 << 0;
        QTest::newRow("malformed width leaves the product out") << templates(R"(
  <Template brand="B" part="bad" size="A4">
    <Label-rectangle id="0" width="sixty" height="20mm">
      <Layout nx="3" ny="12" x0="12mm" y0="12mm" dx="63mm" dy="23mm"/>
    </Label-rectangle>
  </Template>
  <Template brand="B" part="good" size="A4">
    <Label-rectangle id="0" width="60mm" height="20mm">
      <Layout nx="3" ny="12" x0="12mm" y0="12mm" dx="63mm" dy="23mm"/>
    </Label-rectangle>
  </Template>)") << true << 1 << 1 << LabelShape::Rectangle << 600.0
                                                                << 200.0 << 1;
        QTest::newRow("empty offset is the edge") << templates(R"(
  <Template brand="B" part="edge" size="A4">
    <Label-rectangle id="0" width="70mm" height="36mm" round="0">
      <Layout nx="3" ny="8" x0="" y0="4.5mm" dx="70mm" dy="36mm"/>
    </Label-rectangle>
  </Template>)") << true << 1 << 0 << LabelShape::Rectangle
                                                  << 700.0 << 360.0 << 1;
        QTest::newRow("malformed count") << templates(R"(
  <Template brand="B" part="bad" size="A4">
    <Label-rectangle id="0" width="60mm" height="20mm">
      <Layout nx="three" ny="12" x0="12mm" y0="12mm" dx="63mm" dy="23mm"/>
    </Label-rectangle>
  </Template>)") << true << 0 << 1 << LabelShape::Other
                                         << 0.0 << 0.0 << 0;
        QTest::newRow("zero radius") << templates(R"(
  <Template brand="B" part="bad" size="A4">
    <Label-round id="0" radius="0"><Layout nx="1" ny="1" x0="0" y0="0"/></Label-round>
  </Template>)") << true << 0 << 1 << LabelShape::Other
                                     << 0.0 << 0.0 << 0;
        QTest::newRow("no paper") << templates(R"(
  <Template brand="B" part="bad">
    <Label-rectangle id="0" width="60mm" height="20mm"/>
  </Template>)") << true << 0 << 1 << LabelShape::Other
                                  << 0.0 << 0.0 << 0;
        QTest::newRow("not well-formed") << QByteArray("<Glabels-templates><Template brand=\"B\"")
                                         << false << 0 << 0 << LabelShape::Other << 0.0 << 0.0 << 0;
        QTest::newRow("empty file")
            << QByteArray() << false << 0 << 0 << LabelShape::Other << 0.0 << 0.0 << 0;
        QTest::newRow("another kind of file")
            << QByteArray("<Glabels-categories><Category id=\"label\"/></Glabels-categories>")
            << true << 0 << 0 << LabelShape::Other << 0.0 << 0.0 << 0;
    }

    void file()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, usable);
        QFETCH(int, kept);
        QFETCH(int, leftOut);
        QFETCH(LabelShape, shape);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(int, layouts);

        const LabelTemplateFile parsed = parseLabelTemplateFile(content);
        QCOMPARE(parsed.usable(), usable);
        QCOMPARE(parsed.templates.size(), kept);
        QCOMPARE(parsed.templatesLeftOut, leftOut);
        QCOMPARE(parsed.firstFault.isEmpty(), leftOut == 0);
        if (kept == 0)
            return;
        const LabelTemplate& product = parsed.templates.constLast();
        QCOMPARE(product.shape, shape);
        QCOMPARE(product.labelWidth, width);
        QCOMPARE(product.labelHeight, height);
        QCOMPARE(product.layouts.size(), layouts);
    }

    void conversion_data()
    {
        QTest::addColumn<QByteArray>("product");
        QTest::addColumn<bool>("printable");
        QTest::addColumn<LabelSheet>("expected");

        QTest::newRow("A4 by name") << QByteArray(R"(
  <Template brand="T" part="P" size="A4">
    <Label-rectangle id="0" width="60mm" height="20mm">
      <Layout nx="3" ny="12" x0="12mm" y0="12mm" dx="63mm" dy="23mm"/>
    </Label-rectangle>
  </Template>)") << true << sheet(PaperKind::A4, 600, 200, 120, 120, 30, 30, 3, 12);
        QTest::newRow("A4 by size in points") << QByteArray(R"(
  <Template brand="T" part="P" size="Other" width="595.276pt" height="841.89pt">
    <Label-rectangle id="0" width="60mm" height="20mm">
      <Layout nx="3" ny="12" x0="12mm" y0="12mm" dx="63mm" dy="23mm"/>
    </Label-rectangle>
  </Template>)") << true << sheet(PaperKind::A4, 600, 200, 120, 120, 30, 30, 3, 12);
        QTest::newRow("JIS B5 by size") << QByteArray(R"(
  <Template brand="T" part="P" size="Other" width="182mm" height="257mm">
    <Label-round id="0" radius="20mm">
      <Layout nx="2" ny="3" x0="10mm" y0="10mm" dx="45mm" dy="45mm"/>
    </Label-round>
  </Template>)") << true << sheet(PaperKind::B5, 400, 400, 100, 100, 50, 50, 2, 3);
        QTest::newRow("ISO B5 is not the program's B5") << QByteArray(R"(
  <Template brand="T" part="P" size="B5">
    <Label-round id="0" radius="20mm">
      <Layout nx="2" ny="3" x0="10mm" y0="10mm" dx="45mm" dy="45mm"/>
    </Label-round>
  </Template>)") << false << LabelSheet();
        QTest::newRow("quarter sheet lying") << QByteArray(R"(
  <Template brand="T" part="P" size="Other" width="148mm" height="105mm">
    <Label-ellipse id="0" width="40mm" height="20mm">
      <Layout nx="3" ny="4" x0="5mm" y0="5mm" dx="45mm" dy="24mm"/>
    </Label-ellipse>
  </Template>)") << true << sheet(PaperKind::A4Quarter, 400, 200, 50, 50, 50, 40, 3, 4);
        QTest::newRow("upright A6 is not the quarter sheet") << QByteArray(R"(
  <Template brand="T" part="P" size="Other" width="105mm" height="148mm">
    <Label-ellipse id="0" width="40mm" height="20mm">
      <Layout nx="2" ny="4" x0="5mm" y0="5mm" dx="45mm" dy="24mm"/>
    </Label-ellipse>
  </Template>)") << false << LabelSheet();
        QTest::newRow("letter paper") << QByteArray(R"(
  <Template brand="T" part="P" size="US-Letter">
    <Label-rectangle id="0" width="2.625in" height="1in">
      <Layout nx="3" ny="10" x0="0.1875in" y0="0.5in" dx="2.75in" dy="1in"/>
    </Label-rectangle>
  </Template>)") << false << LabelSheet();
        // 0.3125in is 79.375 tenths, 1.25in 317.5 (a half, rounded up) and
        // the pitch 2.6875in 682.625.
        QTest::newRow("inches rounded") << QByteArray(R"(
  <Template brand="T" part="P" size="A4">
    <Label-round id="0" radius="1.25in">
      <Layout nx="3" ny="3" x0="0.3125in" y0="1.25in" dx="2.6875in" dy="3in"/>
    </Label-round>
  </Template>)") << true << sheet(PaperKind::A4, 635, 635, 79, 318, 48, 127, 3, 3);
        // Label 63.45 mm rounds to 635, pitch 66.0 mm to 660: gap 25, where
        // rounding the difference 25.5 would give 26 and drift 0.1 mm a label.
        QTest::newRow("gap from rounded values") << QByteArray(R"(
  <Template brand="T" part="P" size="A4">
    <Label-rectangle id="0" width="63.45mm" height="33.85mm">
      <Layout nx="3" ny="8" x0="7.25mm" y0="0.05mm" dx="66mm" dy="36.1mm"/>
    </Label-rectangle>
  </Template>)") << true << sheet(PaperKind::A4, 635, 339, 73, 1, 25, 22, 3, 8);
        QTest::newRow("one column without pitch") << QByteArray(R"(
  <Template brand="T" part="P" size="A4">
    <Label-rectangle id="0" width="200mm" height="50mm">
      <Layout nx="1" ny="2" x0="5mm" y0="10mm" dy="60mm"/>
    </Label-rectangle>
  </Template>)") << true << sheet(PaperKind::A4, 2000, 500, 50, 100, 0, 100, 1, 2);
        QTest::newRow("two layouts refused") << QByteArray(R"(
  <Template brand="T" part="P" size="A4">
    <Label-rectangle id="0" width="10mm" height="10mm">
      <Layout nx="2" ny="2" x0="10mm" y0="10mm" dx="20mm" dy="20mm"/>
      <Layout nx="1" ny="1" x0="100mm" y0="100mm"/>
    </Label-rectangle>
  </Template>)") << false << LabelSheet();
        QTest::newRow("disc refused") << QByteArray(R"(
  <Template brand="T" part="P" size="A4">
    <Label-cd id="0" radius="58.5mm" hole="20mm">
      <Layout nx="1" ny="2" x0="46.5mm" y0="20mm" dy="140mm"/>
    </Label-cd>
  </Template>)") << false << LabelSheet();
        QTest::newRow("overlapping labels refused") << QByteArray(R"(
  <Template brand="T" part="P" size="A4">
    <Label-rectangle id="0" width="60mm" height="20mm">
      <Layout nx="3" ny="2" x0="12mm" y0="12mm" dx="50mm" dy="23mm"/>
    </Label-rectangle>
  </Template>)") << false << LabelSheet();
        QTest::newRow("no labels in the layout") << QByteArray(R"(
  <Template brand="T" part="P" size="A4">
    <Label-rectangle id="0" width="60mm" height="20mm">
      <Layout nx="0" ny="2" x0="12mm" y0="12mm" dx="63mm" dy="23mm"/>
    </Label-rectangle>
  </Template>)") << false << LabelSheet();
        QTest::newRow("huge offset") << QByteArray(R"(
  <Template brand="T" part="P" size="A4">
    <Label-rectangle id="0" width="60mm" height="20mm">
      <Layout nx="1" ny="1" x0="1e30mm" y0="12mm"/>
    </Label-rectangle>
  </Template>)") << false << LabelSheet();
    }

    void conversion()
    {
        QFETCH(QByteArray, product);
        QFETCH(bool, printable);
        QFETCH(LabelSheet, expected);

        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(u"paper-sizes.xml"_s), paperSizes));
        QVERIFY(writeFile(dir.filePath(u"t.xml"_s), templates(product)));
        const LabelDatabase database = LabelDatabase::load({dir.path()});
        QVERIFY2(database.problems().isEmpty(), qPrintable(database.problems().join(u'\n')));
        QCOMPARE(database.products().size(), 1);

        const LabelSheetConversion converted = convertLabelSheet(database.products().constFirst());
        QCOMPARE(converted.sheet.has_value(), printable);
        QCOMPARE(converted.whyNot.isEmpty(), printable);
        if (printable)
            QCOMPARE(*converted.sheet, expected);
    }

    void applyChangesOnlyTheSheetsValues()
    {
        MainValues main;
        main.countText = u"7"_s;
        main.keepAspect = true;
        main.fillOrder = FillOrder::ColumnsFirst;
        OptionValues options;
        options.drawFrame = 1;
        options.frameRed = 10;
        options.fontPercent = 150;

        applyLabelSheet(sheet(PaperKind::B5, 600, 200, 120, 110, 30, 20, 3, 12), main, options);

        MainValues expectedMain;
        expectedMain.ticketType = TicketType::Other;
        expectedMain.customWidth = 600;
        expectedMain.customHeight = 200;
        expectedMain.paper = PaperKind::B5;
        expectedMain.countText = u"7"_s;
        expectedMain.keepAspect = true;
        expectedMain.fillOrder = FillOrder::ColumnsFirst;
        QCOMPARE(main, expectedMain);

        OptionValues expectedOptions;
        expectedOptions.drawFrame = 1;
        expectedOptions.frameRed = 10;
        expectedOptions.fontPercent = 150;
        expectedOptions.offsetX = 120;
        expectedOptions.offsetY = 110;
        expectedOptions.gapH = 30;
        expectedOptions.gapV = 20;
        expectedOptions.limitGrid = 1;
        expectedOptions.maxRows = 12;
        expectedOptions.maxCols = 3;
        QCOMPARE(options, expectedOptions);
    }

    void equivalentsAndFolders()
    {
        QTemporaryDir user;
        QTemporaryDir installed;
        QVERIFY(writeFile(installed.filePath(u"paper-sizes.xml"_s), paperSizes));
        QVERIFY(writeFile(installed.filePath(u"a.xml"_s), templates(R"(
  <Template brand="Maker" part="BASE" size="A4" _description="Base labels">
    <Label-rectangle id="0" width="60mm" height="20mm">
      <Layout nx="3" ny="12" x0="12mm" y0="12mm" dx="63mm" dy="23mm"/>
    </Label-rectangle>
  </Template>
  <Template brand="Maker" part="SAME" equiv="BASE"/>
  <Template brand="Maker" part="CHAIN" equiv="SAME" _description="Own words"/>
  <Template brand="Other" part="ELSEWHERE" equiv="BASE"/>
  <Template brand="Maker" part="LOOP1" equiv="LOOP2"/>
  <Template brand="Maker" part="LOOP2" equiv="LOOP1"/>
  <Template brand="Maker" part="MINE" equiv="BASE"/>)")));
        QVERIFY(writeFile(installed.filePath(u"broken.xml"_s), "<Glabels-templates><Template"));
        // The user's own product of the same name comes first and wins.
        QVERIFY(writeFile(user.filePath(u"mine.xml"_s), templates(R"(
  <Template brand="maker" part="mine" size="A4">
    <Label-round id="0" radius="10mm">
      <Layout nx="2" ny="2" x0="10mm" y0="10mm" dx="30mm" dy="30mm"/>
    </Label-round>
  </Template>)")));

        const LabelDatabase database = LabelDatabase::load(
            {user.path(), u"/nonexistent/folder"_s, installed.path(), installed.path() + u"/."_s});
        QCOMPARE(database.filesRead(), 4);
        QCOMPARE(database.problems().size(), 1);
        QVERIFY(database.problems().constFirst().contains(u"broken.xml"_s));
        QCOMPARE(database.products().size(), 7);

        const auto sheetOf = [&](const QString& name) -> std::optional<LabelSheet> {
            const LabelTemplate* product = database.find(name);
            return product ? convertLabelSheet(*product).sheet : std::nullopt;
        };
        const LabelSheet base = sheet(PaperKind::A4, 600, 200, 120, 120, 30, 30, 3, 12);
        QCOMPARE(sheetOf(u"Maker BASE"_s), base);
        QCOMPARE(sheetOf(u"maker  same"_s), base);
        QCOMPARE(sheetOf(u"Maker CHAIN"_s), base);
        QCOMPARE(database.find(u"Maker CHAIN"_s)->description, u"Own words"_s);
        QCOMPARE(database.find(u"Maker SAME"_s)->description, u"Base labels"_s);
        QCOMPARE(sheetOf(u"Other ELSEWHERE"_s), std::nullopt);
        QCOMPARE(sheetOf(u"Maker LOOP1"_s), std::nullopt);
        QCOMPARE(sheetOf(u"Maker MINE"_s),
                 sheet(PaperKind::A4, 200, 200, 100, 100, 100, 100, 2, 2));
        QCOMPARE(database.find(u"Maker NOTHING"_s), nullptr);
    }
};

QTEST_GUILESS_MAIN(TestLabelTemplates)
#include "tst_labeltemplates.moc"
