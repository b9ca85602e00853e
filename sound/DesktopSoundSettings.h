#pragma once

#include <optional>
#include <string>
#include <string_view>

// The desktop's own choices for event sounds, as its settings daemon publishes them to X programs (the XSETTINGS
// of GNOME, Xfce, MATE, Cinnamon and xsettingsd): whether event sounds are on, and the sound theme. Programs of
// those desktops read them through their toolkit; the sound library does not, so the program passes them on.
struct DesktopSoundSettings {
    std::optional<bool> eventSounds; // unknown when the desktop does not say
    std::string themeName;           // empty when the desktop does not say

    // Reads the settings out of the value of the _XSETTINGS_SETTINGS property; damaged or cut-off data gives what
    // was read before the damage.
    static DesktopSoundSettings FromXSettings(std::string_view property);
};

// Reads the desktop's sound settings from an X display through a connection of its own, kept open between calls so
// that a change in the desktop's settings applies to the next sound. Not for the GUI thread: each read waits for
// the X server.
class XSettingsReader {
public:
    explicit XSettingsReader(std::string display);
    ~XSettingsReader();
    XSettingsReader(const XSettingsReader&) = delete;
    XSettingsReader& operator=(const XSettingsReader&) = delete;

    DesktopSoundSettings Read();

private:
    std::string m_display;
    struct Connection;
    Connection* m_connection = nullptr;
};
