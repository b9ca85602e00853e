#include "ModalDriver.h"

#include "TestHarness.h"
#include "Utf8.h"

#include <cstdio>

using namespace Win32Ui;

namespace {
ModalDriver* g_driver = nullptr;

struct FoundWindow {
    HWND window = nullptr;
    std::wstring title;
};

bool IsUpAndEnabled(HWND window) {
    return IsWindowVisible(window) && IsWindowEnabled(window);
}

BOOL CALLBACK CollectDialogsUp(HWND window, LPARAM list) {
    if (IsUpAndEnabled(window) && !(GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) {
        wchar_t className[32] = {};
        GetClassNameW(window, className, 32);
        if (lstrcmpW(className, L"#32770") == 0)
            reinterpret_cast<std::vector<FoundWindow>*>(list)->push_back({window, WindowText(window)});
    }
    return TRUE;
}
} // namespace

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring StaticTexts(HWND dialog) {
    std::wstring texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[32] = {};
        GetClassNameW(child, className, 32);
        if (lstrcmpiW(className, L"Static") != 0)
            continue;
        const std::wstring text = WindowText(child);
        if (text.empty())
            continue;
        if (!texts.empty())
            texts += L'\n';
        texts += text;
    }
    return texts;
}

void Click(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (button)
        SendMessageW(button, BM_CLICK, 0, 0);
    else
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

ModalDriver::ModalDriver() {
    g_driver = this;
    m_timer = SetTimer(nullptr, 0, 20, &ModalDriver::OnTick);
}

ModalDriver::~ModalDriver() {
    KillTimer(nullptr, m_timer);
    g_driver = nullptr;
}

void ModalDriver::Expect(std::wstring title, Action action, const char* file, int line) {
    m_expected.push_back({std::move(title), std::move(action), file, line, GetTickCount64()});
}

bool ModalDriver::Done(const char* file, int line) {
    if (m_expected.empty())
        return true;
    for (const Expectation& expected : m_expected)
        harness::Fail(file, line,
                      "the window \"" + ToUtf8(expected.title) + "\" expected at " + expected.file + ":" +
                          std::to_string(expected.line) + " never came");
    m_expected.clear();
    return false;
}

void CALLBACK ModalDriver::OnTick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_driver)
        g_driver->Tick();
}

void ModalDriver::Abort(const std::string& message, const char* file, int line) {
    harness::Fail(file, line, message);
    std::printf("FAIL: the test ends here, as its windows cannot be closed in order\n");
    std::fflush(stdout);
    ExitProcess(3);
}

void ModalDriver::Tick() {
    // The window that is up and enabled is the innermost modal one: every window under it is disabled.
    std::vector<FoundWindow> up;
    EnumThreadWindows(GetCurrentThreadId(), &CollectDialogsUp, reinterpret_cast<LPARAM>(&up));

    for (const FoundWindow& found : up) {
        if (!m_expected.empty() && found.title == m_expected.front().title) {
            Expectation expected = std::move(m_expected.front());
            m_expected.pop_front();
            if (!m_expected.empty())
                m_expected.front().armedAt = GetTickCount64();
            m_seen.push_back(found.title);
            // The action may open further windows, whose ticks come while it runs; its own window is then known.
            m_allowed.push_back(found.window);
            expected.action(found.window);
            m_allowed.pop_back();
            return;
        }
    }
    for (const FoundWindow& found : up) {
        bool allowed = false;
        for (HWND window : m_allowed)
            allowed = allowed || window == found.window;
        if (!allowed) {
            const std::string expected =
                m_expected.empty() ? "nothing" : "\"" + ToUtf8(m_expected.front().title) + "\"";
            Abort("unexpected window \"" + ToUtf8(found.title) + "\" saying \"" + ToUtf8(StaticTexts(found.window)) +
                      "\" while waiting for " + expected,
                  m_expected.empty() ? __FILE__ : m_expected.front().file,
                  m_expected.empty() ? __LINE__ : m_expected.front().line);
        }
    }
    if (!m_expected.empty() && GetTickCount64() - m_expected.front().armedAt > kLimitMs) {
        const Expectation& expected = m_expected.front();
        Abort("the window \"" + ToUtf8(expected.title) + "\" did not come within " + std::to_string(kLimitMs) + " ms",
              expected.file, expected.line);
    }
}
