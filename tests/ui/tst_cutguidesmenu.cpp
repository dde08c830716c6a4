// The cut marks and bleed entries of the main window's right-click menu,
// driven through the real window: the bleed dialog's refusals, the store
// round trip, and the marks on the preview.
#include "FakePrintDialog.h"
#include "GuiTestHelpers.h"

#include "preview/PagePreview.h"
#include "settings/SettingsStore.h"
#include "ui/CBleedDlg.h"
#include "ui/CMainDlg.h"
#include "ui/CutGuidesMenu.h"
#include "ui/DialogTemplates.h"
#include "ui/PreviewWidget.h"
#include "ui/framework/DataExchange.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

using namespace zorvane;
using namespace zorvane::test;
using namespace Qt::StringLiterals;

class CutGuidesMenuTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void bleedDialogRefuses_data();
    void bleedDialogRefuses();
    void choicesAreStoredAndKept();
    void previewShowsTheMarks();

private:
    void openWithPicture();
    // Opens the bleed dialog from the menu, types the text, presses OK and
    // returns whether the dialog closed; message boxes go to messages.
    bool enterBleed(const QString& text, QStringList& messages);
    QAction* entry(const QString& text) const { return menuEntry(window_.get(), text); }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<CMainDlg> window_;
};

void CutGuidesMenuTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    store_ = std::make_unique<SettingsStore>(dir_->filePath(u"Zorvane.ini"_s));
}

void CutGuidesMenuTest::cleanup()
{
    window_.reset();
    store_.reset();
    dir_.reset();
}

void CutGuidesMenuTest::openWithPicture()
{
    window_ = std::make_unique<CMainDlg>(*store_, nullptr, dir_->filePath(u"devmode.zvn"_s));
    window_->setPrintDialog(std::make_unique<FakePrintDialog>(dir_->filePath(u"out.pdf"_s)));
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(0xff2040c0);
    const QString path = dir_->filePath(u"p.png"_s);
    QVERIFY(image.save(path));
    window_->LoadPicture(path);
    QTest::keyClicks(window_->findChild<QComboBox*>(u"1015"_s)->lineEdit(), u"2"_s);
}

bool CutGuidesMenuTest::enterBleed(const QString& text, QStringList& messages)
{
    bool closed = false;
    handleNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<CBleedDlg*>(modal);
        QVERIFY(dialog);
        findControl<QLineEdit>(dialog, ids::bleed::value)->setText(text);
        MessageCatcher catcher;
        QTest::mouseClick(findControl<QPushButton>(dialog, ids::ok), Qt::LeftButton);
        settle();
        messages = catcher.messages();
        closed = !dialog->isVisible();
        if (!closed)
            dialog->reject();
    });
    entry(QString::fromUtf16(CutGuidesMenu::bleedText))->trigger();
    return closed;
}

void CutGuidesMenuTest::bleedDialogRefuses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<int>("stored");
    const QString notNumber = QString::fromUtf16(DataExchange::rejectionMessage);
    const QString outOfRange = QString::fromUtf16(CBleedDlg::outOfRangeMessage);
    QTest::newRow("letters") << u"abc"_s << notNumber << 0;
    QTest::newRow("decimal point") << u"1.5"_s << notNumber << 0;
    QTest::newRow("negative") << u"-1"_s << outOfRange << 0;
    QTest::newRow("above 30 mm") << u"301"_s << outOfRange << 0;
    QTest::newRow("30 mm") << u"300"_s << QString() << 300;
    QTest::newRow("2 mm") << u"20"_s << QString() << 20;
}

// A refused text leaves the dialog open and the store as it was.
void CutGuidesMenuTest::bleedDialogRefuses()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(int, stored);
    openWithPicture();
    QStringList messages;
    const bool closed = enterBleed(text, messages);
    QCOMPARE(closed, message.isEmpty());
    QCOMPARE(messages, message.isEmpty() ? QStringList() : QStringList{message});
    store_->refresh();
    QCOMPARE(store_->GetProfileInt("Sheet", "Bleed", -1), message.isEmpty() ? stored : -1);
}

void CutGuidesMenuTest::choicesAreStoredAndKept()
{
    openWithPicture();
    QAction* marks = entry(QString::fromUtf16(CutGuidesMenu::cutMarksText));
    QVERIFY(marks->isCheckable());
    QVERIFY(!marks->isChecked());
    marks->trigger();
    QStringList messages;
    QVERIFY(enterBleed(u"25"_s, messages));
    QCOMPARE(store_->GetProfileInt("Sheet", "CutMarks", 0), 1);
    QCOMPARE(store_->GetProfileInt("Sheet", "Bleed", 0), 25);
    window_.reset();

    openWithPicture();
    QVERIFY(entry(QString::fromUtf16(CutGuidesMenu::cutMarksText))->isChecked());
    handleNextModal([](QWidget* modal) {
        QCOMPARE(findControl<QLineEdit>(modal, ids::bleed::value)->text(), u"25"_s);
        qobject_cast<QDialog*>(modal)->reject();
    });
    entry(QString::fromUtf16(CutGuidesMenu::bleedText))->trigger();
    entry(QString::fromUtf16(CutGuidesMenu::cutMarksText))->trigger();
    QCOMPARE(store_->GetProfileInt("Sheet", "CutMarks", -1), 0);
}

// The page in the preview is shrunk several times over; the marks in its
// top margin (5 to 9 mm down) still show black there once they are on.
void CutGuidesMenuTest::previewShowsTheMarks()
{
    openWithPicture();
    auto* preview = window_->findChild<PreviewWidget*>(u"1011"_s);
    QVERIFY(preview);
    const auto blackInTopMargin = [preview] {
        const QImage shown = preview->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect client = preview->contentsRect();
        const QRect page = pageRectangle(PaperKind::A4, client.size()).translated(client.topLeft());
        int black = 0;
        for (int y = page.top() + 1; y < page.top() + page.height() * 10 / 297; ++y) {
            for (int x = page.left() + 1; x < page.right(); ++x)
                black += qGray(shown.pixel(x, y)) < 60 ? 1 : 0;
        }
        return black;
    };
    QCOMPARE(blackInTopMargin(), 0);
    entry(QString::fromUtf16(CutGuidesMenu::cutMarksText))->trigger();
    QVERIFY(blackInTopMargin() > 0);
}

QTEST_MAIN(CutGuidesMenuTest)
#include "tst_cutguidesmenu.moc"
