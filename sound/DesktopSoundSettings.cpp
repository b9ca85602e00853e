#include "DesktopSoundSettings.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {
// Reads the fields of the XSETTINGS format in the byte order its writer used.
class Cursor {
public:
    Cursor(std::string_view data, bool bigEndian) : m_data(data), m_bigEndian(bigEndian) {}

    bool Skip(std::size_t n) {
        if (n > m_data.size() - m_at)
            return false;
        m_at += n;
        return true;
    }
    bool Card16(std::uint32_t& value) { return Number(2, value); }
    bool Card32(std::uint32_t& value) { return Number(4, value); }
    bool Card8(std::uint32_t& value) { return Number(1, value); }
    // A string of n bytes, padded to a multiple of four.
    bool Text(std::size_t n, std::string_view& text) {
        if (n > m_data.size() - m_at)
            return false;
        text = m_data.substr(m_at, n);
        return Skip(n) && Skip((4 - n % 4) % 4);
    }

private:
    bool Number(std::size_t bytes, std::uint32_t& value) {
        if (bytes > m_data.size() - m_at)
            return false;
        value = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            const auto byte = static_cast<std::uint8_t>(m_data[m_at + (m_bigEndian ? i : bytes - 1 - i)]);
            value = value << 8 | byte;
        }
        m_at += bytes;
        return true;
    }

    std::string_view m_data;
    bool m_bigEndian;
    std::size_t m_at = 0;
};

enum : std::uint32_t { kInteger = 0, kString = 1, kColor = 2 };
} // namespace

DesktopSoundSettings DesktopSoundSettings::FromXSettings(std::string_view property) {
    DesktopSoundSettings settings;
    if (property.empty())
        return settings;
    Cursor cursor(property, property[0] == 1); // 0: least significant byte first, 1: most
    std::uint32_t count = 0;
    std::uint32_t ignored = 0;
    if (!cursor.Skip(4) || !cursor.Card32(ignored) || !cursor.Card32(count))
        return settings;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t type = 0;
        std::uint32_t nameLength = 0;
        std::string_view name;
        if (!cursor.Card8(type) || !cursor.Skip(1) || !cursor.Card16(nameLength) || !cursor.Text(nameLength, name) ||
            !cursor.Card32(ignored))
            return settings;
        if (type == kInteger) {
            std::uint32_t value = 0;
            if (!cursor.Card32(value))
                return settings;
            if (name == "Net/EnableEventSounds")
                settings.eventSounds = value != 0;
        } else if (type == kString) {
            std::uint32_t length = 0;
            std::string_view value;
            if (!cursor.Card32(length) || !cursor.Text(length, value))
                return settings;
            if (name == "Net/SoundThemeName")
                settings.themeName = std::string(value);
        } else if (type == kColor) {
            if (!cursor.Skip(8))
                return settings;
        } else {
            return settings; // an unknown type has an unknown length: nothing after it can be trusted
        }
    }
    return settings;
}

struct XSettingsReader::Connection {
    xcb_connection_t* x = nullptr;
    xcb_atom_t selection = XCB_ATOM_NONE;
    xcb_atom_t property = XCB_ATOM_NONE;
};

namespace {
xcb_atom_t Atom(xcb_connection_t* x, const std::string& name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, static_cast<std::uint16_t>(name.size()), name.c_str()), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}
} // namespace

XSettingsReader::XSettingsReader(std::string display) : m_display(std::move(display)) {}

XSettingsReader::~XSettingsReader() {
    if (m_connection)
        xcb_disconnect(m_connection->x);
    delete m_connection;
}

DesktopSoundSettings XSettingsReader::Read() {
    if (m_connection && xcb_connection_has_error(m_connection->x)) {
        xcb_disconnect(m_connection->x);
        delete m_connection;
        m_connection = nullptr;
    }
    if (!m_connection) {
        int screen = 0;
        xcb_connection_t* x = xcb_connect(m_display.c_str(), &screen);
        if (xcb_connection_has_error(x)) {
            xcb_disconnect(x);
            return {};
        }
        m_connection = new Connection{x, Atom(x, "_XSETTINGS_S" + std::to_string(screen)),
                                      Atom(x, "_XSETTINGS_SETTINGS")};
    }
    xcb_connection_t* x = m_connection->x;
    // The settings daemon owns the selection; the settings are a property of the owner's window.
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(x, xcb_get_selection_owner(x, m_connection->selection), nullptr);
    const xcb_window_t window = owner ? owner->owner : xcb_window_t{XCB_WINDOW_NONE};
    std::free(owner);
    if (window == XCB_WINDOW_NONE)
        return {};
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        x, xcb_get_property(x, 0, window, m_connection->property, m_connection->property, 0, 1u << 20), nullptr);
    DesktopSoundSettings settings;
    if (reply && reply->format == 8)
        settings = DesktopSoundSettings::FromXSettings(std::string_view(
            static_cast<const char*>(xcb_get_property_value(reply)), std::size_t(xcb_get_property_value_length(reply))));
    std::free(reply);
    return settings;
}
