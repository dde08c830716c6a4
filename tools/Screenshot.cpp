// Shows the main window, the advanced settings and the About box on the
// current display and saves each as a PNG: Screenshot OUTPUT_DIR
// Run it under a virtual X server (scripts/screenshots.sh); it uses the
// store of $XDG_CONFIG_HOME and leaves it unchanged.
#include "app/CZorvaneApp.h"
#include "settings/SettingsStore.h"
#include "ui/AppIcon.h"
#include "ui/CAboutDlg.h"
#include "ui/CDetailDlg.h"
#include "ui/CMainDlg.h"
#include "ui/ColorChooser.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
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
    bool ok = save(mainWindow, out.filePath(QStringLiteral("main.png")));
    mainWindow.show();
    zorvane::CDetailDlg detail(store, chooser, &mainWindow);
    ok = save(detail, out.filePath(QStringLiteral("detail.png"))) && ok;
    zorvane::CAboutDlg about(&mainWindow);
    ok = save(about, out.filePath(QStringLiteral("about.png"))) && ok;
    return ok ? 0 : 1;
}
