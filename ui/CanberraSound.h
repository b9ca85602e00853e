#pragma once

#include "DesktopSoundSettings.h"
#include "SoundPlayer.h"

#include <memory>
#include <string>

struct ca_context;

// Event sounds through libcanberra, which finds the file in the sound theme and hands it to the sound server, where
// the desktop's volume for event sounds applies. On X the desktop's switch for event sounds and its sound theme are
// read before every sound. Play may block until the sound has been played (some back ends do) and waits for the X
// server, so the program calls it from a ThreadedSoundPlayer, one call at a time.
class CanberraSound {
public:
    struct Application {
        std::string name;
        std::string id;
        std::string iconName;
        std::string x11Display; // empty when the program does not run on X
    };

    explicit CanberraSound(Application application);
    ~CanberraSound();
    CanberraSound(const CanberraSound&) = delete;
    CanberraSound& operator=(const CanberraSound&) = delete;

    // The context is made by the first call and kept; its driver is opened by the first sound that finds one.
    SoundOutcome Play(const SoundRequest& request);

    // What a result of ca_context_create or ca_context_play means for the user.
    static SoundOutcome OutcomeOf(int canberraResult);

private:
    struct Library;

    const Application m_application;
    const Library* m_library = nullptr; // loaded by the first sound
    ca_context* m_context = nullptr;
    std::unique_ptr<XSettingsReader> m_desktop; // on X only
};
