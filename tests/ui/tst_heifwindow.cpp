#include "FakePrintDialog.h"
#include "GuiTestHelpers.h"
#include "HeifFiles.h"
#include "TestFiles.h"
#include "TestPictures.h"
#include "picture/PictureHolder.h"
#include "settings/SettingsStore.h"
#include "ui/CMainDlg.h"
#include "ui/DialogTemplates.h"
#include "ui/PreviewWidget.h"

#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>

#include <memory>

using namespace zorvane;
using namespace zorvane::test;
using namespace Qt::StringLiterals;
namespace id = zorvane::ids::main;

Q_DECLARE_METATYPE(zorvane::test::HeifKind)

namespace {

constexpr QuarterColours quarters{0xffe01010, 0xff10c010, 0xffe0e010, 0xff1010e0};

// A phone-sized picture with quarters of known colours, so a turned or
// swapped decode shows.
QImage photo()
{
    return quarteredImage(1200, 900, quarters);
}

} // namespace

// HEIC and AVIF photos as a user brings them to the window: dropped from a
// file manager, shown from their thumbnail and then decoded in full.
class HeifWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void droppedPhotoIsShownAndDecoded_data();
    void droppedPhotoIsShownAndDecoded();
    void failedDecodeAfterTheThumbnailPutsTheOldPictureBack();

private:
    void openMain();
    void drop(const QString& path);
    template<typename T> T* control(int id) const { return findControl<T>(window_.get(), id); }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<CMainDlg> window_;
};

void HeifWindowTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    store_ = std::make_unique<SettingsStore>(dir_->filePath(u"Zorvane.ini"_s));
}

void HeifWindowTest::cleanup()
{
    window_.reset();
    store_.reset();
    dir_.reset();
}

void HeifWindowTest::openMain()
{
    window_ = std::make_unique<CMainDlg>(*store_, nullptr, dir_->filePath(u"devmode.zvn"_s));
    window_->setPrintDialog(std::make_unique<FakePrintDialog>(dir_->filePath(u"out.pdf"_s)));
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void HeifWindowTest::drop(const QString& path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at = window_->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &dropped);
}

void HeifWindowTest::droppedPhotoIsShownAndDecoded_data()
{
    QTest::addColumn<HeifKind>("kind");
    QTest::addColumn<int>("thumbnailSide");
    QTest::addColumn<QString>("name");

    QTest::newRow("HEIC with thumbnail") << HeifKind::Heic << 160 << u"IMG_0001.HEIC"_s;
    QTest::newRow("HEIC without thumbnail") << HeifKind::Heic << 0 << u"IMG_0002.heic"_s;
    QTest::newRow("AVIF with thumbnail") << HeifKind::Avif << 160 << u"photo.avif"_s;
}

void HeifWindowTest::droppedPhotoIsShownAndDecoded()
{
    QFETCH(HeifKind, kind);
    QFETCH(int, thumbnailSide);
    QFETCH(QString, name);
    openMain();
    const QString path = dir_->filePath(name);
    QVERIFY(writeFile(path, heifFromEncoder(photo(), kind, thumbnailSide)));
    MessageCatcher catcher;
    drop(path);
    const PictureHolder* picture = window_->loadedPicture();
    QVERIFY(picture);
    QCOMPARE(picture->size(), photo().size());
    // The thumbnail did not stay on screen: the picture itself is there.
    QVERIFY(picture->hasFullPixels());
    const QImage& pixels = picture->image();
    QVERIFY(closeColour(pixels.pixel(300, 225), quarters.topLeft));
    QVERIFY(closeColour(pixels.pixel(900, 675), quarters.bottomRight));
    QCOMPARE(control<QLineEdit>(id::imagePath)->text(), path);
    QCOMPARE(control<PreviewWidget>(id::previewBox)->picture(), picture);
    QVERIFY(catcher.messages().isEmpty());
}

// A file whose thumbnail shows but whose picture does not decode is refused
// as a damaged file, and the window is back as it was.
void HeifWindowTest::failedDecodeAfterTheThumbnailPutsTheOldPictureBack()
{
    openMain();
    const QString good = dir_->filePath(u"good.png"_s);
    QVERIFY(photo().save(good));
    window_->LoadPicture(good);
    const PictureHolder* before = window_->loadedPicture();
    QVERIFY(before);
    const QString resolution = control<QLineEdit>(id::resolution)->text();

    const QByteArray whole = heifFromEncoder(photo(), HeifKind::Heic, 160);
    const QString path = dir_->filePath(u"IMG_0003.HEIC"_s);
    // The picture claims two rows more than its coded pixels hold.
    QVERIFY(writeFile(path, withPrimarySizeClaiming(whole, 1200, 902)));
    const auto opened = PictureHolder::openForScreen(path, QSize(400, 300));
    QVERIFY2(opened && opened->holdsThumbnailOnly(), "the thumbnail does not show");

    MessageCatcher catcher;
    drop(path);
    QTRY_COMPARE(catcher.messages(),
                 QStringList{u"画像ファイルが壊れています。\n画像を選び直して下さい。"_s});
    QCOMPARE(window_->loadedPicture(), before);
    QCOMPARE(control<QLineEdit>(id::imagePath)->text(), good);
    QCOMPARE(control<QLineEdit>(id::resolution)->text(), resolution);
}

QTEST_MAIN(HeifWindowTest)
#include "tst_heifwindow.moc"
