// Pixel checks of how the picture sits in its ticket, of turned tickets and
// of used cells, drawn by the one sheet renderer into images and PDFs.
#include "PdfProbe.h"
#include "SheetProbe.h"
#include "StoredJob.h"
#include "layout/DrawingSurface.h"
#include "layout/SheetDrawing.h"
#include "picture/PictureHolder.h"
#include "print/SheetExport.h"
#include "settings/SettingsStore.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace zorvane;
using namespace Qt::StringLiterals;
using namespace sheetprobe;

Q_DECLARE_METATYPE(zorvane::PicturePlacement)
Q_DECLARE_METATYPE(zorvane::FillOrder)

namespace {

constexpr QRgb white = 0xffffffff;
// At 254 pixels per inch one pixel is a tenth of a millimetre, so an A
// ticket at (100, 100) covers columns 100..678 and rows 100..401.
constexpr int dpi = 254;

struct Probe
{
    QPoint pixel;
    QRgb colour;
};
using Probes = QList<Probe>;

const QRgb TL = topLeftColour.rgb();
const QRgb TR = topRightColour.rgb();
const QRgb BL = bottomLeftColour.rgb();
const QRgb BR = bottomRightColour.rgb();

QString failedProbes(const QImage& image, const Probes& probes)
{
    QStringList failures;
    for (const Probe& probe : probes) {
        const QRgb found = image.pixel(probe.pixel);
        if (found != probe.colour) {
            failures << u"(%1, %2): %3 instead of %4"_s.arg(probe.pixel.x())
                            .arg(probe.pixel.y())
                            .arg(QColor(found).name(), QColor(probe.colour).name());
        }
    }
    return failures.join(u"; "_s);
}

} // namespace

Q_DECLARE_METATYPE(Probes)

class TestSheetLooks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void pictureInTicket_data();
    void pictureInTicket();
    void usedCellsStayBlank_data();
    void usedCellsStayBlank();
    void pdfHoldsThePictureOnce_data();
    void pdfHoldsThePictureOnce();

private:
    QTemporaryDir dir_;
    std::unique_ptr<SettingsStore> store_;
};

void TestSheetLooks::init()
{
    store_ = std::make_unique<SettingsStore>(dir_.filePath(u"store.ini"_s));
}

void TestSheetLooks::pictureInTicket_data()
{
    QTest::addColumn<PicturePlacement>("placement");
    QTest::addColumn<bool>("turned");
    QTest::addColumn<Probes>("probes");
    // A 3:2 picture of 300 x 200 pixels on an A ticket (579 x 302).
    QTest::newRow("stretch") << PicturePlacement::Stretch << false
                             << Probes{{{100, 100}, TL}, {{678, 100}, TR},    {{100, 401}, BL},
                                       {{678, 401}, BR}, {{679, 250}, white}, {{300, 402}, white}};
    // Whole picture: 453 x 302 from column 163; columns 100..162 and
    // 616..678 stay blank.
    QTest::newRow("fit") << PicturePlacement::Fit << false
                         << Probes{{{162, 250}, white}, {{163, 100}, TL}, {{615, 100}, TR},
                                   {{163, 401}, BL},    {{615, 401}, BR}, {{616, 250}, white},
                                   {{100, 100}, white}};
    // Filled: 579 x 386 from row 58, cut at rows 100 and 401.
    QTest::newRow("fill") << PicturePlacement::Fill << false
                          << Probes{{{100, 100}, TL},   {{678, 100}, TR},   {{100, 401}, BL},
                                    {{678, 401}, BR},   {{300, 99}, white}, {{300, 402}, white},
                                    {{300, 60}, white}, {{679, 250}, white}};
    // Turned: the ticket is 302 x 579 (columns 100..401, rows 100..678) and
    // the picture's top edge runs down its right edge.
    QTest::newRow("turned stretch")
        << PicturePlacement::Stretch << true
        << Probes{{{401, 100}, TL}, {{401, 678}, TR},    {{100, 100}, BL},
                  {{100, 678}, BR}, {{402, 300}, white}, {{300, 679}, white}};
    // Turned, whole: the standing picture is 200 x 300, so 302 x 453 from
    // row 163.
    QTest::newRow("turned fit") << PicturePlacement::Fit << true
                                << Probes{{{401, 163}, TL},    {{401, 615}, TR},
                                          {{100, 163}, BL},    {{100, 615}, BR},
                                          {{300, 162}, white}, {{300, 616}, white}};
    // Turned, filled: 386 x 579 from column 58, cut at columns 100 and 401.
    QTest::newRow("turned fill") << PicturePlacement::Fill << true
                                 << Probes{{{401, 100}, TL},   {{401, 678}, TR},
                                           {{100, 100}, BL},   {{100, 678}, BR},
                                           {{99, 300}, white}, {{402, 300}, white},
                                           {{60, 300}, white}};
}

void TestSheetLooks::pictureInTicket()
{
    QFETCH(PicturePlacement, placement);
    QFETCH(bool, turned);
    QFETCH(Probes, probes);
    const auto picture = PictureHolder::fromImage(quarteredPicture(300, 200));
    QImage page(900, 900, QImage::Format_RGB32);
    page.fill(white);
    {
        QPainter painter(&page);
        DrawingSurface surface(painter, dpi, dpi);
        DrawTile(surface, picture.get(), loadOptionValues(*store_), laidOutSize({579, 302}, turned),
                 100, 100, {placement, turned});
    }
    QCOMPARE(failedProbes(page, probes), QString());
}

void TestSheetLooks::usedCellsStayBlank_data()
{
    QTest::addColumn<FillOrder>("order");
    QTest::addColumn<QString>("used");
    QTest::addColumn<QString>("drawn");
    // 3 rows, 2 columns, count 3.
    QTest::newRow("rows") << FillOrder::RowsFirst << u"0:0 1:0"_s << u"0:1 1:1 2:0"_s;
    QTest::newRow("columns") << FillOrder::ColumnsFirst << u"0:0 1:0"_s << u"0:1 1:1 2:0"_s;
    QTest::newRow("columns, other cells")
        << FillOrder::ColumnsFirst << u"2:0 0:1"_s << u"0:0 1:0 1:1"_s;
    QTest::newRow("nothing used") << FillOrder::ColumnsFirst << QString() << u"0:0 1:0 2:0"_s;
}

void TestSheetLooks::usedCellsStayBlank()
{
    QFETCH(FillOrder, order);
    QFETCH(QString, used);
    QFETCH(QString, drawn);
    store_->WriteProfileInt("Option", "CHK1", 1); // frames on: nothing at all on used cells
    const auto picture = PictureHolder::fromImage(quarteredPicture(30, 20));
    QImage page(1400, 1100, QImage::Format_RGB32);
    page.fill(white);
    SheetOptions sheet;
    sheet.usedCells = cellSetFromText(used);
    {
        QPainter painter(&page);
        DrawingSurface surface(painter, dpi, dpi);
        DrawSheet(surface, picture.get(),
                  placedJob(*store_, {TicketSize{579, 302}, order, 3}, sheet), GridSize{2, 3});
    }
    const CellSet expected = cellSetFromText(drawn);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 2; ++column) {
            const int left = 100 + column * 582;
            const int top = 100 + row * 305;
            const bool filled = expected.contains({row, column});
            // The middle of the ticket and the frame's corner outside it.
            QCOMPARE(page.pixel(left + 10, top + 10) != white, filled);
            QCOMPARE(page.pixel(left - 1, top - 1) != white, filled);
        }
    }
}

void TestSheetLooks::pdfHoldsThePictureOnce_data()
{
    QTest::addColumn<PicturePlacement>("placement");
    QTest::addColumn<bool>("turned");
    QTest::newRow("fill") << PicturePlacement::Fill << false;
    QTest::newRow("fit turned") << PicturePlacement::Fit << true;
    QTest::newRow("fill turned") << PicturePlacement::Fill << true;
}

void TestSheetLooks::pdfHoldsThePictureOnce()
{
    if (!pdfprobe::toolsAvailable())
        QSKIP("poppler tools are missing");
    QFETCH(PicturePlacement, placement);
    QFETCH(bool, turned);
    const auto picture = PictureHolder::fromImage(quarteredPicture(300, 200));
    MainValues main;
    main.countText = u"5"_s;
    SheetOptions sheet{placement, turned, cellSetFromText(u"0:0"_s)};
    const QString pdf = dir_.filePath(u"sheet.pdf"_s);
    QCOMPARE(
        exportSheet(pdf, SheetFileFormat::Pdf, 300, storedJob(*store_, main, sheet), picture.get()),
        SheetExportResult::Written);
    QCOMPARE(pdfprobe::imageCount(pdf), 1);

    // The second cell of the first row holds the first ticket; its corners
    // show the picture's quarters where they belong.
    const QImage page = pdfprobe::render(pdf, 254);
    QVERIFY(!page.isNull());
    const int left = 100 + (turned ? 305 : 582);
    const int right = left + (turned ? 301 : 578);
    // Turned, a whole 3:2 picture stands 302 x 453 in the 302 x 579 ticket.
    const int blank = placement == PicturePlacement::Fit ? 63 : 0;
    const int top = 100 + blank;
    const int bottom = 100 + (turned ? 578 : 301) - blank;
    auto near = [&](QPoint pixel, QRgb colour) {
        const QColor found = page.pixelColor(pixel);
        const QColor want(colour);
        return qAbs(found.red() - want.red()) < 40 && qAbs(found.green() - want.green()) < 40 &&
               qAbs(found.blue() - want.blue()) < 40;
    };
    const QPoint topLeft(left + 8, top + 8);
    const QPoint topRight(right - 8, top + 8);
    const QPoint bottomLeft(left + 8, bottom - 8);
    if (turned) {
        QVERIFY(near(topRight, TL));
        QVERIFY(near(bottomLeft, BR));
    } else {
        QVERIFY(near(topLeft, TL));
        QVERIFY(near(bottomLeft, BL));
    }
    // The used first cell stays blank.
    QVERIFY(near(QPoint(150, 150), white));
}

QTEST_MAIN(TestSheetLooks)
#include "tst_sheetlooks.moc"
