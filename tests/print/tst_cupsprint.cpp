#include "CupsQueue.h"
#include "FakePrintDialog.h"
#include "PdfProbe.h"
#include "SheetProbe.h"
#include "StoredJob.h"
#include "picture/PictureHolder.h"
#include "print/PrintJob.h"
#include "settings/SettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace zorvane;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(zorvane::PaperKind)

// Prints through the real spooler into a PDF queue and finds the tickets in
// what the queue wrote.
class TestCupsPrint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void printJobReachesThePaper_data();
    void printJobReachesThePaper();
    void commandLinePrintsWithoutADialog();

private:
    QString outputDir_;
    QTemporaryDir dir_;
    QPointF a4PaintableCorner_; // where the queue's printable area begins on A4
};

void TestCupsPrint::initTestCase()
{
    const bool required = qEnvironmentVariableIntValue("ZORVANE_REQUIRE_CUPS") == 1;
    outputDir_ = cupsqueue::outputDir();
    const QString missing = cupsqueue::whyUnusable();
    if (missing.isEmpty())
        return;
    if (required)
        QFAIL(qPrintable(missing));
    QSKIP(qPrintable(missing));
}

void TestCupsPrint::printJobReachesThePaper_data()
{
    QTest::addColumn<PaperKind>("paper");
    QTest::addColumn<QSizeF>("pageMm");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");

    QTest::newRow("A4") << PaperKind::A4 << QSizeF(210, 297) << 8 << 3 << 9;
    QTest::newRow("B5") << PaperKind::B5 << QSizeF(182, 257) << 3 << 2 << 7;
    QTest::newRow("quarter sheet") << PaperKind::A4Quarter << QSizeF(148, 105) << 3 << 2 << 2;
}

void TestCupsPrint::printJobReachesThePaper()
{
    QFETCH(PaperKind, paper);
    QFETCH(QSizeF, pageMm);
    QFETCH(int, count);
    QFETCH(int, columns);
    QFETCH(int, rows);

    SettingsStore store(dir_.filePath(u"Zorvane.ini"_s));
    const auto picture = PictureHolder::fromImage(sheetprobe::quarteredPicture(600, 300));
    test::ConfirmingUser user;
    QStringList messages;
    const QString settingsFile = dir_.filePath(u"devmode.zvn"_s);
    PrintJob job(
        user, [&messages](const QString& text) { messages << text; }, settingsFile);
    std::optional<PrinterSettingsBlock> printerSettings; // the job asks for the defaults
    MainValues main;
    main.paper = paper;
    main.countText = QString::number(count);

    const QSet<QString> before = cupsqueue::pdfsIn(outputDir_);
    QCOMPARE(job.run(storedJob(store, main), picture.get(), printerSettings),
             PrintJob::Outcome::Printed);
    QCOMPARE(messages, QStringList());
    QCOMPARE(user.printerName, QPrinterInfo::defaultPrinterName());
    QVERIFY(QFile::exists(settingsFile));

    const QString pdf = cupsqueue::awaitNewPdf(outputDir_, before);
    QVERIFY2(!pdf.isEmpty(), "the queue wrote no PDF");
    const QSizeF page = pdfprobe::pageSizeMm(pdf);
    QVERIFY2(qAbs(page.width() - pageMm.width()) < 1 && qAbs(page.height() - pageMm.height()) < 1,
             qPrintable(u"%1 x %2 mm"_s.arg(page.width()).arg(page.height())));

    sheetprobe::Sheet sheet;
    sheet.originMm = user.paintableMm.topLeft();
    sheet.columns = columns;
    sheet.rows = rows;
    sheet.count = count;
    const QString fault = sheetprobe::check(pdfprobe::render(pdf, 100), 100, sheet);
    QVERIFY2(fault.isEmpty(), qPrintable(fault + u" in "_s + pdf));
    QFile::remove(pdf);
    if (paper == PaperKind::A4)
        a4PaintableCorner_ = user.paintableMm.topLeft();
}

void TestCupsPrint::commandLinePrintsWithoutADialog()
{
    const QString picture = dir_.filePath(u"picture.png"_s);
    QVERIFY(sheetprobe::quarteredPicture(300, 160).save(picture));
    const QSet<QString> before = cupsqueue::pdfsIn(outputDir_);

    QProcess zorvane;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"DISPLAY"_s);
    env.insert(u"XDG_CONFIG_HOME"_s, dir_.filePath(u"config"_s));
    zorvane.setProcessEnvironment(env);
    zorvane.start(QStringLiteral(ZORVANE_EXECUTABLE),
                  {u"--print"_s, u"--picture"_s, picture, u"--count"_s, u"2"_s});
    QVERIFY(zorvane.waitForFinished(120000));
    QCOMPARE(QString::fromLocal8Bit(zorvane.readAllStandardError()), QString());
    QCOMPARE(zorvane.exitCode(), 0);

    const QString pdf = cupsqueue::awaitNewPdf(outputDir_, before);
    QVERIFY2(!pdf.isEmpty(), "the queue wrote no PDF");
    // The queue names the job, and its file, after the picture.
    QVERIFY2(QFileInfo(pdf).fileName().contains(u"picture.png"_s), qPrintable(pdf));
    // The queue's PDF writer keeps the title as a PostScript string, in
    // parentheses.
    QVERIFY2(pdfprobe::title(pdf).contains(u"Zorvane - picture.png"_s),
             qPrintable(pdfprobe::title(pdf)));
    const QSizeF page = pdfprobe::pageSizeMm(pdf);
    QVERIFY2(qAbs(page.width() - 210) < 1 && qAbs(page.height() - 297) < 1,
             qPrintable(u"%1 x %2 mm"_s.arg(page.width()).arg(page.height())));
    if (a4PaintableCorner_.isNull())
        QSKIP("the A4 print above did not run, so the queue's margin is unknown");
    sheetprobe::Sheet sheet;
    sheet.originMm = a4PaintableCorner_;
    sheet.columns = 3;
    sheet.rows = 9;
    sheet.count = 2;
    const QString fault = sheetprobe::check(pdfprobe::render(pdf, 100), 100, sheet);
    QVERIFY2(fault.isEmpty(), qPrintable(fault + u" in "_s + pdf));
    QFile::remove(pdf);
}

QTEST_MAIN(TestCupsPrint)
#include "tst_cupsprint.moc"
