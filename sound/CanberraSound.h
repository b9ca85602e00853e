#pragma once

#include "DesktopSoundSettings.h"
#include "SoundPlayer.h"

#include <functional>
#include <memory>
#include <string>

struct ca_context;

// What a sound request comes to before the sound library is asked: whether to ask it at all, and if not, what the
// answer is; and what to tell it of the desktop's choices.
struct SoundPlan {
    bool play = false;
    SoundOutcome outcome = SoundOutcome::Played; // the answer when the library is not asked
    bool forceEnable = false;                    // the desktop says event sounds are on
    std::string themeName;                       // the desktop's sound theme; empty: the library's own choice
};
// Switched off on the desktop, nothing sounds, not even the bell, whether or not the library can be had; without
// the library the bell stands in. loadLibrary is asked only when the library is needed, and answers whether it
// can be had.
SoundPlan PlanSound(const DesktopSoundSettings& desktop, const std::function<bool()>& loadLibrary);

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
