#pragma once

#include <QPointer>
#include <QString>

#include <variant>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

namespace zorvane {

// Moves a dialog's field texts into its members and back, binding by
// binding in the order they were declared.
//
// Reading stops at the first integer field whose text is not a whole
// number: that field gets the focus and a message, and it and every later
// binding keep their member values, while earlier ones have taken theirs.
// The message is shown once per edit: reading the same rejected text again
// stays silent.
//
// Writing touches a field only when its text would change, and the change
// signals it raises reach no handler, so a value the program writes back is
// never taken for an edit by the user.
class DataExchange
{
public:
    enum class Report
    {
        Message,
        Silent
    };

    void bindInt(QLineEdit* edit, int* member);
    void bindComboText(QComboBox* combo, QString* member);
    // The combo box's text read as its leading whole number (0 when there
    // is none); never rejected.
    void bindComboNumber(QComboBox* combo, int* member);
    // Checked is 1, unchecked 0; any nonzero member checks the box.
    void bindCheck(QCheckBox* box, int* member);

    // Controls into members; false when a field was rejected.
    bool read(Report report = Report::Message);
    // Members into controls.
    void write();

    // An explicit command (OK, close) reports a rejected field even when the
    // same text was reported before.
    void forgetRejection() { lastRejectedEdit_.clear(); }

    static constexpr char16_t rejectionMessage[] = u"整数を入力してください。";

private:
    struct IntBinding
    {
        QPointer<QLineEdit> edit;
        int* member;
    };
    struct ComboBinding
    {
        QPointer<QComboBox> combo;
        QString* member;
    };
    struct ComboNumberBinding
    {
        QPointer<QComboBox> combo;
        int* member;
    };
    struct CheckBinding
    {
        QPointer<QCheckBox> box;
        int* member;
    };
    using Binding = std::variant<IntBinding, ComboBinding, ComboNumberBinding, CheckBinding>;

    bool readInt(const IntBinding& binding, Report report);
    void reject(QLineEdit* edit, Report report);

    std::vector<Binding> bindings_;
    QPointer<QLineEdit> lastRejectedEdit_;
    QString lastRejectedText_;
};

// Puts a text into an editable combo box: the first list entry that begins
// with the text is selected, else the text goes into its edit field.
void setComboText(QComboBox* combo, const QString& text);

} // namespace zorvane
