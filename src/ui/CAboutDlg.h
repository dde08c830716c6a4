#pragma once

#include <QDialog>

namespace zorvane {

// The About box: the icon, the program's name and version, and OK. OK, Esc
// and the close button close it.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace zorvane
