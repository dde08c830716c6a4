#include "RunProgressDialog.h"

using namespace Qt::StringLiterals;

namespace zorvane {

RunProgressDialog::RunProgressDialog(int sheets, QWidget* parent)
    : QProgressDialog(sheetText(1, sheets), QString::fromUtf16(cancelText), 0, sheets, parent)
{
    setWindowModality(Qt::WindowModal);
    setMinimumDuration(showAfterMs);
    setAutoClose(true);
    setAutoReset(false);
}

bool RunProgressDialog::advance(int sheet, int sheets)
{
    setLabelText(sheetText(std::min(sheet + 1, sheets), sheets));
    // A modal progress dialog handles the pending events here, the cancel
    // button's click among them.
    setValue(sheet);
    return !wasCanceled();
}

QString RunProgressDialog::sheetText(int sheet, int sheets)
{
    return u"シート %1 / %2 を印刷しています..."_s.arg(sheet).arg(sheets);
}

} // namespace zorvane
