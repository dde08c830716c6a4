#pragma once

#include "settings/JobSettings.h"
#include "settings/SheetValues.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace zorvane {

// Values given on the command line that replace the stored "Main" values
// for one run, without being stored.
struct MainOverrides
{
    std::optional<TicketType> ticketType;
    std::optional<int> customWidth;  // tenths of a millimetre
    std::optional<int> customHeight; // tenths of a millimetre
    std::optional<PaperKind> paper;
    std::optional<QString> countText;
    std::optional<FillOrder> fillOrder;

    void applyTo(MainValues& values) const;
};

// Sheet values given on the command line for one run, in place of the
// stored "Sheet" values.
struct SheetOverrides
{
    std::optional<PicturePlacement> placement;
    bool turned = false;     // --turn: tickets turned for this run
    std::optional<int> skip; // the first N cells in fill order are the used ones
};

// What the program was asked to do. Any option of ours, in any spelling
// the parser takes ("--print", "-print"), or any option it does not know,
// asks for a run without a window; then every argument must be one of ours.
// Qt's own start-up options ("-platform", "-style") go with the window.
struct CommandLine
{
    enum class Mode
    {
        Window,
        Help,
        PrintToFile,
        PrintToPrinter,
        ListLabels,
        Invalid
    };
    enum class FileFormat
    {
        Pdf,
        Png
    };

    static constexpr int defaultDpi = 600;
    static constexpr int maxDpi = 1200;

    Mode mode = Mode::Window;
    QString error; // one line, for Invalid
    QString outputFile;
    FileFormat fileFormat = FileFormat::Pdf;
    QString picturePath;
    int dpi = defaultDpi;
    bool calibrationSheet = false; // the calibration sheet instead of the tickets
    MainOverrides overrides;
    SheetOverrides sheet;
    QString labelName; // a label sheet product, "BRAND PART"; empty for none

    // arguments: as the process got them, the program's path first.
    static CommandLine parse(const QStringList& arguments);
    static bool asksForHeadlessRun(const QStringList& arguments);
    static QString helpText();
};

} // namespace zorvane
