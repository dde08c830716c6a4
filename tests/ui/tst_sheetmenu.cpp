// The sheet entries of the main window's right-click menu and the marking
// of used cells by clicks on the preview, driven through the real widgets.
#include "FakePrintDialog.h"
#include "GuiTestHelpers.h"

#include "preview/PagePreview.h"
#include "settings/SettingsStore.h"
#include "ui/CMainDlg.h"
#include "ui/MainWindowMenu.h"
#include "ui/PreviewWidget.h"

#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolTip>

using namespace zorvane;
using namespace zorvane::test;
using namespace Qt::StringLiterals;

namespace {

constexpr QRgb red = 0xffff0000;

} // namespace

class SheetMenuTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void menuHoldsTheEntriesAndNothingIsStored();
    void clicksMarkAndFreeCells();
    void turnAndPlacementAreRemembered();
    void printedCellsBecomeUsed();
    void screenReaderHearsThePaintedCount();
    void secondCopysPlacementSurvivesATurn();

private:
    void openWithPicture();
    QAction* entry(const QString& text) const;
    // The middle of a cell of the A4 page with A tickets, in preview pixels.
    QPoint cellCentre(int row, int column) const;
    QImage repaintedPreview() const;

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<CMainDlg> window_;
    PreviewWidget* preview_ = nullptr;
};

void SheetMenuTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    store_ = std::make_unique<SettingsStore>(dir_->filePath(u"Zorvane.ini"_s));
}

void SheetMenuTest::cleanup()
{
    window_.reset();
    store_.reset();
    dir_.reset();
}

void SheetMenuTest::openWithPicture()
{
    window_ = std::make_unique<CMainDlg>(*store_, nullptr, dir_->filePath(u"devmode.zvn"_s));
    window_->setPrintDialog(std::make_unique<FakePrintDialog>(dir_->filePath(u"out.pdf"_s)));
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(red);
    const QString path = dir_->filePath(u"p.png"_s);
    QVERIFY(image.save(path));
    window_->LoadPicture(path);
    QTest::keyClicks(window_->findChild<QComboBox*>(u"1015"_s)->lineEdit(), u"5"_s);
    preview_ = window_->findChild<PreviewWidget*>(u"1011"_s);
    QVERIFY(preview_);
}

QAction* SheetMenuTest::entry(const QString& text) const
{
    return test::menuEntry(window_.get(), text);
}

QPoint SheetMenuTest::cellCentre(int row, int column) const
{
    const QRect client = preview_->contentsRect();
    const QRect page = pageRectangle(PaperKind::A4, client.size());
    const double x = 100 + column * 582 + 289;
    const double y = 100 + row * 305 + 151;
    return client.topLeft() + page.topLeft() +
           QPoint(int(x * page.width() / 2100), int(y * page.height() / 2970));
}

QImage SheetMenuTest::repaintedPreview() const
{
    return preview_->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void SheetMenuTest::menuHoldsTheEntriesAndNothingIsStored()
{
    openWithPicture();
    auto* menu = window_->findChild<MainWindowMenu*>(u"systemMenu"_s);
    // The sheet entries first, then the other additions, then the version.
    const QString layout = layoutOf(*menu);
    QVERIFY2(layout.startsWith(
                 u"閉じる(&C)|-|画像の配置|券を90度回転|使用済みの位置をすべて解除|"
                 u"印刷した位置を使用済みにする|トンボを付ける|塗り足し...|番号を付ける...|-|"_s),
             qPrintable(layout));
    QVERIFY2(layout.endsWith(u"|-|Zorvane のﾊﾞｰｼﾞｮﾝ情報(&A)..."_s), qPrintable(layout));
    QCOMPARE(layoutOf(*entry(u"画像の配置"_s)->menu()), u"伸縮|全体|切り抜き"_s);
    QVERIFY(entry(u"伸縮"_s)->isChecked());
    QVERIFY(!entry(u"券を90度回転"_s)->isChecked());
    QVERIFY(!entry(u"印刷した位置を使用済みにする"_s)->isChecked());
    repaintedPreview();
    QCOMPARE(printableCountText(preview_->lastOutcome().printableCount), printableCountText(27));
    window_->close();
    store_->sync();
    QVERIFY(storedKeys(store_->fileName(), u"Sheet"_s).isEmpty());
}

void SheetMenuTest::clicksMarkAndFreeCells()
{
    openWithPicture();
    // Count 5 in rows first: cells (0,0) to (1,1); (1,2) stays blank.
    QCOMPARE(QColor(repaintedPreview().pixel(cellCentre(1, 2))), QColor(Qt::white));

    QTest::mouseClick(preview_, Qt::LeftButton, {}, cellCentre(0, 0));
    QImage shown = repaintedPreview();
    QCOMPARE(preview_->lastOutcome().printableCount, 26);
    QCOMPARE(QColor(shown.pixel(cellCentre(1, 2))), QColor(red));
    const QColor marked = shown.pixel(cellCentre(0, 0));
    QVERIFY2(marked != QColor(red), qPrintable(marked.name()));
    bool hatched = false;
    for (int dx = -4; dx <= 4; ++dx)
        hatched |= shown.pixel(cellCentre(0, 0) + QPoint(dx, 0)) == usedCellHatchColour;
    QVERIFY(hatched);
    QCOMPARE(store_->GetProfileString("Sheet", "Used_A4_579x302", QString()), u"0:0"_s);

    // The tooltip over a cell says what a click does.
    QHelpEvent help(QEvent::ToolTip, cellCentre(2, 1), preview_->mapToGlobal(cellCentre(2, 1)));
    QApplication::sendEvent(preview_, &help);
    QTRY_COMPARE(QToolTip::text(), PreviewWidget::cellToolTip());

    QTest::mouseClick(preview_, Qt::LeftButton, {}, cellCentre(0, 0));
    shown = repaintedPreview();
    QCOMPARE(preview_->lastOutcome().printableCount, 27);
    QCOMPARE(QColor(shown.pixel(cellCentre(0, 0))), QColor(red));
    QCOMPARE(QColor(shown.pixel(cellCentre(1, 2))), QColor(Qt::white));
    QCOMPARE(store_->GetProfileString("Sheet", "Used_A4_579x302", u"none"_s), QString());

    // Marks beyond the free cells make the count not fit; clearing them
    // brings the page back.
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 8; ++row)
            QTest::mouseClick(preview_, Qt::LeftButton, {}, cellCentre(row, column));
    }
    repaintedPreview();
    QVERIFY(preview_->lastOutcome().doesNotFit);
    entry(u"使用済みの位置をすべて解除"_s)->trigger();
    repaintedPreview();
    QCOMPARE(preview_->lastOutcome().printableCount, 27);
}

void SheetMenuTest::turnAndPlacementAreRemembered()
{
    openWithPicture();
    entry(u"券を90度回転"_s)->trigger();
    repaintedPreview();
    QCOMPARE(preview_->lastOutcome().printableCount, 24);
    entry(u"全体"_s)->trigger();
    QCOMPARE(store_->GetProfileInt("Sheet", "Turned", 0), 1);
    QCOMPARE(store_->GetProfileInt("Sheet", "Placement", 0), 1);
    window_.reset();

    openWithPicture();
    QVERIFY(entry(u"券を90度回転"_s)->isChecked());
    QVERIFY(entry(u"全体"_s)->isChecked());
    QVERIFY(!entry(u"伸縮"_s)->isChecked());
    repaintedPreview();
    QCOMPARE(preview_->lastOutcome().printableCount, 24);
}

void SheetMenuTest::printedCellsBecomeUsed()
{
    openWithPicture();
    entry(u"印刷した位置を使用済みにする"_s)->trigger();
    QTest::mouseClick(preview_, Qt::LeftButton, {}, cellCentre(0, 1));
    QTest::mouseClick(window_->findChild<QPushButton*>(u"1001"_s), Qt::LeftButton);
    QVERIFY(QFile::exists(dir_->filePath(u"out.pdf"_s)));
    QCOMPARE(store_->GetProfileString("Sheet", "Used_A4_579x302", QString()),
             u"0:0 0:1 0:2 1:0 1:1 1:2"_s);
    repaintedPreview();
    QCOMPARE(preview_->lastOutcome().printableCount, 21);
}

// The box's description and its painted count come from one job, so a
// turn or a used cell changes both alike.
void SheetMenuTest::screenReaderHearsThePaintedCount()
{
    openWithPicture();
    const auto heardAndPainted = [this] {
        repaintedPreview();
        return std::pair(preview_->accessibleDescription(),
                         printableCountText(preview_->lastOutcome().printableCount));
    };
    entry(u"券を90度回転"_s)->trigger();
    auto [heard, painted] = heardAndPainted();
    QCOMPARE(painted, printableCountText(24));
    QCOMPARE(heard, painted);

    // The middle of the first turned ticket, 302 x 579 tenths from (100, 100).
    const QRect page = pageRectangle(PaperKind::A4, preview_->contentsRect().size());
    const QPoint firstTurned = preview_->contentsRect().topLeft() + page.topLeft() +
                               QPoint(251 * page.width() / 2100, 389 * page.height() / 2970);
    QTest::mouseClick(preview_, Qt::LeftButton, {}, firstTurned);
    std::tie(heard, painted) = heardAndPainted();
    QCOMPARE(painted, printableCountText(23));
    QCOMPARE(heard, painted);
}

// This window read the choices when it opened; a second copy then chooses
// "全体". Turning the tickets here writes the turn alone and keeps that
// placement.
void SheetMenuTest::secondCopysPlacementSurvivesATurn()
{
    openWithPicture();
    QProcess secondCopy;
    secondCopy.start(QStringLiteral(STORE_WRITER), {store_->fileName(), u"placement"_s, u"fit"_s});
    QVERIFY(secondCopy.waitForFinished());
    QCOMPARE(secondCopy.exitCode(), 0);
    repaintedPreview();
    entry(u"券を90度回転"_s)->trigger();
    const QSettings file(store_->fileName(), QSettings::IniFormat);
    QCOMPARE(file.value(u"Sheet/Placement"_s).toInt(), 1);
    QCOMPARE(file.value(u"Sheet/Turned"_s).toInt(), 1);
}

QTEST_MAIN(SheetMenuTest)
#include "tst_sheetmenu.moc"
