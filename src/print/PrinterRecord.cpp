#include "PrinterRecord.h"

#include "DeviceModeLayout.h"
#include "DriverExtraTail.h"
#include "PaperCodes.h"

#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorvane {
namespace {

// Qt's CUPS print engine keeps the job options chosen in the Print dialog
// (a list of name, value pairs) under this engine property.
constexpr auto cupsOptionsProperty = QPrintEngine::PrintEnginePropertyKey(0xfe00);

std::int16_t toShort(int value)
{
    return std::int16_t(std::clamp<int>(value, std::numeric_limits<std::int16_t>::min(),
                                        std::numeric_limits<std::int16_t>::max()));
}

// The first bytes of a name that fit into a fixed field, cut between whole
// UTF-8 characters.
QByteArray fittingUtf8(const QString& text, int maxBytes)
{
    QByteArray utf8 = text.toUtf8();
    if (utf8.size() <= maxBytes)
        return utf8;
    int cut = maxBytes;
    while (cut > 0 && (uchar(utf8[cut]) & 0xC0) == 0x80)
        --cut;
    return utf8.first(cut);
}

std::int16_t duplexCode(QPrinter::DuplexMode mode)
{
    switch (mode) {
    case QPrinter::DuplexNone:
        return devmode::simplex;
    case QPrinter::DuplexShortSide:
        return devmode::duplexShortEdge;
    case QPrinter::DuplexAuto:
    case QPrinter::DuplexLongSide:
        return devmode::duplexLongEdge;
    }
    return devmode::simplex;
}

QPrinter::DuplexMode duplexMode(std::int16_t code)
{
    switch (code) {
    case devmode::duplexLongEdge:
        return QPrinter::DuplexLongSide;
    case devmode::duplexShortEdge:
        return QPrinter::DuplexShortSide;
    default:
        return QPrinter::DuplexNone;
    }
}

void writePaper(PrinterSettingsBlock& block, const QPageSize& pageSize, std::uint32_t& fields)
{
    fields |= devmode::hasPaperSize | devmode::hasFormName;
    block.writeText(devmode::formName, devmode::nameWidth, fittingUtf8(pageSize.name(), 31));
    if (const auto code = paperCodeOf(pageSize.id())) {
        block.writeI16(devmode::paperSize, toShort(*code));
        return;
    }
    const QSizeF mm = pageSize.size(QPageSize::Millimeter);
    block.writeI16(devmode::paperSize, devmode::paperUser);
    block.writeI16(devmode::paperWidth, toShort(int(std::lround(mm.width() * 10))));
    block.writeI16(devmode::paperLength, toShort(int(std::lround(mm.height() * 10))));
    fields |= devmode::hasPaperLength | devmode::hasPaperWidth;
}

DriverExtraTail tailOf(const QPrinter& printer)
{
    DriverExtraTail tail;
    tail.pdfFile = printer.outputFormat() == QPrinter::PdfFormat;
    tail.printerName = tail.pdfFile ? QString() : printer.printerName();
    tail.outputFile = printer.outputFileName();
    if (!tail.pdfFile)
        tail.cupsOptions = printer.printEngine()->property(cupsOptionsProperty).toStringList();
    return tail;
}

} // namespace

PrinterSettingsBlock PrinterRecord::fromPrinter(const QPrinter& printer)
{
    PrinterSettingsBlock block;
    const DriverExtraTail tail = tailOf(printer);
    block.writeText(devmode::deviceName, devmode::nameWidth, fittingUtf8(tail.printerName, 31));
    block.writeU16(devmode::driverVersion, devmode::tailVersion);

    std::uint32_t fields = devmode::hasOrientation | devmode::hasCopies | devmode::hasColor |
                           devmode::hasDuplex | devmode::hasCollate;
    const QPageLayout layout = printer.pageLayout();
    block.writeI16(devmode::orientation, layout.orientation() == QPageLayout::Landscape
                                             ? devmode::landscape
                                             : devmode::portrait);
    writePaper(block, layout.pageSize(), fields);
    block.writeI16(devmode::copies, toShort(printer.copyCount()));
    block.writeI16(devmode::color,
                   printer.colorMode() == QPrinter::Color ? devmode::colour : devmode::monochrome);
    block.writeI16(devmode::duplex, duplexCode(printer.duplex()));
    block.writeI16(devmode::collate, printer.collateCopies() ? 1 : 0);
    if (printer.resolution() > 0) {
        block.writeI16(devmode::printQuality, toShort(printer.resolution()));
        block.writeI16(devmode::yResolution, toShort(printer.resolution()));
        fields |= devmode::hasPrintQuality | devmode::hasYResolution;
    }
    block.writeU32(devmode::fields, fields);
    block.setDriverExtra(tail.encode(PrinterSettingsBlock::driverExtraCapacity));
    return block;
}

namespace {

class FieldReader
{
public:
    explicit FieldReader(const PrinterSettingsBlock& block) : block_(block) {}

    // The value of a 16-bit field, when the record flags it and its public
    // part reaches over it.
    std::optional<std::int16_t> value(int offset, std::uint32_t flag) const
    {
        if ((block_.dmFields() & flag) == 0 || !block_.publicPartCovers(offset, 2))
            return std::nullopt;
        return block_.readI16(offset);
    }

private:
    const PrinterSettingsBlock& block_;
};

void applyDestination(const DriverExtraTail& tail, const PrinterSettingsBlock& block,
                      QPrinter& printer)
{
    if (tail.pdfFile) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(tail.outputFile);
        return;
    }
    QString name = tail.printerName;
    if (name.isEmpty() && block.publicPartCovers(devmode::deviceName, devmode::nameWidth))
        name = QString::fromUtf8(block.readText(devmode::deviceName, devmode::nameWidth));
    const bool stillThere = !name.isEmpty() && !QPrinterInfo::printerInfo(name).isNull();
    if (!stillThere)
        name = QPrinterInfo::defaultPrinterName();
    if (name.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        return;
    }
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(name);
    // Job options belong to the printer they were chosen for.
    if (stillThere && !tail.cupsOptions.isEmpty())
        printer.printEngine()->setProperty(cupsOptionsProperty, tail.cupsOptions);
}

std::optional<QPageSize> pageSizeOf(const FieldReader& read)
{
    const auto code = read.value(devmode::paperSize, devmode::hasPaperSize);
    if (!code)
        return std::nullopt;
    if (const auto id = pageSizeIdOf(*code))
        return QPageSize(*id);
    const auto width = read.value(devmode::paperWidth, devmode::hasPaperWidth);
    const auto length = read.value(devmode::paperLength, devmode::hasPaperLength);
    if (!width || !length || *width <= 0 || *length <= 0)
        return std::nullopt;
    // An exact match only: Qt would otherwise take a wide custom sheet for
    // a standard size turned on its side.
    return QPageSize(QSizeF(*width / 10.0, *length / 10.0), QPageSize::Millimeter, QString(),
                     QPageSize::ExactMatch);
}

} // namespace

void PrinterRecord::applyPaperTo(const PrinterSettingsBlock& block, QPrinter& printer)
{
    const FieldReader read(block);
    if (const auto pageSize = pageSizeOf(read))
        printer.setPageSize(*pageSize);
    if (const auto orientation = read.value(devmode::orientation, devmode::hasOrientation))
        printer.setPageOrientation(*orientation == devmode::landscape ? QPageLayout::Landscape
                                                                      : QPageLayout::Portrait);
}

void PrinterRecord::applyTo(const PrinterSettingsBlock& block, QPrinter& printer)
{
    applyDestination(DriverExtraTail::decode(block.driverExtra()), block, printer);
    applyPaperTo(block, printer);

    const FieldReader read(block);
    if (const auto copies = read.value(devmode::copies, devmode::hasCopies); copies && *copies > 0)
        printer.setCopyCount(*copies);
    if (const auto color = read.value(devmode::color, devmode::hasColor))
        printer.setColorMode(*color == devmode::colour ? QPrinter::Color : QPrinter::GrayScale);
    if (const auto duplex = read.value(devmode::duplex, devmode::hasDuplex))
        printer.setDuplex(duplexMode(*duplex));
    if (const auto collate = read.value(devmode::collate, devmode::hasCollate))
        printer.setCollateCopies(*collate != 0);
    if (const auto dpi = read.value(devmode::printQuality, devmode::hasPrintQuality);
        dpi && *dpi > 0)
        printer.setResolution(*dpi);
}

} // namespace zorvane
