#pragma once

#include "SoundPlayer.h"

// The exclamation sound of the user's Windows sound scheme. The system plays it in the background, so the call
// returns at once; the scheme names the sound itself, so the request's event id is not needed.
class WindowsSoundPlayer : public SoundPlayer {
public:
    void Play(const SoundRequest& request, std::function<void(SoundOutcome)> done) override;
};
