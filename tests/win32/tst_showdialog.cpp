// The window of a due message: what it shows, its clock with the time handed in, its timer, and that it stays
// above other windows, centred over its owner.

#include "CShowMessageDialog.h"
#include "ClockTimer.h"
#include "ModalDriver.h"
#include "TestHarness.h"
#include "Utf8.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

using namespace Win32Ui;

namespace {
std::time_t LocalTime(int hour, int minute, int second) {
    std::tm parts{};
    parts.tm_year = 2026 - 1900;
    parts.tm_mon = 4;
    parts.tm_mday = 12;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    parts.tm_isdst = -1;
    return std::mktime(&parts);
}

MessageEntry Entry(const char* name, const char* text) {
    MessageEntry entry{};
    std::snprintf(entry.m_szName, sizeof entry.m_szName, "%s", name);
    std::snprintf(entry.m_szText, sizeof entry.m_szText, "%s", text);
    entry.m_nDay = 5;
    entry.m_nMonth = 3;
    entry.m_nYear = 1997;
    entry.m_nHour = 9;
    entry.m_nMinute = 30;
    entry.m_nRepeatMinutes = 15;
    entry.m_bActive = 1;
    return entry;
}
} // namespace

TEST_CASE(ShowsNameTextScheduleAndTheClockHandedIn) {
    const MessageEntry entry =
        Entry("Tea & biscuits \xe5\x96\x9d\xe8\x8c\xb6", "Put the kettle on.\r\nThen sit down & wait.");
    std::time_t now = LocalTime(14, 7, 3);
    long long ms = 0; // the clock of the guard against stray keys
    ModalDriver driver;
    EXPECT_WINDOW(driver, L"Tea & biscuits \u559d\u8336", [&now](HWND dialog) {
        HWND text = GetDlgItem(dialog, ShowIds::kText);
        CHECK_EQ(WindowText(text), std::wstring(L"Put the kettle on.\r\nThen sit down & wait."));
        // The user's "&" is a character, not the mark of a shortcut.
        CHECK((GetWindowLongW(text, GWL_STYLE) & SS_NOPREFIX) != 0);
        CHECK_EQ(WindowText(GetDlgItem(dialog, ShowIds::kSchedule)),
                 std::wstring(L"This message was supposed to be seen first on 05.03.1997 at 09:30. It will be repeated "
                              L"every 15 minutes."));
        CHECK_EQ(WindowText(GetDlgItem(dialog, ShowIds::kClock)), std::wstring(L"Current Time: 14:07:03"));
        // Each tick of the window's own timer reads the clock again.
        now = LocalTime(9, 5, 7);
        SendMessageW(dialog, WM_TIMER, CLOCK_TIMER_ID, 0);
        CHECK_EQ(WindowText(GetDlgItem(dialog, ShowIds::kClock)), std::wstring(L"Current Time: 09:05:07"));
        // The timer runs under its own id: stopping it finds it.
        CHECK(KillTimer(dialog, CLOCK_TIMER_ID));
        CHECK((GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
        // Typed for another program as the window appeared, and held back: the window is still up for the next
        // action, which the driver runs after the loop has handled the keys.
        PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 1);
        PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageW(GetDlgItem(dialog, ShowIds::kOk), WM_KEYDOWN, VK_SPACE, 1);
        PostMessageW(GetDlgItem(dialog, ShowIds::kOk), WM_KEYUP, VK_SPACE, 1);
    });
    EXPECT_WINDOW(driver, L"Tea & biscuits \u559d\u8336", [&ms](HWND dialog) {
        ms += 1000;
        PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 1);
    });
    CShowMessageDialog show(
        entry, [&now] { return now; }, [&ms] { return ms; });
    CHECK_EQ(show.DoModal(nullptr), static_cast<INT_PTR>(IDOK));
    driver.Done(__FILE__, __LINE__);
}

TEST_CASE(OpensCentredOverItsOwnerOrTheWorkArea) {
    HWND owner = CreateWindowExW(0, L"Static", L"owner", WS_POPUP | WS_VISIBLE, 300, 300, 500, 300, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    REQUIRE(owner != nullptr);
    const MessageEntry entry = Entry("Tea", "Put the kettle on.");
    struct Case {
        const char* label;
        bool ownerMinimized;
    };
    for (const Case c : {Case{"over the owner", false}, Case{"owner minimized", true}}) {
        ROW(c.label);
        ShowWindow(owner, c.ownerMinimized ? SW_MINIMIZE : SW_SHOWNORMAL);
        RECT around{};
        if (c.ownerMinimized)
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &around, 0);
        else
            GetWindowRect(owner, &around);
        ModalDriver driver;
        driver.Allow(owner);
        EXPECT_WINDOW(driver, L"Tea", [&around](HWND dialog) {
            RECT rect{};
            GetWindowRect(dialog, &rect);
            CHECK(std::abs((rect.left + rect.right) - (around.left + around.right)) <= 2);
            CHECK(std::abs((rect.top + rect.bottom) - (around.top + around.bottom)) <= 2);
            Click(dialog, ShowIds::kOk);
        });
        CShowMessageDialog show(entry, {});
        show.DoModal(owner);
        driver.Done(__FILE__, __LINE__);
    }
    DestroyWindow(owner);
}
