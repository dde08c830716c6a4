#pragma once

namespace zorvane {

// Marks the time spent inside a paint handler. A modal box opened from a
// paint would run a nested loop that paints again, so message boxes asked
// for while a scope is alive are shown after the paint has ended instead.
class PaintScope
{
public:
    PaintScope();
    ~PaintScope();

    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    static bool isPainting();
};

} // namespace zorvane
