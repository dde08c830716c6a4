#pragma once

#include <QColor>

#include <optional>

class QWidget;

namespace zorvane {

// Lets the user pick a colour; nullopt when the user does not confirm.
class ColorChooser
{
public:
    virtual ~ColorChooser() = default;
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;
};

// The platform's colour chooser, run modally.
class ColorDialogChooser : public ColorChooser
{
public:
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;
};

} // namespace zorvane
