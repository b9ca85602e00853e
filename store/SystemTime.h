#pragma once

#include <cstdint>

// Seconds since 1 January 1970 UTC. 64 bits on every build, so that every date the editor accepts, up to the end
// of 9999, has a moment; the platform's own time type is never trusted with that.
using Moment = std::int64_t;
static_assert(sizeof(Moment) == 8, "moments after January 2038 need 64 bits");

// What only the platform knows about time. The core declares them and each front-end links its own definition:
// the C library on Linux, the system's time-zone interface on Windows.
Moment SystemNow();
// Seconds east of UTC in force at a moment in the system's time zone (3600 for an hour ahead).
std::int64_t SystemUtcOffsetAt(Moment moment);
