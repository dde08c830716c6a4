#include "layout/SheetGeometry.h"
#include "settings/SettingsStore.h"

#include <QTemporaryDir>
#include <QTest>

using namespace zorvane;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(zorvane::PicturePlacement)
Q_DECLARE_METATYPE(zorvane::FillOrder)
Q_DECLARE_METATYPE(zorvane::TicketType)
Q_DECLARE_METATYPE(zorvane::PaperKind)

namespace {

// Cells written as "row:column" pairs joined by spaces, as the store keeps them.
CellSet cells(const QString& text)
{
    return cellSetFromText(text);
}

QString inOrder(const std::vector<GridCell>& list)
{
    QStringList parts;
    for (const GridCell& cell : list)
        parts << QString::number(cell.row) + u':' + QString::number(cell.column);
    return parts.join(u' ');
}

} // namespace

class TestSheetGeometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pictureAreaByPlacement_data();
    void pictureAreaByPlacement();
    void turnedTicketsFit_data();
    void turnedTicketsFit();
    void usedCellsLeaveFreeCells_data();
    void usedCellsLeaveFreeCells();
    void ticketCellsSkipUsed_data();
    void ticketCellsSkipUsed();
    void firstCellsInFillOrder_data();
    void firstCellsInFillOrder();
    void cellUnderPoint_data();
    void cellUnderPoint();
    void cellTextReadsBack_data();
    void cellTextReadsBack();
    void choicesWrittenOnlyWhenChanged();
};

void TestSheetGeometry::pictureAreaByPlacement_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("ticket");
    QTest::addColumn<PicturePlacement>("placement");
    QTest::addColumn<int>("dpiX");
    QTest::addColumn<int>("dpiY");
    QTest::addColumn<QRect>("expected");
    const QRect ticketA(10, 20, 579, 302); // an A ticket at 254 pixels per inch
    QTest::newRow("stretch is the ticket")
        << QSize(300, 200) << ticketA << PicturePlacement::Stretch << 254 << 254 << ticketA;
    // 3:2 is narrower than the ticket: Fit is as high, Fill as wide.
    QTest::newRow("fit 3:2 in A") << QSize(300, 200) << ticketA << PicturePlacement::Fit << 254
                                  << 254 << QRect(10 + 63, 20, 453, 302);
    QTest::newRow("fill 3:2 in A") << QSize(300, 200) << ticketA << PicturePlacement::Fill << 254
                                   << 254 << QRect(10, 20 - 42, 579, 386);
    // A wide banner is wider than the ticket: Fit is as wide, Fill as high.
    QTest::newRow("fit banner in A") << QSize(400, 100) << ticketA << PicturePlacement::Fit << 254
                                     << 254 << QRect(10, 20 + 78, 579, 145);
    QTest::newRow("fill banner in A") << QSize(400, 100) << ticketA << PicturePlacement::Fill << 254
                                      << 254 << QRect(10 - 315, 20, 1208, 302);
    // Same proportions: every placement gives the ticket.
    QTest::newRow("fit same shape") << QSize(100, 50) << QRect(0, 0, 200, 100)
                                    << PicturePlacement::Fit << 96 << 96 << QRect(0, 0, 200, 100);
    QTest::newRow("fill same shape") << QSize(100, 50) << QRect(0, 0, 200, 100)
                                     << PicturePlacement::Fill << 96 << 96 << QRect(0, 0, 200, 100);
    // Twice the pixels along x for the same length: a square picture on a
    // square ticket of 200 x 100 pixels stays the whole ticket.
    QTest::newRow("fit square, 600 x 300 dpi")
        << QSize(80, 80) << QRect(0, 0, 200, 100) << PicturePlacement::Fit << 600 << 300
        << QRect(0, 0, 200, 100);
    QTest::newRow("fit square in wide, 600 x 300 dpi")
        << QSize(80, 80) << QRect(0, 0, 400, 100) << PicturePlacement::Fit << 600 << 300
        << QRect(100, 0, 200, 100);
    // An odd leftover puts the extra pixel on the right.
    QTest::newRow("odd leftover") << QSize(10, 10) << QRect(0, 0, 15, 10) << PicturePlacement::Fit
                                  << 96 << 96 << QRect(2, 0, 10, 10);
    QTest::newRow("odd overflow") << QSize(10, 10) << QRect(0, 0, 15, 10) << PicturePlacement::Fill
                                  << 96 << 96 << QRect(0, -3, 15, 15);
}

void TestSheetGeometry::pictureAreaByPlacement()
{
    QFETCH(QSize, picture);
    QFETCH(QRect, ticket);
    QFETCH(PicturePlacement, placement);
    QFETCH(int, dpiX);
    QFETCH(int, dpiY);
    QFETCH(QRect, expected);
    QCOMPARE(pictureArea(picture, ticket, placement, dpiX, dpiY), expected);
}

void TestSheetGeometry::turnedTicketsFit_data()
{
    QTest::addColumn<TicketType>("type");
    QTest::addColumn<PaperKind>("paper");
    QTest::addColumn<int>("upright");
    QTest::addColumn<int>("turned");
    QTest::newRow("A on B5") << TicketType::A << PaperKind::B5 << 14 << 20;
    QTest::newRow("D on B5") << TicketType::D << PaperKind::B5 << 7 << 10;
    QTest::newRow("A on A4") << TicketType::A << PaperKind::A4 << 27 << 24;
    QTest::newRow("B on A4") << TicketType::B << PaperKind::A4 << 30 << 28;
    QTest::newRow("D on A4") << TicketType::D << PaperKind::A4 << 18 << 18;
    QTest::newRow("A on A4 quarter") << TicketType::A << PaperKind::A4Quarter << 4 << 4;
}

void TestSheetGeometry::turnedTicketsFit()
{
    QFETCH(TicketType, type);
    QFETCH(PaperKind, paper);
    QFETCH(int, upright);
    QFETCH(int, turned);
    MainValues main;
    main.ticketType = type;
    main.paper = paper;
    main.countText = u"1"_s;
    SheetOptions sheet;
    QCOMPARE(fitSheet(main, OptionValues(), sheet).freeCells, upright);
    QCOMPARE(capacity(fitSheet(main, OptionValues(), sheet).fit.grid), upright);
    sheet.turned = true;
    const SheetFit fit = fitSheet(main, OptionValues(), sheet);
    QCOMPARE(capacity(fit.fit.grid), turned);
    main.countText = QString::number(turned);
    QVERIFY(fitSheet(main, OptionValues(), sheet).fit.fits);
    main.countText = QString::number(turned + 1);
    QVERIFY(!fitSheet(main, OptionValues(), sheet).fit.fits);
}

void TestSheetGeometry::usedCellsLeaveFreeCells_data()
{
    QTest::addColumn<QString>("used");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("freeCells");
    QTest::addColumn<bool>("fits");
    // A4, ticket A: 9 rows, 3 columns.
    QTest::newRow("none, full") << QString() << 27 << 27 << true;
    QTest::newRow("none, over") << QString() << 28 << 27 << false;
    QTest::newRow("two, count at free") << u"0:0 4:2"_s << 25 << 25 << true;
    QTest::newRow("two, count above free") << u"0:0 4:2"_s << 26 << 25 << false;
    QTest::newRow("outside grid ignored") << u"0:3 9:0 0:0"_s << 26 << 26 << true;
}

void TestSheetGeometry::usedCellsLeaveFreeCells()
{
    QFETCH(QString, used);
    QFETCH(int, count);
    QFETCH(int, freeCells);
    QFETCH(bool, fits);
    MainValues main;
    main.countText = QString::number(count);
    SheetOptions sheet;
    sheet.usedCells = cells(used);
    const SheetFit fit = fitSheet(main, OptionValues(), sheet);
    QCOMPARE(fit.freeCells, freeCells);
    QCOMPARE(fit.fit.fits, fits);
    QCOMPARE(fit.fit.grid, (GridSize{3, 9}));
}

void TestSheetGeometry::ticketCellsSkipUsed_data()
{
    QTest::addColumn<FillOrder>("order");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("used");
    QTest::addColumn<QString>("expected");
    // 3 rows, 2 columns.
    QTest::newRow("rows, none used")
        << FillOrder::RowsFirst << 5 << QString() << u"0:0 0:1 1:0 1:1 2:0"_s;
    QTest::newRow("columns, none used")
        << FillOrder::ColumnsFirst << 5 << QString() << u"0:0 1:0 2:0 0:1 1:1"_s;
    QTest::newRow("rows, skip two")
        << FillOrder::RowsFirst << 3 << u"0:0 1:0"_s << u"0:1 1:1 2:0"_s;
    QTest::newRow("columns, skip two")
        << FillOrder::ColumnsFirst << 3 << u"0:0 1:0"_s << u"2:0 0:1 1:1"_s;
    QTest::newRow("more than free")
        << FillOrder::RowsFirst << 6 << u"1:1"_s << u"0:0 0:1 1:0 2:0 2:1"_s;
    QTest::newRow("outside ignored") << FillOrder::RowsFirst << 2 << u"5:5"_s << u"0:0 0:1"_s;
    QTest::newRow("count 0") << FillOrder::RowsFirst << 0 << QString() << QString();
    QTest::newRow("negative") << FillOrder::ColumnsFirst << -3 << QString() << QString();
}

void TestSheetGeometry::ticketCellsSkipUsed()
{
    QFETCH(FillOrder, order);
    QFETCH(int, count);
    QFETCH(QString, used);
    QFETCH(QString, expected);
    QCOMPARE(inOrder(ticketCells(order, GridSize{2, 3}, count, cells(used))), expected);
}

void TestSheetGeometry::firstCellsInFillOrder_data()
{
    QTest::addColumn<FillOrder>("order");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");
    QTest::newRow("rows 3") << FillOrder::RowsFirst << 3 << u"0:0 0:1 1:0"_s;
    QTest::newRow("columns 3") << FillOrder::ColumnsFirst << 3 << u"0:0 1:0 2:0"_s;
    QTest::newRow("columns 4") << FillOrder::ColumnsFirst << 4 << u"0:0 0:1 1:0 2:0"_s;
    QTest::newRow("beyond grid") << FillOrder::RowsFirst << 99 << u"0:0 0:1 1:0 1:1 2:0 2:1"_s;
    QTest::newRow("zero") << FillOrder::RowsFirst << 0 << QString();
}

void TestSheetGeometry::firstCellsInFillOrder()
{
    QFETCH(FillOrder, order);
    QFETCH(int, n);
    QFETCH(QString, expected);
    QCOMPARE(cellSetText(firstCells(order, GridSize{2, 3}, n)), expected);
}

void TestSheetGeometry::cellUnderPoint_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("row"); // -1: none
    QTest::addColumn<int>("column");
    // Ticket A, offsets 100, gaps 3: pitch 582 x 305; 3 columns, 9 rows.
    QTest::newRow("first ticket") << 100 << 100 << 0 << 0;
    QTest::newRow("in the gap") << 680 << 403 << 0 << 0;
    QTest::newRow("second column") << 682 << 100 << 0 << 1;
    QTest::newRow("last cell") << 100 + 2 * 582 + 10 << 100 + 8 * 305 + 10 << 8 << 2;
    QTest::newRow("left of grid") << 99 << 200 << -1 << -1;
    QTest::newRow("right of grid") << 100 + 3 * 582 << 200 << -1 << -1;
    QTest::newRow("below grid") << 200 << 100 + 9 * 305 << -1 << -1;
}

void TestSheetGeometry::cellUnderPoint()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, row);
    QFETCH(int, column);
    const SheetPitch pitch{{579, 302}, 100, 100, 3, 3};
    const std::optional<GridCell> cell = cellAtPoint(pitch, GridSize{3, 9}, x, y);
    if (row < 0) {
        QVERIFY(!cell);
        return;
    }
    QVERIFY(cell);
    QCOMPARE(cell->row, row);
    QCOMPARE(cell->column, column);
    QCOMPARE(cellPosition(pitch, *cell), QPoint(100 + column * 582, 100 + row * 305));
}

void TestSheetGeometry::cellTextReadsBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("sorted") << u"2:1 0:0 0:3"_s << u"0:0 0:3 2:1"_s;
    QTest::newRow("duplicates") << u"1:1 1:1"_s << u"1:1"_s;
    QTest::newRow("junk dropped") << u"1:1 x:2 3 -1:0 4:5:6 2:0"_s << u"1:1 2:0"_s;
    QTest::newRow("empty") << QString() << QString();
}

void TestSheetGeometry::cellTextReadsBack()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(cellSetText(cellSetFromText(text)), expected);
}

void TestSheetGeometry::choicesWrittenOnlyWhenChanged()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"store.ini"_s);
    {
        SettingsStore store(path);
        QCOMPARE(loadSheetChoices(store), SheetChoices());
        saveSheetChoice(store, PicturePlacement::Stretch);
        saveSheetChoice(store, &SheetChoices::turned, false);
        saveSheetChoice(store, &SheetChoices::markPrinted, false);
        saveUsedCells(store, PaperKind::A4, {579, 302}, false, {});
    }
    QVERIFY(!QFile::exists(path) || QSettings(path, QSettings::IniFormat).allKeys().isEmpty());
    {
        SettingsStore store(path);
        saveSheetChoice(store, PicturePlacement::Fill);
        saveSheetChoice(store, &SheetChoices::turned, true);
        saveSheetChoice(store, &SheetChoices::markPrinted, false);
        saveUsedCells(store, PaperKind::B5, {302, 579}, true, cells(u"0:1 3:2"_s));
    }
    const SettingsStore store(path);
    QCOMPARE(loadSheetChoices(store), (SheetChoices{PicturePlacement::Fill, true, false}));
    QCOMPARE(loadUsedCells(store, PaperKind::B5, {302, 579}, true), cells(u"0:1 3:2"_s));
    QVERIFY(loadUsedCells(store, PaperKind::B5, {302, 579}, false).empty());
    QVERIFY(loadUsedCells(store, PaperKind::A4, {302, 579}, true).empty());
    QCOMPARE(QSettings(path, QSettings::IniFormat).allKeys(),
             (QStringList{u"Sheet/Placement"_s, u"Sheet/Turned"_s, u"Sheet/Used_B5_302x579_T"_s}));
}

QTEST_GUILESS_MAIN(TestSheetGeometry)
#include "tst_sheetgeometry.moc"
