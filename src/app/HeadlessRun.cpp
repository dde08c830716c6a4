#include "HeadlessRun.h"

#include "CommandLine.h"
#include "RunJob.h"
#include "layout/LabelSheetFit.h"
#include "layout/SheetGeometry.h"
#include "picture/PictureHolder.h"
#include "print/PrintDialogPort.h"
#include "print/PrintJob.h"
#include "print/PrinterSettingsFile.h"
#include "print/SheetExport.h"
#include "settings/LabelDatabase.h"
#include "settings/SettingsStore.h"

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

// After a print on paper, the printed cells become used when the user asked
// for that in the window, unless the command line chose the used cells.
void markPrintedCells(const CommandLine& line, SettingsStore& store, const SheetJob& job)
{
    if (!line.sheet.skip && loadSheetChoices(store).markPrinted)
        saveUsedCells(store, job, usedAfterPrint(job));
}

int printToFile(const CommandLine& line, const SheetJob& job, const PictureHolder* picture)
{
    const auto format = line.fileFormat == CommandLine::FileFormat::Pdf ? SheetFileFormat::Pdf
                                                                        : SheetFileFormat::Png;
    const SheetExportResult result =
        line.calibrationSheet ? exportCalibrationSheet(line.outputFile, format, line.dpi, job.paper)
                              : exportSheet(line.outputFile, format, line.dpi, job, picture);
    switch (result) {
    case SheetExportResult::Written:
        return exitStatus::printed;
    case SheetExportResult::DoesNotFit:
        return fail(exitStatus::doesNotFit, QString::fromUtf16(printMessages::doesNotFit));
    case SheetExportResult::NumbersDoNotFit:
        return fail(exitStatus::doesNotFit, QString::fromUtf16(numberingMessages::doesNotFit));
    case SheetExportResult::Cancelled:
        return exitStatus::printerFailed;
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
int printToPrinter(const CommandLine& line, const SheetJob& job, SettingsStore& store,
                   const PictureHolder* picture, const QString& storePath)
{
    ConfirmedWithoutDialog dialog;
    QStringList messages;
    PrintJob print(
        dialog, [&messages](const QString& text) { messages.append(text); }, QString());
    print.setDefaultsSource([&storePath](std::optional<PrinterSettingsBlock>& settings) {
        return GetStoredPrinterDefaults(settings, printerSettingsFilePath(storePath));
    });
    std::optional<PrinterSettingsBlock> printerSettings;
    const PrintJob::Outcome outcome = line.calibrationSheet
                                          ? print.runCalibrationSheet(job.paper, printerSettings)
                                          : print.run(job, picture, printerSettings);
    // The printer settings file may name a file to print to; one that
    // cannot be written is treated as one named with --print-to.
    if (!print.outputFile().isEmpty() &&
        (outcome == PrintJob::Outcome::NotStarted || outcome == PrintJob::Outcome::FileNotWritten))
        return fail(exitStatus::badInput, u"cannot write '%1'"_s.arg(print.outputFile()));
    // Held back until now so that a file that cannot be written is the one
    // line reported.
    for (const QString& message : std::as_const(messages))
        printError(message);
    switch (outcome) {
    case PrintJob::Outcome::Printed:
        if (!line.calibrationSheet)
            markPrintedCells(line, store, job);
        // Only paper advances the numbers: a print into a file is a draft.
        if (!line.calibrationSheet && print.outputFile().isEmpty())
            saveStartAfterPrintedRun(store, job.numbering, job.count);
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

// A picture that was named but cannot be read is the user's mistake to mend
// first. The calibration sheet draws no picture; one that is named anyway
// is not read.
int loadRunPicture(const CommandLine& line, std::unique_ptr<PictureHolder>& picture)
{
    if (line.calibrationSheet || line.picturePath.isEmpty())
        return exitStatus::printed;
    // A printer needs the full pixels; a file's export decodes only as far
    // as the file needs.
    picture = line.mode == CommandLine::Mode::PrintToPrinter
                  ? PictureHolder::load(line.picturePath)
                  : PictureHolder::open(line.picturePath);
    if (!picture)
        return fail(exitStatus::badInput, u"cannot read the picture '%1'"_s.arg(line.picturePath));
    // Printed all the same: the colours are as near as the file allows.
    if (picture->profileUse() == ProfileUse::Ignored)
        printError(
            u"the colour profile of '%1' cannot be used; its colours are taken as sRGB"_s.arg(
                line.picturePath));
    return exitStatus::printed;
}

// A sheet without tickets would be a blank page.
int checkSomethingToPrint(const CommandLine& line, const SheetJob& job,
                          const PictureHolder* picture)
{
    if (line.calibrationSheet)
        return exitStatus::printed;
    if (job.count <= 0)
        return fail(exitStatus::nothingToPrint,
                    u"nothing to print: the count is %1 (give --count N)"_s.arg(job.count));
    if (job.ticketHasNoArea())
        return fail(exitStatus::nothingToPrint,
                    u"nothing to print: the ticket is %1 x %2 (give --size WIDTHxHEIGHT of "
                    u"1 or more)"_s.arg(job.ticket->width)
                        .arg(job.ticket->height));
    if (!picture)
        return fail(exitStatus::nothingToPrint,
                    u"nothing to print: no picture (give --picture PATH or a file name)"_s);
    return exitStatus::printed;
}

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
    std::unique_ptr<PictureHolder> picture;
    if (const int status = loadRunPicture(line, picture); status != exitStatus::printed)
        return status;

    reportUnusableStore(storePath);
    SettingsStore store(storePath);
    const SheetJob job = runJob(line, store, labelSheet);
    if (const int status = checkSomethingToPrint(line, job, picture.get());
        status != exitStatus::printed)
        return status;
    if (line.mode == CommandLine::Mode::PrintToFile)
        return printToFile(line, job, picture.get());
    return printToPrinter(line, job, store, picture.get(), storePath);
}

} // namespace zorvane
