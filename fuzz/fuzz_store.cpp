// The store reader on any INI text: every value the program reads at start.
#include "FuzzSupport.h"
#include "settings/JobSettings.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"

#include <QFile>
#include <QTemporaryDir>

using namespace zorvane;

namespace {
std::unique_ptr<QTemporaryDir> directory;
}

extern "C" int LLVMFuzzerInitialize(int*, char*** argv)
{
    // The store is read under the program's own application object: a
    // hand-edited "@Variant(...)" value may name a Gui type (a bitmap, a
    // pixmap), which Qt can only build once a Gui application exists.
    fuzz::startApplication<QGuiApplication>(argv);
    directory = fuzz::scratchDirectory();
    return directory->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = directory->filePath(QStringLiteral("Zorvane.ini"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    SettingsStore store(path);
    const MainValues main = loadMainValues(store);
    const OptionValues options = loadOptionValues(store);
    // Values written back read as written.
    store.WriteProfileString(keys::mainSection, keys::main::countText, main.countText);
    if (store.GetProfileString(keys::mainSection, keys::main::countText, QString()) !=
        main.countText)
        std::abort();
    Q_UNUSED(options);
    return 0;
}
