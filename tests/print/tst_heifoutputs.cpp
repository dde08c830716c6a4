#include "ColourCheck.h"
#include "CupsQueue.h"
#include "FakePrintDialog.h"
#include "HeifFiles.h"
#include "PageContent.h"
#include "PdfProbe.h"
#include "ProgramRun.h"
#include "StoredJob.h"
#include "TestFiles.h"
#include "picture/PictureHolder.h"
#include "print/PrintJob.h"
#include "print/SheetExport.h"
#include "settings/SettingsStore.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace zorvane;
using namespace zorvane::test;
using namespace Qt::StringLiterals;

namespace {

enum class Output
{
    PngExport,
    PdfExport,
    CupsPrint,
};

constexpr int renderDpi = 150;

} // namespace

Q_DECLARE_METATYPE(Output)

// HEIC and AVIF photos with colour of their own, through every output a
// sheet goes to: the PNG and PDF files and a print through the real CUPS
// queue, each compared with the chart the photo was made from.
class TestHeifOutputs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void sheetShowsThePhotosColours_data();
    void sheetShowsThePhotosColours();
    void commandLineTakesAPhonesPhoto();

private:
    QImage printed(const QString& picturePath);
    QImage exported(const QString& picturePath, SheetFileFormat format);
    SheetJob oneTicket();

    QTemporaryDir dir_;
    QString queueProblem_;
    QString outputDir_;
};

void TestHeifOutputs::initTestCase()
{
    if (!pdfprobe::toolsAvailable())
        QSKIP("poppler tools are not installed");
    outputDir_ = cupsqueue::outputDir();
    queueProblem_ = cupsqueue::whyUnusable();
    if (!queueProblem_.isEmpty() && qEnvironmentVariableIntValue("ZORVANE_REQUIRE_CUPS") == 1)
        QFAIL(qPrintable(queueProblem_));
}

void TestHeifOutputs::sheetShowsThePhotosColours_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Output>("output");

    const QImage chart = patchChart(32);
    const QByteArray p3 = profiles::displayP3();
    const QByteArray adobe = profiles::adobeRgb();
    const QByteArray swapped = profiles::swappedRedAndGreen();
    const std::pair<const char*, QByteArray> photos[] = {
        {"HEIC in Display P3 (nclx)",
         heifFromApi(srgbIntoProfile(chart, p3), HeifWriting{HeifKind::Heic, 1, 12, 13})},
        {"AVIF in Adobe RGB (ICC)",
         heifFromEncoder(srgbIntoProfile(chart, adobe), HeifKind::Avif, 0, adobe)},
        {"HEIC with thumbnail, red and green swapped (ICC)",
         heifFromEncoder(srgbIntoProfile(chart, swapped), HeifKind::Heic, 64, swapped)},
    };
    for (const auto& [name, file] : photos) {
        QTest::addRow("%s, PNG export", name) << file << Output::PngExport;
        QTest::addRow("%s, PDF export", name) << file << Output::PdfExport;
        QTest::addRow("%s, CUPS print", name) << file << Output::CupsPrint;
    }
}

void TestHeifOutputs::sheetShowsThePhotosColours()
{
    QFETCH(QByteArray, file);
    QFETCH(Output, output);
    if (output == Output::CupsPrint && !queueProblem_.isEmpty())
        QSKIP(qPrintable(queueProblem_));
    QVERIFY(!file.isEmpty());
    // Named for the row: the queue names its PDF after the picture, and
    // other programs may print on the same queue meanwhile.
    static int row = 0;
    const QString path = dir_.filePath(u"IMG_%1.HEIC"_s.arg(++row, 4, 10, QLatin1Char('0')));
    QVERIFY(writeFile(path, file));

    const QImage page = output == Output::CupsPrint   ? printed(path)
                        : output == Output::PdfExport ? exported(path, SheetFileFormat::Pdf)
                                                      : exported(path, SheetFileFormat::Png);
    QVERIFY(!page.isNull());
    const QImage ticket = drawnPart(page);
    QVERIFY(!ticket.isNull());
    const DeltaE difference = patchDeltaE(patchChart(32), ticket);
    qInfo("%s", qPrintable(difference.describe()));
    QVERIFY2(difference.mean <= 1.0 && difference.max <= 3.0, qPrintable(difference.describe()));
}

// The program itself, as a script runs it on a photo copied from a phone.
void TestHeifOutputs::commandLineTakesAPhonesPhoto()
{
    const QString photo = dir_.filePath(u"IMG_0002.HEIC"_s);
    QVERIFY(writeFile(photo, heifFromEncoder(patchChart(32), HeifKind::Heic, 64)));
    const QString out = dir_.filePath(u"cli.png"_s);
    QProcessEnvironment env;
    env.insert(u"XDG_CONFIG_HOME"_s, dir_.filePath(u"config"_s));
    const ProgramRun run =
        runWithoutDisplay(QStringLiteral(ZORVANE_EXECUTABLE),
                          {u"--print-to"_s, out, u"--picture"_s, photo, u"--count"_s, u"1"_s,
                           u"--dpi"_s, QString::number(renderDpi)},
                          env);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    const QImage ticket = drawnPart(QImage(out));
    QVERIFY(!ticket.isNull());
    const DeltaE difference = patchDeltaE(patchChart(32), ticket);
    QVERIFY2(difference.mean <= 1.0 && difference.max <= 3.0, qPrintable(difference.describe()));
}

SheetJob TestHeifOutputs::oneTicket()
{
    const SettingsStore store(dir_.filePath(u"Zorvane.ini"_s));
    MainValues main;
    main.paper = PaperKind::A4;
    main.countText = u"1"_s;
    return storedJob(store, main);
}

// The sheet as the command line writes it, the picture opened without its
// pixels as it opens it there.
QImage TestHeifOutputs::exported(const QString& picturePath, SheetFileFormat format)
{
    const auto picture = PictureHolder::open(picturePath);
    if (!picture)
        return {};
    const QString out =
        dir_.filePath(format == SheetFileFormat::Pdf ? u"sheet.pdf"_s : u"sheet.png"_s);
    if (exportSheet(out, format, renderDpi, oneTicket(), picture.get()) !=
        SheetExportResult::Written)
        return {};
    return format == SheetFileFormat::Pdf ? pdfprobe::render(out, renderDpi) : QImage(out);
}

// The sheet printed on the default queue, the picture decoded in full as a
// print from the window holds it.
QImage TestHeifOutputs::printed(const QString& picturePath)
{
    const auto picture = PictureHolder::load(picturePath);
    if (!picture)
        return {};
    ConfirmingUser user;
    PrintJob job(
        user, [](const QString&) {}, dir_.filePath(u"devmode.zvn"_s));
    std::optional<PrinterSettingsBlock> printerSettings;
    const QSet<QString> before = cupsqueue::pdfsIn(outputDir_);
    if (job.run(oneTicket(), picture.get(), printerSettings) != PrintJob::Outcome::Printed)
        return {};
    // The queue's PDF of this job, passing over those of other jobs.
    QSet<QString> seen = before;
    const QString name = QFileInfo(picturePath).fileName();
    for (QString pdf = cupsqueue::awaitNewPdf(outputDir_, seen); !pdf.isEmpty();
         pdf = cupsqueue::awaitNewPdf(outputDir_, seen)) {
        if (QFileInfo(pdf).fileName().contains(name)) {
            QImage page = pdfprobe::render(pdf, renderDpi);
            QFile::remove(pdf);
            return page;
        }
        seen.insert(QFileInfo(pdf).fileName());
    }
    return {};
}

QTEST_MAIN(TestHeifOutputs)
#include "tst_heifoutputs.moc"
