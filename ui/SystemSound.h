#pragma once

#include "SoundPlayer.h"

#include <memory>

class QWidget;

// The platform's player of event sounds; null where the platform has none, which leaves the bell.
std::unique_ptr<SoundPlayer> MakeSystemSoundPlayer();

// The X window of the top-level window around widget, when the program runs on X and that window exists; else 0.
unsigned long long X11WindowOf(const QWidget* widget);
