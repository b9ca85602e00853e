#pragma once

#include "WindowsHeaders.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

// Drives the modal windows of a test: each expected window, named by its title, is acted on as soon as it is up,
// from inside its own modal loop. A window that does not come within the time limit, or one that nobody expected,
// fails the test at once with a message and ends the program, so no modal loop is left waiting for ctest.
class ModalDriver {
public:
    using Action = std::function<void(HWND)>;

    ModalDriver();
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    // Queues a window: the action runs once a visible, enabled window of this thread with this title is up.
    void Expect(std::wstring title, Action action, const char* file, int line);
    // Windows of the test that are allowed to be up and enabled without being expected.
    void Allow(HWND window) { m_allowed.push_back(window); }
    // True when every expected window came; reports those that did not.
    bool Done(const char* file, int line);
    // The titles of the windows acted on, in order.
    const std::vector<std::wstring>& Seen() const { return m_seen; }

    static constexpr DWORD kLimitMs = 10000;

private:
    struct Expectation {
        std::wstring title;
        Action action;
        const char* file;
        int line;
        ULONGLONG armedAt = 0;
    };

    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD);
    void Tick();
    [[noreturn]] void Abort(const std::string& message, const char* file, int line);

    std::deque<Expectation> m_expected;
    std::vector<HWND> m_allowed;
    std::vector<std::wstring> m_seen;
    UINT_PTR m_timer = 0;
};

#define EXPECT_WINDOW(driver, title, ...) (driver).Expect((title), (__VA_ARGS__), __FILE__, __LINE__)

// The text a message box shows, or a dialog's static texts joined by new lines.
std::wstring StaticTexts(HWND dialog);
std::wstring WindowText(HWND window);
// Clicks a button of a dialog as the user would, and as a keyboard would reach it.
void Click(HWND dialog, int id);
