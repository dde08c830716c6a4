#pragma once

class QPrinter;

namespace zorvane {

// The system's Print dialog, as the print job sees it: it is shown for a
// printer that already carries the record's settings, may change them as
// the user chooses, and says whether the user confirmed. Tests stand in for
// it to confirm or cancel without a window.
class PrintDialogPort
{
public:
    virtual ~PrintDialogPort() = default;

    virtual bool confirm(QPrinter& printer) = 0;
};

} // namespace zorvane
