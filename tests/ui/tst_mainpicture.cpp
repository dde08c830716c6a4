#include "FakePrintDialog.h"
#include "GuiTestHelpers.h"

#include "PdfProbe.h"
#include "SheetProbe.h"
#include "TestPictures.h"
#include "picture/PictureHolder.h"
#include "settings/SettingsStore.h"
#include "ui/CMainDlg.h"
#include "ui/DialogTemplates.h"
#include "ui/PreviewWidget.h"
#include "ui/SystemPrintDialog.h"

#include <QAbstractItemView>
#include <QBuffer>
#include <QDir>
#include <QMimeData>
#include <QPrintDialog>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <memory>

using namespace zorvane;
using namespace zorvane::test;
using namespace Qt::StringLiterals;
namespace id = zorvane::ids::main;

namespace {

QString writePicture(const QString& path, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    if (!image.save(path))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// A photo-sized JPEG with four coloured quarters.
QString writeJpeg(const QString& path, QSize size)
{
    QImageWriter writer(path, "jpeg");
    writer.setQuality(80);
    if (!writer.write(sheetprobe::quarteredPicture(size.width(), size.height())))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

} // namespace

class MainPictureTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void loadingShowsPathEstimateAndPreview();
    void unreadableFileSaysWhy_data();
    void unreadableFileSaysWhy();
    void browseLoadsTheChosenFile();
    void resolutionForEachTypeRadio_data();
    void resolutionForEachTypeRadio();
    void keepAspectCouplesOncePerKeystroke();
    void rejectedWidthIsRestoredAfterTheMessage();
    void countTypedAndChosenRepaintsThePreview();
    void withoutPictureTypeAndSizeChangeNothing();
    void printConfirmedWritesPdfAndKeepsSettings();
    void printCancelledLeavesTheFileAlone();
    void printRefusedWhenTheCountDoesNotFit();
    void jpegShowsReducedAndPrintsInFull();
    void failedFullDecodePutsEverythingBack();
    void emptyPrintIsRefused_data();
    void emptyPrintIsRefused();
    void advancedDialogOkRepaintsThePreview();
    void choosingTheSelectedCountAgainRepaints();
    void textInTheResolutionFieldIsRefused();
    void heldEnterPrintsOnce();
    void heldEnterDoesNotConfirmThePrintDialog();

private:
    void openMain();
    template<typename T> T* control(int id) const { return findControl<T>(window_.get(), id); }
    template<typename T> T* control(const QString& name) const
    {
        return findControl<T>(window_.get(), name);
    }
    void typeInto(const QString& name, const QString& text);
    QString devmodePath() const { return dir_->filePath(u"devmode.zvn"_s); }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<CMainDlg> window_;
    FakePrintDialog* printDialog_ = nullptr;
};

void MainPictureTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    store_ = std::make_unique<SettingsStore>(dir_->filePath(u"Zorvane.ini"_s));
}

void MainPictureTest::cleanup()
{
    window_.reset();
    store_.reset();
    dir_.reset();
}

void MainPictureTest::openMain()
{
    window_ = std::make_unique<CMainDlg>(*store_, nullptr, devmodePath());
    auto dialog = std::make_unique<FakePrintDialog>(dir_->filePath(u"out.pdf"_s));
    printDialog_ = dialog.get();
    window_->setPrintDialog(std::move(dialog));
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void MainPictureTest::typeInto(const QString& name, const QString& text)
{
    auto* edit = control<QLineEdit>(name);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void MainPictureTest::loadingShowsPathEstimateAndPreview()
{
    openMain();
    auto* preview = control<PreviewWidget>(id::previewBox);
    QCOMPARE(preview->picture(), nullptr);
    const QString path = writePicture(dir_->filePath(u"wide.png"_s), {1000, 500});
    window_->LoadPicture(path);
    QVERIFY(window_->loadedPicture());
    QCOMPARE(window_->loadedPicture()->size(), QSize(1000, 500));
    QCOMPARE(preview->picture(), window_->loadedPicture());
    QCOMPARE(control<QLineEdit>(id::imagePath)->text(), path);
    QCOMPARE(control<QLineEdit>(id::resolution)->text(), u"438"_s); // type A by default
    // The preview paints the loaded picture: the box is no longer only the notice.
    QTRY_VERIFY(preview->lastOutcome().printableCount == 27);
}

void MainPictureTest::unreadableFileSaysWhy_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // null: no file is written
    QTest::addColumn<bool>("dropped");     // else chosen in the file dialog
    QTest::addColumn<QString>("message");

    const QString cannotOpen = u"画像ファイルを開けません。\n画像を選び直して下さい。"_s;
    const QString tooLarge = u"画像が大きすぎます。\n1億画素以下の画像を選んで下さい。"_s;
    const QString damaged = u"画像ファイルが壊れています。\n画像を選び直して下さい。"_s;
    const QString notAPicture = u"読み込める種類の画像ファイルではありません。\n"
                                u"BMP、JPEG、GIF、PNG などの画像を選んで下さい。"_s;
    QImage small(40, 30, QImage::Format_RGB32);
    small.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    small.save(&buffer, "png");
    const QByteArray text("this is not a picture");
    // 100.8 million pixels, just over the limit.
    const QByteArray huge = test::blankPng(12000, 8400);

    for (const bool dropped : {false, true}) {
        const char* how = dropped ? "dropped" : "chosen";
        QTest::addRow("missing, %s", how)
            << u"missing.bmp"_s << QByteArray() << dropped << cannotOpen;
        QTest::addRow("12000 x 8400, %s", how) << u"huge.png"_s << huge << dropped << tooLarge;
        QTest::addRow("cut off, %s", how)
            << u"cut.png"_s << png.left(png.size() / 2) << dropped << damaged;
        QTest::addRow("text named jpg, %s", how) << u"junk.jpg"_s << text << dropped << notAPicture;
    }
    QTest::newRow("a folder") << u"folder"_s << QByteArray() << false << cannotOpen;
}

// A choice that looks taken but was not would be a failure reported as
// success: the picture stays as it was and a message box says why.
void MainPictureTest::unreadableFileSaysWhy()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, dropped);
    QFETCH(QString, message);
    openMain();
    const QString good = writePicture(dir_->filePath(u"good.png"_s), {579, 300});
    window_->LoadPicture(good);
    const PictureHolder* before = window_->loadedPicture();
    QVERIFY(before);
    const QString path = dir_->filePath(name);
    if (name == u"folder"_s)
        QVERIFY(QDir(dir_->path()).mkdir(name));
    if (!bytes.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    MessageCatcher catcher;
    if (dropped) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        const QPoint at = window_->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window_.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window_.get(), &drop);
    } else {
        window_->setPictureFileChooser([&path](QWidget*) { return path; });
        QTest::mouseClick(control<QPushButton>(id::browsePicture), Qt::LeftButton);
    }
    QTRY_COMPARE(catcher.messages(), QStringList{message});
    QCOMPARE(window_->loadedPicture(), before);
    QCOMPARE(control<QLineEdit>(id::imagePath)->text(), good);
    QCOMPARE(control<QLineEdit>(id::resolution)->text(), u"254"_s);
}

void MainPictureTest::browseLoadsTheChosenFile()
{
    openMain();
    const QString path = writePicture(dir_->filePath(u"chosen.bmp"_s), {884, 100});
    QString chosen;
    window_->setPictureFileChooser([&chosen](QWidget*) { return chosen; });
    QTest::mouseClick(control<QPushButton>(id::browsePicture), Qt::LeftButton); // cancelled
    QCOMPARE(window_->loadedPicture(), nullptr);
    chosen = path;
    QTest::mouseClick(control<QPushButton>(id::browsePicture), Qt::LeftButton);
    QVERIFY(window_->loadedPicture());
    QCOMPARE(control<QLineEdit>(id::imagePath)->text(), path);
}

void MainPictureTest::resolutionForEachTypeRadio_data()
{
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QString>("customWidth");
    QTest::addColumn<QString>("estimate");
    QTest::newRow("A") << controlName(id::typeA) << u"0"_s << u"438"_s;
    QTest::newRow("B") << controlName(id::typeB) << u"0"_s << u"438"_s;
    QTest::newRow("D") << controlName(id::typeD) << u"0"_s << u"287"_s;
    QTest::newRow("other, width 1000") << controlName(id::typeOther) << u"1000"_s << u"254"_s;
    QTest::newRow("other, width 0") << controlName(id::typeOther) << u"0"_s << u"9999"_s;
    QTest::newRow("other, negative width") << controlName(id::typeOther) << u"-1000"_s << u"-254"_s;
}

void MainPictureTest::resolutionForEachTypeRadio()
{
    QFETCH(QString, radio);
    QFETCH(QString, customWidth);
    QFETCH(QString, estimate);
    store_->WriteProfileInt("Main", "EDIT2", customWidth.toInt());
    openMain();
    window_->LoadPicture(writePicture(dir_->filePath(u"p.png"_s), {1000, 40}));
    QTest::mouseClick(control<QRadioButton>(radio), Qt::LeftButton);
    QCOMPARE(control<QLineEdit>(id::resolution)->text(), estimate);
    QVERIFY(control<QRadioButton>(radio)->isChecked());
}

void MainPictureTest::keepAspectCouplesOncePerKeystroke()
{
    openMain();
    window_->LoadPicture(writePicture(dir_->filePath(u"p.png"_s), {1000, 500}));
    QTest::mouseClick(control<QCheckBox>(id::keepAspect), Qt::LeftButton);
    QVERIFY(control<QCheckBox>(id::keepAspect)->isChecked());

    auto* height = control<QLineEdit>(id::customHeight);
    int heightEdits = 0;
    connect(height, &QLineEdit::textChanged, this, [&heightEdits] { ++heightEdits; });
    const QStringList heightsAfterEachKey{u"3"_s, u"30"_s, u"300"_s};
    auto* width = control<QLineEdit>(id::customWidth);
    width->setFocus();
    width->selectAll();
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(width, u"600"_s.at(i).toLatin1());
        QCOMPARE(height->text(), heightsAfterEachKey[i]);
    }
    QCOMPARE(width->text(), u"600"_s);
    // The program's own write-back is not an edit: no handler saw it.
    QCOMPARE(heightEdits, 0);
    // The estimate follows the custom width whatever type is checked.
    QCOMPARE(control<QLineEdit>(id::resolution)->text(), u"423"_s);

    typeInto(controlName(id::customHeight), u"333"_s);
    QCOMPARE(width->text(), u"666"_s);
    QCOMPARE(height->text(), u"333"_s);
}

void MainPictureTest::rejectedWidthIsRestoredAfterTheMessage()
{
    store_->WriteProfileInt("Main", "EDIT2", 420);
    openMain();
    window_->LoadPicture(writePicture(dir_->filePath(u"p.png"_s), {1000, 500}));
    MessageCatcher catcher;
    auto* width = control<QLineEdit>(id::customWidth);
    width->setFocus();
    width->selectAll();
    QTest::keyClick(width, Qt::Key_Delete);
    QTRY_COMPARE(catcher.messages().size(), 1);
    QCOMPARE(catcher.messages().first(), u"整数を入力してください。"_s);
    QCOMPARE(width->text(), u"420"_s);
    QCOMPARE(window_->focusWidget(), width);
}

void MainPictureTest::countTypedAndChosenRepaintsThePreview()
{
    openMain();
    window_->LoadPicture(writePicture(dir_->filePath(u"p.png"_s), {579, 302}));
    auto* preview = control<PreviewWidget>(id::previewBox);
    auto* count = control<QComboBox>(id::count);
    QTest::keyClicks(count->lineEdit(), u"28"_s);
    QTRY_VERIFY(preview->lastOutcome().doesNotFit);
    QCOMPARE(preview->lastOutcome().printableCount, 0);

    count->setCurrentIndex(4); // "5" from the list
    QTRY_VERIFY(!preview->lastOutcome().doesNotFit);
    QCOMPARE(preview->mainValues().countText, u"5"_s);
    QCOMPARE(preview->lastOutcome().printableCount, 27);

    QTest::mouseClick(control<QRadioButton>(id::paperA4Quarter),
                      Qt::LeftButton); // quarter sheet: 4
    QTRY_VERIFY(preview->lastOutcome().doesNotFit);
    QTest::mouseClick(control<QRadioButton>(id::paperB5), Qt::LeftButton); // B5: 14
    QTRY_COMPARE(preview->lastOutcome().printableCount, 14);
}

void MainPictureTest::withoutPictureTypeAndSizeChangeNothing()
{
    openMain();
    QTest::mouseClick(control<QRadioButton>(id::typeD), Qt::LeftButton);
    typeInto(controlName(id::customWidth), u"77"_s);
    QCOMPARE(control<QLineEdit>(id::resolution)->text(), u"0"_s);
    QCOMPARE(control<QLineEdit>(id::customHeight)->text(), u"0"_s);
}

void MainPictureTest::printConfirmedWritesPdfAndKeepsSettings()
{
    if (!pdfprobe::toolsAvailable())
        QSKIP("poppler tools are not installed");
    openMain();
    window_->LoadPicture(writePicture(dir_->filePath(u"p.png"_s), {579, 302}));
    QTest::mouseClick(control<QRadioButton>(id::paperB5), Qt::LeftButton); // B5
    QTest::keyClicks(control<QComboBox>(id::count)->lineEdit(), u"3"_s);
    MessageCatcher catcher;
    QTest::mouseClick(control<QPushButton>(id::printStart), Qt::LeftButton);
    QCOMPARE(printDialog_->shown, 1);
    QVERIFY(catcher.messages().isEmpty());

    const QString pdf = dir_->filePath(u"out.pdf"_s);
    const QSizeF page = pdfprobe::pageSizeMm(pdf);
    QVERIFY(qAbs(page.width() - 182) < 0.6 && qAbs(page.height() - 257) < 0.6);
    QVERIFY(QFile::exists(devmodePath()));
    QVERIFY(window_->heldPrinterSettings().has_value());
    // Three red tickets: the first starts 10 mm from the printable corner.
    const QImage sheet = pdfprobe::render(pdf, 50);
    QVERIFY(!sheet.isNull());
    const QColor inFirst = sheet.pixelColor(qRound(15 / 25.4 * 50), qRound(15 / 25.4 * 50));
    QVERIFY2(inFirst.red() > 200 && inFirst.green() < 60, qPrintable(inFirst.name()));
}

void MainPictureTest::printCancelledLeavesTheFileAlone()
{
    openMain();
    window_->LoadPicture(writePicture(dir_->filePath(u"p.png"_s), {579, 302}));
    QTest::keyClicks(control<QComboBox>(u"1015"_s)->lineEdit(), u"2"_s);
    auto cancelling = std::make_unique<FakePrintDialog>(QString());
    FakePrintDialog* dialog = cancelling.get();
    window_->setPrintDialog(std::move(cancelling));
    QTest::mouseClick(control<QPushButton>(id::printStart), Qt::LeftButton);
    QCOMPARE(dialog->shown, 1);
    QVERIFY(!QFile::exists(devmodePath()));
}

void MainPictureTest::printRefusedWhenTheCountDoesNotFit()
{
    openMain();
    window_->LoadPicture(writePicture(dir_->filePath(u"p.png"_s), {579, 302}));
    QTest::keyClicks(control<QComboBox>(id::count)->lineEdit(), u"28"_s);
    MessageCatcher catcher;
    QTest::mouseClick(control<QPushButton>(id::printStart), Qt::LeftButton);
    QTRY_COMPARE(catcher.messages().size(), 1);
    QCOMPARE(catcher.messages().first(),
             u"すべてのアイテムを印刷できません。\n設定を変更して下さい。"_s);
    QCOMPARE(printDialog_->shown, 0);
    QVERIFY(!QFile::exists(devmodePath()));
}

void MainPictureTest::jpegShowsReducedAndPrintsInFull()
{
    if (!pdfprobe::toolsAvailable())
        QSKIP("poppler tools are not installed");
    openMain();
    const QString path = writeJpeg(dir_->filePath(u"photo.jpg"_s), {2400, 1600});
    window_->LoadPicture(path);
    const PictureHolder* picture = window_->loadedPicture();
    QVERIFY(picture);
    // Shown and estimated from the header and a reduced decode.
    QCOMPARE(picture->size(), QSize(2400, 1600));
    QVERIFY(!picture->hasFullPixels());
    QVERIFY(picture->image().width() < 2400);
    QCOMPARE(control<QLineEdit>(u"1000"_s)->text(), path);
    QCOMPARE(control<QLineEdit>(u"1010"_s)->text(), u"1052"_s); // 2400 px over 57.9 mm
    QTRY_VERIFY(control<PreviewWidget>(u"1011"_s)->lastOutcome().printableCount == 27);

    QTest::mouseClick(control<QRadioButton>(u"1013"_s), Qt::LeftButton); // B5
    QTest::keyClicks(control<QComboBox>(u"1015"_s)->lineEdit(), u"3"_s);
    MessageCatcher catcher;
    QTest::mouseClick(control<QPushButton>(u"1001"_s), Qt::LeftButton);
    QCOMPARE(printDialog_->shown, 1);
    QVERIFY(catcher.messages().isEmpty());
    QCOMPARE(window_->loadedPicture(), picture);
    QVERIFY(picture->hasFullPixels());
    QCOMPARE(picture->image().size(), QSize(2400, 1600));
    const QImage sheet = pdfprobe::render(dir_->filePath(u"out.pdf"_s), 50);
    QVERIFY(!sheet.isNull());
    const QColor inFirst = sheet.pixelColor(qRound(15 / 25.4 * 50), qRound(15 / 25.4 * 50));
    QVERIFY2(inFirst.red() > 180 && inFirst.green() < 60, qPrintable(inFirst.name()));
}

void MainPictureTest::failedFullDecodePutsEverythingBack()
{
    openMain();
    const QString good = writePicture(dir_->filePath(u"good.png"_s), {579, 300});
    window_->LoadPicture(good);
    const PictureHolder* before = window_->loadedPicture();
    QVERIFY(before);
    const QString photo = writeJpeg(dir_->filePath(u"photo.jpg"_s), {2400, 1600});

    // The decoder refuses the full picture's 15 MB, not the reduced copy.
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(8);
    window_->LoadPicture(photo);
    QVERIFY(window_->loadedPicture() != before);
    QCOMPARE(control<QLineEdit>(u"1000"_s)->text(), photo);
    QCOMPARE(control<QLineEdit>(u"1010"_s)->text(), u"1052"_s);

    MessageCatcher catcher;
    QTest::mouseClick(control<QPushButton>(u"1001"_s), Qt::LeftButton);
    QImageReader::setAllocationLimit(limit);
    QTRY_COMPARE(catcher.messages().size(), 1);
    QCOMPARE(catcher.messages().first(),
             u"画像ファイルを読み込めません。\n画像を選び直して下さい。"_s);
    QCOMPARE(printDialog_->shown, 0);
    QVERIFY(window_->loadedPicture());
    QCOMPARE(window_->loadedPicture()->size(), QSize(579, 300));
    QCOMPARE(control<PreviewWidget>(u"1011"_s)->picture(), window_->loadedPicture());
    QCOMPARE(control<QLineEdit>(u"1000"_s)->text(), good);
    QCOMPARE(control<QLineEdit>(u"1010"_s)->text(), u"254"_s);
}

void MainPictureTest::emptyPrintIsRefused_data()
{
    QTest::addColumn<bool>("withPicture");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("otherSize"); // "WIDTHxHEIGHT" of "その他"; empty: type A
    QTest::addColumn<QString>("message");

    const QString askForCount = QString::fromUtf16(CMainDlg::noCountMessage);
    const QString askForSize = u"券の幅と高さを1以上で入力して下さい。"_s;
    QTest::newRow("no picture") << false << u"3"_s << QString()
                                << u"画像がロードされていません。"_s;
    QTest::newRow("count 0") << true << u"0"_s << QString() << askForCount;
    QTest::newRow("count -2") << true << u"-2"_s << QString() << askForCount;
    QTest::newRow("count without a number") << true << u"abc"_s << QString() << askForCount;
    QTest::newRow("width 0") << true << u"10"_s << u"0x300"_s << askForSize;
    QTest::newRow("height 0") << true << u"10"_s << u"300x0"_s << askForSize;
    QTest::newRow("width negative") << true << u"10"_s << u"-5x300"_s << askForSize;
}

// A print that would draw nothing would still use a sheet of labels.
void MainPictureTest::emptyPrintIsRefused()
{
    QFETCH(bool, withPicture);
    QFETCH(QString, count);
    QFETCH(QString, otherSize);
    QFETCH(QString, message);
    openMain();
    if (withPicture)
        window_->LoadPicture(writePicture(dir_->filePath(u"p.png"_s), {579, 302}));
    if (!otherSize.isEmpty()) {
        QTest::mouseClick(control<QRadioButton>(id::typeOther), Qt::LeftButton);
        // Set whole, as typing "-" alone would be refused on the way.
        control<QLineEdit>(id::customWidth)->setText(otherSize.section(u'x', 0, 0));
        control<QLineEdit>(id::customHeight)->setText(otherSize.section(u'x', 1, 1));
    }
    QTest::keyClicks(control<QComboBox>(u"1015"_s)->lineEdit(), count);
    MessageCatcher catcher;
    QTest::mouseClick(control<QPushButton>(u"1001"_s), Qt::LeftButton);
    QTRY_COMPARE(catcher.messages(), QStringList{message});
    QCOMPARE(printDialog_->shown, 0);
    QVERIFY(!QFile::exists(dir_->filePath(u"out.pdf"_s)));
    QVERIFY(!QFile::exists(devmodePath()));
}

// "OK" in the advanced dialog shows its effect in the preview at once.
void MainPictureTest::advancedDialogOkRepaintsThePreview()
{
    openMain();
    window_->LoadPicture(writePicture(dir_->filePath(u"p.png"_s), {579, 302}));
    auto* preview = control<PreviewWidget>(u"1011"_s);
    control<QComboBox>(u"1015"_s)->setCurrentIndex(4); // "5"
    QTRY_COMPARE(preview->lastOutcome().printableCount, 27);
    settle();

    bool seen = false;
    handleNextModal([&seen](QWidget* dialog) {
        // At most one row and one column: five tickets no longer fit.
        auto* limit = dialog->findChild<QCheckBox*>(u"1021"_s);
        auto* rows = dialog->findChild<QComboBox*>(u"1015"_s);
        auto* columns = dialog->findChild<QComboBox*>(u"1016"_s);
        if (limit && rows && columns) {
            seen = true;
            limit->setChecked(true);
            rows->setEditText(u"1"_s);
            columns->setEditText(u"1"_s);
        }
        QTest::mouseClick(dialog->findChild<QPushButton*>(u"1"_s), Qt::LeftButton);
    });
    QTest::mouseClick(control<QPushButton>(u"1008"_s), Qt::LeftButton);
    QVERIFY(seen);
    QTRY_VERIFY(preview->lastOutcome().doesNotFit);
    QCOMPARE(preview->lastOutcome().printableCount, 0);
}

// Choose 7, type 60, choose 7 from the list again.
void MainPictureTest::choosingTheSelectedCountAgainRepaints()
{
    openMain();
    window_->LoadPicture(writePicture(dir_->filePath(u"p.png"_s), {579, 302}));
    auto* preview = control<PreviewWidget>(u"1011"_s);
    auto* count = control<QComboBox>(u"1015"_s);
    const auto chooseFromList = [count](int index) {
        count->showPopup();
        QAbstractItemView* list = count->view();
        QTRY_VERIFY(list->isVisible());
        const QRect item = list->visualRect(count->model()->index(index, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QTRY_VERIFY(!list->isVisible());
    };
    chooseFromList(6);
    QTRY_COMPARE(preview->mainValues().countText, u"7"_s);
    QTRY_VERIFY(!preview->lastOutcome().doesNotFit);
    count->lineEdit()->selectAll();
    QTest::keyClicks(count->lineEdit(), u"60"_s);
    QTRY_VERIFY(preview->lastOutcome().doesNotFit);

    chooseFromList(6);
    QCOMPARE(count->currentText(), u"7"_s);
    QTRY_VERIFY(!preview->lastOutcome().doesNotFit);
    QCOMPARE(preview->mainValues().countText, u"7"_s);
}

// Text in the resolution field is refused once, as in the size fields, and
// does not keep the count from being read.
void MainPictureTest::textInTheResolutionFieldIsRefused()
{
    openMain();
    window_->LoadPicture(writePicture(dir_->filePath(u"p.png"_s), {579, 302}));
    auto* resolution = control<QLineEdit>(u"1010"_s);
    const QString estimate = resolution->text();
    {
        MessageCatcher catcher;
        typeInto(u"1010"_s, u"a"_s);
        QTRY_COMPARE(catcher.messages(), QStringList{u"整数を入力してください。"_s});
        settle();
        QCOMPARE(catcher.messages().size(), 1);
    }
    QCOMPARE(resolution->text(), estimate);
    QCOMPARE(window_->focusWidget(), resolution);

    auto* preview = control<PreviewWidget>(u"1011"_s);
    QTest::keyClicks(control<QComboBox>(u"1015"_s)->lineEdit(), u"60"_s);
    QTRY_COMPARE(preview->mainValues().countText, u"60"_s);
    QTRY_VERIFY(preview->lastOutcome().doesNotFit);
}

namespace {

void sendKey(QWidget* target, QEvent::Type type, Qt::Key key, bool autoRepeat)
{
    const QString text = key == Qt::Key_Space ? u" "_s : u"\r"_s;
    QKeyEvent event(type, key, Qt::NoModifier, text, autoRepeat);
    QApplication::sendEvent(target, &event);
}

// A held key: one press, then repeated presses and releases, then a release.
void holdKey(QWidget* target, Qt::Key key, int repeats)
{
    sendKey(target, QEvent::KeyPress, key, false);
    for (int i = 0; i < repeats; ++i) {
        sendKey(target, QEvent::KeyRelease, key, true);
        sendKey(target, QEvent::KeyPress, key, true);
    }
    sendKey(target, QEvent::KeyRelease, key, false);
}

} // namespace

void MainPictureTest::heldEnterPrintsOnce()
{
    openMain();
    window_->LoadPicture(writePicture(dir_->filePath(u"p.png"_s), {579, 302}));
    QTest::keyClicks(control<QComboBox>(u"1015"_s)->lineEdit(), u"2"_s);
    auto* printStart = control<QPushButton>(u"1001"_s);
    printStart->setFocus();
    holdKey(printStart, Qt::Key_Return, 5);
    QCOMPARE(printDialog_->shown, 1);
    holdKey(printStart, Qt::Key_Space, 5);
    QCOMPARE(printDialog_->shown, 2);
}

// The repeats of the Enter that opened Qt's Print dialog do not confirm it.
void MainPictureTest::heldEnterDoesNotConfirmThePrintDialog()
{
    openMain();
    window_->setPrintDialog(std::make_unique<SystemPrintDialog>(window_.get()));
    window_->LoadPicture(writePicture(dir_->filePath(u"p.png"_s), {579, 302}));
    QTest::keyClicks(control<QComboBox>(u"1015"_s)->lineEdit(), u"2"_s);
    bool stillOpen = false;
    handleNextModal([&stillOpen](QWidget* dialog) {
        QWidget* focus = dialog->focusWidget() ? dialog->focusWidget() : dialog;
        for (int i = 0; i < 3; ++i)
            sendKey(focus, QEvent::KeyPress, Qt::Key_Return, true);
        stillOpen = dialog->isVisible();
        qobject_cast<QDialog*>(dialog)->reject();
    });
    QTest::mouseClick(control<QPushButton>(u"1001"_s), Qt::LeftButton);
    QVERIFY(stillOpen);
    QVERIFY(!QFile::exists(devmodePath()));
}

QTEST_MAIN(MainPictureTest)
#include "tst_mainpicture.moc"
