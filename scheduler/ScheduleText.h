#pragma once

#include "MessageEntry.h"
#include "SystemTime.h"

#include <string>

// The sentence under a due message's text: when it was due and how often it comes back.
std::string FormatScheduleLine(const MessageEntry& entry);
// "Current Time: HH:MM:SS" in local time.
std::string FormatClockLine(Moment now);
