#pragma once

#include "SoundPlayer.h"

#include <memory>
#include <string>

// The desktop's player of event sounds: libcanberra on a thread of its own, told the X display to read the
// desktop's sound settings from (empty when the program does not run on X).
std::unique_ptr<SoundPlayer> MakeSystemSoundPlayer(const std::string& x11Display);
