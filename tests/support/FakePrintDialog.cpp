#include "FakePrintDialog.h"

#include <QPrinter>

namespace zorvane::test {

bool FakePrintDialog::confirm(QPrinter& printer)
{
    ++shown;
    layoutShown = printer.pageLayout();
    if (user)
        return user(printer);
    if (file.isEmpty())
        return false;
    printsTo(file)(printer);
    if (marginsMm)
        printer.setPageMargins(*marginsMm, QPageLayout::Millimeter);
    paintableCorner = printer.pageLayout().paintRect(QPageLayout::Millimeter).topLeft();
    return true;
}

std::function<bool(QPrinter&)> printsTo(const QString& pdf)
{
    return [pdf](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
}

bool ConfirmingUser::confirm(QPrinter& printer)
{
    printerName = printer.printerName();
    paintableMm = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    paintableCorner = paintableMm.topLeft();
    return true;
}

} // namespace zorvane::test
