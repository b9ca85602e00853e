#pragma once

// The timer of a due message's window, which rewrites its clock line twice a second.
inline constexpr unsigned CLOCK_TIMER_ID = 1;
inline constexpr int CLOCK_PERIOD_MS = 500;
