#pragma once

#include <QtGlobal>

#include <optional>

namespace zorvane {

// Whether the X server has the key with the given keycode (a key event's
// native scan code under X11) down now. No answer when the program does not
// run on X11 or the event was made up by a program (keycode 0).
std::optional<bool> keyDownOnXServer(quint32 keycode);

// Whether a key event with the given native scan code came from an X
// server: the program runs on X11 and the event has an X keycode.
bool isXServerKey(quint32 keycode);

} // namespace zorvane
