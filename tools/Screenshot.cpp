// Shows the main window, the advanced settings and the About box on the
// current display and saves each as a PNG: Screenshot OUTPUT_DIR
// Run it under a virtual X server (scripts/screenshots.sh); it uses the
// store of $XDG_CONFIG_HOME and leaves it unchanged.
#include "app/CZorvaneApp.h"
#include "picture/PictureHolder.h"
#include "print/SheetExport.h"
#include "settings/Numbering.h"
#include "settings/SettingsStore.h"
#include "settings/SheetJob.h"
#include "settings/SheetValues.h"
#include "settings/StoreKeys.h"
#include "ui/AppIcon.h"
#include "ui/CAboutDlg.h"
#include "ui/CCorrectionDlg.h"
#include "ui/CDetailDlg.h"
#include "ui/CMainDlg.h"
#include "ui/CNumberingDlg.h"
#include "ui/ColorChooser.h"
#include "ui/LabelSheetDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QWidget>

#include <cstdio>

namespace {

// Lets the window manager map the window and Qt paint it.
void settle(QWidget& window)
{
    window.show();
    window.raise();
    window.activateWindow();
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

bool save(QWidget& window, const QString& path)
{
    settle(window);
    const bool saved = window.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    window.hide();
    return saved;
}

// A sample ticket picture: a coloured card with a border and a dot.
QString writeSamplePicture(const QTemporaryDir& dir)
{
    QImage image(1158, 604, QImage::Format_RGB32);
    image.fill(QColor(250, 220, 90));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 90, 170), 24));
    painter.drawRect(image.rect().adjusted(12, 12, -12, -12));
    painter.setBrush(QColor(200, 40, 40));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPoint(300, 302), 170, 170);
    painter.setBrush(QColor(40, 90, 170));
    painter.drawRect(560, 200, 480, 60);
    painter.drawRect(560, 340, 360, 60);
    painter.end();
    const QString path = dir.filePath(QStringLiteral("sample.png"));
    image.save(path);
    return path;
}

// A sheet to cut from plain paper as the file export draws it, its upper
// part: A tickets 6 mm apart, the picture filling them, cut marks and a
// 2 mm bleed.
bool saveCutSheet(const QString& picturePath, const QDir& out)
{
    using namespace zorvane;
    MainValues main;
    main.countText = QStringLiteral("6");
    OptionValues options;
    options.gapV = 60;
    options.gapH = 60;
    SheetOptions sheet;
    sheet.placement = PicturePlacement::Fill;
    sheet.cut = {true, 20};
    const auto picture = PictureHolder::load(picturePath);
    const QTemporaryDir dir;
    const QString whole = dir.filePath(QStringLiteral("sheet.png"));
    if (!picture || exportSheet(whole, SheetFileFormat::Png, 120, sheetJobOf(main, options, sheet),
                                picture.get()) != SheetExportResult::Written)
        return false;
    const QImage page(whole);
    return page.copy(0, 0, page.width(), page.height() * 28 / 100)
        .save(out.filePath(QStringLiteral("cut-marks.png")));
}

// The label sheet chooser with the installed database, a search typed and a
// product chosen that reaches into the margin; nothing to show without one.
bool saveLabelSheetChooser(QWidget& mainWindow, const QDir& out)
{
    using namespace zorvane;
    const LabelDatabase database = LabelDatabase::load(LabelDatabase::standardFolders());
    if (database.products().isEmpty()) {
        std::printf("no label sheet database: no labels.png\n");
        return true;
    }
    LabelSheetDlg chooser(printableLabelSheets(database), QString(), &mainWindow);
    if (auto* search = chooser.findChild<QLineEdit*>(QStringLiteral("1000")))
        search->setText(QStringLiteral("hisago elm0"));
    if (auto* list = chooser.findChild<QTreeWidget*>(QStringLiteral("1001"))) {
        const QList<QTreeWidgetItem*> found =
            list->findItems(QStringLiteral("ELM009"), Qt::MatchExactly, 1);
        if (!found.isEmpty())
            list->setCurrentItem(found.constFirst());
    }
    return save(chooser, out.filePath(QStringLiteral("labels.png")));
}

// Numbered raffle tickets with a stub: the dialog, and the window's preview
// of the first of three sheets. The numbers are put away afterwards.
bool saveNumbering(zorvane::CMainDlg& mainWindow, zorvane::SettingsStore& store,
                   zorvane::ColorChooser& chooser, const QDir& out)
{
    using namespace zorvane;
    NumberingValues numbering;
    numbering.enabled = true;
    numbering.digits = 3;
    numbering.prefix = QStringLiteral("No.");
    numbering.height = 60;
    numbering.position = NumberPosition::TopRight;
    numbering.stubPosition = NumberPosition::BottomLeft;
    numbering.backing = true;
    numbering.sheets = 3;
    saveNumberingValues(store, numbering);
    auto* count = mainWindow.findChild<QComboBox*>(QStringLiteral("1015"));
    if (count) {
        count->lineEdit()->setText(QStringLiteral("27"));
        Q_EMIT count->lineEdit()->textEdited(count->lineEdit()->text());
    }
    bool ok = save(mainWindow, out.filePath(QStringLiteral("numbered.png")));
    mainWindow.show();
    CNumberingDlg dialog(store, chooser, mainWindow.jobFor(mainWindow.currentValues()),
                         &mainWindow);
    ok = save(dialog, out.filePath(QStringLiteral("numbering.png"))) && ok;
    store.RemoveSection(keys::numberingSection);
    if (count) {
        count->lineEdit()->setText(QStringLiteral("14"));
        Q_EMIT count->lineEdit()->textEdited(count->lineEdit()->text());
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(
        QLatin1StringView(zorvane::CZorvaneApp::organizationName));
    QCoreApplication::setApplicationName(QStringLiteral("Zorvane"));
    QApplication::setWindowIcon(zorvane::appIcon());
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: zorvane_screenshot OUTPUT_DIR\n");
        return 2;
    }
    const QDir out(args.at(1));
    QDir().mkpath(out.path());

    zorvane::SettingsStore store(zorvane::CZorvaneApp::storePath());
    zorvane::ColorDialogChooser chooser;
    zorvane::CMainDlg mainWindow(store);
    const QTemporaryDir pictureDir;
    mainWindow.LoadPicture(writeSamplePicture(pictureDir));
    // Type a count as a user would, so the preview shows a partly filled page.
    if (auto* count = mainWindow.findChild<QComboBox*>(QStringLiteral("1015"))) {
        count->lineEdit()->setText(QStringLiteral("14"));
        Q_EMIT count->lineEdit()->textEdited(count->lineEdit()->text());
    }
    bool ok = save(mainWindow, out.filePath(QStringLiteral("main.png")));
    ok = saveCutSheet(writeSamplePicture(pictureDir), out) && ok;
    {
        // A label sheet whose first cells were used last week: they are
        // marked, and the fourteen tickets fill the cells after them.
        zorvane::saveUsedCells(store, zorvane::PaperKind::A4, {579, 302}, false,
                               zorvane::cellSetFromText(QStringLiteral("0:0 0:1 0:2 1:0 1:1 3:2")));
        auto* count = mainWindow.findChild<QComboBox*>(QStringLiteral("1015"));
        if (count)
            Q_EMIT count->lineEdit()->textEdited(count->lineEdit()->text());
        ok = save(mainWindow, out.filePath(QStringLiteral("partly-used.png"))) && ok;
        zorvane::saveUsedCells(store, zorvane::PaperKind::A4, {579, 302}, false, {});
        if (count)
            Q_EMIT count->lineEdit()->textEdited(count->lineEdit()->text());
    }
    ok = saveNumbering(mainWindow, store, chooser, out) && ok;
    mainWindow.show();
    zorvane::CDetailDlg detail(store, chooser, &mainWindow);
    ok = save(detail, out.filePath(QStringLiteral("detail.png"))) && ok;
    zorvane::CCorrectionDlg correction(store, QStringLiteral("ZorvanePDF"), zorvane::PaperKind::A4,
                                       &mainWindow);
    ok = save(correction, out.filePath(QStringLiteral("correction.png"))) && ok;
    zorvane::CAboutDlg about(&mainWindow);
    ok = save(about, out.filePath(QStringLiteral("about.png"))) && ok;
    ok = saveLabelSheetChooser(mainWindow, out) && ok;
    return ok ? 0 : 1;
}
