#pragma once

#include "SystemTime.h"

#include <functional>

// Seconds since 1970 on the system calendar clock; tests hand in a fixed or stepped one.
using Clock = std::function<Moment()>;

// The system's clock.
inline Clock SystemClock() {
    return [] { return SystemNow(); };
}
