#include "picture/PictureHolder.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"
#include "ui/PreviewWidget.h"

#include <QTemporaryDir>
#include <QTest>

using namespace zorvane;
using namespace Qt::StringLiterals;

namespace {

constexpr QRgb pictureColour = 0xff2040c0;

std::unique_ptr<PictureHolder> solidPicture()
{
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(pictureColour);
    return PictureHolder::fromImage(image);
}

} // namespace

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
    widget_ = std::make_unique<PreviewWidget>(*store_);
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

QTEST_MAIN(TestPreviewWidget)
#include "tst_previewwidget.moc"
