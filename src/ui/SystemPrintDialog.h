#pragma once

#include "print/PrintDialogPort.h"

class QWidget;

namespace zorvane {

// The system's Print dialog: no selection and no page range; printing to a
// PDF file stays available. Copies and the other options go into the
// printer, and so into the record the job reads back.
class SystemPrintDialog : public PrintDialogPort
{
public:
    explicit SystemPrintDialog(QWidget* parent = nullptr) : parent_(parent) {}

    bool confirm(QPrinter& printer) override;

private:
    QWidget* parent_ = nullptr;
};

} // namespace zorvane
