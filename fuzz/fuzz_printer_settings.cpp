// The printer settings block and its file: any bytes laid over a block,
// read by field and tail, applied to a printer and read back.
#include "FuzzSupport.h"
#include "print/DriverExtraTail.h"
#include "print/PrinterRecord.h"
#include "print/PrinterSettingsBlock.h"
#include "print/PrinterSettingsFile.h"

#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

using namespace zorvane;

namespace {
std::unique_ptr<QTemporaryDir> directory;

void exercise(const PrinterSettingsBlock& block)
{
    if (block.recordLength() > block.size())
        std::abort(); // the block's promise: a record always fits
    const DriverExtraTail tail = DriverExtraTail::decode(block.driverExtra());
    if (tail.encode(PrinterSettingsBlock::driverExtraCapacity).size() >
        PrinterSettingsBlock::driverExtraCapacity)
        std::abort();
    QPrinter printer(QPrinter::HighResolution);
    PrinterRecord::applyTo(block, printer);
    const PrinterSettingsBlock back = PrinterRecord::fromPrinter(printer);
    if (back.recordLength() > back.size())
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char*** argv)
{
    fuzz::startApplication<QGuiApplication>(argv);
    directory = fuzz::scratchDirectory();
    // Printer support loads its plugin once for the whole run.
    exercise(PrinterSettingsBlock());
    return directory->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    // As a block handed over in memory.
    PrinterSettingsBlock block;
    block.overlay(bytes);
    exercise(block);

    // As the file on disk.
    const QString path = directory->filePath(QStringLiteral("devmode.zvn"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(bytes);
    }
    PrinterSettingsBlock fromFile;
    LoadPrinterSettingsFile(fromFile, path);
    exercise(fromFile);
    return 0;
}
