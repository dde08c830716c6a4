#include "HeadlessRun.h"

#include "CommandLine.h"
#include "layout/LabelSheetFit.h"
#include "layout/SheetGeometry.h"
#include "picture/PictureHolder.h"
#include "print/PrintDialogPort.h"
#include "print/PrintJob.h"
#include "print/PrinterSettingsFile.h"
#include "print/SheetExport.h"
#include "settings/LabelDatabase.h"
#include "settings/SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace zorvane {
namespace {

void printLine(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    if (!text.endsWith(u'\n'))
        std::fputc('\n', stream);
    std::fflush(stream);
}

// Every error is one line, so scripts can read it; the window's two-line
// messages are joined.
void printError(const QString& message)
{
    printLine(stderr, u"Zorvane: "_s + QString(message).remove(u'\n'));
}

int fail(int status, const QString& message)
{
    printError(message);
    return status;
}

// Without a window the user has already said yes on the command line.
class ConfirmedWithoutDialog : public PrintDialogPort
{
public:
    bool confirm(QPrinter&) override { return true; }
};

// The sheet values as the window would use them, with the command line's
// in their place (and no stored turn on a label sheet): --skip makes the first cells in fill order
// the used ones instead of the cells marked for this paper and ticket.
SheetOptions sheetOptionsForRun(const CommandLine& line, const SettingsStore& store,
                                const MainValues& main)
{
    const SheetChoices choices = loadSheetChoices(store);
    SheetOptions sheet;
    sheet.placement = line.sheet.placement.value_or(choices.placement);
    // A label sheet's labels stand as given: the turn stored in the window
    // is not theirs, only --turn turns them.
    sheet.turned = line.sheet.turned || (choices.turned && line.labelName.isEmpty());
    if (line.sheet.skip) {
        if (main.fillOrder) {
            const GridSize grid = fitSheet(main, loadOptionValues(store), sheet).fit.grid;
            sheet.usedCells = firstCells(*main.fillOrder, grid, *line.sheet.skip);
        }
    } else if (main.paper && main.ticketType) {
        const TicketSize size = laidOutSize(
            ticketSize(*main.ticketType, main.customWidth, main.customHeight), sheet.turned);
        sheet.usedCells = loadUsedCells(store, *main.paper, size, sheet.turned);
    }
    return sheet;
}

// After a print on paper, the printed cells become used when the user asked
// for that in the window, unless the command line chose the used cells.
void markPrintedCells(const CommandLine& line, SettingsStore& store, const MainValues& main,
                      const SheetOptions& sheet)
{
    if (line.sheet.skip || !loadSheetChoices(store).markPrinted || !main.paper || !main.ticketType)
        return;
    const TicketSize size = laidOutSize(
        ticketSize(*main.ticketType, main.customWidth, main.customHeight), sheet.turned);
    saveUsedCells(store, *main.paper, size, sheet.turned,
                  usedAfterPrint(main, loadOptionValues(store), sheet));
}

int printToFile(const CommandLine& line, const MainValues& main, const SettingsStore& store,
                const PictureHolder* picture)
{
    const auto format = line.fileFormat == CommandLine::FileFormat::Pdf ? SheetFileFormat::Pdf
                                                                        : SheetFileFormat::Png;
    const SheetOptions sheet = sheetOptionsForRun(line, store, main);
    const SheetExportResult result =
        line.calibrationSheet
            ? exportCalibrationSheet(line.outputFile, format, line.dpi, main.paper)
            : exportSheet(line.outputFile, format, line.dpi, main, store, picture, sheet);
    switch (result) {
    case SheetExportResult::Written:
        return exitStatus::printed;
    case SheetExportResult::DoesNotFit:
        return fail(exitStatus::doesNotFit, QString::fromUtf16(printMessages::doesNotFit));
    case SheetExportResult::PictureUnreadable:
        return fail(exitStatus::badInput, u"cannot read the picture '%1'"_s.arg(line.picturePath));
    case SheetExportResult::CannotWrite:
        break;
    }
    return fail(exitStatus::badInput, u"cannot write '%1'"_s.arg(line.outputFile));
}

// As the window would print at its first print command: the default
// printer's record with the printer settings file laid over it, then the
// job's paper settings; only the dialog is left out, and the record is not
// written back.
int printToPrinter(const CommandLine& line, const MainValues& main, SettingsStore& store,
                   const PictureHolder* picture, const QString& storePath)
{
    ConfirmedWithoutDialog dialog;
    QStringList messages;
    PrintJob job(
        dialog, [&messages](const QString& text) { messages.append(text); }, QString());
    job.setDefaultsSource([&storePath](std::optional<PrinterSettingsBlock>& settings) {
        if (!GetPrinterDefaults(settings, WithoutPrinter::Fail))
            return false;
        LoadPrinterSettingsFile(*settings, printerSettingsFilePath(storePath));
        return true;
    });
    std::optional<PrinterSettingsBlock> printerSettings;
    const SheetOptions sheet = sheetOptionsForRun(line, store, main);
    const PrintJob::Outcome outcome = line.calibrationSheet
                                          ? job.runCalibrationSheet(main.paper, printerSettings)
                                          : job.run(main, store, picture, printerSettings, sheet);
    // The printer settings file may name a file to print to; one that
    // cannot be written is treated as one named with --print-to.
    if (!job.outputFile().isEmpty() &&
        (outcome == PrintJob::Outcome::NotStarted || outcome == PrintJob::Outcome::FileNotWritten))
        return fail(exitStatus::badInput, u"cannot write '%1'"_s.arg(job.outputFile()));
    // Held back until now so that a file that cannot be written is the one
    // line reported.
    for (const QString& message : std::as_const(messages))
        printError(message);
    switch (outcome) {
    case PrintJob::Outcome::Printed:
        if (!line.calibrationSheet)
            markPrintedCells(line, store, main, sheet);
        return exitStatus::printed;
    case PrintJob::Outcome::DoesNotFit:
        return exitStatus::doesNotFit;
    case PrintJob::Outcome::FileNotWritten:
    case PrintJob::Outcome::NoPrinter:
    case PrintJob::Outcome::NotStarted:
    case PrintJob::Outcome::Cancelled:
        break;
    }
    return exitStatus::printerFailed;
}

LabelDatabase loadLabels()
{
    LabelDatabase database = LabelDatabase::load(LabelDatabase::standardFolders());
    for (const QString& problem : database.problems())
        printLine(stderr, u"Zorvane: "_s + problem);
    return database;
}

QString noDatabaseMessage()
{
    return u"no label sheet database found (install glabels-data, or put files in %1)"_s.arg(
        LabelDatabase::userFolder());
}

// One line per product the program can print: the name that --label takes,
// then the paper, the label size, columns x rows and how many labels lie
// within the extent the program prints.
int listLabels()
{
    const LabelDatabase database = loadLabels();
    if (database.products().isEmpty())
        return fail(exitStatus::badInput, noDatabaseMessage());
    static constexpr const char* paperNames[] = {"A4", "B5", "A4Quarter"};
    for (const PrintableLabelSheet& entry : printableLabelSheets(database)) {
        const LabelSheet& sheet = entry.sheet;
        printLine(stdout,
                  u"%1\t%2\t%3 x %4 mm\t%5 x %6\t%7 of %8 fit"_s
                      .arg(entry.product.name(), QLatin1StringView(paperNames[int(sheet.paper)]),
                           QString::number(sheet.labelWidth / 10.0, 'f', 1),
                           QString::number(sheet.labelHeight / 10.0, 'f', 1))
                      .arg(sheet.columns)
                      .arg(sheet.rows)
                      .arg(entry.fit)
                      .arg(sheet.labelCount()));
    }
    return exitStatus::printed;
}

// The sheet of the product the command line names, or the reason why there
// is none.
std::optional<LabelSheet> labelSheetNamed(const QString& name, QString& whyNot)
{
    const LabelDatabase database = loadLabels();
    if (database.products().isEmpty()) {
        whyNot = noDatabaseMessage();
        return std::nullopt;
    }
    const LabelTemplate* product = database.find(name);
    if (!product) {
        whyNot = u"no label sheet product '%1' (see --list-labels)"_s.arg(name);
        return std::nullopt;
    }
    const LabelSheetConversion converted = convertLabelSheet(*product);
    if (!converted.sheet) {
        whyNot = u"cannot print on '%1': %2"_s.arg(product->name(), converted.whyNot);
        return std::nullopt;
    }
    if (labelsThatFit(*converted.sheet) == 0) {
        whyNot = u"cannot print on '%1': none of its labels lies within the printed extent"_s.arg(
            product->name());
        return std::nullopt;
    }
    return converted.sheet;
}

// A label sheet changes advanced values for this run only: they are written
// into a copy of the store that the run reads and then throws away.
class RunStore
{
public:
    explicit RunStore(const QString& storePath) : path_(storePath) {}

    bool makePrivateCopy()
    {
        if (!dir_.isValid())
            return false;
        const QString copy = dir_.filePath(u"store.ini"_s);
        // A store that is no regular file is not read: the copy starts empty.
        if (QFile::exists(path_) && !SettingsStore::isUnusablePath(path_) &&
            !QFile::copy(path_, copy))
            return false;
        path_ = copy;
        return true;
    }
    const QString& path() const { return path_; }

private:
    QString path_;
    QTemporaryDir dir_;
};

} // namespace

void reportUnusableStore(const QString& storePath)
{
    if (SettingsStore::isUnusablePath(storePath))
        fail(0, u"'%1' is not a regular file; using the default settings for this run"_s.arg(
                    storePath));
}

int runHeadless(const CommandLine& line, const QString& storePath)
{
    switch (line.mode) {
    case CommandLine::Mode::Help:
        printLine(stdout, CommandLine::helpText());
        return exitStatus::printed;
    case CommandLine::Mode::Version:
        printLine(stdout, CommandLine::versionText());
        return exitStatus::printed;
    case CommandLine::Mode::Invalid:
        return fail(exitStatus::badInput, line.error + u" (see --help)"_s);
    case CommandLine::Mode::Window:
        return fail(exitStatus::badInput, u"nothing to do without a window"_s);
    case CommandLine::Mode::ListLabels:
        return listLabels();
    case CommandLine::Mode::PrintToFile:
    case CommandLine::Mode::PrintToPrinter:
        break;
    }

    std::optional<LabelSheet> labelSheet;
    if (!line.labelName.isEmpty()) {
        QString whyNot;
        labelSheet = labelSheetNamed(line.labelName, whyNot);
        if (!labelSheet)
            return fail(exitStatus::badInput, whyNot);
    }

    // A picture that was named but cannot be read is the user's mistake to
    // mend first; then a sheet without tickets, which would be a blank page.
    // The calibration sheet draws no picture; one that is named anyway is
    // not read.
    std::unique_ptr<PictureHolder> picture;
    if (!line.calibrationSheet && !line.picturePath.isEmpty()) {
        // A printer needs the full pixels; a file's export decodes only as
        // far as the file needs.
        picture = line.mode == CommandLine::Mode::PrintToPrinter
                      ? PictureHolder::load(line.picturePath)
                      : PictureHolder::open(line.picturePath);
        if (!picture)
            return fail(exitStatus::badInput,
                        u"cannot read the picture '%1'"_s.arg(line.picturePath));
    }

    reportUnusableStore(storePath);
    RunStore runStore(storePath);
    if (labelSheet && !runStore.makePrivateCopy())
        return fail(exitStatus::badInput, u"cannot make a private copy of the settings"_s);
    SettingsStore store(runStore.path());
    MainValues main = loadMainValues(store);
    line.overrides.applyTo(main);
    if (labelSheet) {
        OptionValues options = loadOptionValues(store);
        applyLabelSheet(*labelSheet, main, options);
        saveOptionValues(store, options);
    }
    if (!line.calibrationSheet) {
        if (const int count = requestedCount(main); count <= 0)
            return fail(exitStatus::nothingToPrint,
                        u"nothing to print: the count is %1 (give --count N)"_s.arg(count));
        if (ticketHasNoArea(main))
            return fail(exitStatus::nothingToPrint,
                        u"nothing to print: the ticket is %1 x %2 (give --size WIDTHxHEIGHT of "
                        u"1 or more)"_s.arg(main.customWidth)
                            .arg(main.customHeight));
        if (!picture)
            return fail(exitStatus::nothingToPrint,
                        u"nothing to print: no picture (give --picture PATH or a file name)"_s);
    }
    if (line.mode == CommandLine::Mode::PrintToFile)
        return printToFile(line, main, store, picture.get());
    return printToPrinter(line, main, store, picture.get(), storePath);
}

} // namespace zorvane
