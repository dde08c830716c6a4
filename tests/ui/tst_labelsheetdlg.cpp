#include "GuiTestHelpers.h"
#include "TestFiles.h"

#include "picture/ResolutionEstimate.h"
#include "print/CorrectedPrinter.h"
#include "settings/CalibrationStore.h"
#include "settings/LabelDatabase.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"
#include "ui/CMainDlg.h"
#include "ui/LabelSheetDlg.h"
#include "ui/PreviewWidget.h"
#include "ui/SheetChoicesMenu.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <memory>

using namespace zorvane;
using namespace zorvane::test;
using namespace Qt::StringLiterals;

namespace {

const QString installedFolder =
    u"/usr/share/"_s + QString::fromUtf16(LabelDatabase::installedSubfolder);

QStringList visibleRows(const QTreeWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        if (item->isHidden())
            continue;
        QStringList cells;
        for (int column = 0; column < list->columnCount(); ++column)
            cells.append(item->text(column));
        rows.append(cells.join(u'|'));
    }
    return rows;
}

QTreeWidgetItem* firstVisibleItem(const QTreeWidget* list)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (!list->topLevelItem(i)->isHidden())
            return list->topLevelItem(i);
    }
    return nullptr;
}

} // namespace

class LabelSheetDlgTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void searchChooseAndApply();
    void partlyPrintedSheetSaysSo();
    void cancelChangesNothing();
    void withoutDatabaseTheEntrySaysSo();
    void notesAPrinterWithoutCorrection();
    void labelSheetUnturnsTheTickets_data();
    void labelSheetUnturnsTheTickets();
    void search_data();
    void search();

private:
    void openMain(const QStringList& labelFolders);
    // The window with a folder of one product of one round label on A4.
    void openMainWithOneProduct();
    // The window with a folder of the products in one template file.
    void openMainWithProducts(const QByteArray& templates);
    // Chooses from the menu, handing the opened chooser to handle.
    void chooseFromMenu(std::function<void(LabelSheetDlg*)> handle);
    template<typename T> T* control(const QString& name) const
    {
        T* widget = window_->findChild<T*>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    int storedOption(const char* key, int missing = -999) const
    {
        return store_->GetProfileInt(keys::optionSection, key, missing);
    }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<CMainDlg> window_;
};

void LabelSheetDlgTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    store_ = std::make_unique<SettingsStore>(dir_->filePath(u"Zorvane.ini"_s));
}

void LabelSheetDlgTest::cleanup()
{
    window_.reset();
    store_.reset();
    dir_.reset();
}

void LabelSheetDlgTest::openMain(const QStringList& labelFolders)
{
    window_ = std::make_unique<CMainDlg>(*store_, nullptr, dir_->filePath(u"devmode.zvn"_s));
    window_->setLabelFolders(labelFolders);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void LabelSheetDlgTest::openMainWithOneProduct()
{
    openMainWithProducts(R"(<Glabels-templates>
  <Template brand="Mine" part="One" size="A4">
    <Label-round id="0" radius="20mm"><Layout nx="1" ny="1" x0="20mm" y0="20mm"/></Label-round>
  </Template>
</Glabels-templates>)");
}

void LabelSheetDlgTest::openMainWithProducts(const QByteArray& templates)
{
    QVERIFY(writeFile(dir_->filePath(u"mine.xml"_s), templates));
    openMain({dir_->path()});
}

void LabelSheetDlgTest::chooseFromMenu(std::function<void(LabelSheetDlg*)> handle)
{
    auto* entry = window_->findChild<QAction*>(u"chooseLabelSheet"_s);
    QVERIFY(entry);
    QCOMPARE(entry->text(), QString::fromUtf16(CMainDlg::labelSheetMenuText));
    bool handled = false;
    handleNextModal([&](QWidget* modal) {
        handled = true;
        auto* chooser = qobject_cast<LabelSheetDlg*>(modal);
        if (!chooser) {
            modal->close();
            return;
        }
        handle(chooser);
    });
    entry->trigger();
    QVERIFY(handled);
}

void LabelSheetDlgTest::searchChooseAndApply()
{
    if (!QDir(installedFolder).exists()) {
        if (qEnvironmentVariableIsSet("CI"))
            QFAIL("the installed label database is missing");
        QSKIP("the label database is not installed");
    }
    store_->WriteProfileInt(keys::optionSection, keys::option::drawFrame, 1);
    store_->WriteProfileInt(keys::optionSection, keys::option::frameRed, 10);
    openMain({installedFolder});
    const QString picture = dir_->filePath(u"wide.png"_s);
    QImage image(1000, 500, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(picture));
    window_->LoadPicture(picture);
    // Keep-aspect on: the label's height must still be the label's.
    control<QCheckBox>(u"1018"_s)->setChecked(true);
    auto* preview = control<PreviewWidget>(u"1011"_s);
    QTRY_COMPARE(preview->lastOutcome().printableCount, 27);
    const QImage before = preview->grab().toImage();

    chooseFromMenu([](LabelSheetDlg* chooser) {
        auto* search = chooser->findChild<QLineEdit*>(u"1000"_s);
        auto* list = chooser->findChild<QTreeWidget*>(u"1001"_s);
        auto* ok = chooser->findChild<QPushButton*>(u"1"_s);
        QVERIFY(list->topLevelItemCount() > 500);
        QVERIFY(!ok->isEnabled());
        QTest::keyClicks(search, u"hisago elm033"_s);
        QCOMPARE(visibleRows(list),
                 QStringList{u"Hisago|ELM033|A4|60.0 X 20.0 mm|3 X 12|36 枚中 36 枚"_s});
        QTreeWidgetItem* item = firstVisibleItem(list);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(item).center());
        QVERIFY(ok->isEnabled());
        QVERIFY(chooser->findChild<QLabel*>(u"1002"_s)->text().contains(u"ELM033"_s));
        QTest::mouseClick(ok, Qt::LeftButton);
    });

    QVERIFY(control<QRadioButton>(u"1005"_s)->isChecked()); // その他
    QVERIFY(control<QRadioButton>(u"1012"_s)->isChecked()); // A4
    QCOMPARE(control<QLineEdit>(u"1006"_s)->text(), u"600"_s);
    QCOMPARE(control<QLineEdit>(u"1007"_s)->text(), u"200"_s);
    QCOMPARE(control<QLineEdit>(u"1010"_s)->text(),
             QString::number(EstimateResolution(TicketType::Other, 1000, 600)));
    QVERIFY(control<QCheckBox>(u"1018"_s)->isChecked());

    QCOMPARE(storedOption(keys::option::offsetX), 120);
    QCOMPARE(storedOption(keys::option::offsetY), 120);
    QCOMPARE(storedOption(keys::option::gapV), 30);
    QCOMPARE(storedOption(keys::option::gapH), 30);
    QCOMPARE(storedOption(keys::option::limitGrid), 1);
    QCOMPARE(storedOption(keys::option::maxRows), 12);
    QCOMPARE(storedOption(keys::option::maxCols), 3);
    // Nothing else is touched.
    QCOMPARE(storedOption(keys::option::drawFrame), 1);
    QCOMPARE(storedOption(keys::option::frameRed), 10);
    QCOMPARE(storedOption(keys::option::fontPercent), 100);

    QTRY_COMPARE(preview->lastOutcome().printableCount, 36);
    QCOMPARE(preview->mainValues().customWidth, 600);
    QCOMPARE(preview->mainValues().customHeight, 200);
    QVERIFY(preview->grab().toImage() != before);
}

void LabelSheetDlgTest::partlyPrintedSheetSaysSo()
{
    // 70 x 70 mm from the paper's very edge: two of three columns and all
    // four rows lie inside the printed extent.
    openMainWithProducts(R"(<Glabels-templates>
  <Template brand="Mine" part="Edge" size="Other" width="210mm" height="297mm"
            _description="Edge to edge">
    <Label-rectangle id="0" width="70mm" height="70mm">
      <Layout nx="3" ny="4" x0="0mm" y0="0mm" dx="70mm" dy="70mm"/>
    </Label-rectangle>
  </Template>
</Glabels-templates>)");

    chooseFromMenu([](LabelSheetDlg* chooser) {
        auto* list = chooser->findChild<QTreeWidget*>(u"1001"_s);
        QCOMPARE(visibleRows(list),
                 QStringList{u"Mine|Edge|A4|70.0 X 70.0 mm|3 X 4|12 枚中 8 枚"_s});
        list->setCurrentItem(list->topLevelItem(0));
        const QString note = chooser->findChild<QLabel*>(u"1002"_s)->text();
        QVERIFY2(note.contains(u"Edge to edge"_s) && note.contains(u"4 枚は印刷されません"_s),
                 qPrintable(note));
        chooser->accept();
    });
    QCOMPARE(storedOption(keys::option::offsetX), 0);
    QCOMPARE(storedOption(keys::option::gapH), 0);
    QCOMPARE(control<QLineEdit>(u"1006"_s)->text(), u"700"_s);
}

void LabelSheetDlgTest::cancelChangesNothing()
{
    openMainWithOneProduct();

    chooseFromMenu([](LabelSheetDlg* chooser) {
        auto* list = chooser->findChild<QTreeWidget*>(u"1001"_s);
        list->setCurrentItem(list->topLevelItem(0));
        QTest::mouseClick(chooser->findChild<QPushButton*>(u"2"_s), Qt::LeftButton);
    });
    QVERIFY(control<QRadioButton>(u"1002"_s)->isChecked());
    QCOMPARE(control<QLineEdit>(u"1006"_s)->text(), u"0"_s);
    QVERIFY(storedKeys(store_->fileName(), u"Option"_s).isEmpty());
}

void LabelSheetDlgTest::withoutDatabaseTheEntrySaysSo()
{
    openMain({dir_->filePath(u"nothing here"_s)});
    auto* menu = window_->findChild<QMenu*>(u"systemMenu"_s);
    auto* entry = window_->findChild<QAction*>(u"chooseLabelSheet"_s);
    QVERIFY(menu && entry);
    const QList<QAction*> actions = menu->actions();
    const auto calibration = std::ranges::find_if(actions, [](const QAction* action) {
        return action->text() == QString::fromUtf16(CMainDlg::calibrationSheetMenuText);
    });
    QVERIFY(calibration != actions.end());
    // The entry opens the products group, before the calibration entries.
    QCOMPARE(actions.indexOf(entry), actions.indexOf(*calibration) - 1);
    QVERIFY(actions.at(actions.indexOf(entry) - 1)->isSeparator());

    menu->popup(window_->mapToGlobal(QPoint(10, 10)));
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(entry->text(), QString::fromUtf16(CMainDlg::noLabelSheetsMenuText));
    QVERIFY(!entry->isEnabled());
    menu->close();
}

void LabelSheetDlgTest::notesAPrinterWithoutCorrection()
{
    openMainWithOneProduct();
    const std::optional<PrinterSettingsBlock>& settings = window_->heldPrinterSettings();
    const QString printer = settings ? correctedPrinterName(*settings) : QString();
    if (printer.isEmpty()) {
        if (qEnvironmentVariableIsSet("ZORVANE_REQUIRE_CUPS"))
            QFAIL("no default printer, though the test scheduler should provide one");
        QSKIP("no printer: files need no correction");
    }

    QString note;
    const auto readNote = [&note](LabelSheetDlg* chooser) {
        note = chooser->findChild<QLabel*>(u"1002"_s)->text();
        chooser->reject();
    };
    chooseFromMenu(readNote);
    QVERIFY2(note.contains(QString::fromUtf16(CMainDlg::uncalibratedPrinterNote).arg(printer)),
             qPrintable(note));

    savePrinterCorrection(*store_, printer, PositionCorrection{});
    chooseFromMenu(readNote);
    QVERIFY2(!note.contains(printer), qPrintable(note));
}

void LabelSheetDlgTest::labelSheetUnturnsTheTickets_data()
{
    QTest::addColumn<bool>("turnedBefore");
    QTest::newRow("turned") << true;
    QTest::newRow("not turned") << false;
}

// Labels stand as the product gives them: tickets left turned would be
// 20 x 60 mm on 60 x 20 mm labels, and none would fit.
void LabelSheetDlgTest::labelSheetUnturnsTheTickets()
{
    QFETCH(bool, turnedBefore);
    openMainWithProducts(R"(<Glabels-templates>
  <Template brand="Mine" part="Strip" size="A4">
    <Label-rectangle id="0" width="60mm" height="20mm">
      <Layout nx="3" ny="12" x0="12mm" y0="12mm" dx="63mm" dy="23mm"/>
    </Label-rectangle>
  </Template>
</Glabels-templates>)");
    const QString picture = dir_->filePath(u"wide.png"_s);
    QImage image(600, 200, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(picture));
    window_->LoadPicture(picture);
    QTest::keyClicks(control<QComboBox>(u"1015"_s)->lineEdit(), u"36"_s);
    QAction* turn = menuEntry(window_.get(), QString::fromUtf16(SheetChoicesMenu::turnText));
    if (turnedBefore)
        turn->trigger();
    QCOMPARE(turn->isChecked(), turnedBefore);

    QString note;
    chooseFromMenu([&note](LabelSheetDlg* chooser) {
        auto* list = chooser->findChild<QTreeWidget*>(u"1001"_s);
        list->setCurrentItem(list->topLevelItem(0));
        note = chooser->findChild<QLabel*>(u"1002"_s)->text();
        QTest::mouseClick(chooser->findChild<QPushButton*>(u"1"_s), Qt::LeftButton);
    });
    QCOMPARE(note.contains(u"ラベル用紙を選ぶと\"券を90度回転\"は解除されます。"_s), turnedBefore);

    QVERIFY(!turn->isChecked());
    QCOMPARE(store_->GetProfileInt(keys::sheetSection, keys::sheet::turned, 0), 0);
    auto* preview = control<PreviewWidget>(u"1011"_s);
    QVERIFY(!preview->currentJob().turned());
    preview->grab();
    QCOMPARE(preview->lastOutcome().printableCount, 36);
    QCOMPARE(preview->mainValues().customWidth, 600);
    QCOMPARE(preview->mainValues().customHeight, 200);
}

void LabelSheetDlgTest::search_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<bool>("matches");

    QTest::newRow("empty") << QString() << true;
    QTest::newRow("maker") << u"hisago"_s << true;
    QTest::newRow("part, other case") << u"elm033"_s << true;
    QTest::newRow("description words anywhere") << u"labels rect"_s << true;
    QTest::newRow("every word must match") << u"hisago avery"_s << false;
    QTest::newRow("nothing") << u"zzz"_s << false;
}

void LabelSheetDlgTest::search()
{
    QFETCH(QString, search);
    QFETCH(bool, matches);
    LabelTemplate product;
    product.brand = u"Hisago"_s;
    product.part = u"ELM033"_s;
    product.description = u"Rectangular labels"_s;
    QCOMPARE(LabelSheetDlg::matches(product, search), matches);
}

QTEST_MAIN(LabelSheetDlgTest)
#include "tst_labelsheetdlg.moc"
