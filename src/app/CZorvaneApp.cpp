#include "CZorvaneApp.h"

#include "CommandLine.h"
#include "HeadlessRun.h"
#include "settings/SettingsStore.h"
#include "ui/AppIcon.h"
#include "ui/CMainDlg.h"
#include "ui/QtTranslations.h"

#include <QApplication>

#include <cstdio>

namespace zorvane {

QString CZorvaneApp::storePath()
{
    return SettingsStore::userStorePath(QCoreApplication::organizationName(),
                                        QCoreApplication::applicationName());
}

void CZorvaneApp::configure()
{
    // Qt names the application after the executable's base name, so a
    // renamed copy keeps a store of its own.
    QCoreApplication::setOrganizationName(QLatin1StringView(organizationName));
}

namespace {

QStringList argumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// Qt's own notes (a missing runtime directory and the like) would break the
// command line's promise of one clear line per error; only grave ones pass.
// Our own categories speak only when QT_LOGGING_RULES turns them on.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const bool ours = context.category && qstrncmp(context.category, "zorvane.", 8) == 0;
    if (type == QtCriticalMsg || type == QtFatalMsg || ours)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// Printing from the command line opens no window and needs no display, so
// the choice is made before any application object exists.
int runWithoutWindow(char** argv, const CommandLine& line)
{
    qInstallMessageHandler(quietMessages);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Only the program's name: Qt's own options ("-platform xcb") go with
    // the window, and a run without one must not act on them.
    int argc = 1;
    QGuiApplication app(argc, argv);
    CZorvaneApp::configure();
    return runHeadless(line, CZorvaneApp::storePath());
}

} // namespace

int CZorvaneApp::run(int& argc, char** argv)
{
    const CommandLine line = CommandLine::parse(argumentsOf(argc, argv));
    if (!line.opensWindow())
        return runWithoutWindow(argv, line);

    QApplication app(argc, argv);
    configure();
    installQtJapanese(app);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.zorvane.Zorvane"));
    QApplication::setWindowIcon(appIcon());

    reportUnusableStore(storePath());
    SettingsStore store(storePath());
    CMainDlg mainWindow(store);
    // A picture named on the command line (or by the desktop entry's %f)
    // arrives as if dropped on the window.
    if (!line.picturePath.isEmpty())
        mainWindow.LoadPicture(line.picturePath);
    mainWindow.exec();
    return 0;
}

} // namespace zorvane
