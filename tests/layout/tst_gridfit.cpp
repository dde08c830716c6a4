#include "layout/GridFit.h"

#include <QTest>

#include <limits>

Q_DECLARE_METATYPE(zorvane::MainValues)
Q_DECLARE_METATYPE(zorvane::OptionValues)

using namespace zorvane;
using namespace Qt::StringLiterals;

namespace {

MainValues job(TicketType type, PaperKind paper, const QString& count = QString())
{
    MainValues main;
    main.ticketType = type;
    main.paper = paper;
    main.countText = count;
    return main;
}

constexpr int intMax = std::numeric_limits<int>::max();
constexpr int intMin = std::numeric_limits<int>::min();

} // namespace

class TestGridFit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void catalogueWithDefaultOptions_data()
    {
        QTest::addColumn<PaperKind>("paper");
        QTest::addColumn<TicketType>("type");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");

        QTest::newRow("A4 A") << PaperKind::A4 << TicketType::A << 3 << 9;
        QTest::newRow("A4 B") << PaperKind::A4 << TicketType::B << 3 << 10;
        QTest::newRow("A4 D") << PaperKind::A4 << TicketType::D << 2 << 9;
        QTest::newRow("B5 A") << PaperKind::B5 << TicketType::A << 2 << 7;
        QTest::newRow("B5 B") << PaperKind::B5 << TicketType::B << 2 << 9;
        QTest::newRow("B5 D") << PaperKind::B5 << TicketType::D << 1 << 7;
        QTest::newRow("quarter A") << PaperKind::A4Quarter << TicketType::A << 2 << 2;
        QTest::newRow("quarter B") << PaperKind::A4Quarter << TicketType::B << 2 << 3;
        QTest::newRow("quarter D") << PaperKind::A4Quarter << TicketType::D << 1 << 2;
    }

    void catalogueWithDefaultOptions()
    {
        QFETCH(PaperKind, paper);
        QFETCH(TicketType, type);
        QFETCH(int, columns);
        QFETCH(int, rows);
        const int cap = columns * rows;

        const GridFitResult full = GridFit(job(type, paper, QString::number(cap)), {});
        QCOMPARE(full.grid, (GridSize{columns, rows}));
        QVERIFY(full.fits);

        const GridFitResult over = GridFit(job(type, paper, QString::number(cap + 1)), {});
        QVERIFY(!over.fits);
        // The grid is reported whatever the verdict.
        QCOMPARE(over.grid, (GridSize{columns, rows}));
    }

    void options_data()
    {
        QTest::addColumn<MainValues>("main");
        QTest::addColumn<OptionValues>("options");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("fits");

        const MainValues a4a = job(TicketType::A, PaperKind::A4, u"1"_s);
        OptionValues o;

        o = {};
        o.gapV = 6; // rest 306 >= 302: the ninth row still fits
        QTest::newRow("gap 6 keeps nine rows") << a4a << o << 3 << 9 << true;

        // Rest exactly the ticket extent adds one; one less does not.
        o = {};
        o.offsetY = 2870 - (2 * 305 + 302); // L = 912: 2 pitches, rest 302
        QTest::newRow("rest equals extent") << a4a << o << 3 << 3 << true;
        o.offsetY += 1; // rest 301
        QTest::newRow("rest one short") << a4a << o << 3 << 2 << true;

        o = {};
        o.limitGrid = 1;
        o.maxRows = 5;
        o.maxCols = 2;
        QTest::newRow("caps lower")
            << job(TicketType::A, PaperKind::A4, u"10"_s) << o << 2 << 5 << true;
        QTest::newRow("caps lower, 11 does not fit")
            << job(TicketType::A, PaperKind::A4, u"11"_s) << o << 2 << 5 << false;
        o.maxRows = 20;
        o.maxCols = 20;
        QTest::newRow("larger caps change nothing") << a4a << o << 3 << 9 << true;
        o.maxRows = 0;
        o.maxCols = 0;
        QTest::newRow("caps at 0 leave nothing") << a4a << o << 0 << 0 << false;
        QTest::newRow("caps at 0, empty count fits")
            << job(TicketType::A, PaperKind::A4) << o << 0 << 0 << true;
        o.limitGrid = 0;
        QTest::newRow("caps ignored when off") << a4a << o << 3 << 9 << true;
        o.limitGrid = 7;
        o.maxRows = 4;
        o.maxCols = 1;
        QTest::newRow("any nonzero limit applies") << a4a << o << 1 << 4 << true;
        o.maxRows = -2;
        o.maxCols = -1;
        QTest::newRow("negative caps give a positive capacity")
            << job(TicketType::A, PaperKind::A4, u"2"_s) << o << -1 << -2 << true;

        MainValues custom = job(TicketType::Other, PaperKind::A4, u"27"_s);
        custom.customWidth = 500;
        custom.customHeight = 300;
        QTest::newRow("custom 500 x 300") << custom << OptionValues{} << 3 << 9 << true;

        // Offsets beyond the paper make the available length negative.
        o = {};
        o.offsetY = 2870 + 130; // L = -130 with pitch 305
        QTest::newRow("short by less than a pitch") << a4a << o << 3 << 0 << false;
        QTest::newRow("short, empty count fits")
            << job(TicketType::A, PaperKind::A4) << o << 3 << 0 << true;
        o.offsetY = 2870 + 400; // L = -400
        QTest::newRow("short by more than a pitch")
            << job(TicketType::A, PaperKind::A4, u"-3"_s) << o << 3 << -1 << true;
        o.offsetX = 2000 + 600; // L = -600 with pitch 582: -1 columns
        QTest::newRow("two negative counts")
            << job(TicketType::A, PaperKind::A4, u"1"_s) << o << -1 << -1 << true;

        QTest::newRow("count text without a number")
            << job(TicketType::A, PaperKind::A4, u"abc"_s) << OptionValues{} << 3 << 9 << true;
        QTest::newRow("count with trailing text")
            << job(TicketType::A, PaperKind::A4, u" 28x"_s) << OptionValues{} << 3 << 9 << false;
    }

    void options()
    {
        QFETCH(MainValues, main);
        QFETCH(OptionValues, options);
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(bool, fits);
        const GridFitResult result = GridFit(main, options);
        QCOMPARE(result.grid, (GridSize{columns, rows}));
        QCOMPARE(result.fits, fits);
    }

    void nothingSelected_data()
    {
        QTest::addColumn<bool>("hasType");
        QTest::addColumn<bool>("hasPaper");
        QTest::newRow("no type") << false << true;
        QTest::newRow("no paper") << true << false;
        QTest::newRow("neither") << false << false;
    }

    void nothingSelected()
    {
        QFETCH(bool, hasType);
        QFETCH(bool, hasPaper);
        MainValues main = job(TicketType::A, PaperKind::A4); // empty count would fit
        if (!hasType)
            main.ticketType.reset();
        if (!hasPaper)
            main.paper.reset();
        const GridFitResult result = GridFit(main, {});
        QVERIFY(!result.fits);
        QCOMPARE(result.grid, GridSize{});
    }

    void zeroPitchHoldsNothing()
    {
        MainValues main = job(TicketType::Other, PaperKind::A4);
        main.customWidth = 500;
        main.customHeight = 0; // with gapV 0 the vertical pitch is 0
        OptionValues o;
        o.gapV = 0;
        const GridFitResult vertical = GridFit(main, o);
        QCOMPARE(vertical.grid, (GridSize{3, 0}));

        main.customWidth = 50;
        o.gapH = -50; // a gap of minus the extent
        QCOMPARE(GridFit(main, o).grid.columns, 0);
    }

    void extremeValuesStayInRange_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("gap");

        QTest::newRow("max sizes and gaps") << intMax << intMax << 0 << intMax;
        QTest::newRow("min sizes") << intMin << intMin << 0 << 0;
        QTest::newRow("min offset") << 1 << 1 << intMin << 0;
        QTest::newRow("max offset") << 1 << 1 << intMax << 0;
        QTest::newRow("min gap") << 1 << 1 << 0 << intMin;
        QTest::newRow("tiny negative pitch") << 1 << 1 << intMin << -2;
        QTest::newRow("everything min") << intMin << intMin << intMin << intMin;
        QTest::newRow("everything max") << intMax << intMax << intMax << intMax;
    }

    void extremeValuesStayInRange()
    {
        // Hand-edited stores can hold anything; the sanitizer build checks
        // that no step overflows.
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, offset);
        QFETCH(int, gap);
        MainValues main = job(TicketType::Other, PaperKind::B5, u"-2147483648"_s);
        main.customWidth = width;
        main.customHeight = height;
        OptionValues o;
        o.offsetX = offset;
        o.offsetY = offset;
        o.gapH = gap;
        o.gapV = gap;
        o.limitGrid = 1;
        o.maxRows = intMax;
        o.maxCols = intMax;
        const GridFitResult result = GridFit(main, o);
        QVERIFY(capacity(result.grid) >= intMin);
        QVERIFY(result.fits); // the smallest count fits any capacity
    }

    void ticketsAlongClampsHugeCounts()
    {
        // 1 tenth per ticket over a length of 2^32 would not fit in 32 bits.
        QCOMPARE(ticketsAlong(qint64(1) << 32, 1, 0), intMax);
        QCOMPARE(ticketsAlong(-(qint64(1) << 32), 1, 0), intMin);
        QCOMPARE(capacity(GridSize{intMax, intMax}), intMax);
        QCOMPARE(capacity(GridSize{intMin, intMax}), intMin);
    }
};

QTEST_APPLESS_MAIN(TestGridFit)
#include "tst_gridfit.moc"
