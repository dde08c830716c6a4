#include "DataExchange.h"

#include "MessageBoxes.h"
#include "settings/Numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace zorvane {

void DataExchange::bindInt(QLineEdit* edit, int* member)
{
    bindings_.emplace_back(IntBinding{edit, member});
}

void DataExchange::bindComboText(QComboBox* combo, QString* member)
{
    bindings_.emplace_back(ComboBinding{combo, member});
}

void DataExchange::bindComboNumber(QComboBox* combo, int* member)
{
    bindings_.emplace_back(ComboNumberBinding{combo, member});
}

void DataExchange::bindCheck(QCheckBox* box, int* member)
{
    bindings_.emplace_back(CheckBinding{box, member});
}

bool DataExchange::read(Report report)
{
    for (const Binding& binding : bindings_) {
        if (const auto* intBinding = std::get_if<IntBinding>(&binding)) {
            if (!readInt(*intBinding, report))
                return false;
        } else if (const auto* combo = std::get_if<ComboBinding>(&binding)) {
            if (combo->combo)
                *combo->member = combo->combo->currentText();
        } else if (const auto* number = std::get_if<ComboNumberBinding>(&binding)) {
            if (number->combo)
                *number->member = leadingNumber(number->combo->currentText());
        } else {
            const auto& check = std::get<CheckBinding>(binding);
            if (check.box)
                *check.member = check.box->isChecked() ? 1 : 0;
        }
    }
    return true;
}

bool DataExchange::readInt(const IntBinding& binding, Report report)
{
    if (!binding.edit)
        return true;
    const std::optional<int> number = parseWholeNumber(binding.edit->text());
    if (!number) {
        reject(binding.edit, report);
        return false;
    }
    *binding.member = *number;
    if (lastRejectedEdit_ == binding.edit)
        lastRejectedEdit_.clear();
    return true;
}

void DataExchange::reject(QLineEdit* edit, Report report)
{
    const bool alreadyReported = lastRejectedEdit_ == edit && lastRejectedText_ == edit->text();
    if (report == Report::Silent || alreadyReported)
        return;
    lastRejectedEdit_ = edit;
    lastRejectedText_ = edit->text();
    showMessage(edit->window(), QString::fromUtf16(rejectionMessage));
    // After the box, so closing it hands the focus back to this field.
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

void DataExchange::write()
{
    for (const Binding& binding : bindings_) {
        if (const auto* intBinding = std::get_if<IntBinding>(&binding)) {
            if (!intBinding->edit)
                continue;
            const QString text = QString::number(*intBinding->member);
            if (intBinding->edit->text() != text) {
                const QSignalBlocker blocker(intBinding->edit.data());
                intBinding->edit->setText(text);
            }
        } else if (const auto* combo = std::get_if<ComboBinding>(&binding)) {
            if (combo->combo)
                setComboText(combo->combo, *combo->member);
        } else if (const auto* number = std::get_if<ComboNumberBinding>(&binding)) {
            if (number->combo)
                setComboText(number->combo, QString::number(*number->member));
        } else {
            const auto& check = std::get<CheckBinding>(binding);
            if (check.box) {
                const QSignalBlocker blocker(check.box.data());
                check.box->setChecked(*check.member != 0);
            }
        }
    }
}

void setComboText(QComboBox* combo, const QString& text)
{
    const QSignalBlocker blocker(combo);
    const int index = text.isEmpty() ? -1 : combo->findText(text, Qt::MatchStartsWith);
    if (index >= 0) {
        combo->setCurrentIndex(index);
        return;
    }
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
}

} // namespace zorvane
