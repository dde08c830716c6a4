#pragma once

#include "ui/ColorChooser.h"

#include <optional>

namespace zorvane::test {

// Stands in for the colour chooser without a window: answers as a user
// would (by default the user does not confirm) and remembers how it was
// asked.
class FakeColorChooser : public ColorChooser
{
public:
    std::optional<QColor> answer;
    QColor initialSeen;
    int calls = 0;

    std::optional<QColor> chooseColor(QWidget*, const QColor& initial) override
    {
        ++calls;
        initialSeen = initial;
        return answer;
    }
};

} // namespace zorvane::test
