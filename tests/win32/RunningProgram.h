#pragma once

#include "WindowsHeaders.h"

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
// The visible top-level window of the process with this title, once it is up; null after the limit.
HWND WaitForWindow(const Running& running, const std::wstring& title);
