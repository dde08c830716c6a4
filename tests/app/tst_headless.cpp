#include "CalibrationProbe.h"
#include "PdfProbe.h"
#include "ProgramRun.h"
#include "SheetProbe.h"
#include "TestFiles.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace zorvane;
using zorvane::test::readFile;
using namespace Qt::StringLiterals;

namespace {

using Run = zorvane::test::ProgramRun;

} // namespace

// Runs the program itself from the command line, as a user or a script
// would, with no display at all.
class TestHeadless : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void helpListsTheOptions();
    void pngAt300DpiHoldsTheStoredSheet();
    void overridesApplyForThisRunOnly();
    void pdfHasThePapersSize();
    void countThatDoesNotFit();
    void nothingToPrint_data();
    void nothingToPrint();
    void versionComesFromTheBuild();
    void badInput_data();
    void badInput();
    void printWithoutAnyPrinter();
    void calibrationSheetWithoutAPicture();
    void countAllFillsTheFreeCells();
    void readmeExamplesRunOnFreshSettings();

private:
    Run zorvane(const QStringList& arguments, const QString& cupsServer = QString());
    void storeMain(const char* key, const QVariant& value);

    std::unique_ptr<QTemporaryDir> dir_;
    QString storePath_;
    QString picture_;
};

void TestHeadless::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    storePath_ = dir_->filePath(u"config/Local AppWizard-Generated Applications/Zorvane.ini"_s);
    picture_ = dir_->filePath(u"picture.png"_s);
    QVERIFY(sheetprobe::quarteredPicture(300, 160).save(picture_));
}

Run TestHeadless::zorvane(const QStringList& arguments, const QString& cupsServer)
{
    QProcessEnvironment env;
    env.insert(u"XDG_CONFIG_HOME"_s, dir_->filePath(u"config"_s));
    if (!cupsServer.isEmpty())
        env.insert(u"CUPS_SERVER"_s, cupsServer);
    return zorvane::test::runWithoutDisplay(QStringLiteral(ZORVANE_EXECUTABLE), arguments, env);
}

void TestHeadless::storeMain(const char* key, const QVariant& value)
{
    SettingsStore store(storePath_);
    if (value.typeId() == QMetaType::QString)
        store.WriteProfileString(keys::mainSection, key, value.toString());
    else
        store.WriteProfileInt(keys::mainSection, key, value.toInt());
}

void TestHeadless::helpListsTheOptions()
{
    const Run run = zorvane({u"--help"_s});
    QCOMPARE(run.status, 0);
    for (const QString& option :
         {u"--print-to"_s, u"--print"_s, u"--picture"_s, u"--dpi"_s, u"--type"_s, u"--size"_s,
          u"--paper"_s, u"--count"_s, u"--order"_s, u"--calibration-sheet"_s, u"--version"_s,
          // the two files a user may want to find or remove
          u"Local AppWizard-Generated Applications/Zorvane.ini"_s, u"devmode.zvn"_s})
        QVERIFY2(run.out.contains(option), qPrintable(option));
    QCOMPARE(run.err, QString());
}

void TestHeadless::pngAt300DpiHoldsTheStoredSheet()
{
    storeMain(keys::main::countText, u"7"_s);
    storeMain(keys::main::rowsFirst, 0);
    storeMain(keys::main::columnsFirst, 1);
    const QString png = dir_->filePath(u"sheet.png"_s);

    const Run run = zorvane({u"--print-to"_s, png, u"--picture"_s, picture_, u"--dpi"_s, u"300"_s});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    const QImage page(png);
    QCOMPARE(page.size(), QSize(2480, 3507)); // A4 at 300 dpi, truncated as the preview
    QCOMPARE(page.dotsPerMeterX(), 11811);

    sheetprobe::Sheet sheet; // origin at the paper's corner
    sheet.columns = 3;
    sheet.rows = 9;
    sheet.count = 7;
    sheet.order = FillOrder::ColumnsFirst;
    const QString fault = sheetprobe::check(page, 300, sheet);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    // The first ticket's picture starts exactly at pixel 118 = 100 * 300 / 254.
    QCOMPARE(page.pixelColor(118, 118), sheetprobe::topLeftColour);
    QCOMPARE(page.pixelColor(117, 118), QColor(Qt::white));
    QCOMPARE(page.pixelColor(118, 117), QColor(Qt::white));
}

void TestHeadless::overridesApplyForThisRunOnly()
{
    storeMain(keys::main::countText, u"30"_s);
    const QByteArray storedBefore = readFile(storePath_);
    const QString png = dir_->filePath(u"quarter.png"_s);

    const Run run = zorvane({u"--print-to"_s, png, u"--picture"_s, picture_, u"--dpi"_s, u"200"_s,
                             u"--paper"_s, u"A4Quarter"_s, u"--type"_s, u"Z"_s, u"--size"_s,
                             u"400x250"_s, u"--count"_s, u"5"_s, u"--order"_s, u"rows"_s});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    const QImage page(png);
    QCOMPARE(page.size(), QSize(1165, 826)); // 148 x 105 mm at 200 dpi, wide, truncated

    sheetprobe::Sheet sheet;
    sheet.ticketWidth = 400;
    sheet.ticketHeight = 250;
    sheet.columns = 3; // (1380 - 100) / 403
    sheet.rows = 3;    // (950 - 100) / 253
    sheet.count = 5;
    const QString fault = sheetprobe::check(page, 200, sheet);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    QCOMPARE(readFile(storePath_), storedBefore);
}

void TestHeadless::pdfHasThePapersSize()
{
    if (!pdfprobe::toolsAvailable())
        QSKIP("poppler tools (pdfinfo, pdftoppm) are not installed");
    const QString pdf = dir_->filePath(u"sheet.pdf"_s);
    const Run run = zorvane({u"--print-to"_s, pdf, u"--picture"_s, picture_, u"--paper"_s, u"B5"_s,
                             u"--count"_s, u"14"_s});
    QCOMPARE(run.status, 0);
    const QSizeF page = pdfprobe::pageSizeMm(pdf);
    QVERIFY2(qAbs(page.width() - 182) < 0.5 && qAbs(page.height() - 257) < 0.5,
             qPrintable(u"%1 x %2"_s.arg(page.width()).arg(page.height())));
    sheetprobe::Sheet sheet;
    sheet.columns = 2;
    sheet.rows = 7;
    sheet.count = 14;
    const QString fault = sheetprobe::check(pdfprobe::render(pdf, 100), 100, sheet);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    QCOMPARE(pdfprobe::imageCount(pdf), 1);
}

void TestHeadless::countThatDoesNotFit()
{
    const QString png = dir_->filePath(u"none.png"_s);
    const Run run =
        zorvane({u"--print-to"_s, png, u"--picture"_s, picture_, u"--count"_s, u"28"_s});
    QCOMPARE(run.status, 1);
    QCOMPARE(run.err, u"Zorvane: すべてのアイテムを印刷できません。設定を変更して下さい。\n"_s);
    QVERIFY(!QFile::exists(png));
}

void TestHeadless::nothingToPrint_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("mentions");

    QTest::newRow("count 0") << QStringList{u"--count"_s, u"0"_s, u"@PIC@"_s} << u"count"_s;
    QTest::newRow("count negative") << QStringList{u"--count"_s, u"-3"_s, u"@PIC@"_s} << u"count"_s;
    QTest::newRow("count not a number")
        << QStringList{u"--count"_s, u"x"_s, u"@PIC@"_s} << u"count"_s;
    QTest::newRow("no picture") << QStringList{u"--count"_s, u"3"_s} << u"picture"_s;
    // Tickets of no area: any number fits and none shows.
    QTest::newRow("width 0") << QStringList{u"--type"_s,  u"Z"_s,  u"--size"_s, u"0x300"_s,
                                            u"--count"_s, u"10"_s, u"@PIC@"_s}
                             << u"ticket"_s;
    QTest::newRow("height negative") << QStringList{u"--type"_s,  u"Z"_s,  u"--size"_s, u"300x-5"_s,
                                                    u"--count"_s, u"10"_s, u"@PIC@"_s}
                                     << u"ticket"_s;
    QTest::newRow("stored size 0 x 0")
        << QStringList{u"--type"_s, u"Z"_s, u"--count"_s, u"10"_s, u"@PIC@"_s} << u"ticket"_s;
}

// A sheet with no tickets would be a blank page: nothing is written.
void TestHeadless::nothingToPrint()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mentions);
    for (QString& argument : arguments)
        argument.replace(u"@PIC@"_s, picture_);
    const QString png = dir_->filePath(u"blank.png"_s);

    const Run run = zorvane(QStringList{u"--print-to"_s, png} + arguments);
    QCOMPARE(run.status, 4);
    QVERIFY2(run.err.startsWith(u"Zorvane: nothing to print"_s), qPrintable(run.err));
    QVERIFY2(run.err.contains(mentions), qPrintable(run.err));
    QCOMPARE(run.err.count(u'\n'), 1);
    QVERIFY(!QFile::exists(png));
}

void TestHeadless::versionComesFromTheBuild()
{
    const Run run = zorvane({u"--version"_s});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, u"Zorvane 1.10\n"_s);
    QCOMPARE(run.err, QString());
}

void TestHeadless::badInput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("mentions");

    QTest::newRow("missing picture")
        << QStringList{u"--print-to"_s, u"@DIR@/a.png"_s, u"--picture"_s, u"@DIR@/none.jpg"_s}
        << u"none.jpg"_s;
    QTest::newRow("not a picture")
        << QStringList{u"--print-to"_s, u"@DIR@/a.png"_s, u"--picture"_s, u"@DIR@/config"_s}
        << u"picture"_s;
    QTest::newRow("unknown option")
        << QStringList{u"--print"_s, u"--picture"_s, u"@PIC@"_s, u"--colour"_s} << u"colour"_s;
    QTest::newRow("second file") << QStringList{u"--print-to"_s, u"@DIR@/a.png"_s, u"@PIC@"_s,
                                                u"@PIC@"_s}
                                 << u"second"_s;
    QTest::newRow("unknown option opens no window")
        << QStringList{u"--colour"_s, u"@PIC@"_s} << u"--colour"_s;
    QTest::newRow("unwritable output") << QStringList{u"--print-to"_s, u"@DIR@/no/such/dir/a.pdf"_s,
                                                      u"--picture"_s,  u"@PIC@"_s,
                                                      u"--count"_s,    u"1"_s}
                                       << u"a.pdf"_s;
    QTest::newRow("calibration sheet without destination")
        << QStringList{u"--calibration-sheet"_s} << u"--print-to FILE or --print"_s;
}

void TestHeadless::badInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mentions);
    QDir().mkpath(dir_->filePath(u"config"_s));
    for (QString& argument : arguments)
        argument.replace(u"@DIR@"_s, dir_->path()).replace(u"@PIC@"_s, picture_);

    const Run run = zorvane(arguments);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.err.startsWith(u"Zorvane: "_s), qPrintable(run.err));
    QVERIFY2(run.err.contains(mentions), qPrintable(run.err));
    QCOMPARE(run.err.count(u'\n'), 1);
}

void TestHeadless::printWithoutAnyPrinter()
{
    // A print system that cannot be reached has no printer at all.
    const Run run = zorvane({u"--print"_s, u"--picture"_s, picture_, u"--count"_s, u"1"_s},
                            dir_->filePath(u"no-cups.sock"_s));
    QCOMPARE(run.status, 3);
    QCOMPARE(run.err, u"Zorvane: プリンタの検出に失敗しました。\n"_s);
}

// The sheet of the paper given on the command line, its crosshairs 20 mm in
// from the paper's edges; no picture is needed.
void TestHeadless::calibrationSheetWithoutAPicture()
{
    const QString png = dir_->filePath(u"calibration.png"_s);
    const Run run = zorvane({u"--calibration-sheet"_s, u"--print-to"_s, png, u"--paper"_s,
                             u"A4Quarter"_s, u"--dpi"_s, u"300"_s});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    const QImage page(png);
    QCOMPARE(page.size(), QSize(1748, 1240)); // 148 x 105 mm at 300 dpi
    const QPointF nearMark = calibrationprobe::crosshairMm(page, 300, {20, 20}, 1);
    const QPointF farMark = calibrationprobe::crosshairMm(page, 300, {128, 85}, -1);
    QVERIFY2((nearMark - QPointF(20, 20)).manhattanLength() < 0.1,
             qPrintable(u"%1, %2"_s.arg(nearMark.x()).arg(nearMark.y())));
    QVERIFY2((farMark - QPointF(128, 85)).manhattanLength() < 0.1,
             qPrintable(u"%1, %2"_s.arg(farMark.x()).arg(farMark.y())));
}

void TestHeadless::countAllFillsTheFreeCells()
{
    const QString png = dir_->filePath(u"sheet.png"_s);
    Run run = zorvane({u"--print-to"_s, png, u"--picture"_s, picture_, u"--dpi"_s, u"100"_s,
                       u"--count"_s, u"all"_s});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    sheetprobe::Sheet sheet;
    sheet.columns = 3;
    sheet.rows = 9;
    sheet.count = 27;
    const QString fault = sheetprobe::check(QImage(png), 100, sheet);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));

    // With 26 cells used, the last cell alone: (8, 2) from 1264 x 2540
    // tenths, 497 x 1000 pixels at 100 dpi.
    run = zorvane({u"--print-to"_s, png, u"--picture"_s, picture_, u"--dpi"_s, u"100"_s,
                   u"--count"_s, u"ALL"_s, u"--skip"_s, u"26"_s});
    QCOMPARE(run.status, 0);
    const QImage page(png);
    QCOMPARE(page.pixelColor(502, 1005), sheetprobe::topLeftColour);
    QCOMPARE(page.pixelColor(273, 1005), QColor(Qt::white));

    run = zorvane({u"--print-to"_s, png, u"--picture"_s, picture_, u"--count"_s, u"all"_s,
                   u"--skip"_s, u"27"_s});
    QCOMPARE(run.status, 4);
}

// A new user copies the README's examples: each runs as written on the
// settings of a first start.
void TestHeadless::readmeExamplesRunOnFreshSettings()
{
    const QString readme = QFINDTESTDATA("../../README.md");
    QVERIFY(!readme.isEmpty());
    QImage photo(400, 300, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    QVERIFY(photo.save(dir_->filePath(u"photo.jpg"_s)));
    const QStringList lines = QString::fromUtf8(readFile(readme)).split(u'\n');
    int examples = 0;
    for (const QString& line : lines) {
        if (!line.startsWith(u"    Zorvane --print-to "_s))
            continue;
        QStringList arguments = QProcess::splitCommand(line.section(u'#', 0, 0).trimmed());
        arguments.removeFirst();
        for (QString& argument : arguments) {
            if (argument == u"photo.jpg"_s || argument.startsWith(u"sheet."_s))
                argument = dir_->filePath(argument);
        }
        QFile::remove(
            dir_->filePath(u"config/Local AppWizard-Generated Applications/Zorvane.ini"_s));
        const Run run = zorvane(arguments);
        QVERIFY2(run.status == 0, qPrintable(line + u": "_s + run.err));
        ++examples;
    }
    QVERIFY(examples >= 3);
}

QTEST_GUILESS_MAIN(TestHeadless)
#include "tst_headless.moc"
