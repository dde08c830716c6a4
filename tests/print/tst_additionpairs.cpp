#include "ColourCheck.h"
#include "CutGuideProbe.h"
#include "NumberProbe.h"
#include "PdfProbe.h"
#include "ProfiledFiles.h"
#include "picture/PictureHolder.h"
#include "print/SheetExport.h"
#include "settings/SheetJob.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace zorvane;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(zorvane::NumberPosition)

// What the user combines: numbered tickets cut from plain paper with marks
// and bleed, and a numbered run of a photo that carries a colour profile.
namespace {

constexpr int dpi = 300;
constexpr double pixelMm = 25.4 / dpi;

// Two numbered type B tickets (57.9 x 25.2 mm) a column apart by 6 mm, the
// first at 10 mm from the paper's corner.
SheetJob numberedJob()
{
    MainValues main;
    main.ticketType = TicketType::B;
    main.countText = u"2"_s;
    main.fillOrder = FillOrder::RowsFirst;
    OptionValues options;
    options.gapV = 60;
    options.gapH = 60;
    SheetJob job = sheetJobOf(main, options);
    job.numbering.enabled = true;
    job.numbering.inset = 0;
    return job;
}

// A picture light enough that only the number and the marks read as ink.
std::unique_ptr<PictureHolder> lightPicture()
{
    QImage image(600, 300, QImage::Format_RGB32);
    image.fill(qRgb(255, 240, 160));
    return PictureHolder::fromImage(image);
}

} // namespace

class TestAdditionPairs : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;

private Q_SLOTS:
    void initTestCase()
    {
        if (!pdfprobe::toolsAvailable())
            QSKIP("poppler-utils are not installed");
    }

    void numbersStayInsideTheCutLine_data()
    {
        QTest::addColumn<NumberPosition>("position");
        QTest::addColumn<bool>("turned");
        for (const auto& [name, position] : numberprobe::corners) {
            for (const bool turned : {false, true})
                QTest::addRow("%s%s", name, turned ? ", turned" : "") << position << turned;
        }
    }

    // A number set right in a ticket's corner stays inside the cut line while
    // the picture runs 2 mm past it and the marks stand outside the grid: a
    // slightly missed cut may lose bleed, never a digit.
    void numbersStayInsideTheCutLine()
    {
        QFETCH(NumberPosition, position);
        QFETCH(bool, turned);
        SheetJob job = numberedJob();
        job.sheet.turned = turned;
        job.ticket = laidOutSize(*job.ticket, turned);
        job.sheet.cut = CutGuides{true, 20};
        job.numbering.position = position;
        job.firstNumber = 88;
        const auto picture = lightPicture();
        const QString path = dir_.filePath(u"pair.png"_s);
        QCOMPARE(exportSheet(path, SheetFileFormat::Png, dpi, job, picture.get()),
                 SheetExportResult::Written);
        const QImage page(path);
        QVERIFY(!page.isNull());

        const QRectF ticket(10.0, 10.0, job.ticket->width / 10.0, job.ticket->height / 10.0);
        const QRectF withBleed = ticket.adjusted(-2.0, -2.0, 2.0, 2.0);
        const QRectF ink = numberprobe::inkBoxMm(page, dpi, withBleed);
        QVERIFY(!ink.isEmpty());
        QVERIFY2(ticket.adjusted(-pixelMm, -pixelMm, pixelMm, pixelMm).contains(ink),
                 qPrintable(u"ink %1,%2 %3x%4 mm"_s.arg(ink.x())
                                .arg(ink.y())
                                .arg(ink.width())
                                .arg(ink.height())));
        // The picture still runs into the bleed on the grid's outer side.
        const QPoint middleLeft(int((ticket.left() + 5.0) / pixelMm),
                                int(ticket.center().y() / pixelMm));
        const double reachedMm = (cutprobe::reach(page, middleLeft, QPoint(-1, 0)) + 0.5) * pixelMm;
        QVERIFY2(std::abs(reachedMm - (ticket.left() - 2.0)) <= 2 * pixelMm,
                 qPrintable(QString::number(reachedMm)));
    }

    // A numbered run of a JPEG with an Adobe RGB profile goes into one PDF
    // of three pages that keeps the file's bytes once, with its profile
    // attached as the image's colour space, and the numbers as text.
    void taggedPhotoNumberedOverSheets()
    {
        const QByteArray adobe = test::profiles::adobeRgb();
        QImage photo(600, 300, QImage::Format_RGB32);
        photo.fill(qRgb(40, 160, 60));
        const QByteArray jpeg = test::jpegWithProfile(test::srgbIntoProfile(photo, adobe), adobe);
        const auto picture = PictureHolder::openBytes(jpeg);
        QVERIFY(picture);
        QVERIFY(!picture->embeddableJpeg().isEmpty());
        SheetJob job = numberedJob();
        job.numbering.sheets = 3;
        job.numbering.inset = 30;
        const QString path = dir_.filePath(u"tagged.pdf"_s);
        QCOMPARE(exportSheet(path, SheetFileFormat::Pdf, dpi, job, picture.get()),
                 SheetExportResult::Written);
        QCOMPARE(pdfprobe::pageCount(path), 3);
        QCOMPARE(pdfprobe::imageCount(path), 1);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("/ICCBased"));
        QStringList numbers;
        for (const pdfprobe::Word& word : pdfprobe::words(path))
            numbers << word.text;
        QCOMPARE(numbers, (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s}));
    }
};

QTEST_MAIN(TestAdditionPairs)
#include "tst_additionpairs.moc"
