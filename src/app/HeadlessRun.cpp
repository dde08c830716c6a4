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

int printToFile(const CommandLine& line, const MainValues& main, const SettingsStore& store,
                const PictureHolder& picture)
{
    const auto format = line.fileFormat == CommandLine::FileFormat::Pdf ? SheetFileFormat::Pdf
                                                                        : SheetFileFormat::Png;
    switch (exportSheet(line.outputFile, format, line.dpi, main, store, &picture)) {
    case SheetExportResult::Written:
        return exitStatus::printed;
    case SheetExportResult::DoesNotFit:
        return fail(exitStatus::doesNotFit, QString::fromUtf16(printMessages::doesNotFit));
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
        dialog, [](const QString& text) { printError(text); }, QString());
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
    case PrintJob::Outcome::NoPrinter:
    case PrintJob::Outcome::NotStarted:
    case PrintJob::Outcome::Cancelled:
        break;
    }
    return exitStatus::printerFailed;
}

} // namespace

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
    case CommandLine::Mode::PrintToFile:
    case CommandLine::Mode::PrintToPrinter:
        break;
    }

    SettingsStore store(storePath);
    MainValues main = loadMainValues(store);
    line.overrides.applyTo(main);
    // A picture that was named but cannot be read is the user's mistake to
    // mend first; then a sheet without tickets, which would be a blank page.
    std::unique_ptr<PictureHolder> picture;
    if (!line.picturePath.isEmpty()) {
        picture = PictureHolder::load(line.picturePath);
        if (!picture)
            return fail(exitStatus::badInput,
                        u"cannot read the picture '%1'"_s.arg(line.picturePath));
    }
    if (const int count = requestedCount(main); count <= 0)
        return fail(exitStatus::nothingToPrint,
                    u"nothing to print: the count is %1 (give --count N)"_s.arg(count));
    if (!picture)
        return fail(exitStatus::nothingToPrint,
                    u"nothing to print: no picture (give --picture PATH or a file name)"_s);

    if (line.mode == CommandLine::Mode::PrintToFile)
        return printToFile(line, main, store, *picture);
    return printToPrinter(main, store, *picture, storePath);
}

} // namespace zorvane
