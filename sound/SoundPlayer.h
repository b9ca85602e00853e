#pragma once

#include <functional>
#include <string>

// What became of one request to the desktop's sound system.
enum class SoundOutcome {
    Played,      // the sound system took the sound
    Silenced,    // the user has switched event sounds off: staying quiet is what was asked for
    Unavailable, // no sound system, device or theme file answered: the sound was not heard
};

struct SoundRequest {
    std::string eventId;            // a name of the sound theme, such as "dialog-warning"
    std::string description;        // what the sound means, for those who cannot hear it
    unsigned long long x11Window{}; // the X window the sound belongs to; 0 when there is none
};

// Plays one event sound of the desktop's sound theme. Play returns at once; done runs once, on the thread that
// created the player, perhaps only after Play has returned, and never after the player is gone.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void Play(const SoundRequest& request, std::function<void(SoundOutcome)> done) = 0;
};
