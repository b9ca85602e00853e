// The main window driven as a user would, with clicks and list selections, down to what the registry holds: the
// first start, the list commands with their boxes and beeps, the options, the order of the list, and the failed
// state when the key cannot be written.

#include "MainWindowRig.h"
#include "TestHarness.h"
#include "Utf8.h"

#include <commctrl.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using namespace Win32Ui;

namespace {
const std::wstring kKey = L"NudgepostTest-MainWindow";
const wchar_t* const kTab = L"\t";

bool Enabled(HWND main, int id) {
    return IsWindowEnabled(GetDlgItem(main, id)) != FALSE;
}
bool Shown(HWND main, int id) {
    return IsWindowVisible(GetDlgItem(main, id)) != FALSE;
}

struct ExpectedValue {
    std::wstring name;
    std::wstring text; // for REG_SZ
    std::int32_t number;
    bool isText;
};

// The eleven values of a stored message, by name, with their types.
void CheckStoredMessage(const ScratchKey& key, int index, const std::wstring& name, const std::wstring& text,
                        std::int32_t day, std::int32_t month, std::int32_t year, std::int32_t minute, std::int32_t hour,
                        std::int32_t showDays, std::int32_t repeat, std::int32_t active, std::int32_t everyDay) {
    const auto values = key.Values(L"Messages");
    const ExpectedValue expected[] = {
        {Numbered(L"MessageName", index), name, 0, true},
        {Numbered(L"MessageText", index), text, 0, true},
        {Numbered(L"MessageDay", index), L"", day, false},
        {Numbered(L"MessageMonth", index), L"", month, false},
        {Numbered(L"MessageYear", index), L"", year, false},
        {Numbered(L"MessageMinute", index), L"", minute, false},
        {Numbered(L"MessageHour", index), L"", hour, false},
        {Numbered(L"MessageShowTime", index), L"", showDays, false},
        {Numbered(L"MessageShowEveryTime", index), L"", repeat, false},
        {Numbered(L"MessageActive", index), L"", active, false},
        {Numbered(L"ShowEveryDay", index), L"", everyDay, false},
    };
    for (const ExpectedValue& value : expected) {
        ROW(ToUtf8(value.name));
        const auto found = values.find(value.name);
        REQUIRE(found != values.end());
        if (value.isText)
            CHECK(found->second.IsString(value.text));
        else
            CHECK(found->second.IsDword(value.number));
    }
}

// A key pressed on the focused control and let go, queued for the window's own loop as the keyboard's would be,
// with Shift held or not.
void PostKey(WPARAM key, bool shift = false) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
    PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
}

std::int32_t StoredNumber(const ScratchKey& key, const std::wstring& section, const std::wstring& name) {
    const auto values = key.Values(section);
    const auto found = values.find(name);
    if (found == values.end() || found->second.type != REG_DWORD || found->second.data.size() != 4)
        return INT32_MIN;
    return *reinterpret_cast<const std::int32_t*>(found->second.data.data());
}
} // namespace

TEST_CASE(AFirstStartShowsNothingButTheWindowAndStoresFiveDwords) {
    MainWindowRig rig(kKey);
    RUN_MAIN(rig, [](HWND main, CMainDialog&) {
        CHECK(ListTexts(main).empty());
        CHECK_EQ(GetFocus(), GetDlgItem(main, MainIds::kAddMessage));
        CHECK(Enabled(main, MainIds::kAddMessage));
        for (int id : {MainIds::kEditMarked, MainIds::kCopyMarked, MainIds::kDeleteMarked, MainIds::kClearAll}) {
            ROW("button " + std::to_string(id));
            CHECK(!Enabled(main, id));
        }
        CHECK_EQ(IsDlgButtonChecked(main, MainIds::kActivateMessages), static_cast<UINT>(BST_CHECKED));
        CHECK_EQ(IsDlgButtonChecked(main, MainIds::kShowTooltips), static_cast<UINT>(BST_CHECKED));
        CHECK_EQ(IsDlgButtonChecked(main, MainIds::kConfirmDeletions), static_cast<UINT>(BST_CHECKED));
        CHECK_EQ(IsDlgButtonChecked(main, MainIds::kShowMinimized), static_cast<UINT>(BST_UNCHECKED));
        // The scheduler's timer runs under its id from the start.
        CHECK(KillTimer(main, SCHEDULER_TIMER_ID));
    });
    CHECK_EQ(rig.beeps, 0);
    const auto configuration = rig.key.Values(L"Configuration");
    CHECK_EQ(configuration.size(), 5u);
    const std::pair<const wchar_t*, std::int32_t> expected[] = {
        {L"Number of messages", 0}, {L"Activated messages", 1}, {L"Tooltips", 1},
        {L"Show warnings", 1},      {L"Show minimized", 0},
    };
    for (const auto& [name, value] : expected) {
        ROW(ToUtf8(name));
        CHECK(configuration.count(name) && configuration.at(name).IsDword(value));
    }
    CHECK(rig.key.Values(L"Messages").empty());
}

TEST_CASE(AddStoresTheEditedMessageAndItsLine) {
    MainWindowRig rig(kKey);
    RUN_MAIN(rig, [&rig](HWND main, CMainDialog&) {
        EXPECT_WINDOW(rig.driver, L"Edit message", [](HWND editor) {
            CHECK_EQ(WindowText(GetDlgItem(editor, EditIds::kName)), std::wstring(L"Message 1"));
            CHECK_EQ(WindowText(GetDlgItem(editor, EditIds::kText)), std::wstring(L"This is message 1."));
            HWND name = GetDlgItem(editor, EditIds::kName);
            SetFocus(name);
            SetWindowTextW(name, L"Gr\u00fc\u00dfe \u559d\u8336");
            HWND year = GetDlgItem(editor, EditIds::kYear);
            SetFocus(year);
            SetWindowTextW(year, L"2031");
            Click(editor, EditIds::kOk);
        });
        Click(main, MainIds::kAddMessage);
        CHECK(ListTexts(main) ==
              std::vector<std::wstring>{std::wstring(L"Gr\u00fc\u00dfe \u559d\u8336") + kTab + L"ACTIVE"});
        // A line is there but none is marked: only Clear all of the four.
        CHECK(Enabled(main, MainIds::kClearAll));
        CHECK(!Enabled(main, MainIds::kEditMarked) && !Enabled(main, MainIds::kCopyMarked) &&
              !Enabled(main, MainIds::kDeleteMarked));
        ClickLine(main, 0);
        CHECK(Enabled(main, MainIds::kEditMarked) && Enabled(main, MainIds::kCopyMarked) &&
              Enabled(main, MainIds::kDeleteMarked));
    });
    CHECK_EQ(StoredNumber(rig.key, L"Configuration", L"Number of messages"), 1);
    CheckStoredMessage(rig.key, 0, L"Gr\u00fc\u00dfe \u559d\u8336", L"This is message 1.", 1, 1, 2031, 0, 0, 0, 0, 1,
                       0);
    CHECK_EQ(rig.key.Values(L"Messages").size(), 11u);

    // The name comes back from the registry as it went in, in any script.
    RUN_MAIN(rig, [](HWND main, CMainDialog& dialog) {
        CHECK_EQ(dialog.Model().Count(), 1);
        CHECK_EQ(std::string(dialog.Model().Entry(0).m_szName), std::string("Gr\xc3\xbc\xc3\x9f"
                                                                            "e \xe5\x96\x9d\xe8\x8c\xb6"));
        CHECK_EQ(ListTexts(main).size(), 1u);
    });
}

TEST_CASE(TheListStandsInTheCoresOrderAndEditFindsTheMarkedLine) {
    MainWindowRig rig(kKey);
    rig.StoreCount(4);
    const wchar_t* names[] = {L"Tea time", L"tea", L"apple", L"Tea"};
    for (int i = 0; i < 4; ++i)
        rig.StoreMessage(i, names[i], rig.now + 86400 * 3);
    RUN_MAIN(rig, [&rig](HWND main, CMainDialog&) {
        // Without regard to case, the tab before every printable character; equal but for case, by code point.
        const std::vector<std::wstring> expected = {
            std::wstring(L"apple") + kTab + L"ACTIVE", std::wstring(L"Tea") + kTab + L"ACTIVE",
            std::wstring(L"tea") + kTab + L"ACTIVE", std::wstring(L"Tea time") + kTab + L"ACTIVE"};
        CHECK(ListTexts(main) == expected);

        // The second of two names equal but for case is edited as itself, not as the first.
        EXPECT_WINDOW(rig.driver, L"Edit message", [](HWND editor) {
            CHECK_EQ(WindowText(GetDlgItem(editor, EditIds::kName)), std::wstring(L"tea"));
            Click(editor, EditIds::kActive);
            HWND minute = GetDlgItem(editor, EditIds::kMinute);
            SetFocus(minute);
            SetWindowTextW(minute, L"7");
            Click(editor, EditIds::kOk);
        });
        DoubleClickLine(main, 2);
        CHECK_EQ(ListTexts(main)[2], std::wstring(L"tea") + kTab + L"INACTIVE");
        // The edited line is gone and its new one unmarked: Add has the focus again.
        CHECK_EQ(SendDlgItemMessageW(main, MainIds::kMessageList, LB_GETCURSEL, 0, 0), static_cast<LRESULT>(LB_ERR));
        CHECK(!Enabled(main, MainIds::kEditMarked));
        CHECK_EQ(GetFocus(), GetDlgItem(main, MainIds::kAddMessage));
    });
    // Edit keeps the entry in its slot.
    CHECK(rig.key.Values(L"Messages").at(L"MessageName1").IsString(L"tea"));
    CHECK_EQ(StoredNumber(rig.key, L"Messages", L"MessageMinute1"), 7);
    CHECK_EQ(StoredNumber(rig.key, L"Messages", L"MessageActive1"), 0);
}

TEST_CASE(DeleteAsksAfterABeepAndLeavesTheStaleValuesBehind) {
    struct Case {
        const char* label;
        int answer;
        int countAfter;
    };
    for (const Case c : {Case{"declined", IDNO, 3}, Case{"confirmed", IDYES, 2}}) {
        ROW(c.label);
        MainWindowRig rig(kKey);
        rig.StoreCount(3);
        for (int i = 0; i < 3; ++i)
            rig.StoreMessage(i, L"Message " + std::to_wstring(i + 1), rig.now + 86400 * 3);
        RUN_MAIN(rig, [&](HWND main, CMainDialog&) {
            ClickLine(main, 0);
            EXPECT_WINDOW(rig.driver, L"Warning", [&](HWND box) {
                CHECK_EQ(StaticTexts(box), std::wstring(L"Are you sure?\nThis will delete the marked message!"));
                CHECK_EQ(rig.beeps, 1);
                CHECK_EQ(GetWindow(box, GW_OWNER), main);
                Click(box, c.answer);
            });
            Click(main, MainIds::kDeleteMarked);
            CHECK_EQ(static_cast<int>(ListTexts(main).size()), c.countAfter);
        });
        CHECK_EQ(StoredNumber(rig.key, L"Configuration", L"Number of messages"), c.countAfter);
        const auto messages = rig.key.Values(L"Messages");
        // The later entries moved down a slot; the values of the old last slot stay, unreferenced.
        CHECK(messages.at(L"MessageName0").IsString(c.answer == IDYES ? L"Message 2" : L"Message 1"));
        CHECK(messages.at(L"MessageName2").IsString(L"Message 3"));
        CHECK_EQ(messages.size(), 33u);
    }
}

TEST_CASE(WithoutConfirmationClearAllActsAtOnceAndSilently) {
    MainWindowRig rig(kKey);
    rig.StoreCount(2);
    rig.StoreMessage(0, L"One", rig.now + 86400 * 3);
    rig.StoreMessage(1, L"Two", rig.now + 86400 * 3);
    RUN_MAIN(rig, [&rig](HWND main, CMainDialog&) {
        Click(main, MainIds::kConfirmDeletions);
        CHECK_EQ(StoredNumber(rig.key, L"Configuration", L"Show warnings"), 0);
        Click(main, MainIds::kClearAll);
        CHECK(ListTexts(main).empty());
        CHECK(!Enabled(main, MainIds::kClearAll));
        // Lines added after the list was cleared take their places among themselves alone.
        for (const wchar_t* name : {L"Zed", L"Alpha"}) {
            EXPECT_WINDOW(rig.driver, L"Edit message", [name](HWND editor) {
                HWND field = GetDlgItem(editor, EditIds::kName);
                SetFocus(field);
                SetWindowTextW(field, name);
                Click(editor, EditIds::kOk);
            });
            Click(main, MainIds::kAddMessage);
        }
        CHECK(ListTexts(main) ==
              (std::vector<std::wstring>{std::wstring(L"Alpha") + kTab + L"ACTIVE", std::wstring(L"Zed") + kTab + L"ACTIVE"}));
    });
    CHECK_EQ(rig.beeps, 0);
    CHECK_EQ(StoredNumber(rig.key, L"Configuration", L"Number of messages"), 2);
}

TEST_CASE(TabShiftTabEnterAndEscapeReachTheControlsThroughTheWindowsLoop) {
    MainWindowRig rig(kKey);
    // Each body sees what the keys of the one before did, once the window's loop has handled them. The focus is
    // moved as the dialog manager moves it, which makes a push button that gets it the default one.
    const auto focus = [](HWND main, int id) {
        SendMessageW(main, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(main, id)), TRUE);
    };
    const auto focusIs = [](HWND main, int id) { return GetFocus() == GetDlgItem(main, id); };
    rig.exitAfterLastBody = false;
    RUN_MAIN(rig, std::vector<MainWindowRig::Body>{
                      [&](HWND main, CMainDialog&) {
                          focus(main, MainIds::kExit);
                          PostKey(VK_TAB);
                      },
                      [&](HWND main, CMainDialog&) {
                          CHECK(focusIs(main, MainIds::kMinimize));
                          PostKey(VK_TAB, true);
                      },
                      [&](HWND main, CMainDialog&) {
                          CHECK(focusIs(main, MainIds::kExit));
                          // From the last tab stop round to the first.
                          focus(main, MainIds::kShowMinimized);
                          PostKey(VK_TAB);
                      },
                      [&](HWND main, CMainDialog&) {
                          CHECK(focusIs(main, MainIds::kActivateMessages));
                          focus(main, MainIds::kConfirmDeletions);
                          PostKey(VK_TAB);
                      },
                      [&](HWND main, CMainDialog&) {
                          // Enter on a push button presses that button.
                          CHECK(focusIs(main, MainIds::kAbout));
                          EXPECT_WINDOW(rig.driver, L"About", [](HWND about) { Click(about, IDOK); });
                          PostKey(VK_RETURN);
                      },
                      [&](HWND main, CMainDialog&) {
                          const auto& seen = rig.driver.Seen();
                          CHECK_EQ(std::count(seen.begin(), seen.end(), std::wstring(L"About")), 1);
                          // Elsewhere Enter is Exit, the default button.
                          focus(main, MainIds::kActivateMessages);
                          PostKey(VK_RETURN);
                      },
                  });
    RUN_MAIN(rig, [](HWND, CMainDialog&) { PostKey(VK_ESCAPE); });
}

TEST_CASE(OptionsFlipTheirSettingAndActivationHidesTheList) {
    MainWindowRig rig(kKey);
    RUN_MAIN(rig, [&rig](HWND main, CMainDialog&) {
        const int listControls[] = {MainIds::kListLabel,  MainIds::kMessageList, MainIds::kAddMessage,
                                    MainIds::kEditMarked, MainIds::kCopyMarked,  MainIds::kDeleteMarked,
                                    MainIds::kClearAll};
        Click(main, MainIds::kActivateMessages);
        CHECK_EQ(StoredNumber(rig.key, L"Configuration", L"Activated messages"), 0);
        for (int id : listControls) {
            ROW("hidden " + std::to_string(id));
            CHECK(!Shown(main, id));
        }
        Click(main, MainIds::kActivateMessages);
        CHECK_EQ(StoredNumber(rig.key, L"Configuration", L"Activated messages"), 1);
        for (int id : listControls) {
            ROW("shown " + std::to_string(id));
            CHECK(Shown(main, id));
        }
        // Shown again with the states they had: nothing to edit yet.
        CHECK(!Enabled(main, MainIds::kEditMarked));

        const std::pair<int, const wchar_t*> options[] = {{MainIds::kShowTooltips, L"Tooltips"},
                                                          {MainIds::kConfirmDeletions, L"Show warnings"},
                                                          {MainIds::kShowMinimized, L"Show minimized"}};
        for (const auto& [id, stored] : options) {
            ROW(ToUtf8(stored));
            const std::int32_t before = StoredNumber(rig.key, L"Configuration", stored);
            Click(main, id);
            CHECK_EQ(StoredNumber(rig.key, L"Configuration", stored), before ? 0 : 1);
        }
    });
    // Stored as minimized on start: the next start opens minimized.
    RUN_MAIN(rig, [](HWND main, CMainDialog&) { CHECK(IsIconic(main)); });
}

TEST_CASE(AMessageThatFailsItsCheckIsDroppedAfterABeepAndABox) {
    MainWindowRig rig(kKey);
    RUN_MAIN(rig, [&rig](HWND main, CMainDialog&) {
        EXPECT_WINDOW(rig.driver, L"Edit message", [](HWND editor) {
            HWND day = GetDlgItem(editor, EditIds::kDay);
            SetFocus(day);
            SetWindowTextW(day, L"letters");
            Click(editor, EditIds::kOk);
        });
        EXPECT_WINDOW(rig.driver, L"Error", [&rig](HWND box) {
            CHECK_EQ(StaticTexts(box), std::wstring(L"Day is out of range!\nMessage has not been altered."));
            CHECK_EQ(rig.beeps, 1);
            Click(box, IDOK);
        });
        Click(main, MainIds::kAddMessage);
        CHECK(ListTexts(main).empty());
    });
    CHECK_EQ(StoredNumber(rig.key, L"Configuration", L"Number of messages"), 0);
    CHECK(rig.key.Values(L"Messages").empty());
}

TEST_CASE(HandEditedValuesAreRepairedWithTheirMessagesBeforeTheWindowOpens) {
    struct Case {
        const char* label;
        std::function<void(MainWindowRig&)> damage;
        std::vector<std::wstring> boxes; // in order
        int countAfter;
    };
    const Case cases[] = {
        {"a day stored as text",
         [](MainWindowRig& rig) { rig.key.SetString(L"Messages", L"MessageDay1", L"5"); },
         {L"One or more messages are corrupt.\nMessages have been deleted!"},
         2},
        {"a missing hour",
         [](MainWindowRig& rig) { rig.key.Remove(L"Messages", L"MessageHour0"); },
         {L"One or more messages are corrupt.\nMessages have been deleted!"},
         2},
        {"a count out of range",
         [](MainWindowRig& rig) { rig.key.SetDword(L"Configuration", L"Number of messages", 101); },
         {L"Number of saved messages is too large!\nMessage number will be reset to zero!"},
         0},
        {"a flag of the wrong type",
         [](MainWindowRig& rig) { rig.key.SetString(L"Configuration", L"Show minimized", L"1"); },
         {L"Error in show minimized flag!\nDialog will be shown at startup."},
         3},
        {"two flags missing",
         [](MainWindowRig& rig) {
             rig.key.Remove(L"Configuration", L"Tooltips");
             rig.key.Remove(L"Configuration", L"Activated messages");
         },
         {L"Error in activation state of messages!\nMessages will be inactivated.",
          L"Error in tooltip flag!\nTooltips will be enabled."},
         3},
    };
    for (const Case& c : cases) {
        ROW(c.label);
        MainWindowRig rig(kKey);
        rig.StoreCount(3);
        for (int i = 0; i < 3; ++i)
            rig.StoreMessage(i, L"Message " + std::to_wstring(i + 1), rig.now + 86400 * 3);
        c.damage(rig);
        int boxesSeen = 0;
        for (const std::wstring& text : c.boxes) {
            EXPECT_WINDOW(rig.driver, L"Error", [&rig, &boxesSeen, text](HWND box) {
                ++boxesSeen;
                CHECK_EQ(StaticTexts(box), text);
                CHECK_EQ(rig.beeps, boxesSeen);
                // Before the main window exists, its boxes have no owner.
                CHECK(GetWindow(box, GW_OWNER) == nullptr);
                Click(box, IDOK);
            });
        }
        RUN_MAIN(rig,
                 [&c](HWND main, CMainDialog&) { CHECK_EQ(static_cast<int>(ListTexts(main).size()), c.countAfter); });
        // Repaired and written back at once, every value in its type.
        CHECK_EQ(StoredNumber(rig.key, L"Configuration", L"Number of messages"), c.countAfter);
        for (const auto& [name, value] : rig.key.Values(L"Configuration")) {
            ROW(ToUtf8(name));
            CHECK_EQ(value.type, static_cast<DWORD>(REG_DWORD));
        }
        for (const auto& [name, value] : rig.key.Values(L"Messages")) {
            if (name.rfind(L"MessageName", 0) == 0 || name.rfind(L"MessageText", 0) == 0)
                continue;
            ROW(ToUtf8(name));
            // The damaged entry's own value is left as it was; every value the repair wrote is a DWORD.
            if (value.type != REG_DWORD)
                CHECK(std::string(c.label) == "a day stored as text" && name == L"MessageDay2");
        }
    }
}

TEST_CASE(ALoadThatDropsEntriesKeepsACopyOfWhatItFound) {
    MainWindowRig rig(kKey);
    rig.StoreCount(2);
    rig.StoreMessage(0, L"Kept", rig.now + 86400 * 3);
    rig.StoreMessage(1, L"Damaged", rig.now + 86400 * 3);
    rig.key.Remove(L"Messages", L"MessageYear1");
    EXPECT_WINDOW(rig.driver, L"Error", [](HWND box) { Click(box, IDOK); });
    RUN_MAIN(rig, [](HWND main, CMainDialog&) { CHECK_EQ(ListTexts(main).size(), 1u); });
    const auto copy = rig.key.Values(L"Damaged 1\\Messages");
    CHECK(copy.count(L"MessageName1") && copy.at(L"MessageName1").IsString(L"Damaged"));
    CHECK(rig.key.Values(L"Damaged 1\\Configuration").at(L"Number of messages").IsDword(2));
}

TEST_CASE(OverlongHandEditedTextsAreReadWholeAndCutWithinTheStoredSize) {
    MainWindowRig rig(kKey);
    rig.StoreCount(1);
    rig.StoreMessage(0, std::wstring(150, L'\u00e9'), rig.now + 86400 * 3);
    // Longer than any text the program writes, so the store reads it a second time with room for it.
    rig.key.SetString(L"Messages", L"MessageText0", L"Tea" + std::wstring(1500, L'x'));
    RUN_MAIN(rig, [](HWND, CMainDialog& dialog) {
        // 150 two-byte letters are 300 bytes; 199 bytes hold 99 of them and no half of the hundredth.
        CHECK_EQ(std::string(dialog.Model().Entry(0).m_szName).size(), 198u);
        CHECK_EQ(std::string(dialog.Model().Entry(0).m_szText), "Tea" + std::string(996, 'x'));
    });
}

TEST_CASE(AKeyThatCannotBeWrittenPutsTheWindowInTheFailedState) {
    MainWindowRig rig(kKey);
    rig.StoreCount(1);
    rig.StoreMessage(0, L"Tea", rig.now + 86400 * 3);
    rig.key.MakeReadOnly();
    RUN_MAIN(rig, [&rig](HWND main, CMainDialog&) {
        CHECK_EQ(ListTexts(main).size(), 1u);
        EXPECT_WINDOW(rig.driver, L"Edit message", [](HWND editor) { Click(editor, EditIds::kCancel); });
        EXPECT_WINDOW(rig.driver, L"Error", [](HWND box) {
            CHECK_EQ(StaticTexts(box), std::wstring(L"Error in saving message data."));
            Click(box, IDOK);
        });
        Click(main, MainIds::kAddMessage);
        EXPECT_WINDOW(rig.driver, L"Error", [](HWND box) {
            CHECK_EQ(StaticTexts(box), std::wstring(L"A global error occurred!\nPlease exit application."));
            Click(box, IDOK);
        });
        Click(main, MainIds::kAddMessage);
    });
    CHECK_EQ(rig.beeps, 2);
}

TEST_CASE(AFirstStartOnAKeyThatCannotBeWrittenSaysSoBeforeTheWindow) {
    MainWindowRig rig(kKey);
    rig.key.SetDword(L"Configuration", L"Placeholder", 0);
    rig.key.SetDword(L"Messages", L"Placeholder", 0);
    rig.key.MakeReadOnly();
    EXPECT_WINDOW(rig.driver, L"Error", [](HWND box) {
        CHECK_EQ(StaticTexts(box), std::wstring(L"Error in saving message data."));
        Click(box, IDOK);
    });
    RUN_MAIN(rig, [&rig](HWND main, CMainDialog& dialog) {
        CHECK(dialog.Model().GlobalError());
        EXPECT_WINDOW(rig.driver, L"Error", [](HWND box) { Click(box, IDOK); });
        Click(main, MainIds::kActivateMessages);
        CHECK(Shown(main, MainIds::kMessageList));
    });
}
