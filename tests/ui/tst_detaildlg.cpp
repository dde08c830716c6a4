#include "FakeColorChooser.h"
#include "GuiTestHelpers.h"

#include "settings/SettingsStore.h"
#include "ui/CDetailDlg.h"
#include "ui/DialogTemplates.h"
#include "ui/framework/DataExchange.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <memory>

using namespace zorvane;
using namespace zorvane::test;
using namespace Qt::StringLiterals;
namespace id = zorvane::ids::detail;

namespace {

// The twelve values in the order they are stored.
const QStringList fieldNames{controlName(id::offsetX),   controlName(id::offsetY),
                             controlName(id::gapV),      controlName(id::gapH),
                             controlName(id::frameRed),  controlName(id::frameGreen),
                             controlName(id::frameBlue), controlName(id::fontPercent)};

} // namespace

class CDetailDlgTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void firstOpeningShowsDefaults();
    void opensWithTheStoredValues();
    void tabOrderFollowsTheTemplate();
    void swatchShowsTheLowEightBits_data();
    void swatchShowsTheLowEightBits();
    void okStoresTheTwelveValues_data();
    void okStoresTheTwelveValues();
    void rejectedFieldStoresNothingAndStaysOpen_data();
    void rejectedFieldStoresNothingAndStaysOpen();
    void cancelStoresNothing_data();
    void cancelStoresNothing();
    void enterInAFieldAccepts();
    void colourChooserFillsTheColourFields();
    void cancelledColourChooserChangesNothing();
    void paintingShowsNoMessage();
    void okRepaintsTheOwner();

private:
    void open();
    template<typename T> T* control(int id) const { return findControl<T>(dialog_, id); }
    template<typename T> T* control(const QString& name) const
    {
        return findControl<T>(dialog_, name);
    }
    void type(const QString& name, const QString& text) const;
    QColor swatchPixel(const QPoint& at) const;

    std::unique_ptr<QTemporaryDir> dir_;
    QString storePath_;
    std::unique_ptr<SettingsStore> store_;
    FakeColorChooser chooser_;
    std::unique_ptr<QWidget> owner_;
    CDetailDlg* dialog_ = nullptr;
};

void CDetailDlgTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    storePath_ = dir_->filePath(u"Zorvane.ini"_s);
    store_ = std::make_unique<SettingsStore>(storePath_);
    chooser_ = FakeColorChooser();
    owner_ = std::make_unique<QWidget>();
    owner_->resize(200, 200);
    owner_->show();
    owner_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(owner_.get()));
}

void CDetailDlgTest::cleanup()
{
    owner_.reset(); // deletes the dialog too
    dialog_ = nullptr;
    store_.reset();
    dir_.reset();
}

void CDetailDlgTest::open()
{
    dialog_ = new CDetailDlg(*store_, chooser_, owner_.get());
    dialog_->show();
    dialog_->activateWindow();
    // A dialog shares its owner's activation, so wait for its own.
    if (!QTest::qWaitFor([this] { return QApplication::activeWindow() == dialog_; }))
        qWarning("dialog not active");
}

void CDetailDlgTest::type(const QString& name, const QString& text) const
{
    QWidget* widget = control<QWidget>(name);
    QLineEdit* edit = qobject_cast<QLineEdit*>(widget);
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        edit = combo->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

QColor CDetailDlgTest::swatchPixel(const QPoint& at) const
{
    const QImage image = control<QWidget>(id::swatch)->grab().toImage();
    return image.pixelColor(at.x() < 0 ? image.width() + at.x() : at.x(),
                            at.y() < 0 ? image.height() + at.y() : at.y());
}

void CDetailDlgTest::firstOpeningShowsDefaults()
{
    open();
    QCOMPARE(dialog_->windowTitle(), u"詳細設定"_s);
    QCOMPARE(dialog_->minimumSize(), dialog_->maximumSize());
    const QStringList expected{u"100"_s, u"100"_s, u"3"_s,   u"3"_s,
                               u"224"_s, u"224"_s, u"224"_s, u"100"_s};
    for (qsizetype i = 0; i < fieldNames.size(); ++i)
        QCOMPARE(control<QLineEdit>(fieldNames[i])->text(), expected[i]);
    QVERIFY(!control<QCheckBox>(id::drawFrame)->isChecked());
    QVERIFY(!control<QCheckBox>(id::limitGrid)->isChecked());
    for (const QString& name : {controlName(id::maxRows), controlName(id::maxCols)}) {
        auto* combo = control<QComboBox>(name);
        QCOMPARE(combo->currentText(), u"0"_s);
        QCOMPARE(combo->currentIndex(), -1);
        QCOMPARE(combo->count(), 20);
        QCOMPARE(combo->itemText(0), u"1"_s);
        QCOMPARE(combo->itemText(19), u"20"_s);
    }
    auto* ok = control<QPushButton>(ids::ok);
    QVERIFY(ok->isDefault());
    QCOMPARE(focusedControlName(), controlName(ids::ok));
    QCOMPARE(control<QPushButton>(ids::cancel)->text(), u"ｷｬﾝｾﾙ"_s);
    QCOMPARE(swatchPixel({6, 6}), QColor(224, 224, 224));
    QCOMPARE(swatchPixel({0, 0}), QColor(Qt::black));
    QCOMPARE(swatchPixel({-1, -1}), QColor(Qt::black));
}

void CDetailDlgTest::opensWithTheStoredValues()
{
    OptionValues stored;
    stored.offsetX = -20;
    stored.gapH = 12;
    stored.frameRed = 300;
    stored.drawFrame = 1;
    stored.limitGrid = 1;
    stored.maxRows = 5;
    stored.maxCols = 21;
    saveOptionValues(*store_, stored);
    open();
    QCOMPARE(control<QLineEdit>(id::offsetX)->text(), u"-20"_s);
    QCOMPARE(control<QLineEdit>(id::gapH)->text(), u"12"_s);
    QCOMPARE(control<QLineEdit>(id::frameRed)->text(), u"300"_s);
    QVERIFY(control<QCheckBox>(id::drawFrame)->isChecked());
    QVERIFY(control<QCheckBox>(id::limitGrid)->isChecked());
    QCOMPARE(control<QComboBox>(id::maxRows)->currentIndex(), 4);
    // No entry begins with 21: the text goes into the edit field.
    QCOMPARE(control<QComboBox>(id::maxCols)->currentText(), u"21"_s);
    QCOMPARE(control<QComboBox>(id::maxCols)->currentIndex(), -1);
    QCOMPARE(swatchPixel({6, 6}), QColor(44, 224, 224));
}

void CDetailDlgTest::tabOrderFollowsTheTemplate()
{
    open();
    const QStringList expected{
        controlName(ids::cancel),    controlName(id::offsetX),     controlName(id::frameRed),
        controlName(id::frameGreen), controlName(id::drawFrame),   controlName(id::offsetY),
        controlName(id::gapV),       controlName(id::frameBlue),   controlName(id::chooseColor),
        controlName(id::gapH),       controlName(id::limitGrid),   controlName(id::maxRows),
        controlName(id::maxCols),    controlName(id::fontPercent), controlName(ids::ok)};
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << focusedControlName();
    }
    QCOMPARE(visited, expected);
}

void CDetailDlgTest::swatchShowsTheLowEightBits_data()
{
    QTest::addColumn<QString>("red");
    QTest::addColumn<QString>("green");
    QTest::addColumn<QString>("blue");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("in range") << u"10"_s << u"20"_s << u"30"_s << QColor(10, 20, 30);
    QTest::newRow("300 shows 44") << u"300"_s << u"0"_s << u"0"_s << QColor(44, 0, 0);
    QTest::newRow("-1 shows 255") << u"-1"_s << u"0"_s << u"0"_s << QColor(255, 0, 0);
    QTest::newRow("rejected keeps the last colour")
        << u"abc"_s << u"0"_s << u"0"_s << QColor(224, 224, 224);
}

void CDetailDlgTest::swatchShowsTheLowEightBits()
{
    QFETCH(QString, red);
    QFETCH(QString, green);
    QFETCH(QString, blue);
    QFETCH(QColor, expected);
    open();
    type(controlName(id::frameRed), red);
    type(controlName(id::frameGreen), green);
    type(controlName(id::frameBlue), blue);
    QCOMPARE(swatchPixel({6, 6}), expected);
    QCOMPARE(swatchPixel({1, 1}), expected);
    QCOMPARE(swatchPixel({0, 6}), QColor(Qt::black));
}

void CDetailDlgTest::okStoresTheTwelveValues_data()
{
    QTest::addColumn<QString>("rowsText");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("colsText");
    QTest::addColumn<int>("cols");
    QTest::newRow("list numbers") << u"4"_s << 4 << u"20"_s << 20;
    QTest::newRow("leading number") << u"7abc"_s << 7 << u"abc"_s << 0;
    QTest::newRow("beyond the list") << u"-3"_s << -3 << u"99"_s << 99;
}

void CDetailDlgTest::okStoresTheTwelveValues()
{
    QFETCH(QString, rowsText);
    QFETCH(int, rows);
    QFETCH(QString, colsText);
    QFETCH(int, cols);
    open();
    const QStringList typed{u"11"_s,  u"-12"_s, u"13"_s, u"14"_s,
                            u"300"_s, u"16"_s,  u"17"_s, u"0"_s};
    for (qsizetype i = 0; i < fieldNames.size(); ++i)
        type(fieldNames[i], typed[i]);
    QTest::mouseClick(control<QCheckBox>(id::drawFrame), Qt::LeftButton);
    type(controlName(id::maxRows), rowsText);
    type(controlName(id::maxCols), colsText);
    QTest::mouseClick(control<QPushButton>(ids::ok), Qt::LeftButton);

    QVERIFY(!dialog_->isVisible());
    QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    const SettingsStore reread(storePath_);
    OptionValues expected;
    expected.offsetX = 11;
    expected.offsetY = -12;
    expected.gapV = 13;
    expected.gapH = 14;
    expected.frameRed = 300;
    expected.frameGreen = 16;
    expected.frameBlue = 17;
    expected.fontPercent = 0;
    expected.drawFrame = 1;
    expected.limitGrid = 0;
    expected.maxRows = rows;
    expected.maxCols = cols;
    QCOMPARE(loadOptionValues(reread), expected);
    QCOMPARE(storedKeys(storePath_, u"Option"_s).size(), 12);
}

void CDetailDlgTest::rejectedFieldStoresNothingAndStaysOpen_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("first, letters") << controlName(id::offsetX) << u"abc"_s;
    QTest::newRow("middle, empty") << controlName(id::frameRed) << QString();
    QTest::newRow("last, number and letters") << controlName(id::fontPercent) << u"12x"_s;
    QTest::newRow("beyond 32 bits") << controlName(id::gapV) << u"3000000000"_s;
}

// All fields are read before anything is stored: a rejected field gets one
// message per press of OK and the focus, the store stays as it was, and the
// dialog waits for the correction.
void CDetailDlgTest::rejectedFieldStoresNothingAndStaysOpen()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    open();
    for (const QString& name : fieldNames)
        type(name, u"42"_s);
    type(field, text);

    MessageCatcher catcher;
    QTest::mouseClick(control<QPushButton>(ids::ok), Qt::LeftButton);
    settle();
    QCOMPARE(catcher.messages(), QStringList{QString::fromUtf16(DataExchange::rejectionMessage)});
    QVERIFY(dialog_->isVisible());
    // The field holds the dialog's focus once the message has gone.
    QCOMPARE(dialog_->focusWidget()->objectName(), field);
    QVERIFY(storedKeys(storePath_, u"Option"_s).isEmpty());

    QTest::mouseClick(control<QPushButton>(ids::ok), Qt::LeftButton);
    settle();
    QCOMPARE(catcher.messages().size(), 2);
    QVERIFY(storedKeys(storePath_, u"Option"_s).isEmpty());

    type(field, u"42"_s);
    QTest::mouseClick(control<QPushButton>(ids::ok), Qt::LeftButton);
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(catcher.messages().size(), 2);
    const OptionValues stored = loadOptionValues(SettingsStore(storePath_));
    QCOMPARE(stored.offsetX, 42);
    QCOMPARE(stored.fontPercent, 42);
    QCOMPARE(stored.frameBlue, 42);
}

void CDetailDlgTest::cancelStoresNothing_data()
{
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("cancel button") << false;
    QTest::newRow("escape") << true;
}

void CDetailDlgTest::cancelStoresNothing()
{
    QFETCH(bool, byEscape);
    open();
    type(controlName(id::offsetX), u"5"_s);
    type(controlName(id::gapV), u"abc"_s);
    chooser_.answer = QColor(Qt::red);
    QTest::mouseClick(control<QPushButton>(id::chooseColor), Qt::LeftButton);
    MessageCatcher catcher;
    if (byEscape)
        QTest::keyClick(control<QLineEdit>(id::offsetX), Qt::Key_Escape);
    else
        QTest::mouseClick(control<QPushButton>(ids::cancel), Qt::LeftButton);
    settle();
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(dialog_->result(), int(QDialog::Rejected));
    QVERIFY(catcher.messages().isEmpty());
    QVERIFY(storedKeys(storePath_, u"Option"_s).isEmpty());
}

void CDetailDlgTest::enterInAFieldAccepts()
{
    open();
    type(controlName(id::gapV), u"8"_s);
    QTest::keyClick(control<QLineEdit>(id::gapV), Qt::Key_Return);
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    QCOMPARE(loadOptionValues(SettingsStore(storePath_)).gapV, 8);
}

void CDetailDlgTest::colourChooserFillsTheColourFields()
{
    open();
    type(controlName(id::frameRed), u"9"_s);
    type(controlName(id::gapH), u"42"_s); // typed after the last paint, kept
    chooser_.answer = QColor(255, 0, 0);
    QTest::mouseClick(control<QPushButton>(id::chooseColor), Qt::LeftButton);

    QCOMPARE(chooser_.calls, 1);
    QCOMPARE(chooser_.initialSeen, QColor(Qt::black));
    QCOMPARE(control<QLineEdit>(id::frameRed)->text(), u"255"_s);
    QCOMPARE(control<QLineEdit>(id::frameGreen)->text(), u"0"_s);
    QCOMPARE(control<QLineEdit>(id::frameBlue)->text(), u"0"_s);
    QCOMPARE(control<QLineEdit>(id::gapH)->text(), u"42"_s);
    QCOMPARE(swatchPixel({6, 6}), QColor(255, 0, 0));
    QVERIFY(storedKeys(storePath_, u"Option"_s).isEmpty());
}

void CDetailDlgTest::cancelledColourChooserChangesNothing()
{
    open();
    type(controlName(id::frameGreen), u"7"_s);
    chooser_.answer.reset();
    QTest::mouseClick(control<QPushButton>(id::chooseColor), Qt::LeftButton);
    QCOMPARE(chooser_.calls, 1);
    QCOMPARE(control<QLineEdit>(id::frameRed)->text(), u"224"_s);
    QCOMPARE(control<QLineEdit>(id::frameGreen)->text(), u"7"_s);
    QCOMPARE(swatchPixel({6, 6}), QColor(224, 7, 224));
}

// A field that is not a number never brings up a message from a repaint.
void CDetailDlgTest::paintingShowsNoMessage()
{
    open();
    type(controlName(id::offsetX), u"abc"_s);
    bool modalSeen = false;
    handleNextModal(
        [&](QWidget* modal) {
            modalSeen = true;
            modal->close();
        },
        nullptr, 500);
    for (int i = 0; i < 5; ++i) {
        dialog_->repaint();
        control<QWidget>(id::swatch)->grab();
    }
    settle(600);
    QVERIFY(!modalSeen);
    QVERIFY(dialog_->isVisible());
}

void CDetailDlgTest::okRepaintsTheOwner()
{
    open();
    PaintCounter paints(owner_.get());
    settle();
    paints.count = 0;
    QTest::mouseClick(control<QPushButton>(ids::ok), Qt::LeftButton);
    QTRY_VERIFY(paints.count > 0);
}

QTEST_MAIN(CDetailDlgTest)
#include "tst_detaildlg.moc"
