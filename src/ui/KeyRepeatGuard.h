#pragma once

#include <QObject>

namespace zorvane {

// Drops the repeats of a held Enter or Space aimed at a button or a dialog,
// in every window of the program while it lives. A held key would otherwise
// press "印刷開始" again and again, and the Print dialog's default button
// would confirm each of those prints.
class KeyRepeatGuard : public QObject
{
    Q_OBJECT

public:
    explicit KeyRepeatGuard(QObject* parent = nullptr);
    ~KeyRepeatGuard() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace zorvane
