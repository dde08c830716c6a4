#include "SystemPrintDialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>

namespace zorvane {
namespace {

// Qt's Unix Print dialog always opens on a printer queue, even for a
// printer that writes a PDF file, and greys the file name out. This one
// opens on "Print to File" with the file name when the printer writes a
// file, so the destination chosen last time is the one offered again.
class DestinationKeepingDialog : public QPrintDialog
{
public:
    // toFile and fileName: the printer's destination before the dialog
    // reset it to a queue.
    DestinationKeepingDialog(QPrinter* printer, QWidget* parent, bool toFile, QString fileName)
        : QPrintDialog(printer, parent), toFile_(toFile), fileName_(std::move(fileName))
    {}

    void setVisible(bool visible) override
    {
        QPrintDialog::setVisible(visible);
        if (visible && toFile_ && !fileEntrySelected_)
            selectFileEntry();
    }

private:
    // The file entry is the last one of the destination list; it is added
    // when the dialog is first shown.
    void selectFileEntry()
    {
        auto* destinations = findChild<QComboBox*>(QStringLiteral("printers"));
        auto* fileName = findChild<QLineEdit*>(QStringLiteral("filename"));
        if (!destinations || !fileName || destinations->count() == 0)
            return;
        destinations->setCurrentIndex(destinations->count() - 1);
        if (!fileName_.isEmpty())
            fileName->setText(fileName_);
        fileEntrySelected_ = true;
    }

    bool toFile_ = false;
    QString fileName_;
    bool fileEntrySelected_ = false;
};

} // namespace

bool SystemPrintDialog::confirm(QPrinter& printer)
{
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    DestinationKeepingDialog dialog(&printer, parent_, toFile, printer.outputFileName());
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    dialog.setOption(QAbstractPrintDialog::PrintShowPageSize, true);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace zorvane
