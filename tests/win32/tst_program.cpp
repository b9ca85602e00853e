// The program itself, started as a user starts it: what a first start leaves in the registry, and a second start
// on the same store, which brings the first copy's window (or its open modal window) forward and ends.

#include "CReminderApp.h"
#include "DialogTemplates.h"
#include "ModalDriver.h"
#include "RunningProgram.h"
#include "ScratchKey.h"
#include "SingleInstance.h"
#include "TestHarness.h"
#include "Utf8.h"

#include <string>
#include <vector>

using namespace Win32Ui;

namespace {
// The program's store: the copy's file name names it.
const wchar_t* const kKeyName = L"NudgepostTestProgram";

// The program under test, named by NUDGEPOST_EXE as a path on the host, copied beside this test under a name of
// its own so that its store is the test's; empty when it cannot be had.
std::wstring Program() {
    static const std::wstring program = [] {
        wchar_t source[4096];
        const DWORD length = GetEnvironmentVariableW(L"NUDGEPOST_EXE", source, 4096);
        if (length == 0 || length >= 4096)
            return std::wstring();
        std::wstring path(source, length);
        // A host path reaches the Windows side through the drive that maps the host's root.
        if (path[0] == L'/')
            path = L"Z:" + path;
        for (wchar_t& c : path)
            c = c == L'/' ? L'\\' : c;
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        const std::wstring copy = std::wstring(temp) + kKeyName + L".exe";
        return CopyFileW(path.c_str(), copy.c_str(), FALSE) ? copy : std::wstring();
    }();
    return program;
}

} // namespace

TEST_CASE(TheStoreIsNamedAfterTheExecutable) {
    CHECK_EQ(CReminderApp::KeyPath(), std::wstring(L"Software\\Quillmoor\\tst_program"));
}

TEST_CASE(OneMutexPerStoreWhateverTheLetterCase) {
    const std::wstring name = SingleInstance::MutexNameFor(L"Software\\Quillmoor\\nudgepost");
    CHECK_EQ(name.rfind(L"Local\\", 0), 0u);
    CHECK_EQ(SingleInstance::MutexNameFor(L"SOFTWARE\\Quillmoor\\NUDGEPOST"), name);
    CHECK(SingleInstance::MutexNameFor(L"Software\\Quillmoor\\nudgepost2") != name);
    CHECK(SingleInstance::MutexNameFor(L"Software\\Quillmoor\\" + std::wstring(400, L'x')).size() < MAX_PATH);
}

TEST_CASE(AFirstStartWritesTheFiveSettingsAsDwords) {
    ScratchKey key(kKeyName);
    REQUIRE(!Program().empty());
    Running first = StartProgram(Program());
    REQUIRE(first.Started());
    HWND main = WaitForWindow(first, L"Nudgepost");
    CHECK(main != nullptr);
    const auto configuration = key.Values(L"Configuration");
    CHECK_EQ(configuration.size(), 5u);
    for (const auto& [name, value] : configuration) {
        ROW(ToUtf8(name));
        CHECK_EQ(value.type, static_cast<DWORD>(REG_DWORD));
    }
    CHECK(configuration.count(L"Number of messages") && configuration.at(L"Number of messages").IsDword(0));
    if (main)
        PostMessageW(main, WM_CLOSE, 0, 0);
    CHECK_EQ(WaitForExit(first), 0ul);
}

TEST_CASE(ASecondStartBringsTheFirstCopyForwardAndEnds) {
    ScratchKey key(kKeyName);
    REQUIRE(!Program().empty());
    Running first = StartProgram(Program());
    REQUIRE(first.Started());
    HWND main = WaitForWindow(first, L"Nudgepost");
    REQUIRE(main != nullptr);

    ShowWindow(main, SW_MINIMIZE);
    REQUIRE(IsIconic(main));
    Running second = StartProgram(Program());
    REQUIRE(second.Started());
    CHECK_EQ(WaitForExit(second), 0ul);
    CHECK(!IsIconic(main));
    CHECK_EQ(WaitForForeground(main), main);

    // With a modal window open, that window comes forward rather than the one it blocks.
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(MainIds::kAbout, BN_CLICKED), 0);
    HWND about = WaitForWindow(first, L"About");
    REQUIRE(about != nullptr);
    // The About box takes the foreground as it opens; it must have lost it before the third start, or that start
    // would prove nothing.
    REQUIRE(WaitForForeground(about) == about);
    SetForegroundWindow(GetDesktopWindow());
    REQUIRE(WaitUntil([about] { return GetForegroundWindow() != about; }));
    Running third = StartProgram(Program());
    REQUIRE(third.Started());
    CHECK_EQ(WaitForExit(third), 0ul);
    CHECK_EQ(WaitForForeground(about), about);

    PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    PostMessageW(main, WM_CLOSE, 0, 0);
    CHECK_EQ(WaitForExit(first), 0ul);
    // The store still holds only the first copy's first start.
    CHECK_EQ(key.Values(L"Configuration").size(), 5u);
}
