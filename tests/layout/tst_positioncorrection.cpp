#include "layout/PositionCorrection.h"

#include <QTest>

#include <limits>

using namespace zorvane;

Q_DECLARE_METATYPE(std::optional<zorvane::CorrectionFault>)
Q_DECLARE_METATYPE(zorvane::PositionCorrection)

namespace {

constexpr int intMax = std::numeric_limits<int>::max();
constexpr int intMin = std::numeric_limits<int>::min();
const std::optional<CorrectionFault> accepted;

} // namespace

class TestPositionCorrection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void derivation_data()
    {
        QTest::addColumn<int>("nominalNear");
        QTest::addColumn<int>("nominalFar");
        QTest::addColumn<int>("measuredNear");
        QTest::addColumn<int>("measuredFar");
        QTest::addColumn<std::optional<CorrectionFault>>("fault");
        QTest::addColumn<int>("scaleMillionths");
        QTest::addColumn<int>("shiftMicrometres");

        // A4 across: marks 20 mm from either edge of 210 mm.
        QTest::newRow("perfect") << 200 << 1900 << 200 << 1900 << accepted << 1'000'000 << 0;
        QTest::newRow("2.5 mm right")
            << 200 << 1900 << 225 << 1925 << accepted << 1'000'000 << 2500;
        QTest::newRow("3 mm left") << 200 << 1900 << 170 << 1870 << accepted << 1'000'000 << -3000;
        // A4 down, 1 % short and 1.5 mm low: 0.99 p + 15, measured in
        // whole tenths (2757.3 read as 2757).
        QTest::newRow("1 % short, 1.5 mm low")
            << 200 << 2770 << 213 << 2757 << accepted << 989'883 << 1502;
        QTest::newRow("scale 0.9 exactly")
            << 200 << 1200 << 200 << 1100 << accepted << 900'000 << 2000;
        QTest::newRow("scale 1.1 exactly")
            << 200 << 1200 << 200 << 1300 << accepted << 1'100'000 << -2000;
        QTest::newRow("just under 0.9")
            << 200 << 1200 << 200 << 1099 << std::optional(CorrectionFault::ScaleOutOfRange) << 0
            << 0;
        QTest::newRow("just over 1.1") << 200 << 1200 << 200 << 1301
                                       << std::optional(CorrectionFault::ScaleOutOfRange) << 0 << 0;
        QTest::newRow("points swapped")
            << 200 << 1900 << 1900 << 200 << std::optional(CorrectionFault::ScaleOutOfRange) << 0
            << 0;
        QTest::newRow("points coincide")
            << 200 << 1900 << 500 << 500 << std::optional(CorrectionFault::ScaleOutOfRange) << 0
            << 0;
        QTest::newRow("no nominal span")
            << 200 << 200 << 200 << 200 << std::optional(CorrectionFault::ScaleOutOfRange) << 0
            << 0;
        QTest::newRow("left of the edge")
            << 200 << 1900 << -1 << 1700 << std::optional(CorrectionFault::OffPaper) << 0 << 0;
        QTest::newRow("beyond the far edge")
            << 200 << 1900 << 400 << 2101 << std::optional(CorrectionFault::OffPaper) << 0 << 0;
        QTest::newRow("on both edges") << 200 << 1900 << 0 << 2100
                                       << std::optional(CorrectionFault::ScaleOutOfRange) << 0 << 0;
        QTest::newRow("32-bit extremes") << 200 << 1900 << intMin << intMax
                                         << std::optional(CorrectionFault::OffPaper) << 0 << 0;
    }

    void derivation()
    {
        QFETCH(int, nominalNear);
        QFETCH(int, nominalFar);
        QFETCH(int, measuredNear);
        QFETCH(int, measuredFar);
        QFETCH(std::optional<CorrectionFault>, fault);
        QFETCH(int, scaleMillionths);
        QFETCH(int, shiftMicrometres);

        // A4 across, except down the page where the nominal marks say so.
        const int extent = nominalFar > 2100 ? 2970 : 2100;
        const AxisDerivation derived =
            deriveAxisCorrection(nominalNear, nominalFar, measuredNear, measuredFar, extent);
        QCOMPARE(derived.fault, fault);
        QCOMPARE(derived.correction.has_value(), !fault.has_value());
        if (!derived.correction)
            return;
        QCOMPARE(derived.correction->scaleMillionths, scaleMillionths);
        QCOMPARE(derived.correction->shiftMicrometres, shiftMicrometres);
        // The correction it stands for reproduces both measurements to
        // within a twentieth of the measuring unit.
        QVERIFY(std::abs(derived.correction->placedTenths(nominalNear) - measuredNear) < 0.05);
        QVERIFY(std::abs(derived.correction->placedTenths(nominalFar) - measuredFar) < 0.05);
    }

    // Sheet pixels through the transform, then through the printer's
    // misplacement, land back where the sheet put them.
    void transformCancelsThePrinter_data()
    {
        QTest::addColumn<PositionCorrection>("correction");
        QTest::addColumn<int>("dpiX");
        QTest::addColumn<int>("dpiY");
        QTest::addColumn<QPointF>("printableOrigin");

        QTest::newRow("none, no margin") << PositionCorrection{} << 600 << 600 << QPointF();
        QTest::newRow("none, margins")
            << PositionCorrection{} << 600 << 600 << QPointF(101.5, 47.25);
        QTest::newRow("shift and short feed")
            << PositionCorrection{{1'000'000, 2500}, {990'000, 1500}} << 600 << 600
            << QPointF(100, 80);
        QTest::newRow("both scaled, unequal dpi")
            << PositionCorrection{{1'050'000, -4000}, {930'000, 700}} << 1200 << 300
            << QPointF(12, 5);
    }

    void transformCancelsThePrinter()
    {
        QFETCH(PositionCorrection, correction);
        QFETCH(int, dpiX);
        QFETCH(int, dpiY);
        QFETCH(QPointF, printableOrigin);

        const QTransform toDevice = correctedSheetToDevice(correction, dpiX, dpiY, printableOrigin);
        for (const QPointF sheet : {QPointF(0, 0), QPointF(4960, 7015), QPointF(1234.5, 77)}) {
            const QPointF device = toDevice.map(sheet);
            // The printer puts device pixel d at paper position d + origin,
            // then misplaces it; both in pixels of its own resolution.
            const double paperX = (device.x() + printableOrigin.x()) * 254.0 / dpiX;
            const double paperY = (device.y() + printableOrigin.y()) * 254.0 / dpiY;
            const double landedX = correction.x.placedTenths(paperX) * dpiX / 254.0;
            const double landedY = correction.y.placedTenths(paperY) * dpiY / 254.0;
            QVERIFY2(std::abs(landedX - sheet.x()) < 1e-6, qPrintable(QString::number(landedX)));
            QVERIFY2(std::abs(landedY - sheet.y()) < 1e-6, qPrintable(QString::number(landedY)));
        }
    }

    void transformInFigures()
    {
        // 254 dpi: a pixel is 0.1 mm. Shift 2.5 mm, scale 1: the point
        // 100 mm from the edge is sent 2.5 mm earlier, less the margin.
        const PositionCorrection correction{{1'000'000, 2500}, {1'000'000, -1000}};
        const QTransform toDevice = correctedSheetToDevice(correction, 254, 254, QPointF(50, 40));
        QCOMPARE(toDevice.map(QPointF(1000, 1000)), QPointF(925, 970));
    }
};

QTEST_APPLESS_MAIN(TestPositionCorrection)
#include "tst_positioncorrection.moc"
