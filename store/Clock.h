#pragma once

#include <ctime>
#include <functional>

// Seconds since 1970 on the system calendar clock; tests hand in a fixed or stepped one.
using Clock = std::function<std::time_t()>;

// The system's clock.
inline Clock SystemClock() {
    return [] { return std::time(nullptr); };
}
