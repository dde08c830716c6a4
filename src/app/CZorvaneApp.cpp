#include "CZorvaneApp.h"

#include "StandInWindow.h"
#include "settings/SettingsStore.h"

#include <QApplication>

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

int CZorvaneApp::run(int& argc, char** argv)
{
    QApplication app(argc, argv);
    configure();

    SettingsStore store(storePath());
    StandInWindow window(store);
    window.exec();
    return 0;
}

} // namespace zorvane
