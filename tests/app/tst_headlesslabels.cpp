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

const QString installedDataDir = u"/usr/share"_s;

// Hisago ELM033 at 254 dpi, where a pixel is a tenth of a millimetre: 36
// labels of 60 x 20 mm, 3 across and 12 down, 12 mm from the paper's edges.
sheetprobe::Sheet elm033Sheet()
{
    sheetprobe::Sheet sheet;
    sheet.ticketWidth = 600;
    sheet.ticketHeight = 200;
    sheet.offsetX = 120;
    sheet.offsetY = 120;
    sheet.gapH = 30;
    sheet.gapV = 30;
    sheet.columns = 3;
    sheet.rows = 12;
    sheet.count = 36;
    return sheet;
}

} // namespace

// Runs the program from the command line with a label sheet product of the
// installed database, or of a user's own file.
class TestHeadlessLabels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void printsOnTheProductsGrid();
    void countBeyondTheSheetDoesNotFit();
    void storedTurnIsNotTheLabels_data();
    void storedTurnIsNotTheLabels();
    void listsPrintableProducts();
    void refused_data();
    void refused();
    void withoutAnyDatabase();
    void malformedUserFileIsSkippedWithOneLine();

private:
    Run zorvane(const QStringList& arguments, const QString& dataDirs = installedDataDir);
    QString userLabelFolder() const;

    std::unique_ptr<QTemporaryDir> dir_;
    QString storePath_;
    QString picture_;
};

void TestHeadlessLabels::init()
{
    if (!QDir(installedDataDir + u"/libglabels-3.0/templates"_s).exists()) {
        if (qEnvironmentVariableIsSet("CI"))
            QFAIL("the installed label database is missing");
        QSKIP("the label database is not installed");
    }
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    storePath_ = dir_->filePath(u"config/Local AppWizard-Generated Applications/Zorvane.ini"_s);
    picture_ = dir_->filePath(u"picture.png"_s);
    QVERIFY(sheetprobe::quarteredPicture(300, 100).save(picture_));
}

QString TestHeadlessLabels::userLabelFolder() const
{
    return dir_->filePath(u"data/Local AppWizard-Generated Applications/Zorvane/labels"_s);
}

Run TestHeadlessLabels::zorvane(const QStringList& arguments, const QString& dataDirs)
{
    QProcessEnvironment env;
    env.insert(u"XDG_CONFIG_HOME"_s, dir_->filePath(u"config"_s));
    env.insert(u"XDG_DATA_HOME"_s, dir_->filePath(u"data"_s));
    env.insert(u"XDG_DATA_DIRS"_s, dataDirs);
    return zorvane::test::runWithoutDisplay(QStringLiteral(ZORVANE_EXECUTABLE), arguments, env);
}

void TestHeadlessLabels::printsOnTheProductsGrid()
{
    {
        // Stored advanced values that the product replaces for this run.
        SettingsStore store(storePath_);
        store.WriteProfileInt(keys::optionSection, keys::option::offsetX, 300);
        store.WriteProfileInt(keys::optionSection, keys::option::gapH, 0);
        store.WriteProfileInt(keys::optionSection, keys::option::drawFrame, 0);
    }
    const QByteArray storedBefore = readFile(storePath_);
    const QString png = dir_->filePath(u"sheet.png"_s);

    // At 254 dpi a pixel is a tenth of a millimetre.
    const Run run = zorvane({u"--print-to"_s, png, u"--picture"_s, picture_, u"--dpi"_s, u"254"_s,
                             u"--label"_s, u"Hisago ELM033"_s, u"--count"_s, u"36"_s});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    const QImage page(png);
    QCOMPARE(page.size(), QSize(2100, 2970));

    const QString fault = sheetprobe::check(page, 254, elm033Sheet());
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    // The first ticket starts 12 mm from the paper's left and top edges.
    QCOMPARE(page.pixelColor(120, 120), sheetprobe::topLeftColour);
    QCOMPARE(page.pixelColor(119, 120), QColor(Qt::white));
    QCOMPARE(page.pixelColor(120, 119), QColor(Qt::white));
    // The last one ends at 12 + 2 x 63 + 60 = 198 mm and 12 + 11 x 23 + 20 = 285 mm.
    QCOMPARE(page.pixelColor(1979, 2849), sheetprobe::bottomRightColour);
    QCOMPARE(page.pixelColor(1980, 2849), QColor(Qt::white));
    QCOMPARE(page.pixelColor(1979, 2850), QColor(Qt::white));

    QCOMPARE(readFile(storePath_), storedBefore);
}

void TestHeadlessLabels::countBeyondTheSheetDoesNotFit()
{
    const QString png = dir_->filePath(u"none.png"_s);
    const Run run = zorvane({u"--print-to"_s, png, u"--picture"_s, picture_, u"--label"_s,
                             u"hisago elm033"_s, u"--count"_s, u"37"_s});
    QCOMPARE(run.status, 1);
    QVERIFY(!QFile::exists(png));
}

void TestHeadlessLabels::storedTurnIsNotTheLabels_data()
{
    QTest::addColumn<bool>("turnGiven");
    QTest::addColumn<int>("status");
    QTest::newRow("turn stored in the window") << false << 0;
    // Turned, 20 x 60 mm tickets: 3 across and 4 down do not hold 36.
    QTest::newRow("--turn given") << true << 1;
}

// The labels stand as the product gives them; the turn the window last
// used is not theirs.
void TestHeadlessLabels::storedTurnIsNotTheLabels()
{
    QFETCH(bool, turnGiven);
    QFETCH(int, status);
    {
        SettingsStore store(storePath_);
        store.WriteProfileInt(keys::sheetSection, keys::sheet::turned, 1);
    }
    const QString png = dir_->filePath(u"sheet.png"_s);
    QStringList arguments{u"--print-to"_s, png,      u"--picture"_s, picture_,
                          u"--dpi"_s,      u"254"_s, u"--label"_s,   u"Hisago ELM033"_s,
                          u"--count"_s,    u"36"_s};
    if (turnGiven)
        arguments << u"--turn"_s;
    const Run run = zorvane(arguments);
    QCOMPARE(run.status, status);
    if (status != 0) {
        QVERIFY(!QFile::exists(png));
        return;
    }
    QCOMPARE(run.err, QString());
    const QString fault = sheetprobe::check(QImage(png), 254, elm033Sheet());
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    // The window's choice is left as it was.
    QCOMPARE(SettingsStore(storePath_).GetProfileInt(keys::sheetSection, keys::sheet::turned, 0),
             1);
}

void TestHeadlessLabels::listsPrintableProducts()
{
    const Run run = zorvane({u"--list-labels"_s});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    QVERIFY2(lines.contains(u"Hisago ELM033\tA4\t60.0 x 20.0 mm\t3 x 12\t36 of 36 fit"_s),
             qPrintable(lines.mid(0, 5).join(u'\n')));
    QVERIFY(lines.size() > 500);
    // Letter paper and discs are not the program's.
    for (const QString& line : lines)
        QVERIFY2(line.contains(u"\tA4\t"_s) || line.contains(u"\tB5\t"_s) ||
                     line.contains(u"\tA4Quarter\t"_s),
                 qPrintable(line));
}

void TestHeadlessLabels::refused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("mentions");

    QTest::newRow("unknown product")
        << QStringList{u"--label"_s, u"Hisago NOSUCH"_s} << u"NOSUCH"_s;
    QTest::newRow("letter paper") << QStringList{u"--label"_s, u"Avery 5160"_s} << u"paper"_s;
    QTest::newRow("with a type") << QStringList{u"--label"_s, u"Hisago ELM033"_s, u"--type"_s,
                                                u"A"_s}
                                 << u"--type"_s;
    QTest::newRow("with a paper") << QStringList{u"--label"_s, u"Hisago ELM033"_s, u"--paper"_s,
                                                 u"B5"_s}
                                  << u"--paper"_s;
    QTest::newRow("listing while printing")
        << QStringList{u"--list-labels"_s} << u"--list-labels"_s;
    QTest::newRow("with a size") << QStringList{u"--label"_s, u"Hisago ELM033"_s, u"--size"_s,
                                                u"10x10"_s}
                                 << u"--size"_s;
}

void TestHeadlessLabels::refused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mentions);
    const QString png = dir_->filePath(u"none.png"_s);
    const Run run =
        zorvane(QStringList{u"--print-to"_s, png, u"--picture"_s, picture_} + arguments);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.err.startsWith(u"Zorvane: "_s), qPrintable(run.err));
    QVERIFY2(run.err.contains(mentions), qPrintable(run.err));
    QCOMPARE(run.err.count(u'\n'), 1);
    QVERIFY(!QFile::exists(png));
}

void TestHeadlessLabels::withoutAnyDatabase()
{
    const Run list = zorvane({u"--list-labels"_s}, dir_->filePath(u"empty"_s));
    QCOMPARE(list.status, 2);
    QVERIFY2(list.err.contains(u"glabels-data"_s), qPrintable(list.err));
    QCOMPARE(list.out, QString());
}

void TestHeadlessLabels::malformedUserFileIsSkippedWithOneLine()
{
    QVERIFY(QDir().mkpath(userLabelFolder()));
    QFile broken(userLabelFolder() + u"/broken.xml"_s);
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("<Glabels-templates><Template brand=\"Mine\" part=\"1\"");
    broken.close();
    QFile mine(userLabelFolder() + u"/mine.xml"_s);
    QVERIFY(mine.open(QIODevice::WriteOnly));
    mine.write(R"(<Glabels-templates>
  <Template brand="Mine" part="Big" size="A4">
    <Label-rectangle id="0" width="90mm" height="50mm">
      <Layout nx="2" ny="5" x0="10mm" y0="10mm" dx="95mm" dy="55mm"/>
    </Label-rectangle>
  </Template>
</Glabels-templates>)");
    mine.close();

    const Run run = zorvane({u"--list-labels"_s}, dir_->filePath(u"empty"_s));
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, u"Mine Big\tA4\t90.0 x 50.0 mm\t2 x 5\t10 of 10 fit\n"_s);
    QCOMPARE(run.err.count(u'\n'), 1);
    QVERIFY2(run.err.startsWith(u"Zorvane: "_s) && run.err.contains(u"broken.xml"_s),
             qPrintable(run.err));
}

QTEST_GUILESS_MAIN(TestHeadlessLabels)
#include "tst_headlesslabels.moc"
