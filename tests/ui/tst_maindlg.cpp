#include "GuiTestHelpers.h"

#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"
#include "ui/CAboutDlg.h"
#include "ui/CDetailDlg.h"
#include "ui/CMainDlg.h"
#include "ui/DialogTemplates.h"
#include "ui/DroppedFiles.h"
#include "ui/framework/DataExchange.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <memory>

using namespace zorvane;
using namespace zorvane::test;
using namespace Qt::StringLiterals;
namespace id = zorvane::ids::main;

namespace {

const QStringList radioNames{
    controlName(id::typeA),          controlName(id::typeB),     controlName(id::typeD),
    controlName(id::typeOther),      controlName(id::paperA4),   controlName(id::paperB5),
    controlName(id::paperA4Quarter), controlName(id::rowsFirst), controlName(id::columnsFirst)};

enum class CloseBy
{
    CloseButton,
    Escape,
    EscapeInCount,
    WindowClose,
    EnterOnOpening
};

} // namespace

Q_DECLARE_METATYPE(CloseBy)

class CMainDlgTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void firstRunShowsDefaults();
    void tabOrderFollowsTheTemplate();
    void radioGroupsExcludeWithinTheirGroupOnly();
    void storeRoundTripThroughCloseAndReopen_data();
    void storeRoundTripThroughCloseAndReopen();
    void handEditedStoreShowsFirstRadioOfEachGroup();
    void enterInAFieldDoesNothing_data();
    void enterInAFieldDoesNothing();
    void rejectedFieldOnCloseKeepsTheLastAcceptedValues();
    void contextMenuEndsWithSeparatorAndAbout();
    void aboutEntryOpensTheAboutBox();
    void systemCommandsSixteenToThirtyOneOpenAbout_data();
    void systemCommandsSixteenToThirtyOneOpenAbout();
    void f1OpensAbout();
    void detailButtonOpensTheAdvancedDialog();
    void layoutChangesRepaintThePreview_data();
    void layoutChangesRepaintThePreview();
    void previewValuesFollowTheFieldsSilently();
    void firstLocalFileOfADrop_data();
    void firstLocalFileOfADrop();

private:
    std::unique_ptr<CMainDlg> openMain();
    template<typename T> T* control(int id) const { return findControl<T>(window_.get(), id); }
    template<typename T> T* control(const QString& name) const
    {
        return findControl<T>(window_.get(), name);
    }
    void writeStore(const QString& section, const QString& key, const QVariant& value);

    std::unique_ptr<QTemporaryDir> dir_;
    QString storePath_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<CMainDlg> window_;
};

void CMainDlgTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    storePath_ = dir_->filePath(u"Zorvane.ini"_s);
    store_ = std::make_unique<SettingsStore>(storePath_);
}

void CMainDlgTest::cleanup()
{
    window_.reset();
    store_.reset();
    dir_.reset();
}

std::unique_ptr<CMainDlg> CMainDlgTest::openMain()
{
    auto window = std::make_unique<CMainDlg>(*store_, nullptr, dir_->filePath(u"devmode.zvn"_s));
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("main window not active");
    return window;
}

void CMainDlgTest::writeStore(const QString& section, const QString& key, const QVariant& value)
{
    store_.reset();
    {
        QSettings file(storePath_, QSettings::IniFormat);
        file.setValue(section + u'/' + key, value);
    }
    store_ = std::make_unique<SettingsStore>(storePath_);
}

void CMainDlgTest::firstRunShowsDefaults()
{
    window_ = openMain();
    QCOMPARE(window_->windowTitle(), u"Zorvane"_s);
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    QVERIFY(!window_->windowIcon().isNull());
    QVERIFY(!(window_->windowFlags() & Qt::WindowMinMaxButtonsHint));

    QCOMPARE(control<QLineEdit>(id::customWidth)->text(), u"0"_s);
    QCOMPARE(control<QLineEdit>(id::customHeight)->text(), u"0"_s);
    QCOMPARE(control<QLineEdit>(id::resolution)->text(), u"0"_s);
    QCOMPARE(control<QLineEdit>(id::imagePath)->text(), QString());
    QVERIFY(!control<QLineEdit>(id::imagePath)->isReadOnly());

    auto* count = control<QComboBox>(id::count);
    QCOMPARE(count->currentText(), QString());
    QCOMPARE(count->count(), 50);
    for (int i = 0; i < 50; ++i)
        QCOMPARE(count->itemText(i), QString::number(i + 1));

    const QList<bool> expected{true, false, false, false, true, false, false, true, false};
    for (qsizetype i = 0; i < radioNames.size(); ++i)
        QCOMPARE(control<QRadioButton>(radioNames[i])->isChecked(), expected[i]);
    QVERIFY(!control<QCheckBox>(id::keepAspect)->isChecked());

    for (QPushButton* button : window_->findChildren<QPushButton*>())
        QVERIFY2(!button->isDefault() && !button->autoDefault(), qPrintable(button->text()));
    QCOMPARE(focusedControlName(), controlName(ids::main::close));
    QCOMPARE(control<QPushButton>(ids::main::close)->text(), u"閉じる"_s);
    QCOMPARE(control<QPushButton>(id::printStart)->text(), u"印刷開始"_s);
    QCOMPARE(control<QPushButton>(id::detailSettings)->text(), u"詳細設定"_s);
    QCOMPARE(control<QCheckBox>(id::keepAspect)->text(), u"縦横比固定"_s);
    QVERIFY(storedKeys(storePath_, u"Main"_s).isEmpty());
}

void CMainDlgTest::tabOrderFollowsTheTemplate()
{
    window_ = openMain();
    const QStringList expected{controlName(id::imagePath),      controlName(id::printStart),
                               controlName(id::customWidth),    controlName(id::customHeight),
                               controlName(id::detailSettings), controlName(id::browsePicture),
                               controlName(id::resolution),     controlName(id::count),
                               controlName(id::keepAspect),     controlName(ids::main::close)};
    QCOMPARE(focusedControlName(), controlName(ids::main::close));
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << focusedControlName();
    }
    QCOMPARE(visited, expected);
}

void CMainDlgTest::radioGroupsExcludeWithinTheirGroupOnly()
{
    window_ = openMain();
    QTest::mouseClick(control<QRadioButton>(id::typeD), Qt::LeftButton);
    QTest::mouseClick(control<QRadioButton>(id::paperA4Quarter), Qt::LeftButton);
    QTest::mouseClick(control<QRadioButton>(id::columnsFirst), Qt::LeftButton);
    const QList<bool> expected{false, false, true, false, false, false, true, false, true};
    for (qsizetype i = 0; i < radioNames.size(); ++i)
        QCOMPARE(control<QRadioButton>(radioNames[i])->isChecked(), expected[i]);
}

void CMainDlgTest::storeRoundTripThroughCloseAndReopen_data()
{
    QTest::addColumn<CloseBy>("closeBy");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("typeRadio");
    QTest::addColumn<QString>("paperRadio");
    QTest::addColumn<QString>("orderRadio");
    QTest::addColumn<bool>("keepAspect");

    QTest::newRow("close button") << CloseBy::CloseButton << u"123"_s << u"456"_s << u"17"_s
                                  << controlName(id::typeOther) << controlName(id::paperA4Quarter)
                                  << controlName(id::columnsFirst) << true;
    QTest::newRow("escape, negative size, letters")
        << CloseBy::Escape << u"-5"_s << u"0"_s << u"abc"_s << controlName(id::typeB)
        << controlName(id::paperB5) << controlName(id::rowsFirst) << false;
    QTest::newRow("escape in the count field")
        << CloseBy::EscapeInCount << u"1"_s << u"2"_s << u"50"_s << controlName(id::typeA)
        << controlName(id::paperA4) << controlName(id::rowsFirst) << false;
    QTest::newRow("window close, count with blanks")
        << CloseBy::WindowClose << u"884"_s << u"302"_s << u" 12x"_s << controlName(id::typeD)
        << controlName(id::paperA4) << controlName(id::columnsFirst) << true;
    QTest::newRow("enter on opening stores defaults")
        << CloseBy::EnterOnOpening << QString() << QString() << QString() << QString() << QString()
        << QString() << false;
}

void CMainDlgTest::storeRoundTripThroughCloseAndReopen()
{
    QFETCH(CloseBy, closeBy);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, count);
    QFETCH(QString, typeRadio);
    QFETCH(QString, paperRadio);
    QFETCH(QString, orderRadio);
    QFETCH(bool, keepAspect);

    window_ = openMain();
    const bool edits = closeBy != CloseBy::EnterOnOpening;
    if (edits) {
        auto typeInto = [](QLineEdit* edit, const QString& text) {
            edit->selectAll();
            QTest::keyClicks(edit, text);
        };
        typeInto(control<QLineEdit>(id::customWidth), width);
        typeInto(control<QLineEdit>(id::customHeight), height);
        typeInto(control<QLineEdit>(id::resolution), u"300"_s);
        QTest::keyClicks(control<QComboBox>(id::count)->lineEdit(), count);
        QTest::mouseClick(control<QRadioButton>(typeRadio), Qt::LeftButton);
        QTest::mouseClick(control<QRadioButton>(paperRadio), Qt::LeftButton);
        QTest::mouseClick(control<QRadioButton>(orderRadio), Qt::LeftButton);
        if (keepAspect)
            QTest::mouseClick(control<QCheckBox>(id::keepAspect), Qt::LeftButton);
        QVERIFY(storedKeys(storePath_, u"Main"_s).isEmpty());
    }

    switch (closeBy) {
    case CloseBy::CloseButton:
        QTest::mouseClick(control<QPushButton>(ids::main::close), Qt::LeftButton);
        break;
    case CloseBy::Escape:
        QTest::keyClick(control<QLineEdit>(id::customWidth), Qt::Key_Escape);
        break;
    case CloseBy::EscapeInCount:
        QTest::keyClick(control<QComboBox>(id::count)->lineEdit(), Qt::Key_Escape);
        break;
    case CloseBy::WindowClose:
        QVERIFY(window_->close());
        break;
    case CloseBy::EnterOnOpening:
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        break;
    }
    QVERIFY(!window_->isVisible());
    QCOMPARE(window_->result(), int(QDialog::Rejected));

    // Exactly the thirteen "Main" keys; the resolution and the path are not kept.
    QStringList keys = storedKeys(storePath_, u"Main"_s);
    keys.sort();
    QCOMPARE(keys, (QStringList{u"CHK1"_s, u"COMBO1"_s, u"EDIT2"_s, u"EDIT3"_s, u"RADIO1"_s,
                                u"RADIO2"_s, u"RADIO3"_s, u"RADIO4"_s, u"RADIO5"_s, u"RADIO6"_s,
                                u"RADIO7"_s, u"RADIO8"_s, u"RADIO9"_s}));
    QVERIFY(storedKeys(storePath_, u"Option"_s).isEmpty());

    const QString expectedWidth = edits ? width : u"0"_s;
    const QString expectedHeight = edits ? height : u"0"_s;
    const SettingsStore reread(storePath_);
    QCOMPARE(reread.GetProfileInt("Main", "EDIT2", 99), expectedWidth.toInt());
    QCOMPARE(reread.GetProfileInt("Main", "EDIT3", 99), expectedHeight.toInt());
    QCOMPARE(reread.GetProfileString("Main", "COMBO1", u"?"_s), count);

    window_.reset();
    store_ = std::make_unique<SettingsStore>(storePath_);
    window_ = openMain();
    QCOMPARE(control<QLineEdit>(id::customWidth)->text(), expectedWidth);
    QCOMPARE(control<QLineEdit>(id::customHeight)->text(), expectedHeight);
    QCOMPARE(control<QLineEdit>(id::resolution)->text(), u"0"_s);
    QCOMPARE(control<QComboBox>(id::count)->currentText(), count);
    const QString type = edits ? typeRadio : controlName(id::typeA);
    const QString paper = edits ? paperRadio : controlName(id::paperA4);
    const QString order = edits ? orderRadio : controlName(id::rowsFirst);
    for (const QString& name : radioNames) {
        const bool on = name == type || name == paper || name == order;
        QVERIFY2(control<QRadioButton>(name)->isChecked() == on, qPrintable(name));
    }
    QCOMPARE(control<QCheckBox>(id::keepAspect)->isChecked(), keepAspect);
}

void CMainDlgTest::handEditedStoreShowsFirstRadioOfEachGroup()
{
    writeStore(u"Main"_s, u"RADIO1"_s, 1);
    writeStore(u"Main"_s, u"RADIO2"_s, 1);
    writeStore(u"Main"_s, u"RADIO5"_s, 0); // no paper at all
    writeStore(u"Main"_s, u"RADIO9"_s, 1); // RADIO8 keeps its default 1
    writeStore(u"Main"_s, u"CHK1"_s, 2);
    window_ = openMain();

    const QList<bool> expected{true, false, false, false, false, false, false, true, false};
    for (qsizetype i = 0; i < radioNames.size(); ++i)
        QVERIFY2(control<QRadioButton>(radioNames[i])->isChecked() == expected[i],
                 qPrintable(radioNames[i]));
    QVERIFY(control<QCheckBox>(id::keepAspect)->isChecked());
    QCOMPARE(window_->currentValues().paper, std::nullopt);

    QTest::mouseClick(control<QRadioButton>(id::typeD), Qt::LeftButton);
    QVERIFY(!control<QRadioButton>(id::typeA)->isChecked());
    QVERIFY(control<QRadioButton>(id::typeD)->isChecked());

    window_->close();
    const SettingsStore reread(storePath_);
    const MainButtonStates states = loadMainButtonStates(reread);
    QCOMPARE(states.ticket, (std::array<int, 4>{0, 0, 1, 0}));
    QCOMPARE(states.paper, (std::array<int, 3>{0, 0, 0}));
    QCOMPARE(states.order, (std::array<int, 2>{1, 0}));
    QCOMPARE(states.keepAspect, 1);
}

void CMainDlgTest::enterInAFieldDoesNothing_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("width") << controlName(id::customWidth);
    QTest::newRow("path") << controlName(id::imagePath);
    QTest::newRow("resolution") << controlName(id::resolution);
    QTest::newRow("count") << controlName(id::count);
    QTest::newRow("type radio") << controlName(id::typeB);
}

void CMainDlgTest::enterInAFieldDoesNothing()
{
    QFETCH(QString, field);
    window_ = openMain();
    QWidget* widget = control<QWidget>(field);
    widget->setFocus();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        widget = combo->lineEdit();
    QTest::keyClick(widget, Qt::Key_Return);
    QTest::keyClick(widget, Qt::Key_Enter, Qt::KeypadModifier);
    settle();
    QVERIFY(window_->isVisible());
    QVERIFY(storedKeys(storePath_, u"Main"_s).isEmpty());
}

void CMainDlgTest::rejectedFieldOnCloseKeepsTheLastAcceptedValues()
{
    writeStore(u"Main"_s, u"EDIT2"_s, 50);
    writeStore(u"Main"_s, u"EDIT3"_s, 60);
    writeStore(u"Main"_s, u"COMBO1"_s, u"8"_s);
    window_ = openMain();
    auto* width = control<QLineEdit>(id::customWidth);
    width->selectAll();
    QTest::keyClicks(width, u"12a"_s);
    auto* height = control<QLineEdit>(id::customHeight);
    height->selectAll();
    QTest::keyClicks(height, u"70"_s);

    MessageCatcher catcher;
    QTest::mouseClick(control<QPushButton>(ids::main::close), Qt::LeftButton);
    QCOMPARE(catcher.messages(), QStringList{QString::fromUtf16(DataExchange::rejectionMessage)});
    QCOMPARE(catcher.titles(), QStringList{QCoreApplication::applicationName()});
    QVERIFY(!window_->isVisible());

    // Reading stopped at the width: it and every later field keep the values
    // they had, and the close still stores.
    const SettingsStore reread(storePath_);
    QCOMPARE(reread.GetProfileInt("Main", "EDIT2", 0), 50);
    QCOMPARE(reread.GetProfileInt("Main", "EDIT3", 0), 60);
    QCOMPARE(reread.GetProfileString("Main", "COMBO1", QString()), u"8"_s);
}

void CMainDlgTest::contextMenuEndsWithSeparatorAndAbout()
{
    window_ = openMain();
    auto* menu = window_->findChild<QMenu*>(u"systemMenu"_s);
    QVERIFY(menu);
    const QList<QAction*> actions = menu->actions();
    QVERIFY(actions.size() >= 2);
    QVERIFY(actions[actions.size() - 2]->isSeparator());
    QCOMPARE(actions.last()->text(), u"Zorvane のﾊﾞｰｼﾞｮﾝ情報(&A)..."_s);
}

void CMainDlgTest::aboutEntryOpensTheAboutBox()
{
    window_ = openMain();
    QString menuSeen;
    QString aboutTitle;
    QString aboutText;
    // Right-click on the background opens the menu; its last entry opens
    // the About box, which OK closes.
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        menuSeen = menu->objectName();
        handleNextModal([&](QWidget* modal) {
            aboutTitle = modal->windowTitle();
            if (auto* about = qobject_cast<CAboutDlg*>(modal)) {
                aboutText = about->findChildren<QLabel*>().last()->text();
                QTest::mouseClick(findControl<QPushButton>(about, ids::ok), Qt::LeftButton);
            } else {
                modal->close();
            }
        });
        QAction* about = menu->actions().last();
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(about).center());
    });
    const QPoint background(5, window_->height() - 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, background, window_->mapToGlobal(background));
    QApplication::sendEvent(window_.get(), &event);
    QTRY_COMPARE(aboutTitle, u"Zorvaneのﾊﾞｰｼﾞｮﾝ情報"_s);
    QCOMPARE(menuSeen, u"systemMenu"_s);
    QCOMPARE(aboutText, u"Zorvane Version 1.10"_s);
    QVERIFY(window_->isVisible());
    QVERIFY(storedKeys(storePath_, u"Main"_s).isEmpty());
}

void CMainDlgTest::systemCommandsSixteenToThirtyOneOpenAbout_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("opensAbout");
    QTest::newRow("16") << 16 << true;
    QTest::newRow("17") << 17 << true;
    QTest::newRow("31") << 31 << true;
    QTest::newRow("15") << 15 << false;
    QTest::newRow("32") << 32 << false;
}

void CMainDlgTest::systemCommandsSixteenToThirtyOneOpenAbout()
{
    QFETCH(int, command);
    QFETCH(bool, opensAbout);
    window_ = openMain();
    bool opened = false;
    handleNextModal(
        [&](QWidget* modal) {
            opened = qobject_cast<CAboutDlg*>(modal) != nullptr;
            modal->close();
        },
        nullptr, 300);
    QVERIFY(QMetaObject::invokeMethod(window_.get(), "OnSysCommand", Q_ARG(int, command)));
    settle(400);
    QCOMPARE(opened, opensAbout);
    QVERIFY(window_->isVisible());
}

void CMainDlgTest::f1OpensAbout()
{
    window_ = openMain();
    bool opened = false;
    handleNextModal([&](QWidget* modal) {
        opened = qobject_cast<CAboutDlg*>(modal) != nullptr;
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    QTest::keyClick(control<QLineEdit>(id::customWidth), Qt::Key_F1);
    QVERIFY(opened);
    QVERIFY(window_->isVisible());
}

void CMainDlgTest::detailButtonOpensTheAdvancedDialog()
{
    window_ = openMain();
    PaintCounter paints(window_.get());
    QString title;
    handleNextModal([&](QWidget* modal) {
        title = modal->windowTitle();
        if (qobject_cast<CDetailDlg*>(modal)) {
            auto* gap = findControl<QLineEdit>(modal, ids::detail::gapV);
            gap->selectAll();
            QTest::keyClicks(gap, u"25"_s);
            paints.count = 0;
            QTest::mouseClick(findControl<QPushButton>(modal, ids::ok), Qt::LeftButton);
        } else {
            modal->close();
        }
    });
    QTest::mouseClick(control<QPushButton>(id::detailSettings), Qt::LeftButton);
    QCOMPARE(title, u"詳細設定"_s);
    // Accepting stored the values and repainted the main window.
    QTRY_VERIFY(paints.count > 0);
    const SettingsStore reread(storePath_);
    QCOMPARE(loadOptionValues(reread).gapV, 25);
    QVERIFY(window_->isVisible());
}

void CMainDlgTest::layoutChangesRepaintThePreview_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("repaints");
    QTest::newRow("paper B5") << u"click 1013"_s << true;
    QTest::newRow("paper A4 quarter") << u"click 1014"_s << true;
    QTest::newRow("down first") << u"click 1017"_s << true;
    QTest::newRow("count chosen from the list") << u"choose 1015"_s << true;
    QTest::newRow("count typed") << u"type 1015"_s << true;
    // Without a picture the type and the size change nothing but their controls.
    QTest::newRow("type radio") << u"click 1003"_s << false;
    QTest::newRow("width typed") << u"type 1006"_s << false;
}

void CMainDlgTest::layoutChangesRepaintThePreview()
{
    QFETCH(QString, action);
    QFETCH(bool, repaints);
    window_ = openMain();
    QWidget* preview = control<QWidget>(id::previewBox);
    PaintCounter paints(preview);
    settle();
    paints.count = 0;

    const QString name = action.section(u' ', 1);
    if (action.startsWith(u"click")) {
        QTest::mouseClick(control<QRadioButton>(name), Qt::LeftButton);
    } else if (action.startsWith(u"choose")) {
        control<QComboBox>(name)->setCurrentIndex(4);
    } else if (auto* combo = qobject_cast<QComboBox*>(control<QWidget>(name))) {
        QTest::keyClicks(combo->lineEdit(), u"7"_s);
    } else {
        QTest::keyClicks(control<QLineEdit>(name), u"7"_s);
    }
    settle();
    QCOMPARE(paints.count > 0, repaints);
    if (action.startsWith(u"choose"))
        QCOMPARE(control<QComboBox>(name)->currentText(), u"5"_s);
}

// A repaint takes the count as typed, and a width that is not a number
// keeps the last accepted width without bringing up a message.
void CMainDlgTest::previewValuesFollowTheFieldsSilently()
{
    writeStore(u"Main"_s, u"EDIT2"_s, 500);
    window_ = openMain();
    QTest::keyClicks(control<QComboBox>(id::count)->lineEdit(), u"12"_s);
    QTest::mouseClick(control<QRadioButton>(id::typeOther), Qt::LeftButton);
    QTest::mouseClick(control<QRadioButton>(id::paperA4Quarter), Qt::LeftButton);
    MainValues values = window_->valuesForPreview();
    QCOMPARE(values.countText, u"12"_s);
    QCOMPARE(requestedCount(values), 12);
    QCOMPARE(values.ticketType, TicketType::Other);
    QCOMPARE(values.paper, PaperKind::A4Quarter);
    QCOMPARE(values.fillOrder, FillOrder::RowsFirst);

    MessageCatcher catcher;
    auto* width = control<QLineEdit>(id::customWidth);
    width->selectAll();
    QTest::keyClicks(width, u"6x"_s);
    QTest::keyClicks(control<QComboBox>(id::count)->lineEdit(), u"3"_s);
    values = window_->valuesForPreview();
    settle();
    QVERIFY(catcher.messages().isEmpty());
    QCOMPARE(values.customWidth, 500);
    QCOMPARE(values.countText, u"12"_s); // read stops at the rejected width
}

void CMainDlgTest::firstLocalFileOfADrop_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one file") << QList<QUrl>{QUrl::fromLocalFile(u"/tmp/a b.jpg"_s)}
                              << u"/tmp/a b.jpg"_s;
    QTest::newRow("web first") << QList<QUrl>{QUrl(u"https://example.org/x.jpg"_s),
                                              QUrl::fromLocalFile(u"/p/x.png"_s),
                                              QUrl::fromLocalFile(u"/p/y.png"_s)}
                               << u"/p/x.png"_s;
    QTest::newRow("no file") << QList<QUrl>{QUrl(u"https://example.org/x.jpg"_s)} << QString();
    QTest::newRow("nothing") << QList<QUrl>{} << QString();
}

void CMainDlgTest::firstLocalFileOfADrop()
{
    QFETCH(QList<QUrl>, urls);
    QFETCH(QString, expected);
    QCOMPARE(firstLocalFile(urls).value_or(QString()), expected);
}

QTEST_MAIN(CMainDlgTest)
#include "tst_maindlg.moc"
