#include "CalibrationProbe.h"
#include "FakePrintDialog.h"
#include "GuiTestHelpers.h"
#include "PdfProbe.h"

#include "print/CorrectedPrinter.h"
#include "settings/CalibrationStore.h"
#include "settings/SettingsStore.h"
#include "ui/CCorrectionDlg.h"
#include "ui/CMainDlg.h"
#include "ui/DialogTemplates.h"
#include "ui/framework/DataExchange.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>

using namespace zorvane;
using namespace zorvane::test;
using namespace Qt::StringLiterals;

namespace {

// A printer name with every character that could split a store key.
const QString printerName = u"事務所/2F\\レーザー [A]"_s;

} // namespace

class CCorrectionDlgTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void measurementsBecomeTheStoredCorrection();
    void refusedInputStoresNothing_data();
    void refusedInputStoresNothing();
    void resetRemovesOnlyThisPrintersCorrection();
    void menuHasBothEntriesBeforeTheVersion();
    void correctionEntryNamesThePrinterOfTheRecord();
    void sheetEntryPrintsThroughTheDialog();

private:
    QLineEdit* field(QWidget* dialog, int id) const
    {
        return dialog->findChild<QLineEdit*>(QString::number(id));
    }
    void enter(QWidget* dialog, const QList<int>& values) const;
    // Opens the window's right-click menu and chooses the entry.
    void choose(CMainDlg& window, const QString& entry);

    std::unique_ptr<QTemporaryDir> dir_;
    QString storePath_;
    std::unique_ptr<SettingsStore> store_;
};

void CCorrectionDlgTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    storePath_ = dir_->filePath(u"Zorvane.ini"_s);
    store_ = std::make_unique<SettingsStore>(storePath_);
}

void CCorrectionDlgTest::cleanup()
{
    store_.reset();
    dir_.reset();
}

void CCorrectionDlgTest::enter(QWidget* dialog, const QList<int>& values) const
{
    const int ids[] = {ids::correction::nearX, ids::correction::nearY, ids::correction::farX,
                       ids::correction::farY};
    for (int i = 0; i < 4; ++i) {
        QLineEdit* edit = field(dialog, ids[i]);
        edit->selectAll();
        QTest::keyClicks(edit, QString::number(values[i]));
    }
}

void CCorrectionDlgTest::measurementsBecomeTheStoredCorrection()
{
    {
        CCorrectionDlg dialog(*store_, printerName, PaperKind::A4);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), u"位置の補正"_s);
        QCOMPARE(dialog.findChild<QLabel*>(u"1000"_s)->text(), u"プリンタ： "_s + printerName);
        QCOMPARE(dialog.findChild<QLabel*>(u"1005"_s)->text(), u"現在の補正： なし"_s);
        // Without a correction the fields show where a faultless printer
        // puts the crosshairs on A4.
        QCOMPARE(field(&dialog, ids::correction::nearX)->text(), u"200"_s);
        QCOMPARE(field(&dialog, ids::correction::farY)->text(), u"2770"_s);

        // 2.5 mm right; 1.5 mm low with a feed 1 % short.
        enter(&dialog, {225, 213, 1925, 2757});
        QTest::keyClick(field(&dialog, ids::correction::farY), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    const auto stored = loadPrinterCorrection(*store_, printerName);
    QVERIFY(stored);
    QCOMPARE(*stored, (PositionCorrection{{1'000'000, 2500}, {989'883, 1502}}));

    // Opened again, it shows the measurements the correction came from.
    CCorrectionDlg again(*store_, printerName, PaperKind::A4);
    QCOMPARE(field(&again, ids::correction::nearX)->text(), u"225"_s);
    QCOMPARE(field(&again, ids::correction::nearY)->text(), u"213"_s);
    QCOMPARE(field(&again, ids::correction::farX)->text(), u"1925"_s);
    QCOMPARE(field(&again, ids::correction::farY)->text(), u"2757"_s);
    QCOMPARE(again.findChild<QLabel*>(u"1005"_s)->text(),
             u"現在の補正： 横 +2.50mm ×1.0000、縦 +1.50mm ×0.9899"_s);
}

void CCorrectionDlgTest::refusedInputStoresNothing_data()
{
    QTest::addColumn<QString>("farX");
    QTest::addColumn<QString>("message");

    QTest::newRow("not a number") << u"19,5"_s
                                  << QString::fromUtf16(DataExchange::rejectionMessage);
    QTest::newRow("scale 0.8") << u"1560"_s
                               << QString::fromUtf16(correctionMessages::scaleOutOfRange);
    QTest::newRow("beyond the paper")
        << u"2200"_s << QString::fromUtf16(correctionMessages::offPaper);
}

void CCorrectionDlgTest::refusedInputStoresNothing()
{
    QFETCH(QString, farX);
    QFETCH(QString, message);
    CCorrectionDlg dialog(*store_, printerName, PaperKind::A4);
    dialog.show();
    QLineEdit* edit = field(&dialog, ids::correction::farX);
    edit->selectAll();
    QTest::keyClicks(edit, farX);

    MessageCatcher catcher;
    QTest::mouseClick(dialog.findChild<QPushButton*>(u"1"_s), Qt::LeftButton);
    QTRY_COMPARE(catcher.messages(), QStringList{message});
    QVERIFY(dialog.isVisible());
    QVERIFY(!hasPrinterCorrection(*store_, printerName));
    store_->sync();
    QVERIFY(!QFile::exists(storePath_) ||
            QSettings(storePath_, QSettings::IniFormat).allKeys().isEmpty());
}

void CCorrectionDlgTest::resetRemovesOnlyThisPrintersCorrection()
{
    const PositionCorrection some{{1'010'000, -500}, {990'000, 700}};
    savePrinterCorrection(*store_, printerName, some);
    savePrinterCorrection(*store_, u"事務所"_s, some);
    CCorrectionDlg dialog(*store_, printerName, PaperKind::B5);
    dialog.show();
    QTest::mouseClick(dialog.findChild<QPushButton*>(u"1006"_s), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QVERIFY(!hasPrinterCorrection(*store_, printerName));
    QVERIFY(hasPrinterCorrection(*store_, u"事務所"_s));
}

void CCorrectionDlgTest::choose(CMainDlg& window, const QString& entry)
{
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions())
            if (action->text() == entry)
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    });
    const QPoint background(5, window.height() - 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, background, window.mapToGlobal(background));
    QApplication::sendEvent(&window, &event);
}

void CCorrectionDlgTest::menuHasBothEntriesBeforeTheVersion()
{
    CMainDlg window(*store_, nullptr, dir_->filePath(u"devmode.zvn"_s));
    const QList<QAction*> actions = window.findChild<QMenu*>(u"systemMenu"_s)->actions();
    QVERIFY(actions.size() >= 5);
    const qsizetype n = actions.size();
    QCOMPARE(actions[n - 4]->text(), u"位置合わせ用紙を印刷..."_s);
    QCOMPARE(actions[n - 3]->text(), u"位置の補正..."_s);
    QVERIFY(actions[n - 2]->isSeparator());
    QCOMPARE(actions[n - 1]->text(), QString::fromUtf16(CMainDlg::aboutMenuText));
}

void CCorrectionDlgTest::correctionEntryNamesThePrinterOfTheRecord()
{
    CMainDlg window(*store_, nullptr, dir_->filePath(u"devmode.zvn"_s));
    window.show();
    const auto& record = window.heldPrinterSettings();
    const QString expected = record ? correctedPrinterName(*record) : QString();

    if (expected.isEmpty()) {
        // A record that prints into a file has no printer to correct.
        MessageCatcher catcher;
        choose(window, u"位置の補正..."_s);
        QTRY_COMPARE(catcher.messages(),
                     QStringList{QString::fromUtf16(correctionMessages::noPrinter)});
        return;
    }
    QString shownName;
    handleNextModal([&](QWidget* modal) {
        if (auto* label = modal->findChild<QLabel*>(u"1000"_s))
            shownName = label->text();
        modal->close();
    });
    choose(window, u"位置の補正..."_s);
    QTRY_COMPARE(shownName, u"プリンタ： "_s + expected);
}

void CCorrectionDlgTest::sheetEntryPrintsThroughTheDialog()
{
    if (!pdfprobe::toolsAvailable())
        QSKIP("poppler tools (pdftoppm) are not installed");
    CMainDlg window(*store_, nullptr, dir_->filePath(u"devmode.zvn"_s));
    auto dialog = std::make_unique<FakePrintDialog>(dir_->filePath(u"sheet.pdf"_s));
    const QString pdf = dialog->file;
    window.setPrintDialog(std::move(dialog));
    window.show();
    // The quarter sheet is chosen in the window.
    QTest::mouseClick(window.findChild<QWidget*>(u"1014"_s), Qt::LeftButton);

    choose(window, u"位置合わせ用紙を印刷..."_s);
    QTRY_VERIFY(QFile::exists(pdf));
    QTRY_VERIFY(QFile::exists(dir_->filePath(u"devmode.zvn"_s)));
    const QSizeF page = pdfprobe::pageSizeMm(pdf);
    QVERIFY2(qAbs(page.width() - 148) < 1 && qAbs(page.height() - 105) < 1,
             qPrintable(u"%1 x %2"_s.arg(page.width()).arg(page.height())));
    const QImage image = pdfprobe::render(pdf, 300);
    const QPointF farMark = calibrationprobe::crosshairMm(image, 300, {128, 85}, -1);
    QVERIFY2((farMark - QPointF(128, 85)).manhattanLength() < 0.2,
             qPrintable(u"%1, %2"_s.arg(farMark.x()).arg(farMark.y())));
}

QTEST_MAIN(CCorrectionDlgTest)
#include "tst_correctiondlg.moc"
