#pragma once

#include "settings/JobSettings.h"
#include "settings/Numbering.h"
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
    bool turned = false;      // --turn: tickets turned for this run
    std::optional<int> skip;  // the first N cells in fill order are the used ones
    bool cutMarks = false;    // --cut-marks: cut marks for this run
    std::optional<int> bleed; // --bleed N, in tenths of a millimetre
};

// Numbering given on the command line for one run; --number turns it on.
struct NumberingOverrides
{
    std::optional<int> start;
    std::optional<int> digits;
    std::optional<QString> prefix;
    std::optional<QString> suffix;
    std::optional<int> sheets;

    void applyTo(NumberingValues& values) const;
};

// What the program was asked to do. The parser alone decides: an action
// option (--print-to, --print, --help, --version) asks for a run without a
// window; anything else opens the window, with the picture named by a lone
// file argument. Unknown options and a second file are refused.
//
// A new option is one row in the option table of CommandLine.cpp (its
// names, its line in --help and the function that reads its value), a
// member here for that value, and, if it only goes with some others, one
// rule in the combination checks there.
struct CommandLine
{
    enum class Mode
    {
        Window,
        Help,
        Version,
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
    QString picturePath; // in the window, the picture to open; may be empty
    int dpi = defaultDpi;
    bool calibrationSheet = false; // the calibration sheet instead of the tickets
    MainOverrides overrides;
    SheetOverrides sheet;
    NumberingOverrides numbering;
    QString labelName;     // a label sheet product, "BRAND PART"; empty for none
    bool countAll = false; // --count all: as many tickets as there are free cells

    bool opensWindow() const { return mode == Mode::Window; }
    // Keeps the first fault: it is the one the user has to mend first.
    void refuse(const QString& message);

    // arguments: as the process got them, the program's path first. Qt's
    // own options (-platform, -style, ...) are left for Qt and go with the
    // window; a windowless run refuses them.
    static CommandLine parse(const QStringList& arguments);
    static QString helpText();
    static QString versionText();
};

} // namespace zorvane
