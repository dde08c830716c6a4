#include "FakeColorChooser.h"
#include "FakePrintDialog.h"
#include "settings/SettingsStore.h"
#include "ui/CMainDlg.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>

using namespace zorvane;
using namespace Qt::StringLiterals;

namespace {

// A widget into which the user types, chooses or ticks something.
bool takesInput(const QWidget* widget)
{
    if (qobject_cast<const QScrollBar*>(widget))
        return false;
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->isCheckable(); // check boxes and radio buttons
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QAbstractItemView*>(widget) ||
           qobject_cast<const QAbstractSlider*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget);
}

// The edit inside a combo box or a spin box is part of it, not a field of
// its own.
bool insideAnotherInput(const QWidget* widget, const QWidget* dialog)
{
    for (const QWidget* parent = widget->parentWidget(); parent && parent != dialog;
         parent = parent->parentWidget()) {
        if (takesInput(parent))
            return true;
    }
    return false;
}

// A name of its own: set on it, taken from a buddy label, or a button's text.
// Not what a screen reader would fall back to (an edit's or a combo box's
// current text), which says nothing about what the field is for.
bool hasOwnName(QWidget* widget, const QWidget* dialog)
{
    if (!widget->accessibleName().trimmed().isEmpty())
        return true;
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return !QString(button->text()).remove(u'&').trimmed().isEmpty();
    const QList<QLabel*> labels = dialog->findChildren<QLabel*>();
    return std::any_of(labels.begin(), labels.end(), [widget](const QLabel* label) {
        return label->buddy() == widget && !label->text().trimmed().isEmpty();
    });
}

QStringList unnamedInputs(QWidget* dialog)
{
    QStringList unnamed;
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(dialog) || !takesInput(widget) ||
            insideAnotherInput(widget, dialog))
            continue;
        if (!hasOwnName(widget, dialog))
            unnamed.append(QString::fromLatin1(widget->metaObject()->className()) + u" '"_s +
                           widget->objectName() + u'\'');
    }
    return unnamed;
}

bool isQtsOwnDialog(const QWidget* widget)
{
    return qobject_cast<const QFileDialog*>(widget) || qobject_cast<const QColorDialog*>(widget) ||
           qobject_cast<const QPrintDialog*>(widget);
}

} // namespace

// Opens every dialog the main window can open, through its buttons and its
// right-click menu, and checks that every input control in each one has a
// name a screen reader can speak. Dialogs added later are found the same way.
class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void everyInputOfEveryDialogHasAName();

private:
    void watchModals();
    void record(QWidget* dialog);
    void pressEveryButton();
    void chooseEveryMenuEntry();

    QTemporaryDir dir_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<CMainDlg> window_;
    QTimer watcher_;
    std::map<QString, QStringList> unnamedByDialog_;
    int menuEntry_ = -1; // the entry to choose when the menu pops up
    int menuEntries_ = 0;
};

void TestAccessibility::init()
{
    store_ = std::make_unique<SettingsStore>(dir_.filePath(u"store.ini"_s));
    window_ = std::make_unique<CMainDlg>(*store_, nullptr, dir_.filePath(u"devmode.zvn"_s));
    // The standard dialogs stay shut: the walk is about our own dialogs.
    window_->setColorChooser(std::make_unique<test::FakeColorChooser>());
    window_->setPrintDialog(std::make_unique<test::FakePrintDialog>());
    window_->setPictureFileChooser([](QWidget*) { return QString(); });
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    connect(&watcher_, &QTimer::timeout, this, &TestAccessibility::watchModals);
    watcher_.start(10);
}

void TestAccessibility::cleanup()
{
    watcher_.stop();
    watcher_.disconnect();
    window_.reset();
    store_.reset();
}

void TestAccessibility::record(QWidget* dialog)
{
    const QString title = dialog->windowTitle() + u" ("_s +
                          QString::fromLatin1(dialog->metaObject()->className()) + u')';
    unnamedByDialog_[title] = unnamedInputs(dialog);
}

// Runs inside the nested event loops of menus and modal dialogs.
void TestAccessibility::watchModals()
{
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        const QList<QAction*> actions = menu->actions();
        menuEntries_ = int(actions.size());
        QAction* chosen =
            menuEntry_ >= 0 && menuEntry_ < actions.size() ? actions[menuEntry_] : nullptr;
        if (!chosen || chosen->isSeparator() || chosen->menu() || !chosen->isEnabled()) {
            menu->close();
            return;
        }
        // Chosen from the event loop, not from inside this timer's slot, so
        // the timer still fires in the dialog that the entry may open.
        QMetaObject::invokeMethod(
            menu,
            [menu, chosen] {
                menu->setActiveAction(chosen);
                QTest::keyClick(menu, Qt::Key_Return);
            },
            Qt::QueuedConnection);
        return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == window_.get())
        return;
    if (!isQtsOwnDialog(modal))
        record(modal);
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}

void TestAccessibility::pressEveryButton()
{
    const QList<QPushButton*> buttons = window_->findChildren<QPushButton*>();
    for (QPushButton* button : buttons) {
        if (!button->isVisible() || !button->isEnabled())
            continue;
        button->click();
        QCoreApplication::processEvents();
        if (!window_->isVisible()) // the close button
            window_->show();
    }
}

void TestAccessibility::chooseEveryMenuEntry()
{
    const QPoint inside(5, 5);
    for (menuEntry_ = -1; menuEntry_ < menuEntries_; ++menuEntry_) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, inside, window_->mapToGlobal(inside));
        QApplication::sendEvent(window_.get(), &event);
        QCoreApplication::processEvents();
        if (!window_->isVisible())
            window_->show();
    }
}

void TestAccessibility::everyInputOfEveryDialogHasAName()
{
    record(window_.get());
    pressEveryButton();
    chooseEveryMenuEntry();

    // The walk reached dialogs through a button and through the menu.
    QStringList titles;
    for (const auto& [title, unnamed] : unnamedByDialog_)
        titles.append(title);
    QVERIFY2(titles.filter(u"詳細設定"_s).size() == 1, qPrintable(titles.join(u", ")));
    QVERIFY2(titles.filter(u"ﾊﾞｰｼﾞｮﾝ情報"_s).size() == 1, qPrintable(titles.join(u", ")));

    for (const auto& [title, unnamed] : unnamedByDialog_)
        QVERIFY2(unnamed.isEmpty(), qPrintable(title + u": "_s + unnamed.join(u", ")));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
