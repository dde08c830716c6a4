#include "CupsQueue.h"
#include "GuiTestHelpers.h"
#include "PdfProbe.h"
#include "SheetProbe.h"
#include "StoredJob.h"
#include "picture/PictureHolder.h"
#include "print/DeviceModeLayout.h"
#include "print/PrintJob.h"
#include "print/PrinterDefaults.h"
#include "print/PrinterSettingsFile.h"
#include "settings/Numbering.h"
#include "settings/SettingsStore.h"
#include "ui/CMainDlg.h"
#include "ui/DialogTemplates.h"
#include "ui/SystemPrintDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace zorvane;
using namespace Qt::StringLiterals;
using zorvane::test::handleNextModal;

Q_DECLARE_METATYPE(zorvane::PaperKind)

namespace {

// What Qt's Print dialog shows when it opens, read from its own widgets.
struct DialogState
{
    QString destination;
    QString fileName;
    bool fileNameEnabled = false;
    bool grayscale = false;
    bool collate = false;
    int copies = 0;
};

template<typename T> T* part(QWidget* dialog, const char* name)
{
    auto* widget = dialog->findChild<T*>(QLatin1String(name));
    if (!widget)
        qWarning("the Print dialog has no %s", name);
    return widget;
}

DialogState stateOf(QWidget* dialog)
{
    DialogState state;
    if (auto* printers = part<QComboBox>(dialog, "printers"))
        state.destination = printers->currentText();
    if (auto* file = part<QLineEdit>(dialog, "filename")) {
        state.fileName = file->text();
        state.fileNameEnabled = file->isEnabled();
    }
    if (auto* gray = part<QRadioButton>(dialog, "grayscale"))
        state.grayscale = gray->isChecked();
    if (auto* collate = part<QCheckBox>(dialog, "collate"))
        state.collate = collate->isChecked();
    if (auto* copies = part<QSpinBox>(dialog, "copies"))
        state.copies = copies->value();
    return state;
}

// A user who picks "Print to File" with the given file in the real dialog.
void chooseFile(QWidget* dialog, const QString& pdf)
{
    auto* printers = part<QComboBox>(dialog, "printers");
    printers->setCurrentIndex(printers->count() - 1);
    part<QLineEdit>(dialog, "filename")->setText(pdf);
}

} // namespace

class TestSystemPrintDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void answersAsTheUserDoes_data();
    void answersAsTheUserDoes();
    void paperOfTheMainWindowIsPrinted_data();
    void paperOfTheMainWindowIsPrinted();
    void nextDialogOffersWhatWasChosen_data();
    void nextDialogOffersWhatWasChosen();
    void windowsPrintIsTitledAfterThePicture();
    void numberedRunMovesTheStartOnlyWhenPrinted_data();
    void numberedRunMovesTheStartOnlyWhenPrinted();

private:
    // The real window with a picture and two tickets; skips (or fails, where
    // the queue is required) without a usable CUPS queue.
    bool openWindowForTheQueue(CMainDlg& window);
    PrintJob::Outcome print(PaperKind paper, std::function<void(QWidget*)> user,
                            std::optional<PrinterSettingsBlock>& record);

    std::unique_ptr<QTemporaryDir> dir_;
    QStringList messages_;
};

void TestSystemPrintDialog::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    messages_.clear();
}

void TestSystemPrintDialog::answersAsTheUserDoes_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

void TestSystemPrintDialog::answersAsTheUserDoes()
{
    QFETCH(bool, accept);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QDir::temp().filePath(QStringLiteral("zorvane-dialog-test.pdf")));
    bool seen = false;
    QAbstractPrintDialog::PrintDialogOptions options;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        options = dialog->options();
        accept ? dialog->accept() : dialog->reject();
    });

    SystemPrintDialog port;
    QCOMPARE(port.confirm(printer), accept);
    QVERIFY(seen);
    QVERIFY(!(options & QAbstractPrintDialog::PrintSelection));
    QVERIFY(!(options & QAbstractPrintDialog::PrintPageRange));
    QVERIFY(!(options & QAbstractPrintDialog::PrintCurrentPage));
    QVERIFY(options & QAbstractPrintDialog::PrintToFile);
}

PrintJob::Outcome TestSystemPrintDialog::print(PaperKind paper, std::function<void(QWidget*)> user,
                                               std::optional<PrinterSettingsBlock>& record)
{
    SettingsStore store(dir_->filePath(u"Zorvane.ini"_s));
    const auto picture = PictureHolder::fromImage(sheetprobe::quarteredPicture(300, 150));
    SystemPrintDialog dialog;
    PrintJob job(
        dialog, [this](const QString& text) { messages_ << text; },
        dir_->filePath(u"devmode.zvn"_s));
    MainValues main;
    main.paper = paper;
    main.countText = u"2"_s;
    handleNextModal([user](QWidget* shown) {
        user(shown);
        qobject_cast<QDialog*>(shown)->accept();
    });
    return job.run(storedJob(store, main), picture.get(), record);
}

void TestSystemPrintDialog::paperOfTheMainWindowIsPrinted_data()
{
    QTest::addColumn<PaperKind>("paper");
    QTest::addColumn<bool>("toQueue");
    QTest::addColumn<QSizeF>("pageMm");
    QTest::addColumn<int>("paperCode");

    for (const bool toQueue : {false, true}) {
        const char* where = toQueue ? "CUPS queue" : "Print to File";
        QTest::addRow("A4, %s", where) << PaperKind::A4 << toQueue << QSizeF(210, 297) << 9;
        QTest::addRow("B5, %s", where) << PaperKind::B5 << toQueue << QSizeF(182, 257) << 13;
        QTest::addRow("quarter sheet, %s", where)
            << PaperKind::A4Quarter << toQueue << QSizeF(148, 105) << 256;
    }
}

// Qt's dialog puts the destination's default paper in place when it is
// accepted; the sheet must still come out on the paper it was laid out for.
void TestSystemPrintDialog::paperOfTheMainWindowIsPrinted()
{
    QFETCH(PaperKind, paper);
    QFETCH(bool, toQueue);
    QFETCH(QSizeF, pageMm);
    QFETCH(int, paperCode);
    const QString unusable = toQueue ? cupsqueue::whyUnusable()
                                     : (pdfprobe::toolsAvailable() ? QString() : u"no poppler"_s);
    if (!unusable.isEmpty()) {
        if (toQueue && qEnvironmentVariableIntValue("ZORVANE_REQUIRE_CUPS") == 1)
            QFAIL(qPrintable(unusable));
        QSKIP(qPrintable(unusable));
    }

    std::optional<PrinterSettingsBlock> record;
    QVERIFY(GetPrinterDefaults(record));
    const QString file = dir_->filePath(u"sheet.pdf"_s);
    const QString queueDir = cupsqueue::outputDir();
    const QSet<QString> before = toQueue ? cupsqueue::pdfsIn(queueDir) : QSet<QString>();
    QString destination;
    QCOMPARE(print(
                 paper,
                 [&](QWidget* dialog) {
                     if (!toQueue)
                         chooseFile(dialog, file);
                     destination = stateOf(dialog).destination;
                 },
                 record),
             PrintJob::Outcome::Printed);
    QCOMPARE(messages_, QStringList());

    const QString pdf = toQueue ? cupsqueue::awaitNewPdf(queueDir, before) : file;
    QVERIFY2(!pdf.isEmpty(), "nothing was printed");
    const QSizeF page = pdfprobe::pageSizeMm(pdf);
    qInfo("%s through \"%s\": page box %.1f x %.1f mm", QTest::currentDataTag(),
          qPrintable(destination), page.width(), page.height());
    QVERIFY2(qAbs(page.width() - pageMm.width()) < 1 && qAbs(page.height() - pageMm.height()) < 1,
             qPrintable(u"%1 x %2 mm"_s.arg(page.width()).arg(page.height())));
    if (toQueue)
        QFile::remove(pdf);

    // The record held and the one kept in the file say the same paper.
    QCOMPARE(record->readI16(devmode::paperSize), paperCode);
    QCOMPARE(record->readI16(devmode::orientation), devmode::portrait);
    PrinterSettingsBlock saved;
    LoadPrinterSettingsFile(saved, dir_->filePath(u"devmode.zvn"_s));
    QCOMPARE(saved.readI16(devmode::paperSize), paperCode);
}

void TestSystemPrintDialog::nextDialogOffersWhatWasChosen_data()
{
    QTest::addColumn<bool>("restart");
    QTest::newRow("same run") << false;
    QTest::newRow("after a restart") << true;
}

// The user prints five grey copies, not collated, to a file; the next
// dialog opens on that file with those options, and one copy.
void TestSystemPrintDialog::nextDialogOffersWhatWasChosen()
{
    QFETCH(bool, restart);
    if (!pdfprobe::toolsAvailable())
        QSKIP("poppler tools (pdfinfo, pdftoppm) are not installed");

    std::optional<PrinterSettingsBlock> record;
    QVERIFY(GetPrinterDefaults(record));
    const QString pdf = dir_->filePath(u"five.pdf"_s);
    DialogState first;
    QCOMPARE(print(
                 PaperKind::B5,
                 [&](QWidget* dialog) {
                     chooseFile(dialog, pdf);
                     part<QRadioButton>(dialog, "grayscale")->setChecked(true);
                     part<QCheckBox>(dialog, "collate")->setChecked(false);
                     part<QSpinBox>(dialog, "copies")->setValue(5);
                     first = stateOf(dialog);
                 },
                 record),
             PrintJob::Outcome::Printed);
    QVERIFY(QFile::exists(pdf));
    const int copiesKept = record->readI16(devmode::copies);

    if (restart) {
        record.reset();
        QVERIFY(GetPrinterDefaults(record));
        LoadPrinterSettingsFile(*record, dir_->filePath(u"devmode.zvn"_s));
    }
    QFile::remove(pdf);
    DialogState next;
    QCOMPARE(print(
                 PaperKind::B5, [&](QWidget* dialog) { next = stateOf(dialog); }, record),
             PrintJob::Outcome::Printed);
    qInfo("chosen: \"%s\" %s grey %d collate %d copies %d; next dialog: \"%s\" %s (%s) grey %d "
          "collate %d copies %d",
          qPrintable(first.destination), qPrintable(first.fileName), first.grayscale, first.collate,
          first.copies, qPrintable(next.destination), qPrintable(next.fileName),
          next.fileNameEnabled ? "enabled" : "greyed out", next.grayscale, next.collate,
          next.copies);
    QCOMPARE(next.destination, first.destination);
    QCOMPARE(next.fileName, pdf);
    QVERIFY(next.fileNameEnabled);
    QVERIFY(next.grayscale);
    QVERIFY(!next.collate);
    QCOMPARE(next.copies, 1);
    QCOMPARE(copiesKept, 1);
    QVERIFY(QFile::exists(pdf)); // the second print went to the same file
}

// The queue lists the job, and the queue's PDF is named and titled, after
// the picture's file.
bool TestSystemPrintDialog::openWindowForTheQueue(CMainDlg& window)
{
    const QString unusable = cupsqueue::whyUnusable();
    if (!unusable.isEmpty()) {
        if (qEnvironmentVariableIntValue("ZORVANE_REQUIRE_CUPS") == 1)
            QTest::qFail(qPrintable(unusable), __FILE__, __LINE__);
        else
            QTest::qSkip(qPrintable(unusable), __FILE__, __LINE__);
        return false;
    }
    window.show();
    const QString picture = dir_->filePath(u"holiday photo.png"_s);
    if (QTest::qWaitForWindowExposed(&window) &&
        sheetprobe::quarteredPicture(300, 150).save(picture)) {
        window.LoadPicture(picture);
        QTest::keyClicks(test::findControl<QComboBox>(&window, ids::main::count)->lineEdit(),
                         u"2"_s);
        if (window.loadedPicture())
            return true;
    }
    QTest::qFail("the window did not show the picture", __FILE__, __LINE__);
    return false;
}

void TestSystemPrintDialog::windowsPrintIsTitledAfterThePicture()
{
    SettingsStore store(dir_->filePath(u"Zorvane.ini"_s));
    CMainDlg window(store, nullptr, dir_->filePath(u"devmode.zvn"_s));
    if (!openWindowForTheQueue(window))
        return;
    namespace id = ids::main;

    const QString queueDir = cupsqueue::outputDir();
    const QSet<QString> before = cupsqueue::pdfsIn(queueDir);
    QString destination;
    handleNextModal([&destination](QWidget* shown) {
        destination = stateOf(shown).destination;
        qobject_cast<QDialog*>(shown)->accept();
    });
    QTest::mouseClick(test::findControl<QPushButton>(&window, id::printStart), Qt::LeftButton);
    QCOMPARE(destination, QPrinterInfo::defaultPrinterName());

    const QString pdf = cupsqueue::awaitNewPdf(queueDir, before);
    QVERIFY2(!pdf.isEmpty(), "nothing was printed");
    QVERIFY2(QFileInfo(pdf).fileName().contains(u"holiday_photo.png"_s), qPrintable(pdf));
    // The queue's PDF writer keeps the title as a PostScript string, in
    // parentheses.
    QVERIFY2(pdfprobe::title(pdf).contains(u"Zorvane - holiday photo.png"_s),
             qPrintable(pdfprobe::title(pdf)));
    QFile::remove(pdf);
}

QTEST_MAIN(TestSystemPrintDialog)
void TestSystemPrintDialog::numberedRunMovesTheStartOnlyWhenPrinted_data()
{
    QTest::addColumn<bool>("printed");
    QTest::newRow("printed") << true;
    QTest::newRow("dialog cancelled") << false;
}

// Three numbered sheets through Qt's own Print dialog: printed, they are one
// three-page job and the next run starts after its last number; cancelled,
// the start stays.
void TestSystemPrintDialog::numberedRunMovesTheStartOnlyWhenPrinted()
{
    QFETCH(bool, printed);
    SettingsStore store(dir_->filePath(u"Zorvane.ini"_s));
    NumberingValues numbering;
    numbering.enabled = true;
    numbering.start = 11;
    numbering.sheets = 3;
    saveNumberingValues(store, numbering);
    CMainDlg window(store, nullptr, dir_->filePath(u"devmode.zvn"_s));
    if (!openWindowForTheQueue(window))
        return;

    const QString queueDir = cupsqueue::outputDir();
    const QSet<QString> before = cupsqueue::pdfsIn(queueDir);
    bool shown = false;
    handleNextModal([&](QWidget* dialog) {
        shown = qobject_cast<QPrintDialog*>(dialog) != nullptr;
        if (printed)
            qobject_cast<QDialog*>(dialog)->accept();
        else
            qobject_cast<QDialog*>(dialog)->reject();
    });
    QTest::mouseClick(test::findControl<QPushButton>(&window, ids::main::printStart),
                      Qt::LeftButton);
    QVERIFY(shown);
    if (!printed) {
        QCOMPARE(loadNumberingValues(store).start, 11);
        return;
    }
    const QString pdf = cupsqueue::awaitNewPdf(queueDir, before);
    QVERIFY2(!pdf.isEmpty(), "nothing was printed");
    QCOMPARE(pdfprobe::pageCount(pdf), 3);
    QCOMPARE(loadNumberingValues(store).start, 11 + 3 * 2);
    QFile::remove(pdf);
}

#include "tst_systemprintdialog.moc"
