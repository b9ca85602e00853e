#pragma once

#include "SystemTime.h"
#include "WindowsHeaders.h"

#include <cstdint>

namespace Win32Ui {

// Seconds east of UTC in force at a moment in a zone of the system's time-zone data, by that zone's rules for the
// moment's own year. Asked from UTC, which is never ambiguous; the system's conversion the other way is not
// trusted with the hour a change of the clock skips.
std::int64_t UtcOffsetIn(const DYNAMIC_TIME_ZONE_INFORMATION& zone, Moment moment);

} // namespace Win32Ui
