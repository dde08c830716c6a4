#pragma once

#include "print/PrintDialogPort.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <functional>
#include <optional>

namespace zorvane::test {

// Stands in for the Print dialog without a window: a user who prints into a
// PDF file, or cancels when there is no file. Records what it was shown.
class FakePrintDialog : public PrintDialogPort
{
public:
    FakePrintDialog() = default;
    explicit FakePrintDialog(QString pdfFile) : file(std::move(pdfFile)) {}

    bool confirm(QPrinter& printer) override;

    // What the user chooses: the PDF file (none: cancel), on a printer that
    // keeps these margins unprintable, as a real printer does.
    QString file;
    std::optional<QMarginsF> marginsMm;
    // When set, the user does this instead, confirming when it returns true.
    std::function<bool(QPrinter&)> user;

    // What the dialog saw: how often it opened, the page it opened with and
    // where the printable area begins (mm) on the page the user confirmed.
    int shown = 0;
    QPageLayout layoutShown;
    QPointF paintableCorner;
};

// A user who prints into a PDF file, for FakePrintDialog::user.
std::function<bool(QPrinter&)> printsTo(const QString& pdf);

// Stands in for a user who confirms the Print dialog as it opens, so the job
// goes to the system's queue; records the printer and its printable area.
class ConfirmingUser : public PrintDialogPort
{
public:
    bool confirm(QPrinter& printer) override;

    QString printerName;
    QRectF paintableMm;
    QPointF paintableCorner; // the printable area's top left
};

} // namespace zorvane::test
