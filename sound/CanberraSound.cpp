#include "CanberraSound.h"

#include <canberra.h>
#include <dlfcn.h>

#include <cstdio>
#include <type_traits>
#include <utility>

// The library is loaded with the first sound, on the sound thread, so start-up maps neither it nor the codecs and
// databases it brings; once loaded it stays, as the sound server's threads it starts may outlive any one context.
struct CanberraSound::Library {
    decltype(&ca_context_create) contextCreate;
    decltype(&ca_context_destroy) contextDestroy;
    decltype(&ca_context_change_props_full) contextChangeProps;
    decltype(&ca_context_play_full) contextPlay;
    decltype(&ca_proplist_create) proplistCreate;
    decltype(&ca_proplist_sets) proplistSets;
    decltype(&ca_proplist_destroy) proplistDestroy;

    static const Library* Load() {
        static const Library library = [] {
            Library loaded{};
            void* handle = dlopen("libcanberra.so.0", RTLD_NOW | RTLD_LOCAL);
            if (!handle)
                return loaded;
            auto symbol = [handle](auto& function, const char* name) {
                function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(handle, name));
            };
            symbol(loaded.contextCreate, "ca_context_create");
            symbol(loaded.contextDestroy, "ca_context_destroy");
            symbol(loaded.contextChangeProps, "ca_context_change_props_full");
            symbol(loaded.contextPlay, "ca_context_play_full");
            symbol(loaded.proplistCreate, "ca_proplist_create");
            symbol(loaded.proplistSets, "ca_proplist_sets");
            symbol(loaded.proplistDestroy, "ca_proplist_destroy");
            return loaded;
        }();
        const bool complete = library.contextCreate && library.contextDestroy && library.contextChangeProps &&
                              library.contextPlay && library.proplistCreate && library.proplistSets &&
                              library.proplistDestroy;
        return complete ? &library : nullptr;
    }
};

CanberraSound::CanberraSound(Application application) : m_application(std::move(application)) {
    if (!m_application.x11Display.empty())
        m_desktop = std::make_unique<XSettingsReader>(m_application.x11Display);
}

CanberraSound::~CanberraSound() {
    if (m_context)
        m_library->contextDestroy(m_context);
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

SoundPlan PlanSound(const DesktopSoundSettings& desktop, const std::function<bool()>& loadLibrary) {
    SoundPlan plan;
    if (desktop.eventSounds && !*desktop.eventSounds) {
        plan.outcome = SoundOutcome::Silenced;
        return plan;
    }
    if (!loadLibrary()) {
        plan.outcome = SoundOutcome::Unavailable;
        return plan;
    }
    plan.play = true;
    plan.forceEnable = desktop.eventSounds.value_or(false);
    plan.themeName = desktop.themeName;
    return plan;
}

SoundOutcome CanberraSound::Play(const SoundRequest& request) {
    DesktopSoundSettings desktop;
    if (m_desktop)
        desktop = m_desktop->Read();
    const SoundPlan plan = PlanSound(desktop, [this] {
        if (!m_library)
            m_library = Library::Load();
        return m_library != nullptr;
    });
    if (!plan.play)
        return plan.outcome;
    const Library& ca = *m_library;

    ca_proplist* props = nullptr;
    if (const int result = ca.proplistCreate(&props); result != CA_SUCCESS)
        return OutcomeOf(result);
    if (!m_context) {
        ca_context* context = nullptr;
        if (const int result = ca.contextCreate(&context); result != CA_SUCCESS) {
            ca.proplistDestroy(props);
            return OutcomeOf(result);
        }
        // The sound server shows these next to the stream and keeps the user's volume for the program by them.
        ca.proplistSets(props, CA_PROP_APPLICATION_NAME, m_application.name.c_str());
        ca.proplistSets(props, CA_PROP_APPLICATION_ID, m_application.id.c_str());
        ca.proplistSets(props, CA_PROP_APPLICATION_ICON_NAME, m_application.iconName.c_str());
        if (!m_application.x11Display.empty())
            ca.proplistSets(props, CA_PROP_WINDOW_X11_DISPLAY, m_application.x11Display.c_str());
        ca.contextChangeProps(context, props);
        ca.proplistDestroy(props);
        if (const int result = ca.proplistCreate(&props); result != CA_SUCCESS) {
            ca.contextDestroy(context);
            return OutcomeOf(result);
        }
        m_context = context;
    }

    ca.proplistSets(props, CA_PROP_EVENT_ID, request.eventId.c_str());
    ca.proplistSets(props, CA_PROP_EVENT_DESCRIPTION, request.description.c_str());
    // An alert, not music: the server gives it the desktop's volume for event sounds.
    ca.proplistSets(props, CA_PROP_MEDIA_ROLE, "event");
    // A reminder that repeats plays the same file again; the server may keep it for a while.
    ca.proplistSets(props, CA_PROP_CANBERRA_CACHE_CONTROL, "volatile");
    if (request.x11Window != 0) {
        char window[24];
        std::snprintf(window, sizeof window, "%llu", request.x11Window);
        ca.proplistSets(props, CA_PROP_WINDOW_X11_XID, window);
    }
    if (plan.forceEnable)
        ca.proplistSets(props, CA_PROP_CANBERRA_ENABLE, "1");
    if (!plan.themeName.empty())
        ca.proplistSets(props, CA_PROP_CANBERRA_XDG_THEME_NAME, plan.themeName.c_str());
    // An unopened context opens its driver here, so a sound server that was missing at the last sound is tried again.
    const int result = ca.contextPlay(m_context, 0, props, nullptr, nullptr);
    ca.proplistDestroy(props);
    return OutcomeOf(result);
}
