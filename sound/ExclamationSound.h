#pragma once

#include "SoundPlayer.h"

#include <functional>
#include <memory>

// The exclamation sound: the sound theme's warning through the player, and the bell only when no sound system
// answered, so that every beep makes one attempt to be heard and a user who silenced event sounds hears nothing.
class ExclamationSound {
public:
    static constexpr const char* kEventId = "dialog-warning";
    static constexpr const char* kDescription = "Nudgepost needs your attention";

    // Without a player every sound is the bell.
    ExclamationSound(std::unique_ptr<SoundPlayer> player, std::function<void()> bell);

    void Sound(unsigned long long x11Window);

private:
    std::unique_ptr<SoundPlayer> m_player;
    std::function<void()> m_bell;
};
