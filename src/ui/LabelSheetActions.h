#pragma once

#include "print/PrinterSettingsBlock.h"
#include "settings/LabelSheet.h"

#include <QString>
#include <QStringList>

#include <optional>

class QAction;
class QWidget;

namespace zorvane {

class MainWindowMenu;
class SettingsStore;

namespace productTexts {
inline constexpr char16_t labelSheet[] = u"ラベル用紙を選ぶ...";
inline constexpr char16_t noLabelSheets[] =
    u"ラベル用紙を選ぶ... (ラベル用紙の一覧が見つかりません)";
inline constexpr char16_t calibrationSheet[] = u"位置合わせ用紙を印刷...";
inline constexpr char16_t positionCorrection[] = u"位置の補正...";
} // namespace productTexts

// The products group of the right-click menu: the label sheet chooser, and
// after it the calibration sheet and the position correction. Without any
// label database in the folders the first entry says so, disabled, rather
// than open an empty list; the folders are looked at each time the menu
// opens.
struct ProductEntries
{
    QAction* labelSheet = nullptr;
    QAction* calibrationSheet = nullptr;
    QAction* positionCorrection = nullptr;
};
ProductEntries addProductEntries(MainWindowMenu& menu, const QStringList& labelFolders);

// Asks the user for a label sheet product from the databases in the
// folders, with the notes shown above the list; none when the chooser is
// cancelled. Files of the databases that cannot be read are logged.
std::optional<LabelSheet> askForLabelSheet(QWidget* parent, const QStringList& folders,
                                           const QString& notes);

// The printer the next print goes to when it has no stored position
// correction: a label sheet's positions count from the paper's edge, and
// only a corrected printer puts them there. Empty when the printer is
// corrected or the record names a file.
QString uncorrectedPrinter(const SettingsStore& store,
                           const std::optional<PrinterSettingsBlock>& printerSettings);

} // namespace zorvane
