#include "picture/PictureUpdates.h"
#include "picture/ResolutionEstimate.h"

#include <QTest>

#include <limits>

using namespace zorvane;

Q_DECLARE_METATYPE(zorvane::TicketType)

class TestResolutionEstimate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void estimate_data();
    void estimate();
    void keepAspect_data();
    void keepAspect();
    void noPictureChangesNothing();
    void loadedPictureUsesCheckedType();
    void loadedPictureWithoutCheckedTypeKeepsEstimate();
    void typeClickUsesClickedType();
    void widthEditCouplesHeight();
    void heightEditCouplesWidth();
    void keepAspectOffOnlyRecomputes();
};

void TestResolutionEstimate::estimate_data()
{
    QTest::addColumn<TicketType>("type");
    QTest::addColumn<int>("pictureWidth");
    QTest::addColumn<int>("customWidth");
    QTest::addColumn<int>("expected");

    QTest::newRow("579 A") << TicketType::A << 579 << 0 << 254;
    QTest::newRow("579 B") << TicketType::B << 579 << 0 << 254;
    QTest::newRow("579 D") << TicketType::D << 579 << 0 << 166;
    QTest::newRow("579 other 579") << TicketType::Other << 579 << 579 << 254;
    QTest::newRow("579 other 0") << TicketType::Other << 579 << 0 << 9999;
    QTest::newRow("1000 A") << TicketType::A << 1000 << 0 << 438;
    QTest::newRow("1000 B") << TicketType::B << 1000 << 0 << 438;
    QTest::newRow("1000 D") << TicketType::D << 1000 << 0 << 287;
    QTest::newRow("1000 other 1000") << TicketType::Other << 1000 << 1000 << 254;
    QTest::newRow("other ignores nothing but width") << TicketType::Other << 1000 << 500 << 508;
    QTest::newRow("negative custom width") << TicketType::Other << 1000 << -1000 << -254;
    QTest::newRow("truncates toward zero") << TicketType::Other << 1000 << -999 << -254;
    QTest::newRow("no size read") << TicketType::A << 0 << 0 << 0;
    QTest::newRow("no size, other 0") << TicketType::Other << 0 << 0 << 9999;
    QTest::newRow("pinned high") << TicketType::Other << std::numeric_limits<int>::max() << 1
                                 << std::numeric_limits<int>::max();
    QTest::newRow("pinned low") << TicketType::Other << std::numeric_limits<int>::max() << -1
                                << std::numeric_limits<int>::min();
}

void TestResolutionEstimate::estimate()
{
    QFETCH(TicketType, type);
    QFETCH(int, pictureWidth);
    QFETCH(int, customWidth);
    QFETCH(int, expected);
    QCOMPARE(EstimateResolution(type, pictureWidth, customWidth), expected);
}

void TestResolutionEstimate::keepAspect_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<int>("given");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("height"); // expected height from the width
    QTest::addColumn<int>("width");  // expected width from the height

    QTest::newRow("1000x500, 600") << QSize(1000, 500) << 600 << 7 << 300 << 1200;
    QTest::newRow("1000x500, 333") << QSize(1000, 500) << 333 << 7 << 166 << 666;
    QTest::newRow("negative truncates toward zero") << QSize(3, 2) << -5 << 7 << -3 << -7;
    QTest::newRow("width 0 keeps height") << QSize(0, 500) << 600 << 7 << 7 << 0;
    QTest::newRow("height 0 keeps width") << QSize(1000, 0) << 600 << 7 << 0 << 7;
    QTest::newRow("no size keeps both") << QSize(0, 0) << 600 << 7 << 7 << 7;
    QTest::newRow("wide product") << QSize(1, 100000) << 100000 << 7
                                  << std::numeric_limits<int>::max() << 1;
}

void TestResolutionEstimate::keepAspect()
{
    QFETCH(QSize, picture);
    QFETCH(int, given);
    QFETCH(int, current);
    QFETCH(int, height);
    QFETCH(int, width);
    QCOMPARE(heightKeepingAspect(given, picture, current), height);
    QCOMPARE(widthKeepingAspect(given, picture, current), width);
}

namespace {

PictureFields fieldsWith(std::optional<TicketType> type, int width, int height, bool keep)
{
    PictureFields fields;
    fields.main.ticketType = type;
    fields.main.customWidth = width;
    fields.main.customHeight = height;
    fields.main.keepAspect = keep;
    fields.resolution = 12;
    return fields;
}

} // namespace

void TestResolutionEstimate::noPictureChangesNothing()
{
    const PictureFields fields = fieldsWith(TicketType::A, 600, 1, true);
    for (const PictureFieldsUpdate& update :
         {fieldsForTicketType(fields, TicketType::D, std::nullopt),
          fieldsForCustomWidth(fields, std::nullopt),
          fieldsForCustomHeight(fields, std::nullopt)}) {
        QCOMPARE(update.fields, fields);
        QVERIFY(!update.repaint);
    }
}

void TestResolutionEstimate::loadedPictureUsesCheckedType()
{
    const PictureFieldsUpdate update =
        fieldsForLoadedPicture(fieldsWith(TicketType::D, 0, 0, false), QSize(579, 10));
    QCOMPARE(update.fields.resolution, 166);
    QVERIFY(update.repaint);
}

void TestResolutionEstimate::loadedPictureWithoutCheckedTypeKeepsEstimate()
{
    const PictureFieldsUpdate update =
        fieldsForLoadedPicture(fieldsWith(std::nullopt, 0, 0, false), QSize(579, 10));
    QCOMPARE(update.fields.resolution, 12);
    QVERIFY(update.repaint);
}

void TestResolutionEstimate::typeClickUsesClickedType()
{
    // The radios' state is not consulted: the clicked type counts.
    const PictureFields fields = fieldsWith(TicketType::Other, 0, 0, false);
    const PictureFieldsUpdate update = fieldsForTicketType(fields, TicketType::A, QSize(1000, 1));
    QCOMPARE(update.fields.resolution, 438);
    QCOMPARE(update.fields.main, fields.main);
    QVERIFY(update.repaint);
}

void TestResolutionEstimate::widthEditCouplesHeight()
{
    // Type A stays checked, yet the estimate follows the custom width.
    const PictureFieldsUpdate first =
        fieldsForCustomWidth(fieldsWith(TicketType::A, 600, 0, true), QSize(1000, 500));
    QCOMPARE(first.fields.main.customHeight, 300);
    QCOMPARE(first.fields.main.customWidth, 600);
    QCOMPARE(first.fields.resolution, 423); // 1000 / (600 / 254.0)
    QVERIFY(first.repaint);
    const PictureFieldsUpdate back =
        fieldsForTicketType(first.fields, TicketType::A, QSize(1000, 500));
    QCOMPARE(back.fields.resolution, 438);
}

void TestResolutionEstimate::heightEditCouplesWidth()
{
    PictureFields fields = fieldsWith(TicketType::Other, 600, 333, true);
    const PictureFieldsUpdate update = fieldsForCustomHeight(fields, QSize(1000, 500));
    QCOMPARE(update.fields.main.customWidth, 666);
    QCOMPARE(update.fields.main.customHeight, 333);
    QCOMPARE(update.fields.resolution, 381); // from the new width
}

void TestResolutionEstimate::keepAspectOffOnlyRecomputes()
{
    const PictureFields fields = fieldsWith(TicketType::B, 0, 333, false);
    const PictureFieldsUpdate width = fieldsForCustomWidth(fields, QSize(1000, 500));
    QCOMPARE(width.fields.main, fields.main);
    QCOMPARE(width.fields.resolution, 9999);
    const PictureFieldsUpdate height = fieldsForCustomHeight(fields, QSize(1000, 500));
    QCOMPARE(height.fields.main, fields.main);
    QCOMPARE(height.fields.resolution, 9999);
}

QTEST_APPLESS_MAIN(TestResolutionEstimate)
#include "tst_resolutionestimate.moc"
