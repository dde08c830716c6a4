// The numbering dialog driven through the real window: what it stores, what
// it refuses, and which prints move the next start on.
#include "CupsQueue.h"
#include "FakeColorChooser.h"
#include "FakePrintDialog.h"
#include "GuiTestHelpers.h"

#include "settings/Numbering.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"
#include "ui/CMainDlg.h"
#include "ui/CNumberingDlg.h"
#include "ui/DialogTemplates.h"
#include "ui/NumberingDialogTemplate.h"
#include "ui/PreviewWidget.h"
#include "ui/framework/DataExchange.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>

using namespace zorvane;
using namespace zorvane::test;
using namespace Qt::StringLiterals;
namespace nid = zorvane::ids::numbering;

Q_DECLARE_METATYPE(std::function<void(QWidget*)>)

namespace {

void setText(QWidget* dialog, int id, const QString& text)
{
    auto* edit = findControl<QLineEdit>(dialog, id);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void setComboText(QWidget* dialog, int id, const QString& text)
{
    // Typed as an input method commits it: keyClicks knows no "番".
    auto* edit = findControl<QComboBox>(dialog, id)->lineEdit();
    edit->selectAll();
    edit->insert(text);
}

void click(QWidget* dialog, int id)
{
    QTest::mouseClick(findControl<QAbstractButton>(dialog, id), Qt::LeftButton);
}

} // namespace

class NumberingDlgTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void colourThroughQtsOwnChooser();
    void init();
    void cleanup();
    void storeRoundTripThroughTheRealWindow();
    void refusedValuesStoreNothing_data();
    void refusedValuesStoreNothing();
    void onlyACompletedPrintOnPaperAdvances_data();
    void onlyACompletedPrintOnPaperAdvances();
    void runStartsWhereASecondCopyLeftOff();

private:
    void openWithPicture(bool qtsOwnChooser = false);
    // Opens the dialog from the window's menu and lets the user work in it.
    void inDialog(const std::function<void(QWidget*)>& user);

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<CMainDlg> window_;
    FakeColorChooser* chooser_ = nullptr;
};

void NumberingDlgTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    store_ = std::make_unique<SettingsStore>(dir_->filePath(u"Zorvane.ini"_s));
}

void NumberingDlgTest::cleanup()
{
    window_.reset();
    store_.reset();
    dir_.reset();
}

void NumberingDlgTest::openWithPicture(bool qtsOwnChooser)
{
    window_ = std::make_unique<CMainDlg>(*store_, nullptr, dir_->filePath(u"devmode.zvn"_s));
    if (!qtsOwnChooser) {
        auto chooser = std::make_unique<FakeColorChooser>();
        chooser_ = chooser.get();
        window_->setColorChooser(std::move(chooser));
    }
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QString path = dir_->filePath(u"p.png"_s);
    QVERIFY(image.save(path));
    window_->LoadPicture(path);
    QTest::keyClicks(window_->findChild<QComboBox*>(u"1015"_s)->lineEdit(), u"5"_s);
}

void NumberingDlgTest::inDialog(const std::function<void(QWidget*)>& user)
{
    bool handled = false;
    handleNextModal(
        [&](QWidget* modal) {
            handled = true;
            user(modal);
        },
        window_.get());
    menuEntry(window_.get(), QString::fromUtf16(CNumberingDlg::menuText))->trigger();
    QVERIFY(handled);
}

void NumberingDlgTest::storeRoundTripThroughTheRealWindow()
{
    openWithPicture();
    QVERIFY(storedKeys(store_->fileName(), u"Numbering"_s).isEmpty());
    chooser_->answer = QColor(0x12, 0x34, 0x56);
    QString range;
    inDialog([&](QWidget* dialog) {
        QVERIFY(!findControl<QCheckBox>(dialog, nid::enabled)->isChecked());
        QCOMPARE(findControl<QLineEdit>(dialog, nid::start)->text(), u"1"_s);
        QCOMPARE(findControl<QLineEdit>(dialog, nid::height)->text(), u"40"_s);
        QVERIFY(findControl<QRadioButton>(dialog, nid::positions[3])->isChecked());
        QVERIFY(findControl<QRadioButton>(dialog, nid::noStub)->isChecked());
        click(dialog, nid::enabled);
        setText(dialog, nid::start, u"4721"_s);
        setText(dialog, nid::digits, u"6"_s);
        setComboText(dialog, nid::prefix, u"No."_s);
        setComboText(dialog, nid::suffix, u"番"_s);
        setText(dialog, nid::height, u"30"_s);
        click(dialog, nid::positions[1]);
        setText(dialog, nid::inset, u"20"_s);
        click(dialog, nid::stubPositions[2]);
        click(dialog, nid::chooseColor);
        click(dialog, nid::backing);
        setText(dialog, nid::sheets, u"3"_s);
        range = findControl<QLabel>(dialog, nid::range)->text();
        click(dialog, ids::ok);
    });
    QVERIFY2(range.endsWith(u"4721〜4735 (3枚)"_s), qPrintable(range));

    NumberingValues expected;
    expected.enabled = true;
    expected.start = 4721;
    expected.digits = 6;
    expected.prefix = u"No."_s;
    expected.suffix = u"番"_s;
    expected.height = 30;
    expected.position = NumberPosition::TopRight;
    expected.inset = 20;
    expected.stubPosition = NumberPosition::BottomLeft;
    expected.colour = 0x123456;
    expected.backing = true;
    expected.sheets = 3;
    QCOMPARE(loadNumberingValues(*store_), expected);

    // The preview says the run beneath the count.
    auto* preview = window_->findChild<PreviewWidget*>(u"1011"_s);
    preview->grab();
    QVERIFY2(preview->accessibleDescription().endsWith(u"4721〜4735 (3枚)"_s),
             qPrintable(preview->accessibleDescription()));

    // Opened again, the dialog shows what was stored; cancel keeps it.
    inDialog([&](QWidget* dialog) {
        QVERIFY(findControl<QCheckBox>(dialog, nid::enabled)->isChecked());
        QCOMPARE(findControl<QLineEdit>(dialog, nid::start)->text(), u"4721"_s);
        QCOMPARE(findControl<QComboBox>(dialog, nid::suffix)->currentText(), u"番"_s);
        QVERIFY(findControl<QRadioButton>(dialog, nid::positions[1])->isChecked());
        QVERIFY(findControl<QRadioButton>(dialog, nid::stubPositions[2])->isChecked());
        QVERIFY(findControl<QCheckBox>(dialog, nid::backing)->isChecked());
        setText(dialog, nid::start, u"9"_s);
        click(dialog, ids::cancel);
    });
    QCOMPARE(loadNumberingValues(*store_), expected);
}

// The colour button opens Qt's own colour dialog, as the window makes it,
// and what is chosen there is what the numbers are stored with.
void NumberingDlgTest::colourThroughQtsOwnChooser()
{
    openWithPicture(true);
    inDialog([&](QWidget* dialog) {
        bool chosen = false;
        handleNextModal(
            [&](QWidget* modal) {
                auto* colours = qobject_cast<QColorDialog*>(modal);
                QVERIFY(colours);
                colours->setCurrentColor(QColor(0x12, 0x34, 0x56));
                colours->accept();
                chosen = true;
            },
            dialog);
        click(dialog, nid::chooseColor);
        QVERIFY(chosen);
        click(dialog, nid::enabled);
        click(dialog, ids::ok);
    });
    QCOMPARE(loadNumberingValues(*store_).colour, 0x123456);
}

void NumberingDlgTest::refusedValuesStoreNothing_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("start not a number")
        << nid::start << u"1a"_s << QString::fromUtf16(DataExchange::rejectionMessage);
    QTest::newRow("negative start")
        << nid::start << u"-1"_s << u"開始番号は 0〜999999999 の範囲で入力して下さい。"_s;
    QTest::newRow("1000 sheets") << nid::sheets << u"1000"_s
                                 << u"シート数は 1〜999 の範囲で入力して下さい。"_s;
    QTest::newRow("ten digits") << nid::digits << u"10"_s
                                << u"桁数は 0〜9 の範囲で入力して下さい。"_s;
    // An A ticket is 30.2 mm tall: 30 mm digits 3 mm from its edge do not fit.
    QTest::newRow("taller than the ticket")
        << nid::height << u"300"_s << QString::fromUtf16(numberingMessages::doesNotFit);
}

void NumberingDlgTest::refusedValuesStoreNothing()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    openWithPicture();
    bool stillOpen = false;
    MessageCatcher messages;
    inDialog([&](QWidget* dialog) {
        click(dialog, nid::enabled);
        setText(dialog, field, text);
        click(dialog, ids::ok);
        settle(100);
        stillOpen = dialog->isVisible();
        click(dialog, ids::cancel);
    });
    QVERIFY(stillOpen);
    QCOMPARE(messages.messages(), QStringList{message});
    QVERIFY(storedKeys(store_->fileName(), u"Numbering"_s).isEmpty());
}

void NumberingDlgTest::onlyACompletedPrintOnPaperAdvances_data()
{
    QTest::addColumn<QString>("destination");
    QTest::addColumn<int>("start");
    QTest::newRow("cancelled") << u"cancel"_s << 11;
    QTest::newRow("into a file") << u"file"_s << 11;
    QTest::newRow("on paper") << u"queue"_s << 11 + 2 * 5;
}

void NumberingDlgTest::onlyACompletedPrintOnPaperAdvances()
{
    QFETCH(QString, destination);
    QFETCH(int, start);
    const QString queueDir = cupsqueue::outputDir();
    if (destination == u"queue"_s && !cupsqueue::whyUnusable().isEmpty()) {
        if (qEnvironmentVariableIntValue("ZORVANE_REQUIRE_CUPS") == 1)
            QFAIL(qPrintable(cupsqueue::whyUnusable()));
        QSKIP(qPrintable(cupsqueue::whyUnusable()));
    }
    NumberingValues values;
    values.enabled = true;
    values.start = 11;
    values.sheets = 2;
    saveNumberingValues(*store_, values);
    openWithPicture();
    const QString pdf = dir_->filePath(u"out.pdf"_s);
    if (destination == u"queue"_s)
        window_->setPrintDialog(std::make_unique<ConfirmingUser>());
    else
        window_->setPrintDialog(
            std::make_unique<FakePrintDialog>(destination == u"file"_s ? pdf : QString()));
    const QSet<QString> before = cupsqueue::pdfsIn(queueDir);
    QTest::mouseClick(window_->findChild<QPushButton*>(u"1001"_s), Qt::LeftButton);
    QCOMPARE(loadNumberingValues(*store_).start, start);
    if (destination == u"file"_s)
        QVERIFY(QFile::exists(pdf));
    if (destination == u"queue"_s) {
        const QString spooled = cupsqueue::awaitNewPdf(queueDir, before);
        QVERIFY2(!spooled.isEmpty(), "the queue wrote no PDF");
        QFile::remove(spooled);
    }
}

// This window read the store when it opened; a second copy then prints a
// run of its own and stores its next start. A run printed here starts
// there, as the store says when the print starts, so no number is printed
// twice, and the start moves past it.
void NumberingDlgTest::runStartsWhereASecondCopyLeftOff()
{
    if (!cupsqueue::whyUnusable().isEmpty()) {
        if (qEnvironmentVariableIntValue("ZORVANE_REQUIRE_CUPS") == 1)
            QFAIL(qPrintable(cupsqueue::whyUnusable()));
        QSKIP(qPrintable(cupsqueue::whyUnusable()));
    }
    NumberingValues values;
    values.enabled = true;
    values.start = 11;
    saveNumberingValues(*store_, values);
    openWithPicture();
    QProcess secondCopy;
    secondCopy.start(QStringLiteral(STORE_WRITER), {store_->fileName(), u"start"_s, u"31"_s});
    QVERIFY(secondCopy.waitForFinished());
    QCOMPARE(secondCopy.exitCode(), 0);
    window_->setPrintDialog(std::make_unique<ConfirmingUser>());
    const QString queueDir = cupsqueue::outputDir();
    const QSet<QString> before = cupsqueue::pdfsIn(queueDir);
    QTest::mouseClick(window_->findChild<QPushButton*>(u"1001"_s), Qt::LeftButton);
    const QString spooled = cupsqueue::awaitNewPdf(queueDir, before);
    QVERIFY2(!spooled.isEmpty(), "the queue wrote no PDF");
    QFile::remove(spooled);
    const QSettings file(store_->fileName(), QSettings::IniFormat);
    QCOMPARE(file.value(u"Numbering/Start"_s).toInt(), 31 + 5);
}

QTEST_MAIN(NumberingDlgTest)
#include "tst_numberingdlg.moc"
