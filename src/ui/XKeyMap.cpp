#include "XKeyMap.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace zorvane {

namespace {

xcb_connection_t* xConnectionFor(quint32 keycode)
{
    // X keycodes run from 8 to 255.
    if (keycode < 8 || keycode > 255 || !qGuiApp)
        return nullptr;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

} // namespace

bool isXServerKey(quint32 keycode)
{
    return xConnectionFor(keycode) != nullptr;
}

std::optional<bool> keyDownOnXServer(quint32 keycode)
{
    xcb_connection_t* connection = xConnectionFor(keycode);
    if (!connection)
        return std::nullopt;
    // The key map is the keys' state at the server now, not as queued
    // events tell it, so it is the one source that knows a held key from
    // one that was let go.
    const std::unique_ptr<xcb_query_keymap_reply_t, decltype(&std::free)> reply(
        xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr), &std::free);
    if (!reply)
        return std::nullopt;
    return (reply->keys[keycode / 8] & (1u << (keycode % 8))) != 0;
}

} // namespace zorvane
