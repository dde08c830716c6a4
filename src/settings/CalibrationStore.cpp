#include "CalibrationStore.h"

#include "SettingsStore.h"
#include "StoreKeys.h"

#include <QUrl>

#include <limits>

namespace zorvane {
namespace {

constexpr int missing = std::numeric_limits<int>::min();

std::optional<AxisCorrection> loadAxis(const SettingsStore& store, const char* group,
                                       const char* scaleKey, const char* shiftKey)
{
    AxisCorrection axis;
    axis.scaleMillionths = store.GetProfileInt(group, scaleKey, missing);
    axis.shiftMicrometres = store.GetProfileInt(group, shiftKey, missing);
    if (axis.scaleMillionths < AxisCorrection::minScale ||
        axis.scaleMillionths > AxisCorrection::maxScale || axis.shiftMicrometres == missing)
        return std::nullopt;
    return axis;
}

} // namespace

QByteArray calibrationGroup(const QString& printerName)
{
    return QByteArray(keys::calibrationSection) + '/' + QUrl::toPercentEncoding(printerName);
}

std::optional<PositionCorrection> loadPrinterCorrection(const SettingsStore& store,
                                                        const QString& printerName)
{
    if (printerName.isEmpty())
        return std::nullopt;
    const QByteArray group = calibrationGroup(printerName);
    const auto x =
        loadAxis(store, group.constData(), keys::calibration::scaleX, keys::calibration::shiftX);
    const auto y =
        loadAxis(store, group.constData(), keys::calibration::scaleY, keys::calibration::shiftY);
    if (!x || !y)
        return std::nullopt;
    return PositionCorrection{*x, *y};
}

std::map<QString, PositionCorrection> loadPrinterCorrections(const SettingsStore& store)
{
    std::map<QString, PositionCorrection> corrections;
    for (const QString& group : store.childGroups(keys::calibrationSection)) {
        const QString printer = QUrl::fromPercentEncoding(group.toLatin1());
        // Read back through the name, so a group that is not exactly a
        // printer's encoded name is not taken.
        if (const auto correction = loadPrinterCorrection(store, printer))
            corrections.emplace(printer, *correction);
    }
    return corrections;
}

bool hasPrinterCorrection(const SettingsStore& store, const QString& printerName)
{
    return loadPrinterCorrection(store, printerName).has_value();
}

void savePrinterCorrection(SettingsStore& store, const QString& printerName,
                           const PositionCorrection& correction)
{
    if (printerName.isEmpty())
        return;
    const QByteArray group = calibrationGroup(printerName);
    store.WriteProfileInt(group.constData(), keys::calibration::scaleX,
                          correction.x.scaleMillionths);
    store.WriteProfileInt(group.constData(), keys::calibration::shiftX,
                          correction.x.shiftMicrometres);
    store.WriteProfileInt(group.constData(), keys::calibration::scaleY,
                          correction.y.scaleMillionths);
    store.WriteProfileInt(group.constData(), keys::calibration::shiftY,
                          correction.y.shiftMicrometres);
    store.sync();
}

void resetPrinterCorrection(SettingsStore& store, const QString& printerName)
{
    if (printerName.isEmpty())
        return;
    store.RemoveSection(calibrationGroup(printerName).constData());
    store.sync();
}

} // namespace zorvane
