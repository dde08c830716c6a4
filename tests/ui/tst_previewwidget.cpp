#include "TestPictures.h"
#include "picture/PictureHolder.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"
#include "ui/PreviewWidget.h"

#include <QAccessible>
#include <QTemporaryDir>
#include <QTest>

using namespace zorvane;
using namespace zorvane::test;
using namespace Qt::StringLiterals;

class TestPreviewWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void paintsNoticeWithoutPicture();
    void paintsPageForGivenValues();
    void newValuesRepaint();
    void optionChangeShowsAtNextPaint();
    void screenReadersHearTheState_data();
    void screenReadersHearTheState();

private:
    // The client area as painted, frame excluded.
    QImage client();

    QTemporaryDir dir_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<PreviewWidget> widget_;
};

void TestPreviewWidget::init()
{
    QFile::remove(dir_.filePath(u"store.ini"_s));
    store_ = std::make_unique<SettingsStore>(dir_.filePath(u"store.ini"_s));
    widget_ = std::make_unique<PreviewWidget>([this](const MainValues& main) {
        return readSheetJob(*store_, main, loadSheetChoices(*store_));
    });
    const int frame = widget_->frameWidth();
    widget_->resize(123 + 2 * frame, 196 + 2 * frame);
    widget_->show();
    QVERIFY(QTest::qWaitForWindowExposed(widget_.get()));
}

void TestPreviewWidget::cleanup()
{
    widget_.reset();
    store_.reset();
}

QImage TestPreviewWidget::client()
{
    QCoreApplication::processEvents();
    return widget_->grab(widget_->contentsRect()).toImage().convertToFormat(QImage::Format_RGB32);
}

void TestPreviewWidget::paintsNoticeWithoutPicture()
{
    const QImage image = client();
    QCOMPARE(image.size(), QSize(123, 196));
    QCOMPARE(image.pixel(5, 18), qRgb(0, 0, 0));
    bool textShown = false;
    for (int y = 90; y < 110 && !textShown; ++y) {
        for (int x = 12; x < 123 && !textShown; ++x)
            textShown = qGray(image.pixel(x, y)) > 128;
    }
    QVERIFY(textShown);
    QVERIFY(!widget_->lastOutcome().doesNotFit);
}

void TestPreviewWidget::paintsPageForGivenValues()
{
    const auto picture = solidPicture();
    MainValues values;
    values.countText = u"1"_s;
    widget_->setPicture(picture.get());
    widget_->setMainValues(values);
    const QImage image = client();
    QCOMPARE(image.pixel(5, 18), qRgb(255, 255, 255)); // the page's corner
    QCOMPARE(image.pixel(20, 30), pictureColour);      // inside the first ticket
    QCOMPARE(image.pixel(60, 30), qRgb(255, 255, 255));
    QCOMPARE(widget_->lastOutcome().printableCount, 27);
}

void TestPreviewWidget::newValuesRepaint()
{
    const auto picture = solidPicture();
    MainValues values;
    values.countText = u"1"_s;
    widget_->setPicture(picture.get());
    widget_->setMainValues(values);
    QCOMPARE(client().pixel(20, 30), pictureColour);

    values.countText = u"28"_s;
    widget_->setMainValues(values);
    QTRY_VERIFY(widget_->lastOutcome().doesNotFit);
    const QImage warned = client();
    QCOMPARE(warned.pixel(20, 30), qRgb(0, 0, 0));
    QCOMPARE(warned.pixel(70, 95), qRgb(255, 255, 255)); // the warning's cross

    widget_->setPicture(nullptr);
    QTRY_VERIFY(!widget_->lastOutcome().doesNotFit);
    QCOMPARE(client().pixel(70, 79), qRgb(0, 0, 0)); // where the warning's disc was
}

void TestPreviewWidget::optionChangeShowsAtNextPaint()
{
    const auto picture = solidPicture();
    MainValues values;
    values.countText = u"1"_s;
    widget_->setPicture(picture.get());
    widget_->setMainValues(values);
    QCOMPARE(client().pixel(20, 30), pictureColour);
    store_->WriteProfileInt(keys::optionSection, keys::option::offsetY, 600);
    widget_->update();
    const QImage moved = client();
    QCOMPARE(moved.pixel(20, 30), qRgb(255, 255, 255));
    // 60 mm down: 226 page pixels, 32 in the box, below its top at 18.
    QCOMPARE(moved.pixel(20, 18 + 32 + 8), pictureColour);
}

void TestPreviewWidget::screenReadersHearTheState_data()
{
    QTest::addColumn<bool>("withPicture");
    QTest::addColumn<QString>("countText");
    QTest::addColumn<int>("offsetY"); // stored after the values were set
    QTest::addColumn<QString>("said");

    QTest::newRow("no picture") << false << u"1"_s << 0 << u"画像がロードされていません。"_s;
    QTest::newRow("fits") << true << u"5"_s << 0 << u"印刷可能な最大数： 27 個"_s;
    QTest::newRow("does not fit") << true << u"28"_s << 0
                                  << u"すべてのアイテムを印刷できません。印刷可能な最大数： 0 個"_s;
    // 200 mm down leaves room for 2 of the 9 rows of 3.
    QTest::newRow("stored option, next paint")
        << true << u"5"_s << 2000 << u"印刷可能な最大数： 6 個"_s;
}

void TestPreviewWidget::screenReadersHearTheState()
{
    QFETCH(bool, withPicture);
    QFETCH(QString, countText);
    QFETCH(int, offsetY);
    QFETCH(QString, said);

    const auto picture = solidPicture();
    MainValues values;
    values.countText = countText;
    widget_->setPicture(withPicture ? picture.get() : nullptr);
    widget_->setMainValues(values);
    if (offsetY) {
        store_->WriteProfileInt(keys::optionSection, keys::option::offsetY, offsetY);
        widget_->update();
    }
    client();
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget_.get());
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), u"プレビュー"_s);
    QCOMPARE(accessible->text(QAccessible::Description), said);
}

QTEST_MAIN(TestPreviewWidget)
#include "tst_previewwidget.moc"
