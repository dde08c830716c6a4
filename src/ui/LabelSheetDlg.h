#pragma once

#include "DialogBuilder.h"
#include "layout/LabelSheetFit.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QTreeWidget;

namespace zorvane {

// Chooses a label sheet product among those the program can print. Each row
// shows the maker, the part number, the paper, the label's size, columns x
// rows and how many of its labels the program prints; the search field
// narrows the list to the rows whose maker, part number or description hold
// every word typed.
class LabelSheetDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int searchId = 1000;
    static constexpr int listId = 1001;
    static constexpr int noteId = 1002;

    // standingNote: shown under the list whatever is chosen (what choosing
    // changes beyond the sheet, a printer without correction); empty for none.
    LabelSheetDlg(QList<PrintableLabelSheet> sheets, const QString& standingNote,
                  QWidget* parent = nullptr);

    // The product chosen with OK, or none.
    std::optional<PrintableLabelSheet> chosen() const { return chosen_; }

    void accept() override;

    // Whether a product answers a search text: every blank-separated word
    // lies in its maker, part number or description, whatever the case.
    static bool matches(const LabelTemplate& product, const QString& search);
    // "36 枚中 36 枚": of how many labels, how many are printed.
    static QString fitText(const PrintableLabelSheet& sheet);

private:
    void fillList();
    void applySearch(const QString& search);
    void showSelection();
    int selectedIndex() const;

    QList<PrintableLabelSheet> sheets_;
    QString standingNote_;
    BuiltDialog built_;
    QLineEdit* search_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QLabel* note_ = nullptr;
    std::optional<PrintableLabelSheet> chosen_;
};

} // namespace zorvane
