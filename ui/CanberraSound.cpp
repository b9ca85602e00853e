#include "CanberraSound.h"

#include <canberra.h>

#include <utility>

CanberraSound::CanberraSound(Application application) : m_application(std::move(application)) {
    if (!m_application.x11Display.empty())
        m_desktop = std::make_unique<XSettingsReader>(m_application.x11Display);
}

CanberraSound::~CanberraSound() {
    if (m_context)
        ca_context_destroy(m_context);
}

SoundOutcome CanberraSound::OutcomeOf(int canberraResult) {
    switch (canberraResult) {
    case CA_SUCCESS:
        return SoundOutcome::Played;
    case CA_ERROR_DISABLED:
        return SoundOutcome::Silenced;
    default:
        // No driver, no device, no server, no theme file, or anything else that kept the sound from the speakers:
        // the bell is then the last chance to be heard.
        return SoundOutcome::Unavailable;
    }
}

SoundOutcome CanberraSound::Play(const SoundRequest& request) {
    if (!m_context) {
        ca_context* context = nullptr;
        if (const int result = ca_context_create(&context); result != CA_SUCCESS)
            return OutcomeOf(result);
        // The sound server shows these next to the stream and keeps the user's volume for the program by them.
        ca_context_change_props(context, CA_PROP_APPLICATION_NAME, m_application.name.c_str(),
                                CA_PROP_APPLICATION_ID, m_application.id.c_str(), CA_PROP_APPLICATION_ICON_NAME,
                                m_application.iconName.c_str(), nullptr);
        if (!m_application.x11Display.empty())
            ca_context_change_props(context, CA_PROP_WINDOW_X11_DISPLAY, m_application.x11Display.c_str(), nullptr);
        m_context = context;
    }

    ca_proplist* props = nullptr;
    if (const int result = ca_proplist_create(&props); result != CA_SUCCESS)
        return OutcomeOf(result);
    ca_proplist_sets(props, CA_PROP_EVENT_ID, request.eventId.c_str());
    ca_proplist_sets(props, CA_PROP_EVENT_DESCRIPTION, request.description.c_str());
    // An alert, not music: the server gives it the desktop's volume for event sounds.
    ca_proplist_sets(props, CA_PROP_MEDIA_ROLE, "event");
    // A reminder that repeats plays the same file again; the server may keep it for a while.
    ca_proplist_sets(props, CA_PROP_CANBERRA_CACHE_CONTROL, "volatile");
    if (request.x11Window != 0)
        ca_proplist_setf(props, CA_PROP_WINDOW_X11_XID, "%llu", request.x11Window);
    if (m_desktop) {
        // Switched off on the desktop, the sound library answers "disabled", and the bell stays quiet too.
        const DesktopSoundSettings desktop = m_desktop->Read();
        if (desktop.eventSounds)
            ca_proplist_sets(props, CA_PROP_CANBERRA_ENABLE, *desktop.eventSounds ? "1" : "0");
        if (!desktop.themeName.empty())
            ca_proplist_sets(props, CA_PROP_CANBERRA_XDG_THEME_NAME, desktop.themeName.c_str());
    }
    // An unopened context opens its driver here, so a sound server that was missing at the last sound is tried again.
    const int result = ca_context_play_full(m_context, 0, props, nullptr, nullptr);
    ca_proplist_destroy(props);
    return OutcomeOf(result);
}
