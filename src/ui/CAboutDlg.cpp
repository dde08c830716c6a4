#include "CAboutDlg.h"

#include "AppIcon.h"
#include "DialogBuilder.h"
#include "DialogTemplates.h"

#include <QPushButton>

namespace zorvane {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    const BuiltDialog built = DialogBuilder::build(*this, aboutDialogTemplate());
    setWindowIcon(appIcon());
    connect(built.control<QPushButton>(ids::ok), &QPushButton::clicked, this, &QDialog::accept);
    if (QWidget* first = built.firstTabStop())
        first->setFocus(Qt::OtherFocusReason);
}

} // namespace zorvane
