#include "StartupNotification.h"

#include <QGuiApplication>
#include <QWidget>

#include <algorithm>
#include <cstring>

#if QT_CONFIG(xcb)
#include <cstdlib>
#include <xcb/xcb.h>
#endif

namespace {
// Ids are a few dozen characters: the launcher, its process, the host and a time.
constexpr qsizetype kLongestId = 256;

#if QT_CONFIG(xcb)
struct X {
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
    xcb_window_t window = XCB_WINDOW_NONE;
};

// Qt's own connection to the X server, the root window and the X window of the given widget's window, if the
// program runs on X.
X OnX(QWidget* widget) {
    X x;
    auto* native = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!native || !native->connection())
        return x;
    x.connection = native->connection();
    x.root = xcb_setup_roots_iterator(xcb_get_setup(x.connection)).data->root;
    if (widget)
        x.window = static_cast<xcb_window_t>(widget->window()->winId());
    if (x.window != XCB_WINDOW_NONE) {
        // The root of the screen the window is on.
        if (xcb_get_geometry_reply_t* geometry =
                xcb_get_geometry_reply(x.connection, xcb_get_geometry(x.connection, x.window), nullptr)) {
            x.root = geometry->root;
            std::free(geometry);
        }
    }
    return x;
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}
#endif
} // namespace

namespace StartupNotification {
bool IsUsableId(const QString& id) {
    if (id.isEmpty() || id.size() > kLongestId)
        return false;
    // No control or format characters, nothing unassigned or private, no halves of a pair.
    return std::all_of(id.cbegin(), id.cend(), [](QChar c) { return c.isPrint(); });
}

QByteArray RemoveMessage(const QString& id) {
    // A value with a blank, a quote or a backslash is quoted, with quotes and backslashes escaped.
    QByteArray value = id.toUtf8();
    if (value.contains(' ') || value.contains('"') || value.contains('\\')) {
        value.replace('\\', "\\\\");
        value.replace('"', "\\\"");
        value = '"' + value + '"';
    }
    return "remove: ID=" + value;
}

void MarkWindow(QWidget* window, const QStringList& ids) {
#if QT_CONFIG(xcb)
    const X x = OnX(window);
    if (!x.connection || x.window == XCB_WINDOW_NONE || ids.isEmpty())
        return;
    const QByteArray id = ids.last().toUtf8();
    xcb_change_property(x.connection, XCB_PROP_MODE_REPLACE, x.window, Atom(x.connection, "_NET_STARTUP_ID"),
                        Atom(x.connection, "UTF8_STRING"), 8, static_cast<std::uint32_t>(id.size()), id.constData());
    xcb_flush(x.connection);
#else
    Q_UNUSED(window);
    Q_UNUSED(ids);
#endif
}

void Complete(QWidget* window, const QStringList& ids) {
#if QT_CONFIG(xcb)
    const X x = OnX(window);
    if (!x.connection || ids.isEmpty())
        return;
    // Each message goes to the root window in pieces of 20 bytes, the first of one type and the rest of another, up
    // to and with its closing NUL; a listener puts together the pieces that name the same window.
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 8;
    event.window = x.window != XCB_WINDOW_NONE ? x.window : x.root;
    const xcb_atom_t begin = Atom(x.connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = Atom(x.connection, "_NET_STARTUP_INFO");
    for (const QString& id : ids) {
        const QByteArray message = RemoveMessage(id);
        const qsizetype length = message.size() + 1;
        for (qsizetype sent = 0; sent < length; sent += 20) {
            event.type = sent == 0 ? begin : more;
            std::memset(event.data.data8, 0, sizeof event.data.data8);
            std::memcpy(event.data.data8, message.constData() + sent, std::min<qsizetype>(20, length - sent));
            xcb_send_event(x.connection, 0, x.root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                           reinterpret_cast<const char*>(&event));
        }
    }
    xcb_flush(x.connection);
#else
    Q_UNUSED(window);
    Q_UNUSED(ids);
#endif
}
} // namespace StartupNotification
