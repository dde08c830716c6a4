#include "ColourCheck.h"
#include "CupsQueue.h"
#include "FakePrintDialog.h"
#include "PdfProbe.h"
#include "ProfiledFiles.h"
#include "StoredJob.h"
#include "picture/PictureHolder.h"
#include "print/PrintJob.h"
#include "print/SheetExport.h"
#include "settings/SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zorvane;
using namespace Qt::StringLiterals;

namespace {

enum class Output
{
    Screen, // the picture as the window holds it for the preview
    Png,
    Pdf,
    Printer, // printed through the real CUPS queue, as a PDF
};

constexpr int dpi = 150;

QImage chart()
{
    return test::patchChart(48);
}

// The part of the page that is not paper: the one ticket.
QImage ticketOf(const QImage& page)
{
    QRect found;
    for (int y = 0; y < page.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x) {
            if (qRed(row[x]) + qGreen(row[x]) + qBlue(row[x]) < 3 * 255 - 60)
                found |= QRect(x, y, 1, 1);
        }
    }
    return page.copy(found);
}

QImage rendered(const QString& pdf)
{
    return pdfprobe::render(pdf, dpi).convertToFormat(QImage::Format_RGB32);
}

} // namespace

Q_DECLARE_METATYPE(Output)

// Each picture with a colour profile, through each output, against what
// Little CMS makes of it: the colours a colour-managed viewer shows.
class TestProfileOutputs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void coloursAsMeant_data();
    void coloursAsMeant();
    void pdfKeepsTheJpegsBytes_data();
    void pdfKeepsTheJpegsBytes();

private:
    QImage output(Output output, const QString& path);
    QImage printed(const QString& path);

    QTemporaryDir dir_;
    QString queueDir_;
    QString whyNoQueue_;
};

void TestProfileOutputs::initTestCase()
{
    QVERIFY(pdfprobe::toolsAvailable());
    queueDir_ = cupsqueue::outputDir();
    whyNoQueue_ = cupsqueue::whyUnusable();
    if (!whyNoQueue_.isEmpty() && qEnvironmentVariableIntValue("ZORVANE_REQUIRE_CUPS") == 1)
        QFAIL(qPrintable(whyNoQueue_));
}

void TestProfileOutputs::coloursAsMeant_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QImage>("reference");
    QTest::addColumn<double>("maxDeltaE");
    QTest::addColumn<Output>("output");

    using namespace test;
    const QByteArray adobe = profiles::adobeRgb();
    const QByteArray proPhoto = profiles::proPhoto();
    const QByteArray p3 = profiles::displayP3();
    const QByteArray swapped = profiles::swappedRedAndGreen();
    const QByteArray swop = profiles::swopCmyk();
    const QByteArray cmyk = srgbIntoCmyk(chart(), swop);
    const auto in = [&](const QByteArray& profile) { return srgbIntoProfile(chart(), profile); };
    struct Picture
    {
        const char* name;
        QByteArray file;
        QImage reference;
        double maxDeltaE;
    };
    const QList<Picture> pictures{
        {"JPEG Adobe RGB", jpegWithProfile(in(adobe), adobe), chart(), 3.0},
        {"JPEG swapped red and green", jpegWithProfile(in(swapped), swapped), chart(), 3.0},
        {"PNG ProPhoto RGB", pngWithChunks(in(proPhoto), {iccpChunk(proPhoto)}), chart(), 3.0},
        {"PNG ProPhoto RGB 16 bits",
         pngWithChunks(in(proPhoto).convertToFormat(QImage::Format_RGBX64), {iccpChunk(proPhoto)}),
         chart(), 3.0},
        {"TIFF Adobe RGB", tiffWithProfile(in(adobe), adobe), chart(), 3.0},
        {"WebP Display P3", webpWithProfile(in(p3), p3), chart(), 3.0},
        {"CMYK JPEG SWOP", cmykJpegWithProfile(chart().width(), chart().height(), cmyk, swop),
         cmykIntoSrgb(cmyk, chart().width(), chart().height(), swop), 4.0},
    };
    const QList<std::pair<const char*, Output>> outputs{{"screen", Output::Screen},
                                                        {"PNG", Output::Png},
                                                        {"PDF", Output::Pdf},
                                                        {"printer", Output::Printer}};
    for (const Picture& picture : pictures) {
        for (const auto& [outputName, output] : outputs)
            QTest::addRow("%s, %s", picture.name, outputName)
                << picture.file << picture.reference << picture.maxDeltaE << output;
    }
}

void TestProfileOutputs::coloursAsMeant()
{
    QFETCH(QByteArray, file);
    QFETCH(QImage, reference);
    QFETCH(double, maxDeltaE);
    QFETCH(Output, output);
    if (output == Output::Printer && !whyNoQueue_.isEmpty())
        QSKIP(qPrintable(whyNoQueue_));
    const QString path = dir_.filePath(u"picture"_s);
    {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file);
    }
    const QImage shown = this->output(output, path);
    QVERIFY(!shown.isNull());
    const test::DeltaE d = test::patchDeltaE(reference, shown);
    qInfo("%s", qPrintable(d.describe()));
    QVERIFY2(d.mean <= 1.0 && d.max <= maxDeltaE, qPrintable(d.describe()));
}

void TestProfileOutputs::pdfKeepsTheJpegsBytes_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("tagged");

    const QByteArray adobe = test::profiles::adobeRgb();
    QTest::newRow("Adobe RGB") << test::jpegWithProfile(test::srgbIntoProfile(chart(), adobe),
                                                        adobe)
                               << true;
    QTest::newRow("sRGB's profile")
        << test::jpegWithProfile(chart(), test::profiles::srgb()) << false;
    // A grey space's name is a letter longer than a colour one's.
    QTest::newRow("grey, grey profile")
        << test::jpegWithProfile(chart().convertToFormat(QImage::Format_Grayscale8),
                                 test::profiles::greyGamma18())
        << true;
    QTest::newRow("no profile") << test::jpegWithProfile(chart(), {}) << false;
}

// The file's own bytes, whatever colour space the PDF names for them; one
// with a profile gets it as an ICCBased space, the others stay as cairo
// writes them.
void TestProfileOutputs::pdfKeepsTheJpegsBytes()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, tagged);
    const QString path = dir_.filePath(u"picture.jpg"_s);
    {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file);
    }
    const QString pdf = dir_.filePath(u"bytes.pdf"_s);
    SettingsStore store(dir_.filePath(u"Zorvane.ini"_s));
    MainValues main;
    main.paper = PaperKind::A4;
    main.countText = u"3"_s;
    const auto picture = PictureHolder::open(path);
    QCOMPARE(exportSheet(pdf, SheetFileFormat::Pdf, dpi, storedJob(store, main), picture.get()),
             SheetExportResult::Written);
    pdfprobe::extractImages(pdf, dir_.filePath(u"image"_s));
    QFile extracted(dir_.filePath(u"image-000.jpg"_s));
    QVERIFY(extracted.open(QIODevice::ReadOnly));
    QVERIFY(extracted.readAll() == file);
    QCOMPARE(pdfprobe::imageCount(pdf), 1);
    // The colour space as a reader resolves it, through the file's
    // cross-reference tables, which it reads without a complaint.
    const QStringList images = pdfprobe::imageList(pdf);
    QVERIFY(images.size() > 2);
    const QString space = images[2].split(u' ', Qt::SkipEmptyParts).value(5);
    QVERIFY2(tagged ? space == u"icc"_s : space == u"rgb"_s || space == u"gray"_s,
             qPrintable(space));
    const QByteArray complaints = pdfprobe::readerComplaints(pdf);
    QVERIFY2(complaints.isEmpty(), complaints.constData());
}

QImage TestProfileOutputs::output(Output output, const QString& path)
{
    SettingsStore store(dir_.filePath(u"Zorvane.ini"_s));
    MainValues main;
    main.paper = PaperKind::A4;
    main.countText = u"1"_s;
    const SheetJob job = storedJob(store, main);
    switch (output) {
    case Output::Screen: {
        const auto picture = PictureHolder::openForScreen(path, QSize(96, 64));
        return picture ? picture->image().convertToFormat(QImage::Format_RGB32) : QImage();
    }
    case Output::Png: {
        const QString png = dir_.filePath(u"sheet.png"_s);
        const auto picture = PictureHolder::open(path);
        if (exportSheet(png, SheetFileFormat::Png, dpi, job, picture.get()) !=
            SheetExportResult::Written)
            return {};
        return ticketOf(QImage(png).convertToFormat(QImage::Format_RGB32));
    }
    case Output::Pdf: {
        const QString pdf = dir_.filePath(u"sheet.pdf"_s);
        const auto picture = PictureHolder::open(path);
        if (exportSheet(pdf, SheetFileFormat::Pdf, dpi, job, picture.get()) !=
            SheetExportResult::Written)
            return {};
        return ticketOf(rendered(pdf));
    }
    case Output::Printer:
        return printed(path);
    }
    return {};
}

QImage TestProfileOutputs::printed(const QString& path)
{
    SettingsStore store(dir_.filePath(u"Zorvane.ini"_s));
    MainValues main;
    main.paper = PaperKind::A4;
    main.countText = u"1"_s;
    const auto picture = PictureHolder::load(path);
    test::ConfirmingUser user;
    PrintJob job(
        user, [](const QString&) {}, dir_.filePath(u"devmode.zvn"_s));
    std::optional<PrinterSettingsBlock> printerSettings;
    const QSet<QString> before = cupsqueue::pdfsIn(queueDir_);
    if (job.run(storedJob(store, main), picture.get(), printerSettings) !=
        PrintJob::Outcome::Printed)
        return {};
    const QString pdf = cupsqueue::awaitNewPdf(queueDir_, before);
    if (pdf.isEmpty())
        return {};
    const QImage page = rendered(pdf);
    QFile::remove(pdf);
    return ticketOf(page);
}

QTEST_MAIN(TestProfileOutputs)
#include "tst_profileoutputs.moc"
