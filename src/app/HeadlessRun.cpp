#include "HeadlessRun.h"

#include "CommandLine.h"
#include "picture/PictureHolder.h"
#include "print/PrintDialogPort.h"
#include "print/PrintJob.h"
#include "print/PrinterSettingsFile.h"
#include "print/SheetExport.h"
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

int fail(int status, const QString& message)
{
    printLine(stderr, u"Zorvane: "_s + message);
    return status;
}

// Without a window the user has already said yes on the command line.
class ConfirmedWithoutDialog : public PrintDialogPort
{
public:
    bool confirm(QPrinter&) override { return true; }
};

int printToFile(const CommandLine& line, const MainValues& main, const SettingsStore& store,
                const PictureHolder& picture)
{
    const auto format = line.fileFormat == CommandLine::FileFormat::Pdf ? SheetFileFormat::Pdf
                                                                        : SheetFileFormat::Png;
    switch (exportSheet(line.outputFile, format, line.dpi, main, store, &picture)) {
    case SheetExportResult::Written:
        return exitStatus::printed;
    case SheetExportResult::DoesNotFit:
        printLine(stderr, QString::fromUtf16(printMessages::doesNotFit));
        return exitStatus::doesNotFit;
    case SheetExportResult::CannotWrite:
        break;
    }
    return fail(exitStatus::badInput, u"cannot write '%1'"_s.arg(line.outputFile));
}

// As the window would print at its first print command: the default
// printer's record with the printer settings file laid over it, then the
// job's paper settings; only the dialog is left out, and the record is not
// written back.
int printToPrinter(const MainValues& main, SettingsStore& store, const PictureHolder& picture,
                   const QString& storePath)
{
    ConfirmedWithoutDialog dialog;
    PrintJob job(
        dialog, [](const QString& text) { printLine(stderr, text); }, QString());
    job.setDefaultsSource([&storePath](std::optional<PrinterSettingsBlock>& settings) {
        if (!GetPrinterDefaults(settings, WithoutPrinter::Fail))
            return false;
        LoadPrinterSettingsFile(*settings, printerSettingsFilePath(storePath));
        return true;
    });
    std::optional<PrinterSettingsBlock> printerSettings;
    switch (job.run(main, store, &picture, printerSettings)) {
    case PrintJob::Outcome::Printed:
        return exitStatus::printed;
    case PrintJob::Outcome::DoesNotFit:
        return exitStatus::doesNotFit;
    case PrintJob::Outcome::FileNotWritten:
        // The printer settings file named a file to print to; it is
        // treated as one named with --print-to.
        return fail(exitStatus::badInput, u"cannot write '%1'"_s.arg(job.outputFile()));
    case PrintJob::Outcome::NoPrinter:
    case PrintJob::Outcome::NotStarted:
    case PrintJob::Outcome::Cancelled:
        break;
    }
    return exitStatus::printerFailed;
}

} // namespace

void reportStoreInMemory(const SettingsStore& store)
{
    if (store.inMemoryOnly())
        fail(0, u"'%1' is not a regular file; using the default settings for this run"_s.arg(
                    store.fileName()));
}

int runHeadless(const CommandLine& line, const QString& storePath)
{
    switch (line.mode) {
    case CommandLine::Mode::Help:
        printLine(stdout, CommandLine::helpText());
        return exitStatus::printed;
    case CommandLine::Mode::Invalid:
        return fail(exitStatus::badInput, line.error + u" (see --help)"_s);
    case CommandLine::Mode::Window:
        return fail(exitStatus::badInput, u"nothing to do without a window"_s);
    case CommandLine::Mode::PrintToFile:
    case CommandLine::Mode::PrintToPrinter:
        break;
    }

    const std::unique_ptr<PictureHolder> picture = PictureHolder::load(line.picturePath);
    if (!picture)
        return fail(exitStatus::badInput, u"cannot read the picture '%1'"_s.arg(line.picturePath));

    SettingsStore store(storePath);
    reportStoreInMemory(store);
    MainValues main = loadMainValues(store);
    line.overrides.applyTo(main);
    if (line.mode == CommandLine::Mode::PrintToFile)
        return printToFile(line, main, store, *picture);
    return printToPrinter(main, store, *picture, storePath);
}

} // namespace zorvane
