#pragma once

#include "WindowsHeaders.h"

#include <functional>
#include <string>

// A program under test started as a user starts it, with no arguments, and ended through its window; every wait
// has a limit, so that a program that hangs fails its test instead of stopping the run.
struct Running {
    PROCESS_INFORMATION process{};
    bool Started() const { return process.hProcess != nullptr; }
};

inline constexpr DWORD kProgramLimitMs = 10000;

Running StartProgram(const std::wstring& program);
// The exit code, once the program has ended; STILL_ACTIVE (and the program ended by force) after the limit.
DWORD WaitForExit(Running& running);
// The window that has the foreground once it is the one expected; whatever has it after the limit. The system
// hands the foreground over through the thread that owns the window, so a request from another process takes
// effect only when that thread comes to it.
HWND WaitForForeground(HWND expected);
// Whether the condition came true within the limit.
bool WaitUntil(const std::function<bool()>& condition);
// The visible top-level window of the process with this title, once it is up; null after the limit.
HWND WaitForWindow(const Running& running, const std::wstring& title);
