// The sheet options on the command line: the program itself is run, as a
// script would, and the PNG it draws is probed.
#include "ProgramRun.h"
#include "SheetProbe.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"

#include <QTemporaryDir>
#include <QTest>

using namespace zorvane;
using namespace Qt::StringLiterals;

namespace {

// A4 at 254 pixels per inch: one pixel is a tenth of a millimetre. A turned
// A ticket is 302 x 579, so cell (row, column) starts at
// (100 + column * 305, 100 + row * 582).
constexpr int turnedPitchX = 305;
constexpr int turnedPitchY = 582;

bool near(const QColor& found, const QColor& wanted)
{
    return qAbs(found.red() - wanted.red()) < 30 && qAbs(found.green() - wanted.green()) < 30 &&
           qAbs(found.blue() - wanted.blue()) < 30;
}

} // namespace

class TestHeadlessSheet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void usedCellsAndTurn_data();
    void usedCellsAndTurn();
    void badSheetOptions_data();
    void badSheetOptions();
    void cutMarksAndBleed_data();
    void cutMarksAndBleed();

private:
    int zorvane(const QStringList& arguments, QString* err = nullptr);

    std::unique_ptr<QTemporaryDir> dir_;
    QString storePath_;
    QString picture_;
};

void TestHeadlessSheet::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    storePath_ = dir_->filePath(u"config/Local AppWizard-Generated Applications/Zorvane.ini"_s);
    picture_ = dir_->filePath(u"picture.png"_s);
    QVERIFY(sheetprobe::quarteredPicture(300, 160).save(picture_));
}

int TestHeadlessSheet::zorvane(const QStringList& arguments, QString* err)
{
    QProcessEnvironment variables;
    variables.insert(u"XDG_CONFIG_HOME"_s, dir_->filePath(u"config"_s));
    const test::ProgramRun run =
        test::runWithoutDisplay(QStringLiteral(ZORVANE_EXECUTABLE), arguments, variables);
    if (err)
        *err = run.err;
    return run.status;
}

void TestHeadlessSheet::usedCellsAndTurn_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("drawn"); // the cells of the first row with a ticket, as columns
    // Stored: turned, marks on (0,0) and (0,2) of the turned A ticket on A4.
    QTest::newRow("stored marks") << QStringList{} << u"1 3 4"_s;
    QTest::newRow("skip replaces marks") << QStringList{u"--skip"_s, u"1"_s} << u"1 2 3"_s;
    QTest::newRow("skip none") << QStringList{u"--skip"_s, u"0"_s} << u"0 1 2"_s;
}

void TestHeadlessSheet::usedCellsAndTurn()
{
    QFETCH(QStringList, options);
    QFETCH(QString, drawn);
    {
        SettingsStore store(storePath_);
        store.WriteProfileInt(keys::sheetSection, keys::sheet::turned, 1);
        store.WriteProfileString(keys::sheetSection, "Used_A4_302x579_T", u"0:0 0:2"_s);
    }
    const QString png = dir_->filePath(u"sheet.png"_s);
    QString err;
    const int status = zorvane(QStringList{u"--print-to"_s, png, u"--picture"_s, picture_,
                                           u"--dpi"_s, u"254"_s, u"--count"_s, u"3"_s} +
                                   options,
                               &err);
    QCOMPARE(err, QString());
    QCOMPARE(status, 0);
    const QImage page(png);
    QVERIFY(!page.isNull());
    QStringList found;
    for (int column = 0; column < 6; ++column) {
        const int left = 100 + column * turnedPitchX;
        if (page.pixelColor(left + 151, 100 + 289) == QColor(Qt::white))
            continue;
        found << QString::number(column);
        // Turned clockwise: the picture's top-left quarter at the ticket's
        // top right, its bottom-right quarter at the bottom left.
        QVERIFY(near(page.pixelColor(left + 301 - 5, 105), sheetprobe::topLeftColour));
        QVERIFY(near(page.pixelColor(left + 5, 100 + 578 - 5), sheetprobe::bottomRightColour));
    }
    QCOMPARE(found.join(u' '), drawn);
    QCOMPARE(page.pixelColor(100 + 151, 100 + turnedPitchY + 289), QColor(Qt::white));
}

void TestHeadlessSheet::badSheetOptions_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("fit sideways") << QStringList{u"--fit"_s, u"sideways"_s} << u"--fit"_s;
    QTest::newRow("skip negative") << QStringList{u"--skip"_s, u"-1"_s} << u"--skip"_s;
    QTest::newRow("skip text") << QStringList{u"--skip"_s, u"3a"_s} << u"--skip"_s;
    QTest::newRow("turn with value") << QStringList{u"--turn=yes"_s} << u"turn"_s;
    QTest::newRow("bleed above 30 mm") << QStringList{u"--bleed"_s, u"301"_s} << u"--bleed"_s;
    QTest::newRow("bleed negative") << QStringList{u"--bleed"_s, u"-5"_s} << u"--bleed"_s;
    QTest::newRow("bleed in mm") << QStringList{u"--bleed"_s, u"2mm"_s} << u"--bleed"_s;
    QTest::newRow("cut marks with value") << QStringList{u"--cut-marks=yes"_s} << u"cut-marks"_s;
}

void TestHeadlessSheet::badSheetOptions()
{
    QFETCH(QStringList, options);
    QFETCH(QString, mentions);
    QString err;
    const int status =
        zorvane(QStringList{u"--print-to"_s, dir_->filePath(u"a.png"_s), u"--picture"_s, picture_} +
                    options,
                &err);
    QCOMPARE(status, 2);
    QVERIFY2(err.startsWith(u"Zorvane: "_s) && err.contains(mentions), qPrintable(err));
    QVERIFY(!QFile::exists(dir_->filePath(u"a.png"_s)));
}

void TestHeadlessSheet::cutMarksAndBleed_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("storedBleed"); // with stored cut marks when not 0
    QTest::addColumn<bool>("marks");
    QTest::addColumn<bool>("bleed");
    QTest::newRow("off") << QStringList{} << 0 << false << false;
    QTest::newRow("options") << QStringList{u"--cut-marks"_s, u"--bleed"_s, u"20"_s} << 0 << true
                             << true;
    QTest::newRow("stored") << QStringList{} << 20 << true << true;
    QTest::newRow("bleed 0 for this run")
        << QStringList{u"--bleed"_s, u"0"_s} << 20 << true << false;
}

// The first A ticket's left cut line lies at column 100: with a 2 mm bleed
// its picture starts at column 80, and its top mark runs 1 mm beyond the
// bleed up for 4 mm, through row 60 with the bleed or without.
void TestHeadlessSheet::cutMarksAndBleed()
{
    QFETCH(QStringList, options);
    QFETCH(int, storedBleed);
    QFETCH(bool, marks);
    QFETCH(bool, bleed);
    if (storedBleed != 0) {
        SettingsStore store(storePath_);
        store.WriteProfileInt(keys::sheetSection, keys::sheet::cutMarks, 1);
        store.WriteProfileInt(keys::sheetSection, keys::sheet::bleed, storedBleed);
    }
    const QString png = dir_->filePath(u"sheet.png"_s);
    QString err;
    QCOMPARE(zorvane(QStringList{u"--print-to"_s, png, u"--picture"_s, picture_, u"--dpi"_s,
                                 u"254"_s, u"--count"_s, u"1"_s} +
                         options,
                     &err),
             0);
    QCOMPARE(err, QString());
    const QImage page(png);
    QVERIFY(!page.isNull());
    QCOMPARE(near(page.pixelColor(81, 150), sheetprobe::topLeftColour), bleed);
    QCOMPARE(page.pixelColor(78, 150), QColor(Qt::white));
    QCOMPARE(page.pixelColor(100, 60) == QColor(Qt::black), marks);
}

QTEST_GUILESS_MAIN(TestHeadlessSheet)
#include "tst_headlesssheet.moc"
