#include "FakePrintDialog.h"
#include "PdfProbe.h"
#include "SheetProbe.h"
#include "StoredJob.h"
#include "TestFiles.h"
#include "picture/PictureHolder.h"
#include "print/DeviceModeLayout.h"
#include "print/DriverExtraTail.h"
#include "print/PrintJob.h"
#include "print/PrinterRecord.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"

#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

using namespace zorvane;
using zorvane::test::FakePrintDialog;
using zorvane::test::printsTo;
using zorvane::test::readFile;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(zorvane::PaperKind)
Q_DECLARE_METATYPE(zorvane::FillOrder)

namespace {

PrinterSettingsBlock pdfRecord(QPageLayout::Orientation orientation, QPageSize::PageSizeId size)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(size));
    printer.setPageOrientation(orientation);
    return PrinterRecord::fromPrinter(printer);
}

} // namespace

class TestPrintJob : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void countThatDoesNotFitStopsBeforeTheDialog_data();
    void countThatDoesNotFitStopsBeforeTheDialog();
    void noPrinterAtAll();
    void missingRecordIsFetchedFromTheDefaults();
    void cancelLeavesTheFileButKeepsThePaper();
    void printsTheSheetAndKeepsTheRecord_data();
    void printsTheSheetAndKeepsTheRecord();
    void pageChangedInTheDialogIsPutBack();
    void emptyCountPrintsAnEmptyPage();
    void printerThatCannotStartIsReported();
    void jobIsTitledAfterThePicture_data();
    void jobIsTitledAfterThePicture();

private:
    PrintJob::Outcome run(const MainValues& main);

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<PictureHolder> picture_;
    FakePrintDialog dialog_;
    QStringList messages_;
    QString settingsFile_;
    std::optional<PrinterSettingsBlock> printerSettings_;
};

void TestPrintJob::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    store_ = std::make_unique<SettingsStore>(dir_->filePath(u"Zorvane.ini"_s));
    picture_ = PictureHolder::fromImage(sheetprobe::quarteredPicture(400, 200));
    QVERIFY(picture_);
    dialog_ = FakePrintDialog();
    messages_.clear();
    settingsFile_ = dir_->filePath(u"devmode.zvn"_s);
    printerSettings_ = pdfRecord(QPageLayout::Landscape, QPageSize::Letter);
}

PrintJob::Outcome TestPrintJob::run(const MainValues& main)
{
    PrintJob job(
        dialog_, [this](const QString& text) { messages_.append(text); }, settingsFile_);
    return job.run(storedJob(*store_, main), picture_.get(), printerSettings_);
}

void TestPrintJob::countThatDoesNotFitStopsBeforeTheDialog_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("noPaper");

    QTest::newRow("28 on A4 with type A") << u"28"_s << false;
    QTest::newRow("no paper selected") << u"1"_s << true;
}

void TestPrintJob::countThatDoesNotFitStopsBeforeTheDialog()
{
    QFETCH(QString, count);
    QFETCH(bool, noPaper);

    MainValues main;
    main.countText = count;
    if (noPaper)
        main.paper.reset();
    const QByteArray before = printerSettings_->bytes().toByteArray();

    QCOMPARE(run(main), PrintJob::Outcome::DoesNotFit);
    QCOMPARE(messages_,
             QStringList{u"すべてのアイテムを印刷できません。\n設定を変更して下さい。"_s});
    QCOMPARE(dialog_.shown, 0);
    QCOMPARE(printerSettings_->bytes().toByteArray(), before);
    QVERIFY(!QFile::exists(settingsFile_));
}

void TestPrintJob::noPrinterAtAll()
{
    printerSettings_.reset();
    PrintJob job(
        dialog_, [this](const QString& text) { messages_.append(text); }, settingsFile_);
    int asked = 0;
    job.setDefaultsSource([&asked](std::optional<PrinterSettingsBlock>&) {
        ++asked;
        return false;
    });
    MainValues main;
    main.countText = u"3"_s;

    QCOMPARE(job.run(storedJob(*store_, main), picture_.get(), printerSettings_),
             PrintJob::Outcome::NoPrinter);
    QCOMPARE(asked, 1);
    QCOMPARE(messages_, QStringList{u"プリンタの検出に失敗しました。"_s});
    QCOMPARE(dialog_.shown, 0);
    QVERIFY(!printerSettings_);
    QVERIFY(!QFile::exists(settingsFile_));
}

void TestPrintJob::missingRecordIsFetchedFromTheDefaults()
{
    printerSettings_.reset();
    PrintJob job(
        dialog_, [this](const QString& text) { messages_.append(text); }, settingsFile_);
    job.setDefaultsSource([](std::optional<PrinterSettingsBlock>& settings) {
        settings = pdfRecord(QPageLayout::Landscape, QPageSize::A3);
        return true;
    });
    MainValues main;
    main.paper = PaperKind::B5;

    QCOMPARE(job.run(storedJob(*store_, main), picture_.get(), printerSettings_),
             PrintJob::Outcome::Cancelled);
    QCOMPARE(dialog_.shown, 1);
    QVERIFY(printerSettings_);
    QCOMPARE(printerSettings_->readI16(devmode::paperSize), 13);
    QCOMPARE(dialog_.layoutShown.pageSize().id(), QPageSize::JisB5);
}

void TestPrintJob::cancelLeavesTheFileButKeepsThePaper()
{
    QFile::copy(QFINDTESTDATA("tst_printjob.cpp"), settingsFile_); // some earlier file
    const QByteArray earlierFile = readFile(settingsFile_);
    MainValues main;
    main.paper = PaperKind::A4Quarter;
    main.countText = u"4"_s;

    QCOMPARE(run(main), PrintJob::Outcome::Cancelled);
    QVERIFY(messages_.isEmpty());
    QCOMPARE(dialog_.shown, 1);
    QCOMPARE(readFile(settingsFile_), earlierFile);
    QCOMPARE(printerSettings_->dmFields() & 15u, 15u);
    QVERIFY(printerSettings_->dmFields() & devmode::hasColor); // the earlier choice stays
    QCOMPARE(printerSettings_->readI16(devmode::orientation), devmode::portrait);
    QCOMPARE(printerSettings_->readI16(devmode::paperSize), 256);
    QCOMPARE(printerSettings_->readI16(devmode::paperWidth), 1480);
    QCOMPARE(printerSettings_->readI16(devmode::paperLength), 1050);
    // The dialog saw the quarter sheet wide, in portrait.
    QCOMPARE(dialog_.layoutShown.orientation(), QPageLayout::Portrait);
    const QSizeF shown = dialog_.layoutShown.fullRect(QPageLayout::Millimeter).size();
    QVERIFY(qAbs(shown.width() - 148) < 0.2 && qAbs(shown.height() - 105) < 0.2);
}

void TestPrintJob::printsTheSheetAndKeepsTheRecord_data()
{
    QTest::addColumn<PaperKind>("paper");
    QTest::addColumn<FillOrder>("order");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QSizeF>("pageMm");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");

    QTest::newRow("A4, 5 across") << PaperKind::A4 << FillOrder::RowsFirst << u"5"_s
                                  << QSizeF(210, 297) << 3 << 9;
    QTest::newRow("B5, 9 down") << PaperKind::B5 << FillOrder::ColumnsFirst << u"9"_s
                                << QSizeF(182, 257) << 2 << 7;
    QTest::newRow("quarter sheet, all 4")
        << PaperKind::A4Quarter << FillOrder::RowsFirst << u"4"_s << QSizeF(148, 105) << 2 << 2;
}

void TestPrintJob::printsTheSheetAndKeepsTheRecord()
{
    QFETCH(PaperKind, paper);
    QFETCH(FillOrder, order);
    QFETCH(QString, count);
    QFETCH(QSizeF, pageMm);
    QFETCH(int, columns);
    QFETCH(int, rows);
    if (!pdfprobe::toolsAvailable())
        QSKIP("poppler tools (pdfinfo, pdftoppm) are not installed");

    const QString pdf = dir_->filePath(u"sheet.pdf"_s);
    QPointF marginMm;
    dialog_.user = [&](QPrinter& printer) {
        printsTo(pdf)(printer);
        printer.setCopyCount(2);
        const QRectF paintable = printer.pageLayout().paintRect(QPageLayout::Millimeter);
        marginMm = paintable.topLeft();
        return true;
    };
    MainValues main;
    main.paper = paper;
    main.fillOrder = order;
    main.countText = count;

    QCOMPARE(run(main), PrintJob::Outcome::Printed);
    QVERIFY(messages_.isEmpty());

    const QSizeF page = pdfprobe::pageSizeMm(pdf);
    // Qt writes the page box in whole points.
    QVERIFY2(qAbs(page.width() - pageMm.width()) < 0.5 &&
                 qAbs(page.height() - pageMm.height()) < 0.5,
             qPrintable(u"%1 x %2 mm"_s.arg(page.width()).arg(page.height())));

    sheetprobe::Sheet sheet;
    sheet.originMm = marginMm; // the printable area's corner
    sheet.columns = columns;
    sheet.rows = rows;
    sheet.count = count.toInt();
    sheet.order = order;
    const QString fault = sheetprobe::check(pdfprobe::render(pdf, 150), 150, sheet);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));

    // The record the dialog handed back is held and kept in the file, with
    // one copy for the next time.
    QVERIFY(printerSettings_);
    QCOMPARE(printerSettings_->readI16(devmode::copies), 1);
    QCOMPARE(DriverExtraTail::decode(printerSettings_->driverExtra()).outputFile, pdf);
    const QByteArray saved = readFile(settingsFile_);
    QCOMPARE(saved.size(), printerSettings_->recordLength());
    QCOMPARE(saved, printerSettings_->record());
}

// The sheet is laid out for the main window's paper, so a page turned or
// changed in the dialog is put back before printing.
void TestPrintJob::pageChangedInTheDialogIsPutBack()
{
    const QString pdf = dir_->filePath(u"turned.pdf"_s);
    dialog_.user = [&](QPrinter& printer) {
        printsTo(pdf)(printer);
        printer.setPageOrientation(QPageLayout::Landscape); // the user turns the page
        printer.setPageSize(QPageSize(QPageSize::Letter));
        return true;
    };
    MainValues main;
    main.countText = u"1"_s;
    QCOMPARE(run(main), PrintJob::Outcome::Printed);
    QCOMPARE(printerSettings_->readI16(devmode::orientation), devmode::portrait);
    QCOMPARE(printerSettings_->readI16(devmode::paperSize), 9);
    QCOMPARE(DriverExtraTail::decode(printerSettings_->driverExtra()).outputFile, pdf);
    QVERIFY(readFile(settingsFile_).size() > 0);

    dialog_.user = [](QPrinter&) { return false; };
    QCOMPARE(run(main), PrintJob::Outcome::Cancelled);
    QCOMPARE(dialog_.layoutShown.orientation(), QPageLayout::Portrait);
    QCOMPARE(dialog_.layoutShown.pageSize().id(), QPageSize::A4);
    // The file holds what was printed.
    PrinterSettingsBlock fromFile;
    QVERIFY(fromFile.overlay(readFile(settingsFile_)));
    QCOMPARE(fromFile.readI16(devmode::orientation), devmode::portrait);
    QCOMPARE(fromFile.readI16(devmode::paperSize), 9);
}

void TestPrintJob::emptyCountPrintsAnEmptyPage()
{
    if (!pdfprobe::toolsAvailable())
        QSKIP("poppler tools (pdfinfo, pdftoppm) are not installed");
    const QString pdf = dir_->filePath(u"empty.pdf"_s);
    dialog_.user = printsTo(pdf);
    MainValues main;
    main.countText = u"abc"_s;

    QCOMPARE(run(main), PrintJob::Outcome::Printed);
    const QImage page = pdfprobe::render(pdf, 50);
    QVERIFY(!page.isNull());
    QCOMPARE(page.convertToFormat(QImage::Format_RGB32).pixelColor(page.width() / 4, 40),
             QColor(Qt::white));
    sheetprobe::Sheet sheet;
    sheet.columns = 3;
    sheet.rows = 9;
    sheet.count = 0;
    QVERIFY(sheetprobe::check(page, 50, sheet).isEmpty());
    QVERIFY(QFile::exists(settingsFile_));
}

void TestPrintJob::printerThatCannotStartIsReported()
{
    dialog_.user = printsTo(dir_->filePath(u"no-such-dir/out.pdf"_s));
    MainValues main;
    main.countText = u"2"_s;
    main.paper = PaperKind::B5;

    QCOMPARE(run(main), PrintJob::Outcome::NotStarted);
    QCOMPARE(messages_, QStringList{u"印刷を開始できませんでした。"_s});
    QVERIFY(!QFile::exists(settingsFile_));
    QVERIFY(printerSettings_);
    QCOMPARE(printerSettings_->readI16(devmode::paperSize), 13); // the paper settings stay
    QCOMPARE(DriverExtraTail::decode(printerSettings_->driverExtra()).outputFile, QString());
}

void TestPrintJob::jobIsTitledAfterThePicture_data()
{
    QTest::addColumn<QString>("fileName"); // empty: a picture made in memory
    QTest::addColumn<bool>("calibration");
    QTest::addColumn<QString>("title");

    QTest::newRow("photo") << u"photo.jpg"_s << false << u"Zorvane - photo.jpg"_s;
    QTest::newRow("Japanese name") << u"写真 1.png"_s << false << u"Zorvane - 写真 1.png"_s;
    QTest::newRow("in memory") << QString() << false << u"Zorvane"_s;
    QTest::newRow("calibration sheet") << u"photo.jpg"_s << true << u"Zorvane"_s;
}

// The queue and a PDF viewer show the job by its title.
void TestPrintJob::jobIsTitledAfterThePicture()
{
    QFETCH(QString, fileName);
    QFETCH(bool, calibration);
    QFETCH(QString, title);
    if (!pdfprobe::toolsAvailable())
        QSKIP("poppler tools (pdfinfo, pdftoppm) are not installed");
    if (!fileName.isEmpty()) {
        const QString path = dir_->filePath(fileName);
        QVERIFY(sheetprobe::quarteredPicture(400, 200).save(path, "png"));
        picture_ = PictureHolder::load(path);
        QVERIFY(picture_);
    }
    const QString pdf = dir_->filePath(u"titled.pdf"_s);
    dialog_.user = printsTo(pdf);
    MainValues main;
    main.countText = u"2"_s;
    PrintJob job(
        dialog_, [this](const QString& text) { messages_.append(text); }, settingsFile_);
    QCOMPARE(calibration ? job.runCalibrationSheet(PaperKind::A4, printerSettings_)
                         : job.run(storedJob(*store_, main), picture_.get(), printerSettings_),
             PrintJob::Outcome::Printed);
    QCOMPARE(pdfprobe::title(pdf), title);
}

QTEST_MAIN(TestPrintJob)
#include "tst_printjob.moc"
