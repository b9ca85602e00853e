// The scheduler's timer on the main window, with the clock in the test's hands: a due message comes only while the
// window is minimized, after a beep, with the window restored around it and minimized again; an expired one is
// switched off in the registry.

#include "MainWindowRig.h"
#include "TemplateChecks.h"
#include "TestHarness.h"

#include <commctrl.h>

#include <ctime>
#include <initializer_list>
#include <vector>

using namespace Win32Ui;

namespace {
const std::wstring kKey = L"NudgepostTest-MainScheduler";

std::time_t LocalTime(int day, int hour, int minute) {
    std::tm parts{};
    parts.tm_year = 2026 - 1900;
    parts.tm_mon = 4;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_isdst = -1;
    return std::mktime(&parts);
}

void Tick(HWND main) {
    SendMessageW(main, WM_TIMER, SCHEDULER_TIMER_ID, 0);
}

// Presses keys as a keyboard would, the first held down around the rest, through the system's input to whatever
// window has the focus.
void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (const WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = keys.end(); key != keys.begin();) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *--key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Someone typing into another program as the due message appears: a key every quarter second for three seconds,
// then, after a pause of twice the guard in which they read it, Enter. Runs on a timer, so that every key goes
// through the window's own loop.
class StrayTyping {
public:
    static constexpr int kTypingTicks = 12;
    static constexpr int kEnterTick = kTypingTicks + 8;
    static constexpr int kGiveUpTick = kEnterTick + 40;

    void Start(HWND display) {
        s_current = this;
        m_display = display;
        m_timer = SetTimer(nullptr, 0, 250, &StrayTyping::OnTick);
        Step();
    }
    // Once the window has gone, which ends its loop and with it the ticks.
    void Stop() {
        KillTimer(nullptr, m_timer);
        s_current = nullptr;
        closedByEnter = m_enterPressed && !m_gaveUp;
    }
    ~StrayTyping() {
        if (s_current == this)
            Stop();
    }

    int keysWhileOpen = 0;
    bool openAfterTyping = false;
    bool closedByEnter = false;

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
        if (s_current)
            s_current->Step();
    }
    void Step() {
        const bool open = IsWindow(m_display) && IsWindowVisible(m_display);
        if (m_tick < kTypingTicks && open) {
            static const std::initializer_list<WORD> kKeys[] = {
                {VK_RETURN}, {VK_SPACE}, {VK_ESCAPE}, {VK_MENU, VK_F4}, {'A'}};
            PressKeys(kKeys[m_tick % 5]);
            ++keysWhileOpen;
        } else if (m_tick == kTypingTicks) {
            openAfterTyping = open;
        } else if (m_tick == kEnterTick && open) {
            PressKeys({VK_RETURN});
            m_enterPressed = true;
        } else if (m_tick >= kGiveUpTick && open) {
            // Never left waiting: a window the keys did not close is closed all the same.
            m_gaveUp = true;
            Click(m_display, ShowIds::kOk);
        }
        ++m_tick;
    }

    static inline StrayTyping* s_current = nullptr;
    HWND m_display = nullptr;
    UINT_PTR m_timer = 0;
    int m_tick = 0;
    bool m_enterPressed = false;
    bool m_gaveUp = false;
};
} // namespace

TEST_CASE(ADueMessageComesWhileMinimizedAndNotWhileRestored) {
    MainWindowRig rig(kKey);
    rig.now = LocalTime(12, 14, 0);
    rig.StoreCount(1);
    rig.StoreMessage(0, L"Tea", LocalTime(12, 13, 59));
    RUN_MAIN(rig, [&rig](HWND main, CMainDialog& dialog) {
        // On the screen, the window holds every message back.
        Tick(main);
        CHECK_EQ(dialog.Model().Entry(0).m_bPending, 1);

        Click(main, MainIds::kMinimize);
        REQUIRE(IsIconic(main));
        EXPECT_WINDOW(rig.driver, L"Tea", [&rig, main](HWND display) {
            CHECK_EQ(rig.beeps, 1);
            // The main window is restored for the display, which is its own and stays on top.
            CHECK(!IsIconic(main));
            CHECK_EQ(GetWindow(display, GW_OWNER), main);
            CHECK_EQ(WindowText(GetDlgItem(display, ShowIds::kText)), std::wstring(L"Text of Tea"));
            CHECK_EQ(WindowText(GetDlgItem(display, ShowIds::kClock)), std::wstring(L"Current Time: 14:00:00"));
            Click(display, ShowIds::kOk);
        });
        Tick(main);
        CHECK(IsIconic(main));
        CHECK_EQ(dialog.Model().Entry(0).m_bPending, 0);
        CHECK_EQ(dialog.Model().Entry(0).m_bShown, 1);
        CHECK_EQ(dialog.Model().Entry(0).m_tLastShown, rig.now);

        // Shown once: the next tick, still minimized, leaves it.
        rig.now += 10;
        Tick(main);
        CHECK_EQ(rig.beeps, 1);
    });
}

TEST_CASE(KeysTypedAsTheMessageComesLeaveItOpenUntilEnterAfterAPause) {
    MainWindowRig rig(kKey);
    rig.now = LocalTime(12, 14, 0);
    rig.StoreCount(1);
    rig.StoreMessage(0, L"Tea", LocalTime(12, 13, 59));
    StrayTyping typing;
    RUN_MAIN(rig, [&rig, &typing](HWND main, CMainDialog&) {
        Click(main, MainIds::kMinimize);
        EXPECT_WINDOW(rig.driver, L"Tea", [&rig, &typing](HWND display) {
            // The task-bar button flashes while the message waits.
            CHECK(rig.attention == std::vector<bool>{true});
            rig.driver.Allow(display);
            typing.Start(display);
        });
        Tick(main);
        typing.Stop();
        CHECK(IsIconic(main));
    });
    CHECK_EQ(typing.keysWhileOpen, StrayTyping::kTypingTicks);
    CHECK(typing.openAfterTyping);
    CHECK(typing.closedByEnter);
    // Withdrawn once the message was closed, with the window minimized again.
    CHECK((rig.attention == std::vector<bool>{true, false}));
}

TEST_CASE(TicksKeepArrivingWhileAModalWindowIsOpen) {
    MainWindowRig rig(kKey);
    rig.now = LocalTime(12, 14, 0);
    rig.StoreCount(1);
    rig.StoreMessage(0, L"Tea", LocalTime(12, 13, 59));
    rig.key.SetDword(L"Messages", L"MessageShowEveryTime0", 5);
    RUN_MAIN(rig, [&rig](HWND main, CMainDialog& dialog) {
        Click(main, MainIds::kMinimize);
        EXPECT_WINDOW(rig.driver, L"Tea", [](HWND display) { Click(display, ShowIds::kOk); });
        Tick(main);
        REQUIRE(dialog.Model().Entry(0).m_bPending == 0);
        ShowWindow(main, SW_RESTORE);
        // Five minutes on, with the editor open: the timer's message reaches the main window through the
        // editor's loop, and the repeat arms the message again.
        rig.now += 5 * 60;
        EXPECT_WINDOW(rig.driver, L"Edit message",
                      [main](HWND) { PostMessageW(main, WM_TIMER, SCHEDULER_TIMER_ID, 0); });
        EXPECT_WINDOW(rig.driver, L"Edit message", [&dialog](HWND editor) {
            CHECK_EQ(dialog.Model().Entry(0).m_bPending, 1);
            Click(editor, EditIds::kCancel);
        });
        Click(main, MainIds::kAddMessage);
    });
}

TEST_CASE(AnotherTimersTickChangesNothing) {
    MainWindowRig rig(kKey);
    rig.now = LocalTime(12, 14, 0);
    rig.StoreCount(1);
    rig.StoreMessage(0, L"Tea", LocalTime(12, 13, 59));
    RUN_MAIN(rig, [](HWND main, CMainDialog& dialog) {
        Click(main, MainIds::kMinimize);
        SendMessageW(main, WM_TIMER, SCHEDULER_TIMER_ID + 1, 0);
        CHECK_EQ(dialog.Model().Entry(0).m_bPending, 1);
    });
}

TEST_CASE(AnExpiredMessageIsSwitchedOffInTheRegistry) {
    MainWindowRig rig(kKey);
    rig.now = LocalTime(12, 14, 0);
    rig.StoreCount(1);
    // Shown only on its day, the 12th, which was a month ago: the first minimized tick expires it and saves.
    rig.StoreMessage(0, L"Tea", LocalTime(12, 14, 0) - 30 * 86400);
    RUN_MAIN(rig, [&rig](HWND main, CMainDialog&) {
        Click(main, MainIds::kMinimize);
        Tick(main);
        const auto values = rig.key.Values(L"Messages");
        CHECK(values.at(L"MessageActive0").IsDword(0));
    });
    CHECK_EQ(rig.beeps, 0);
}

TEST_CASE(MessagesDatedUpTo9999WaitForTheirDay) {
    MainWindowRig rig(kKey);
    rig.now = LocalTime(12, 14, 0);
    rig.StoreCount(3);
    // Past the 32-bit runtime's end in 2038, past the 64-bit runtime's in 3000, and in the editor's last month; each
    // at noon UTC on the 12th, the day of the month of now in every zone, so that the tick looks at each of them.
    rig.StoreMessage(0, L"After 2038", 2149588800);
    rig.StoreMessage(1, L"After 3000", 32536209600);
    rig.StoreMessage(2, L"Year 9999", 253400616000);
    RUN_MAIN(rig, [&rig](HWND main, CMainDialog& dialog) {
        Click(main, MainIds::kMinimize);
        Tick(main);
        const auto values = rig.key.Values(L"Messages");
        for (int i = 0; i < 3; ++i) {
            ROW(std::to_string(i));
            CHECK(values.at(Numbered(L"MessageActive", i)).IsDword(1));
            CHECK_EQ(dialog.Model().Entry(i).m_bPending, 1);
        }
    });
    CHECK_EQ(rig.beeps, 0);
}

TEST_CASE(StartingMinimizedTheFirstTickShowsWhatIsDue) {
    MainWindowRig rig(kKey);
    rig.now = LocalTime(12, 14, 0);
    rig.StoreCount(1);
    rig.key.SetDword(L"Configuration", L"Show minimized", 1);
    rig.StoreMessage(0, L"Every day", LocalTime(1, 9, 30), true);
    MainWindowRig::Body opened = [](HWND main, CMainDialog&) { CHECK(IsIconic(main)); };
    // Still minimized once the window's loop has waited for messages: nothing shows it when it first runs idle.
    MainWindowRig::Body idle = [&rig](HWND main, CMainDialog&) {
        CHECK(IsIconic(main));
        EXPECT_WINDOW(rig.driver, L"Every day", [](HWND display) {
            CHECK_EQ(WindowText(GetDlgItem(display, ShowIds::kSchedule)),
                     std::wstring(L"This message is supposed to be seen every day at 09:30."));
            Click(display, ShowIds::kOk);
        });
        Tick(main);
        CHECK(IsIconic(main));
    };
    rig.Run(std::vector<MainWindowRig::Body>{opened, idle}, __FILE__, __LINE__);
}

TEST_CASE(MainWindowMatchesItsTemplate) {
    MainWindowRig rig(kKey);
    rig.StoreCount(1);
    rig.StoreMessage(0, L"Tea", rig.now + 86400);
    RUN_MAIN(rig, [](HWND main, CMainDialog& dialog) {
        // With a marked line every tab stop is enabled; with the focus off the buttons, Exit is the default again.
        ClickLine(main, 0);
        SendMessageW(main, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(main, MainIds::kMessageList)), TRUE);
        CheckAgainstTemplate(main, MainDialogTemplate(), Expected::kMain, L"Nudgepost");
        // The list's tab stop is in dialog units of the list's own font: only in the dialog's font does the state
        // column stand where the template puts it, whatever size the labels take to fit.
        CHECK_EQ(SendDlgItemMessageW(main, MainIds::kMessageList, WM_GETFONT, 0, 0),
                 SendMessageW(main, WM_GETFONT, 0, 0));
        // The window's menu has no Size and no Maximize: Restore, Move, Minimize, a separator and Close.
        HMENU menu = GetSystemMenu(main, FALSE);
        REQUIRE(menu != nullptr && GetMenuItemCount(menu) >= 5);
        const UINT expected[] = {SC_RESTORE, SC_MOVE, SC_MINIMIZE, 0, SC_CLOSE};
        for (int i = 0; i < 5; ++i) {
            ROW("menu item " + std::to_string(i));
            CHECK_EQ(GetMenuItemID(menu, i), expected[i]);
        }
        CHECK_EQ(GetMenuState(menu, SC_SIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
        CHECK_EQ(GetMenuState(menu, SC_MAXIMIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
        CheckToolTips(main, dialog.ToolTips(), Expected::kMain);
    });
}
