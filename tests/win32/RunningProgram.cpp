#include "RunningProgram.h"

#include "ModalDriver.h"

namespace {
struct Search {
    DWORD processId;
    const std::wstring* title;
    HWND found;
};

BOOL CALLBACK FindTitled(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && IsWindowVisible(window) && WindowText(window) == *search->title)
        search->found = window;
    return search->found ? FALSE : TRUE;
}
} // namespace

Running StartProgram(const std::wstring& program) {
    Running running;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &running.process))
        running.process = {};
    return running;
}

DWORD WaitForExit(Running& running) {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(running.process.hProcess, kProgramLimitMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(running.process.hProcess, &code);
    else
        TerminateProcess(running.process.hProcess, 99);
    CloseHandle(running.process.hThread);
    CloseHandle(running.process.hProcess);
    running.process = {};
    return code;
}

HWND WaitForWindow(const Running& running, const std::wstring& title) {
    const ULONGLONG until = GetTickCount64() + kProgramLimitMs;
    for (;;) {
        Search search{running.process.dwProcessId, &title, nullptr};
        EnumWindows(&FindTitled, reinterpret_cast<LPARAM>(&search));
        // Another process's window comes when it comes; this waits for that, not for a timer of its own.
        if (search.found || GetTickCount64() > until ||
            WaitForSingleObject(running.process.hProcess, 20) == WAIT_OBJECT_0)
            return search.found;
    }
}

bool WaitUntil(const std::function<bool()>& condition) {
    const ULONGLONG until = GetTickCount64() + kProgramLimitMs;
    while (!condition()) {
        if (GetTickCount64() > until)
            return false;
        Sleep(20);
    }
    return true;
}

HWND WaitForForeground(HWND expected) {
    WaitUntil([expected] { return GetForegroundWindow() == expected; });
    return GetForegroundWindow();
}
