// Cut marks and bleed drawn at 600 dpi by the one sheet renderer, checked
// in the pixels: where the picture reaches past the cut line, where the
// marks lie and where they stop.
#include "CutGuideProbe.h"
#include "SheetProbe.h"
#include "StoredJob.h"
#include "layout/DrawingSurface.h"
#include "layout/SheetDrawing.h"
#include "picture/PictureHolder.h"
#include "settings/SettingsStore.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <optional>

using namespace zorvane;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(zorvane::PicturePlacement)

namespace {

constexpr int dpi = 600;
constexpr int ticketWidth = 200; // tenths of a millimetre
constexpr int ticketHeight = 150;
constexpr int bleedTenths = 20;

double pixelsOfMm(double mm)
{
    return mm * dpi / 25.4;
}

int px(int tenths)
{
    return int(tenths * dpi / 254.0);
}

// A cut line's pixels as the sheet lays them out, worked out here from the
// offsets and the gap: columns left..right-1, rows top..bottom-1.
struct Cut
{
    int left, top, right, bottom;
};

Cut cutOf(int offset, int gap, int row, int column)
{
    const int left = px(offset + column * (ticketWidth + gap));
    const int top = px(offset + row * (ticketHeight + gap));
    return {left, top, left + px(ticketWidth), top + px(ticketHeight)};
}

QImage drawn(const SheetJob& job, const GridSize& grid, QSize size,
             const std::optional<QRect>& printable = std::nullopt)
{
    const auto picture = PictureHolder::fromImage(sheetprobe::quarteredPicture(300, 200));
    QImage page(size, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    DrawingSurface surface(painter, dpi, dpi);
    if (printable)
        surface.setPrintableArea(*printable);
    DrawSheet(surface, picture.get(), job, grid);
    return page;
}

} // namespace

class TestCutGuides : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void pictureReachesIntoBleed_data();
    void pictureReachesIntoBleed();
    void bleedStopsAtThePaper();
    void marksOnPrintedCutLines_data();
    void marksOnPrintedCutLines();
    void marksStopAtPrintableLimit_data();
    void marksStopAtPrintableLimit();

private:
    SheetJob job(int gap, int count, int offset, const SheetOptions& sheet) const;

    QTemporaryDir dir_;
    std::unique_ptr<SettingsStore> store_;
};

void TestCutGuides::init()
{
    store_ = std::make_unique<SettingsStore>(dir_.filePath(u"store.ini"_s));
}

SheetJob TestCutGuides::job(int gap, int count, int offset, const SheetOptions& sheet) const
{
    return placedJob(*store_,
                     {TicketSize{ticketWidth, ticketHeight}, FillOrder::RowsFirst, count, offset,
                      offset, gap, gap},
                     sheet);
}

void TestCutGuides::pictureReachesIntoBleed_data()
{
    QTest::addColumn<PicturePlacement>("placement");
    QTest::addColumn<bool>("turned");
    QTest::addColumn<int>("gap");
    for (const int gap : {0, 10, 60}) {
        const QByteArray g = QByteArray::number(gap);
        QTest::newRow(QByteArray("stretch, gap " + g).constData())
            << PicturePlacement::Stretch << false << gap;
        QTest::newRow(QByteArray("fill, gap " + g).constData())
            << PicturePlacement::Fill << false << gap;
        QTest::newRow(QByteArray("turned stretch, gap " + g).constData())
            << PicturePlacement::Stretch << true << gap;
        QTest::newRow(QByteArray("turned fill, gap " + g).constData())
            << PicturePlacement::Fill << true << gap;
        QTest::newRow(QByteArray("whole, gap " + g).constData())
            << PicturePlacement::Fit << false << gap;
        QTest::newRow(QByteArray("turned whole, gap " + g).constData())
            << PicturePlacement::Fit << true << gap;
    }
}

// A 2 x 2 grid with a 2 mm bleed: each ticket's picture reaches its full
// bleed on the grid's outer sides and half the gap, at most the bleed,
// between tickets; a whole picture stays inside its cut line.
void TestCutGuides::pictureReachesIntoBleed()
{
    QFETCH(PicturePlacement, placement);
    QFETCH(bool, turned);
    QFETCH(int, gap);
    SheetOptions sheet{placement, turned, {}};
    sheet.cut.bleed = bleedTenths;
    const int offset = 100;
    const QImage page = drawn(job(gap, 4, offset, sheet), {2, 2}, QSize(1600, 1400));
    const bool whole = placement == PicturePlacement::Fit;
    const double outer = whole ? 0 : pixelsOfMm(bleedTenths / 10.0);
    const double inner =
        whole ? 0 : std::min(pixelsOfMm(bleedTenths / 10.0), pixelsOfMm(gap / 20.0));
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            const Cut cut = cutOf(offset, gap, row, column);
            // Inside the picture's top-left and bottom-right quarters, also
            // when a whole picture leaves part of the ticket blank.
            const int insetX = (cut.right - cut.left) * 3 / 8;
            const int insetY = (cut.bottom - cut.top) * 3 / 8;
            const QPoint topLeft(cut.left + insetX, cut.top + insetY);
            const QPoint bottomRight(cut.right - insetX, cut.bottom - insetY);
            // The first pixel outside the picture on each side, and where
            // the bleed puts it.
            const double left = cutprobe::reach(page, topLeft, {-1, 0});
            const double top = cutprobe::reach(page, topLeft, {0, -1});
            const double right = cutprobe::reach(page, bottomRight, {1, 0}) + 1;
            const double bottom = cutprobe::reach(page, bottomRight, {0, 1}) + 1;
            const QString where = u"cell %1:%2"_s.arg(row).arg(column);
            if (whole) {
                QVERIFY2(left >= cut.left && top >= cut.top, qPrintable(where));
                QVERIFY2(right <= cut.right && bottom <= cut.bottom, qPrintable(where));
                continue;
            }
            const auto check = [&](double found, double expected, const char* side) {
                QVERIFY2(qAbs(found - expected) <= 1.0,
                         qPrintable(where + u" %1: %2 instead of %3"_s.arg(QLatin1StringView(side))
                                                .arg(found)
                                                .arg(expected)));
            };
            check(left, cut.left - (column == 0 ? outer : inner), "left");
            check(right, cut.right + (column == 1 ? outer : inner), "right");
            check(top, cut.top - (row == 0 ? outer : inner), "top");
            check(bottom, cut.bottom + (row == 1 ? outer : inner), "bottom");
        }
    }
}

// Tickets 0.5 mm from the paper's corner: the bleed stops at the paper's
// edge, so the stretched picture starts at the paper's first pixel rather
// than being drawn partly off it.
void TestCutGuides::bleedStopsAtThePaper()
{
    SheetOptions sheet;
    sheet.cut.bleed = bleedTenths;
    SheetJob sheetJob = job(10, 1, 5, sheet);
    sheetJob.paper = PaperKind::A4;
    const QImage page = drawn(sheetJob, {1, 1}, QSize(800, 800));
    // The picture's top-left quarter fills from the corner; with the bleed
    // drawn off the paper, its edge pixels would be cut from a larger
    // stretch and the quarter's split would sit further right.
    QCOMPARE(page.pixel(0, 0), sheetprobe::topLeftColour.rgb());
    const Cut cut = cutOf(5, 10, 0, 0);
    const int split = cutprobe::reach(page, QPoint(0, 5), {1, 0}) + 1;
    // Half of the stretch, so up to half a pixel more than one either way.
    const double expected = (cut.right + pixelsOfMm(bleedTenths / 10.0)) / 2.0;
    QVERIFY2(qAbs(split - expected) <= 1.5, qPrintable(u"split at %1"_s.arg(split)));
}

void TestCutGuides::marksOnPrintedCutLines_data()
{
    QTest::addColumn<int>("gap");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("bleed");
    // The vertical cut lines of the first row's tickets, as marks: with no
    // gap, neighbours share one mark.
    QTest::addColumn<int>("marksAcross");
    QTest::newRow("gap 0, all") << 0 << 6 << bleedTenths << 4;
    QTest::newRow("gap 0, two tickets") << 0 << 2 << bleedTenths << 3;
    QTest::newRow("gap 1 mm") << 10 << 6 << bleedTenths << 6;
    QTest::newRow("gap 1 mm, two tickets") << 10 << 2 << bleedTenths << 4;
    QTest::newRow("gap 6 mm") << 60 << 5 << bleedTenths << 6;
    QTest::newRow("gap 6 mm, no bleed") << 60 << 6 << 0 << 6;
}

// A 3 x 2 grid: every dark pixel belongs to a mark on a printed ticket's cut
// line, outside every ticket's bleed; every such cut line has its mark on
// both sides, 1 mm beyond the bleed and 4 mm long, two pixels thick.
void TestCutGuides::marksOnPrintedCutLines()
{
    QFETCH(int, gap);
    QFETCH(int, count);
    QFETCH(int, bleed);
    QFETCH(int, marksAcross);
    SheetOptions sheet;
    sheet.cut = {true, bleed};
    const int offset = 150;
    const QImage page = drawn(job(gap, count, offset, sheet), {3, 2}, QSize(2500, 1700));

    std::vector<int> vertical;
    std::vector<int> horizontal;
    for (int cell = 0; cell < count; ++cell) {
        const Cut cut = cutOf(offset, gap, cell / 3, cell % 3);
        vertical.insert(vertical.end(), {cut.left, cut.right});
        horizontal.insert(horizontal.end(), {cut.top, cut.bottom});
    }
    const double bleedPx = pixelsOfMm(bleed / 10.0);
    const Cut first = cutOf(offset, gap, 0, 0);
    const Cut last = cutOf(offset, gap, 1, 2);
    const double reachTop = first.top - bleedPx;
    const double reachBottom = last.bottom + bleedPx;
    const double reachLeft = first.left - bleedPx;
    const double reachRight = last.right + bleedPx;
    const auto onALine = [](int pixel, const std::vector<int>& lines) {
        return std::any_of(lines.begin(), lines.end(),
                           [pixel](int line) { return pixel >= line - 2 && pixel <= line + 1; });
    };
    for (const QPoint dark : cutprobe::darkPixels(page)) {
        const bool aboveOrBelow = dark.y() < reachTop || dark.y() >= reachBottom;
        const bool beside = dark.x() < reachLeft || dark.x() >= reachRight;
        QVERIFY2((aboveOrBelow && onALine(dark.x(), vertical)) ||
                     (beside && onALine(dark.y(), horizontal)),
                 qPrintable(u"a dark pixel at (%1, %2)"_s.arg(dark.x()).arg(dark.y())));
    }

    // Across the middle of the top marks: one run per shared cut line.
    const double markNear = pixelsOfMm(1);
    const double markFar = pixelsOfMm(5);
    const auto across = cutprobe::darkRunsInRow(page, int(reachTop - pixelsOfMm(3)));
    QCOMPARE(int(across.size()), marksAcross);
    for (const auto& [from, to] : across)
        QCOMPARE(to - from + 1, 2);
    for (const int line : vertical) {
        for (const auto& [near, far] : {std::pair{reachTop - markNear, reachTop - markFar},
                                        std::pair{reachBottom + markNear, reachBottom + markFar}}) {
            // A mark is two pixels thick around its line, and a shared one
            // lies on the first of two lines a pixel apart.
            bool found = false;
            for (const int column : {line - 1, line}) {
                for (const auto& [from, to] : cutprobe::darkRunsInColumn(page, column))
                    found = found || (qAbs(std::min(near, far) - from) <= 1.5 &&
                                      qAbs(std::max(near, far) - (to + 1)) <= 1.5);
            }
            QVERIFY2(
                found,
                qPrintable(u"no mark at column %1 from %2 to %3"_s.arg(line).arg(near).arg(far)));
        }
    }
    for (const int line : horizontal) {
        for (const int x : {int(reachLeft - pixelsOfMm(3)), int(reachRight + pixelsOfMm(3))})
            QVERIFY2(cutprobe::isDark(page.pixel(x, line)) ||
                         cutprobe::isDark(page.pixel(x, line - 1)),
                     qPrintable(u"no mark at row %1, column %2"_s.arg(line).arg(x)));
    }
}

void TestCutGuides::marksStopAtPrintableLimit_data()
{
    QTest::addColumn<double>("limitMm");   // the printable area's top edge
    QTest::addColumn<double>("markTopMm"); // where the top marks begin; < 0: none
    // The grid's bleed reaches up to 13 mm; marks are wanted from 12 mm up
    // to 8 mm.
    QTest::newRow("no limit") << -1.0 << 8.0;
    QTest::newRow("limit within the mark") << 10.0 << 10.0;
    QTest::newRow("limit beyond the mark") << 12.5 << -1.0;
}

// On a printer the marks end where its printable area does; nothing is
// drawn beyond it.
void TestCutGuides::marksStopAtPrintableLimit()
{
    QFETCH(double, limitMm);
    QFETCH(double, markTopMm);
    SheetOptions sheet;
    sheet.cut = {true, bleedTenths};
    std::optional<QRect> printable;
    if (limitMm >= 0)
        printable = QRect(QPoint(0, int(pixelsOfMm(limitMm))), QSize(3000, 3000));
    const QImage page = drawn(job(30, 1, 150, sheet), {1, 1}, QSize(1400, 1400), printable);
    const auto runs = cutprobe::darkRunsInColumn(page, px(150));
    const auto top = std::find_if(runs.begin(), runs.end(),
                                  [](const auto& run) { return run.second < px(150); });
    if (markTopMm < 0) {
        QVERIFY(top == runs.end());
        return;
    }
    QVERIFY(top != runs.end());
    QVERIFY2(qAbs(top->first - pixelsOfMm(markTopMm)) <= 1.0,
             qPrintable(u"mark from row %1"_s.arg(top->first)));
    if (printable) {
        for (const QPoint dark : cutprobe::darkPixels(page))
            QVERIFY(printable->contains(dark));
    }
}

QTEST_MAIN(TestCutGuides)
#include "tst_cutguides.moc"
