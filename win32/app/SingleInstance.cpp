#include "SingleInstance.h"

#include "ApplicationName.h"
#include "Utf8.h"

#include <cstdint>
#include <vector>

namespace Win32Ui {

namespace {
struct SharedState {
    DWORD windowThread;
};

BOOL CALLBACK CollectOwnerless(HWND window, LPARAM list) {
    if (IsWindowVisible(window) && !GetWindow(window, GW_OWNER))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

struct OwnedSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindEnabledOwned(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<OwnedSearch*>(data);
    if (IsWindowVisible(window) && IsWindowEnabled(window) && GetWindow(window, GW_OWNER) == search->owner) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring Hex(std::uint64_t value) {
    std::wstring text(16, L'0');
    for (int i = 15; i >= 0; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = L"0123456789abcdef"[value & 0xF];
    return text;
}
} // namespace

std::wstring SingleInstance::MutexNameFor(const std::wstring& keyPath) {
    std::wstring folded = keyPath;
    if (!folded.empty())
        CharUpperBuffW(folded.data(), static_cast<DWORD>(folded.size()));
    // A key path may be longer than an object name can be and hold characters a name cannot: its hash is neither.
    std::uint64_t hash = 14695981039346656037ull;
    for (wchar_t c : folded) {
        hash ^= static_cast<std::uint16_t>(c);
        hash *= 1099511628211ull;
    }
    return L"Local\\" + ToWide(kOrganizationName) + L".Nudgepost." + Hex(hash);
}

SingleInstance::SingleInstance(const std::wstring& keyPath) : m_name(MutexNameFor(keyPath)) {}

SingleInstance::~SingleInstance() {
    if (m_shared)
        CloseHandle(m_shared);
    if (m_mutex)
        CloseHandle(m_mutex);
}

SingleInstance::Role SingleInstance::Claim() {
    // The shared state comes first, so that whoever finds the mutex taken also finds where to look.
    m_shared = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(SharedState),
                                  (m_name + L".window").c_str());
    m_mutex = CreateMutexW(nullptr, TRUE, m_name.c_str());
    if (!m_mutex)
        return Role::Unguarded;
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        return Role::Secondary;
    if (m_shared) {
        if (auto* state = static_cast<SharedState*>(MapViewOfFile(m_shared, FILE_MAP_WRITE, 0, 0, 0))) {
            state->windowThread = GetCurrentThreadId();
            UnmapViewOfFile(state);
        }
    }
    return Role::Primary;
}

namespace {
// The first copy's windows without an owner: its main window, or, while it loads, its error boxes.
HWND MainWindowOf(HANDLE shared) {
    DWORD thread = 0;
    if (auto* state = static_cast<const SharedState*>(MapViewOfFile(shared, FILE_MAP_READ, 0, 0, 0))) {
        thread = state->windowThread;
        UnmapViewOfFile(state);
    }
    if (thread == 0)
        return nullptr;
    std::vector<HWND> windows;
    EnumThreadWindows(thread, &CollectOwnerless, reinterpret_cast<LPARAM>(&windows));
    return windows.empty() ? nullptr : windows.front();
}
} // namespace

bool SingleInstance::ActivatePrimary() {
    if (!m_shared)
        return false;
    HWND main = MainWindowOf(m_shared);
    if (!main)
        return false;
    if (IsIconic(main))
        ShowWindow(main, SW_RESTORE);
    // A modal window is what the user has to deal with first: it comes to the front rather than the window it
    // blocks. One that has only just opened may not have been active yet, so the system does not know it as the
    // last active one; the window it disables tells it apart.
    HWND target = GetLastActivePopup(main);
    if (target == main && !IsWindowEnabled(main)) {
        OwnedSearch search{main, nullptr};
        EnumThreadWindows(GetWindowThreadProcessId(main, nullptr), &FindEnabledOwned,
                          reinterpret_cast<LPARAM>(&search));
        if (search.found)
            target = search.found;
    }
    SetForegroundWindow(target);
    return true;
}

HWND SingleInstance::PrimaryWindow() const {
    HANDLE shared = OpenFileMappingW(FILE_MAP_READ, FALSE, (m_name + L".window").c_str());
    if (!shared)
        return nullptr;
    HWND main = MainWindowOf(shared);
    CloseHandle(shared);
    return main;
}

} // namespace Win32Ui
