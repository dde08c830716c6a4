#pragma once

#include <QString>

class QPrinter;

namespace zorvane {

// Qt's printer writes a PDF file by itself and notices no failed write, so
// a full disk would leave a cut-off file in place of the previous one. While
// this is alive a printer that prints to a file prints to a temporary file
// beside it instead; commit() checks that the PDF is whole and only then
// moves it over the target. The printer keeps the target's name for
// everything but the printing.
class PrinterFileOutput
{
public:
    explicit PrinterFileOutput(QPrinter& printer);
    ~PrinterFileOutput();

    PrinterFileOutput(const PrinterFileOutput&) = delete;
    PrinterFileOutput& operator=(const PrinterFileOutput&) = delete;

    // Whether the printer prints to a file at all.
    bool active() const { return !target_.isEmpty(); }
    // Whether the temporary file could be made.
    bool ready() const { return !temporary_.isEmpty(); }
    QString target() const { return target_; }

    // After the document ended: moves a whole PDF into place. False (and
    // the target untouched) for a cut-off or unwritable file.
    bool commit();

private:
    void restoreName();

    QPrinter& printer_;
    QString target_;
    QString temporary_;
};

// Whether the bytes end like a PDF that was written out completely: the
// end marker, and a cross-reference offset that lands on the table.
bool isCompletePdf(const QByteArray& pdf);

} // namespace zorvane
