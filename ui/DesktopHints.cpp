#include "DesktopHints.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {
xcb_connection_t* XConnection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t RootOf(xcb_connection_t* x) {
    return xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
}

xcb_atom_t Atom(xcb_connection_t* x, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

std::optional<std::uint32_t> Cardinal(xcb_connection_t* x, xcb_window_t window, xcb_atom_t property) {
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(x, xcb_get_property(x, 0, window, property, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    std::optional<std::uint32_t> value;
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) >= 4)
        value = *static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
    std::free(reply);
    return value;
}

// A request to the window manager about one of our windows, sent to the root window as the hints prescribe; each
// request says in its own place that it comes from a normal application, which window managers believe more than
// an old client.
void SendToWindowManager(xcb_connection_t* x, xcb_window_t window, xcb_atom_t type,
                         const std::array<std::uint32_t, 5>& data) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    for (std::size_t i = 0; i < data.size(); ++i)
        message.data.data32[i] = data[i];
    xcb_send_event(x, 0, RootOf(x), XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(x);
}

constexpr std::uint32_t kFromApplication = 1;
constexpr std::uint32_t kOnEveryWorkspace = 0xFFFFFFFF;
constexpr std::uint32_t kRemoveState = 0;
constexpr std::uint32_t kAddState = 1;
} // namespace

void MoveToWorkspaceInView(QWidget* window) {
    xcb_connection_t* x = XConnection();
    if (!x || !window)
        return;
    const xcb_window_t id = static_cast<xcb_window_t>(window->winId());
    const std::optional<std::uint32_t> inView = Cardinal(x, RootOf(x), Atom(x, "_NET_CURRENT_DESKTOP"));
    if (!inView)
        return;
    const xcb_atom_t desktop = Atom(x, "_NET_WM_DESKTOP");
    const std::optional<std::uint32_t> own = Cardinal(x, id, desktop);
    if (own && (*own == *inView || *own == kOnEveryWorkspace))
        return;
    SendToWindowManager(x, id, desktop, {*inView, kFromApplication, 0, 0, 0});
}

void RequestAttention(QWidget* window, bool wanted) {
    if (!window)
        return;
    xcb_connection_t* x = XConnection();
    if (!x) {
        if (wanted)
            QApplication::alert(window);
        return;
    }
    // The state itself rather than the toolkit's alert: that one remembers its own request and would neither
    // withdraw the window manager's nor ask again after a withdrawal it did not make.
    SendToWindowManager(x, static_cast<xcb_window_t>(window->winId()), Atom(x, "_NET_WM_STATE"),
                        {wanted ? kAddState : kRemoveState, Atom(x, "_NET_WM_STATE_DEMANDS_ATTENTION"), 0,
                         kFromApplication, 0});
}
