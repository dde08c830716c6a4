#include "FakePrintDialog.h"
#include "NumberProbe.h"
#include "PdfProbe.h"
#include "layout/GridFit.h"
#include "layout/SheetGeometry.h"
#include "picture/PictureHolder.h"
#include "print/PrintJob.h"
#include "print/SheetExport.h"
#include "settings/SheetJob.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace zorvane;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(zorvane::NumberPosition)
Q_DECLARE_METATYPE(zorvane::FillOrder)
Q_DECLARE_METATYPE(zorvane::SheetFileFormat)

namespace {

constexpr int dpi = 300;
constexpr double tolerance = 0.2; // mm

// A white picture as a JPEG, which the PDF embeds as its own bytes through
// cairo, or as pixels, which go through Qt's engines.
std::unique_ptr<PictureHolder> whitePicture(bool asJpeg)
{
    QImage image(600, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (!asJpeg)
        return PictureHolder::fromImage(image);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 95);
    return PictureHolder::openBytes(bytes);
}

SheetJob numberedJob(int count, FillOrder order = FillOrder::RowsFirst)
{
    MainValues main;
    main.ticketType = TicketType::B; // 57.9 x 25.2 mm
    main.countText = QString::number(count);
    main.fillOrder = order;
    SheetJob job = sheetJobOf(main, OptionValues{});
    job.numbering.enabled = true;
    job.numbering.height = 40;
    job.numbering.inset = 30;
    return job;
}

// The page of a file: a PNG as it is, a PDF rendered.
QImage renderedPage(const QString& path, SheetFileFormat format, int page = 1)
{
    return format == SheetFileFormat::Png ? QImage(path) : pdfprobe::renderPage(path, page, dpi);
}

} // namespace

class TestNumberedSheets : public QObject
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

    void digitsStandWhereAsked_data()
    {
        QTest::addColumn<SheetFileFormat>("format");
        QTest::addColumn<bool>("jpeg");
        QTest::addColumn<NumberPosition>("position");
        QTest::addColumn<bool>("turned");
        const std::tuple<const char*, SheetFileFormat, bool> engines[] = {
            {"png", SheetFileFormat::Png, false},
            {"cairo pdf", SheetFileFormat::Pdf, true},
            {"qt pdf", SheetFileFormat::Pdf, false}};
        for (const auto& [engine, format, jpeg] : engines) {
            for (const auto& [name, position] : numberprobe::places) {
                for (const bool turned : {false, true})
                    QTest::addRow("%s, %s%s", engine, name, turned ? ", turned" : "")
                        << format << jpeg << position << turned;
            }
        }
    }

    // The digits' ink stands the asked height tall and the asked inset from
    // the edges of its corner, on every engine; a turned ticket turns its
    // number with its picture, a quarter clockwise.
    void digitsStandWhereAsked()
    {
        QFETCH(SheetFileFormat, format);
        QFETCH(bool, jpeg);
        QFETCH(NumberPosition, position);
        QFETCH(bool, turned);
        SheetJob job = numberedJob(1);
        job.sheet.turned = turned;
        job.ticket = laidOutSize(*job.ticket, turned);
        job.numbering.position = position;
        job.firstNumber = 4721;
        const auto picture = whitePicture(jpeg);
        const QString path =
            dir_.filePath(format == SheetFileFormat::Png ? u"n.png"_s : u"n.pdf"_s);
        QCOMPARE(exportSheet(path, format, dpi, job, picture.get()), SheetExportResult::Written);
        const QImage page = renderedPage(path, format);
        QVERIFY(!page.isNull());

        const QRectF ticket(10.0, 10.0, job.ticket->width / 10.0, job.ticket->height / 10.0);
        const QRectF ink = numberprobe::inkBoxMm(page, dpi, ticket);
        QVERIFY(!ink.isEmpty());
        // The ink's distances from the ticket's edges, as the upright ticket
        // names them.
        double left = ink.left() - ticket.left();
        double top = ink.top() - ticket.top();
        double right = ticket.right() - ink.right();
        double bottom = ticket.bottom() - ink.bottom();
        double height = ink.height();
        if (turned) { // upright top runs down the right edge
            std::tie(left, top, right, bottom) = std::tuple(top, right, bottom, left);
            height = ink.width();
        }
        QVERIFY2(std::abs(height - 4.0) <= tolerance, qPrintable(QString::number(height)));
        const double inset = 3.0;
        auto near = [](double a, double b) { return std::abs(a - b) <= tolerance; };
        switch (position) {
        case NumberPosition::TopLeft:
            QVERIFY2(near(left, inset) && near(top, inset),
                     qPrintable(u"%1 %2"_s.arg(left).arg(top)));
            break;
        case NumberPosition::TopRight:
            QVERIFY2(near(right, inset) && near(top, inset),
                     qPrintable(u"%1 %2"_s.arg(right).arg(top)));
            break;
        case NumberPosition::BottomLeft:
            QVERIFY2(near(left, inset) && near(bottom, inset),
                     qPrintable(u"%1 %2"_s.arg(left).arg(bottom)));
            break;
        case NumberPosition::BottomRight:
            QVERIFY2(near(right, inset) && near(bottom, inset),
                     qPrintable(u"%1 %2"_s.arg(right).arg(bottom)));
            break;
        case NumberPosition::Centre:
            QVERIFY2(near(left, right) && near(top, bottom),
                     qPrintable(u"%1 %2 %3 %4"_s.arg(left).arg(right).arg(top).arg(bottom)));
            break;
        }
    }

    void threeSheetPdfHoldsEveryNumberOnceInItsTicket_data()
    {
        QTest::addColumn<FillOrder>("order");
        QTest::newRow("rows first") << FillOrder::RowsFirst;
        QTest::newRow("columns first") << FillOrder::ColumnsFirst;
    }

    void threeSheetPdfHoldsEveryNumberOnceInItsTicket()
    {
        QFETCH(FillOrder, order);
        SheetJob job = numberedJob(1, order);
        const GridSize grid = fitSheet(job).fit.grid;
        job.count = grid.rows * grid.columns - 2;
        job.sheet.usedCells = {{0, 0}, {0, 1}};
        job.numbering.sheets = 3;
        job.numbering.prefix = u"No."_s;
        job.numbering.digits = 4;
        job.firstNumber = 11;
        const auto picture = whitePicture(true);
        const QString path = dir_.filePath(u"run.pdf"_s);
        QCOMPARE(exportSheet(path, SheetFileFormat::Pdf, dpi, job, picture.get()),
                 SheetExportResult::Written);
        QCOMPARE(pdfprobe::pageCount(path), 3);

        // Read in the page's reading order; each number is looked up by its
        // text and must lie in the ticket of its place in the fill order.
        const QList<pdfprobe::Word> words = pdfprobe::words(path);
        QCOMPARE(words.size(), 3 * job.count);
        QHash<QString, pdfprobe::Word> byText;
        for (const pdfprobe::Word& word : words)
            byText.insert(word.text, word);
        QCOMPARE(byText.size(), words.size());
        const SheetPitch pitch = *sheetPitch(job);
        for (int k = 0; k < 3; ++k) {
            const CellSet used = k == 0 ? job.sheet.usedCells : CellSet{};
            const std::vector<GridCell> cells = ticketCells(order, grid, job.count, used);
            for (int i = 0; i < job.count; ++i) {
                const QString expected = u"No.%1"_s.arg(11 + k * job.count + i, 4, 10, QChar(u'0'));
                QVERIFY2(byText.contains(expected), qPrintable(expected));
                const pdfprobe::Word& word = byText[expected];
                QCOMPARE(word.page, k + 1);
                const QPoint corner = cellPosition(pitch, cells[size_t(i)]);
                const QRectF ticket(corner.x() / 10.0, corner.y() / 10.0, job.ticket->width / 10.0,
                                    job.ticket->height / 10.0);
                QVERIFY2(ticket.contains(word.boxMm), qPrintable(expected));
            }
        }
        const QStringList fonts = pdfprobe::fontList(path);
        QCOMPARE(fonts.size(), 3);
        QVERIFY2(fonts[2].contains(u"NotoSansMonoCJK"_s), qPrintable(fonts[2]));
        // "emb sub": embedded as a subset.
        QVERIFY2(fonts[2].contains(QRegularExpression(u"\\byes\\s+yes\\s+yes\\b"_s)),
                 qPrintable(fonts[2]));
    }

    void hundredSheetsStoreThePictureOnce()
    {
        SheetJob job = numberedJob(30);
        job.numbering.sheets = 100;
        const auto picture = whitePicture(true);
        const QString path = dir_.filePath(u"hundred.pdf"_s);
        QCOMPARE(exportSheet(path, SheetFileFormat::Pdf, dpi, job, picture.get()),
                 SheetExportResult::Written);
        QCOMPARE(pdfprobe::pageCount(path), 100);
        QCOMPARE(pdfprobe::imageCount(path), 1);
        QCOMPARE(pdfprobe::imageList(path).size(), 2 + 100 * 30);
    }

    void pngRunWritesOneFileASheet()
    {
        SheetJob job = numberedJob(2);
        job.numbering.sheets = 3;
        job.numbering.position = NumberPosition::TopLeft;
        const auto picture = whitePicture(false);
        const QString path = dir_.filePath(u"sheet.png"_s);
        QCOMPARE(exportSheet(path, SheetFileFormat::Png, 100, job, picture.get()),
                 SheetExportResult::Written);
        QVERIFY(!QFile::exists(path));
        QImage pages[3];
        for (int k = 0; k < 3; ++k) {
            pages[k] = QImage(dir_.filePath(u"sheet-%1.png"_s.arg(k + 1, 3, 10, QChar(u'0'))));
            QVERIFY(!pages[k].isNull());
        }
        QVERIFY(!QFile::exists(dir_.filePath(u"sheet-004.png"_s)));
        // "1" and "3" on the first tickets of sheets 1 and 2 differ in ink.
        QVERIFY(pages[0] != pages[1]);
        QVERIFY(pages[1] != pages[2]);
    }

    void runSheetNames_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("sheet");
        QTest::addColumn<QString>("name");
        QTest::newRow("png") << u"/t/sheet.png"_s << 1 << u"/t/sheet-001.png"_s;
        QTest::newRow("two dots") << u"/t/a.b.png"_s << 12 << u"/t/a.b-012.png"_s;
        QTest::newRow("no extension") << u"/t/sheet"_s << 3 << u"/t/sheet-003"_s;
        QTest::newRow("dot in folder") << u"/t.d/sheet"_s << 999 << u"/t.d/sheet-999"_s;
    }

    void runSheetNames()
    {
        QFETCH(QString, path);
        QFETCH(int, sheet);
        QFETCH(QString, name);
        QCOMPARE(runSheetFilePath(path, sheet), name);
    }

    void stoppedRunLeavesThePreviousFiles_data()
    {
        QTest::addColumn<SheetFileFormat>("format");
        QTest::addColumn<bool>("jpeg");
        QTest::newRow("png") << SheetFileFormat::Png << false;
        QTest::newRow("cairo pdf") << SheetFileFormat::Pdf << true;
        QTest::newRow("qt pdf") << SheetFileFormat::Pdf << false;
    }

    void stoppedRunLeavesThePreviousFiles()
    {
        QFETCH(SheetFileFormat, format);
        QFETCH(bool, jpeg);
        SheetJob job = numberedJob(2);
        job.numbering.sheets = 3;
        const auto picture = whitePicture(jpeg);
        const QTemporaryDir dir;
        const QString path = dir.filePath(u"stop.file"_s);
        const QString firstSheet = runSheetFilePath(path, 1);
        const QString target = format == SheetFileFormat::Png ? firstSheet : path;
        QFile::remove(target);
        {
            QFile old(target);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        int told = 0;
        const auto stopAtThird = [&told](int sheet, int) {
            ++told;
            return sheet < 2;
        };
        QCOMPARE(exportSheet(path, format, 100, job, picture.get(), stopAtThird),
                 SheetExportResult::Cancelled);
        QCOMPARE(told, 3);
        QFile old(target);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
        QVERIFY(!QFile::exists(runSheetFilePath(path, 2)));
        const QStringList left = QDir(dir.path()).entryList({u"stop*"_s}, QDir::Files);
        QCOMPARE(left, QStringList{QFileInfo(target).fileName()});
    }

    // A run through the print command is one document of as many pages; a
    // stop between sheets writes nothing and leaves the old file.
    void printedRunIsOneDocument_data()
    {
        QTest::addColumn<int>("stopAt");
        QTest::newRow("whole") << -1;
        QTest::newRow("stopped at the second sheet") << 1;
    }

    void printedRunIsOneDocument()
    {
        QFETCH(int, stopAt);
        SheetJob job = numberedJob(3);
        job.paper = PaperKind::A4;
        job.numbering.sheets = 3;
        const auto picture = whitePicture(false);
        const QString pdf = dir_.filePath(u"printed.pdf"_s);
        {
            QFile old(pdf);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        test::FakePrintDialog dialog(pdf);
        QStringList messages;
        PrintJob print(
            dialog, [&messages](const QString& text) { messages << text; }, QString());
        print.setProgress([stopAt](int sheet, int) { return sheet != stopAt; });
        std::optional<PrinterSettingsBlock> settings;
        const PrintJob::Outcome outcome = print.run(job, picture.get(), settings);
        QCOMPARE(messages, QStringList());
        if (stopAt >= 0) {
            QCOMPARE(outcome, PrintJob::Outcome::Cancelled);
            QFile old(pdf);
            QVERIFY(old.open(QIODevice::ReadOnly));
            QCOMPARE(old.readAll(), QByteArray("old"));
            return;
        }
        QCOMPARE(outcome, PrintJob::Outcome::Printed);
        QCOMPARE(pdfprobe::pageCount(pdf), 3);
        QCOMPARE(pdfprobe::imageCount(pdf), 1);
        const QList<pdfprobe::Word> words = pdfprobe::words(pdf);
        QStringList texts;
        for (const pdfprobe::Word& word : words)
            texts << word.text;
        QCOMPARE(texts, (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"7"_s, u"8"_s,
                                     u"9"_s}));
    }

    void numberTooTallForItsTicketIsRefused_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("inset");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<bool>("fits");
        QTest::newRow("4 mm") << 40 << 30 << QString() << true;
        QTest::newRow("taller than the ticket") << 260 << 0 << QString() << false;
        QTest::newRow("inset pushes it out") << 200 << 60 << QString() << false;
        QTest::newRow("too wide") << 100 << 30 << u"No.No.No."_s << false;
    }

    void numberTooTallForItsTicketIsRefused()
    {
        QFETCH(int, height);
        QFETCH(int, inset);
        QFETCH(QString, prefix);
        QFETCH(bool, fits);
        SheetJob job = numberedJob(2);
        job.numbering.height = height;
        job.numbering.inset = inset;
        job.numbering.prefix = prefix;
        const auto picture = whitePicture(true);
        const QString path = dir_.filePath(u"fit.pdf"_s);
        QFile::remove(path);
        QCOMPARE(exportSheet(path, SheetFileFormat::Pdf, 100, job, picture.get()),
                 fits ? SheetExportResult::Written : SheetExportResult::NumbersDoNotFit);
        QCOMPARE(QFile::exists(path), fits);
    }
};

QTEST_MAIN(TestNumberedSheets)
#include "tst_numberedsheets.moc"
