#pragma once

#include "PrinterDefaults.h"
#include "PrinterSettingsBlock.h"
#include "settings/JobSettings.h"
#include "settings/SheetJob.h"
#include "settings/SheetValues.h"

#include <QString>

#include <functional>
#include <optional>

class QPainter;
class QPrinter;

namespace zorvane {

class PictureHolder;
class PrintDialogPort;
struct GridSize;

// Shows a message to the user: a message box in the window, standard error
// on the command line.
using MessageSink = std::function<void(const QString&)>;

namespace printMessages {
inline constexpr char16_t doesNotFit[] =
    u"すべてのアイテムを印刷できません。\n設定を変更して下さい。";
inline constexpr char16_t noPrinter[] = u"プリンタの検出に失敗しました。";
inline constexpr char16_t cannotStart[] = u"印刷を開始できませんでした。";
inline constexpr char16_t cannotSaveSettingsFile[] =
    u"プリンタ設定ファイルを保存できませんでした。";
inline constexpr char16_t cannotWriteFile[] = u"PDFファイルを保存できませんでした。";
} // namespace printMessages

// The title of a print job: the program's name and the picture's file name,
// "Zorvane - photo.jpg", as the queue lists it; the program's name alone
// without a picture file.
QString printJobTitle(const QString& picturePath);

// One run of the print command: the grid fit, the paper settings written
// into the printer record, the Print dialog, one page of one document drawn
// by the sheet renderer, the record read back and kept in the printer
// settings file.
class PrintJob
{
public:
    enum class Outcome
    {
        DoesNotFit,     // the count does not fit, or no ticket type or paper: message
        NoPrinter,      // no destination could be had: message
        Cancelled,      // the dialog was not confirmed: nothing printed, file untouched
        NotStarted,     // the printer refused the document: message, file untouched
        FileNotWritten, // printed to a file that could not be written whole (a
                        // full disk): the previous file stays; no message, the
                        // caller tells
        Printed,        // printed; the record adopted and saved
    };

    // settingsFilePath: where the record is kept after a print; empty keeps
    // it only in memory.
    PrintJob(PrintDialogPort& dialog, MessageSink messages, QString settingsFilePath);

    // How the job obtains the default printer's record when it holds none.
    void setDefaultsSource(std::function<bool(std::optional<PrinterSettingsBlock>&)> source);

    // job: the sheet as read when the print command started, as the
    // preview shows it. printerSettings: the record the window holds, empty
    // when it holds none. It keeps the paper settings also when the user
    // cancels, and is replaced by the record the dialog hands back after a
    // print. The job is titled after the picture's file (printJobTitle).
    // On a printer with a correction in the job the sheet is drawn
    // through it, so the tickets land where the preview shows them.
    // A run of several sheets is one document of as many pages; a number
    // that does not fit its ticket refuses the print with a message.
    Outcome run(const SheetJob& job, const PictureHolder* picture,
                std::optional<PrinterSettingsBlock>& printerSettings);

    // The calibration sheet of the paper instead of the tickets, through the
    // same dialog and printer record; never corrected, as it measures the
    // printer itself. No paper: the does-not-fit message.
    Outcome runCalibrationSheet(std::optional<PaperKind> paper,
                                std::optional<PrinterSettingsBlock>& printerSettings);

    // Told before each sheet of a run is drawn; false stops the print,
    // which then ends as Cancelled with nothing sent or written.
    void setProgress(std::function<bool(int sheet, int sheets)> progress);

    // The file the last run printed to, or tried to; empty for a printer.
    const QString& outputFile() const { return outputFile_; }

private:
    using PageDrawing = std::function<void(QPrinter&, QPainter&)>;

    bool ensurePrinterSettings(std::optional<PrinterSettingsBlock>& printerSettings);
    Outcome printOnePage(PaperKind paper, std::optional<PrinterSettingsBlock>& printerSettings,
                         const QString& title, const PageDrawing& draw);
    static bool printPage(QPrinter& printer, const QString& title, const PageDrawing& draw);

    PrintDialogPort& dialog_;
    MessageSink messages_;
    QString settingsFilePath_;
    QString outputFile_;
    std::function<bool(int, int)> progress_;
    bool stopped_ = false; // the progress stopped the run being printed
    std::function<bool(std::optional<PrinterSettingsBlock>&)> defaultsSource_ =
        [](std::optional<PrinterSettingsBlock>& settings) { return GetPrinterDefaults(settings); };
};

} // namespace zorvane
