#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

class QKeyEvent;
class QWidget;

namespace zorvane {

// Keeps a held Enter or Space from pressing a button or confirming a dialog
// more than once, in every window of the program while it lives. A held key
// would otherwise press "印刷開始" again and again, and the Print dialog's
// default button would confirm each of those prints.
//
// A press let through to a button or a dialog latches its key: until the
// key is really released, its presses go nowhere. Repeats flagged as such
// are not enough to go by: under X11, Qt tells a repeat only when its
// release and press arrive together, and a window that maps in between
// splits them, so the X server's key map decides when the key is up, and
// a press stamped with the time of the key's last release is its repeat.
class KeyRepeatGuard : public QObject
{
    Q_OBJECT

public:
    explicit KeyRepeatGuard(QObject* parent = nullptr);
    ~KeyRepeatGuard() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isHandedOn(const QKeyEvent& key, const QWidget* widget) const;
    bool swallows(const QWidget* target, const QKeyEvent& key);
    bool swallowsPress(const QWidget* target, const QKeyEvent& key);
    bool swallowsRelease(const QWidget* target, const QKeyEvent& key);
    bool repeatsTheRelease(const QKeyEvent& press) const;
    bool releasedUnseen(const QKeyEvent& press) const;
    void latch(const QKeyEvent& press);
    void forgetReleasedKeys();

    // The keys whose press reached a button or a dialog and that have not
    // been released since, each with its X keycode.
    QHash<int, quint32> latched_;
    // When each latched key was last released, for real or by a repeat.
    QHash<int, quint64> releasedAt_;
    // The key event last decided on and the widget it last reached: Qt
    // hands an ignored key event on to the widget's parents, and there it
    // keeps the verdict it had.
    const QKeyEvent* decided_ = nullptr;
    QPointer<const QWidget> decidedAt_;
    bool swallowed_ = false;
};

} // namespace zorvane
