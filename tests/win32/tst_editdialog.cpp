// The editor on a working copy: what it shows, when it reads each field (on losing the focus, and when it closes),
// the check boxes, the every-day switch, and the name and text fields that never hold more than is stored.

#include "../common/ExpectedTemplates.h"
#include "CEditMessageDialog.h"
#include "ModalDriver.h"
#include "TestHarness.h"
#include "Utf8.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

using namespace Win32Ui;

namespace {
MessageEntry SampleEntry() {
    MessageEntry entry{};
    std::snprintf(entry.m_szName, sizeof entry.m_szName, "%s", "Tea");
    std::snprintf(entry.m_szText, sizeof entry.m_szText, "%s", "Put the kettle on.\r\nThen sit down.");
    entry.m_nDay = -5;
    entry.m_nMonth = 3;
    entry.m_nYear = 1997;
    entry.m_nHour = 9;
    entry.m_nMinute = 30;
    entry.m_nShowDays = 2;
    entry.m_nRepeatMinutes = 15;
    entry.m_bActive = 1;
    entry.m_tLastShown = 12345;
    entry.m_bPending = 1;
    return entry;
}

bool SameEntry(const MessageEntry& a, const MessageEntry& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Pastes text into a field through the clipboard, as Ctrl+V would.
bool PasteInto(HWND field, const std::wstring& text) {
    if (!OpenClipboard(field))
        return false;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    SendMessageW(field, WM_PASTE, 0, 0);
    return true;
}

// Types text into a field as keystrokes that go through the dialog's own loop, as the keyboard's would.
void PostTyping(HWND field, const std::wstring& text) {
    for (wchar_t c : text)
        PostMessageW(field, WM_CHAR, c, 1);
}

void PostKey(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

// Runs the editor on entry with the given action and returns its result.
INT_PTR RunEditor(MessageEntry& entry, const ModalDriver::Action& action, bool tooltips = true) {
    ModalDriver driver;
    EXPECT_WINDOW(driver, L"Edit message", action);
    CEditMessageDialog edit(entry, tooltips);
    const INT_PTR result = edit.DoModal(nullptr);
    driver.Done(__FILE__, __LINE__);
    return result;
}

} // namespace

TEST_CASE(AHandEditedTextWithBareLineFeedsComesBackAsItWas) {
    // 199 lines and a last word, 999 bytes: shown with a carriage return more a line, which would pass the limit.
    MessageEntry entry = SampleEntry();
    std::string text;
    for (int i = 0; i < 199; ++i)
        text += "line\n";
    text += "last";
    std::snprintf(entry.m_szText, sizeof entry.m_szText, "%s", text.c_str());
    const MessageEntry before = entry;
    const INT_PTR result = RunEditor(entry, [](HWND dialog) {
        SetFocus(GetDlgItem(dialog, EditIds::kText));
        SetFocus(GetDlgItem(dialog, EditIds::kName));
        Click(dialog, EditIds::kOk);
    });
    CHECK_EQ(result, static_cast<INT_PTR>(IDOK));
    CHECK_EQ(std::string(entry.m_szText), text);
    CHECK(SameEntry(entry, before));
}

TEST_CASE(OpensWithTheEntrysValuesAndLeavesThemUntouched) {
    MessageEntry entry = SampleEntry();
    const MessageEntry before = entry;
    const INT_PTR result = RunEditor(entry, [](HWND dialog) {
        const struct {
            int id;
            const wchar_t* text;
        } rows[] = {
            {EditIds::kName, L"Tea"},  {EditIds::kText, L"Put the kettle on.\r\nThen sit down."},
            {EditIds::kDay, L"-5"},    {EditIds::kMonth, L"3"},
            {EditIds::kYear, L"1997"}, {EditIds::kHour, L"9"},
            {EditIds::kMinute, L"30"}, {EditIds::kShowDays, L"2"},
            {EditIds::kRepeat, L"15"},
        };
        for (const auto& row : rows) {
            ROW("field " + std::to_string(row.id));
            CHECK_EQ(WindowText(GetDlgItem(dialog, row.id)), std::wstring(row.text));
        }
        CHECK_EQ(IsDlgButtonChecked(dialog, EditIds::kActive), static_cast<UINT>(BST_CHECKED));
        CHECK_EQ(IsDlgButtonChecked(dialog, EditIds::kEveryDay), static_cast<UINT>(BST_UNCHECKED));
        CHECK(IsWindowVisible(GetDlgItem(dialog, EditIds::kDay)));
        CHECK(!IsWindowVisible(GetDlgItem(dialog, EditIds::kEveryDayNote)));
        // Tab through every field and close: nothing was typed, so nothing changes.
        for (int i = 0; i < 12; ++i)
            SetFocus(GetNextDlgTabItem(dialog, GetFocus(), FALSE));
        Click(dialog, EditIds::kOk);
    });
    CHECK_EQ(result, static_cast<INT_PTR>(IDOK));
    CHECK(SameEntry(entry, before));
}

TEST_CASE(EachFieldIsReadWhenItLosesTheFocus) {
    struct Case {
        int id;
        const wchar_t* typed;
        std::int32_t MessageEntry::*member;
        std::int32_t expected;
    };
    const Case cases[] = {
        {EditIds::kDay, L"12", &MessageEntry::m_nDay, 12},
        {EditIds::kMonth, L" 7 ", &MessageEntry::m_nMonth, 7},
        {EditIds::kYear, L"abc", &MessageEntry::m_nYear, 0},
        {EditIds::kHour, L"-5", &MessageEntry::m_nHour, -5},
        {EditIds::kMinute, L"letters", &MessageEntry::m_nMinute, 0},
        {EditIds::kShowDays, L"366", &MessageEntry::m_nShowDays, 366},
        {EditIds::kRepeat, L"", &MessageEntry::m_nRepeatMinutes, 0},
    };
    MessageEntry entry = SampleEntry();
    RunEditor(entry, [&](HWND dialog) {
        for (const Case& c : cases) {
            ROW("field " + std::to_string(c.id) + " given \"" + ToUtf8(c.typed) + "\"");
            HWND field = GetDlgItem(dialog, c.id);
            SetFocus(field);
            const std::int32_t old = entry.*c.member;
            SetWindowTextW(field, c.typed);
            // Not on every keystroke: the copy changes only once the focus goes.
            CHECK_EQ(entry.*c.member, old);
            SetFocus(GetDlgItem(dialog, EditIds::kOk));
            CHECK_EQ(entry.*c.member, c.expected);
        }
        HWND name = GetDlgItem(dialog, EditIds::kName);
        SetFocus(name);
        SetWindowTextW(name, L"Gr\u00fc\u00dfe");
        HWND text = GetDlgItem(dialog, EditIds::kText);
        SetFocus(text);
        CHECK_EQ(std::string(entry.m_szName), std::string("Gr\xc3\xbc\xc3\x9f"
                                                          "e"));
        SetWindowTextW(text, L"one\r\ntwo");
        SetFocus(name);
        CHECK_EQ(std::string(entry.m_szText), std::string("one\r\ntwo"));
        Click(dialog, EditIds::kOk);
    });
}

TEST_CASE(EnterRightAfterTypingStoresTheValueAndEndsWithOk) {
    MessageEntry entry = SampleEntry();
    const INT_PTR result = RunEditor(entry, [](HWND dialog) {
        HWND minute = GetDlgItem(dialog, EditIds::kMinute);
        SetFocus(minute);
        SendMessageW(minute, EM_SETSEL, 0, -1);
        PostTyping(minute, L"45");
        PostKey(minute, VK_RETURN);
    });
    CHECK_EQ(result, static_cast<INT_PTR>(IDOK));
    CHECK_EQ(entry.m_nMinute, 45);
}

TEST_CASE(EnterInTheTextFieldBreaksTheLineAndEscapeCancels) {
    MessageEntry entry = SampleEntry();
    ModalDriver driver;
    // Each step lets the dialog's loop turn the keys into characters before the next is typed.
    EXPECT_WINDOW(driver, L"Edit message", [](HWND dialog) {
        HWND text = GetDlgItem(dialog, EditIds::kText);
        SetFocus(text);
        SetWindowTextW(text, L"one");
        SendMessageW(text, EM_SETSEL, 3, 3);
        PostKey(text, VK_RETURN);
    });
    EXPECT_WINDOW(driver, L"Edit message", [](HWND dialog) {
        CHECK_EQ(WindowText(GetDlgItem(dialog, EditIds::kText)), std::wstring(L"one\r\n"));
        PostTyping(GetFocus(), L"two");
    });
    EXPECT_WINDOW(driver, L"Edit message", [](HWND dialog) {
        CHECK_EQ(WindowText(GetDlgItem(dialog, EditIds::kText)), std::wstring(L"one\r\ntwo"));
        PostKey(GetFocus(), VK_ESCAPE);
    });
    CEditMessageDialog edit(entry, true);
    CHECK_EQ(edit.DoModal(nullptr), static_cast<INT_PTR>(IDCANCEL));
    driver.Done(__FILE__, __LINE__);
    // Escape, too, reads the field it leaves: the copy holds what the user left, and the caller drops it.
    CHECK_EQ(std::string(entry.m_szText), std::string("one\r\ntwo"));
}

TEST_CASE(CheckBoxesFlipTheirFlagsAndEveryDayHidesTheDate) {
    MessageEntry entry = SampleEntry();
    RunEditor(entry, [&entry](HWND dialog) {
        Click(dialog, EditIds::kActive);
        CHECK_EQ(entry.m_bActive, 0);
        Click(dialog, EditIds::kActive);
        CHECK_EQ(entry.m_bActive, 1);

        Click(dialog, EditIds::kEveryDay);
        CHECK_EQ(entry.m_bEveryDay, 1);
        for (int id : EditIds::kDateControls) {
            ROW("every day, control " + std::to_string(id));
            CHECK(!IsWindowVisible(GetDlgItem(dialog, id)));
        }
        CHECK(IsWindowVisible(GetDlgItem(dialog, EditIds::kEveryDayNote)));
        CHECK_EQ(WindowText(GetDlgItem(dialog, EditIds::kEveryDayNote)), ToWide(Expected::kEveryDayNote));
        CHECK(IsWindowVisible(GetDlgItem(dialog, EditIds::kHour)));

        Click(dialog, EditIds::kEveryDay);
        CHECK_EQ(entry.m_bEveryDay, 0);
        for (int id : EditIds::kDateControls) {
            ROW("dated again, control " + std::to_string(id));
            CHECK(IsWindowVisible(GetDlgItem(dialog, id)));
        }
        CHECK(!IsWindowVisible(GetDlgItem(dialog, EditIds::kEveryDayNote)));
        CHECK_EQ(WindowText(GetDlgItem(dialog, EditIds::kDay)), std::wstring(L"-5"));
        Click(dialog, EditIds::kCancel);
    });
}

TEST_CASE(AnEveryDayMessageOpensWithItsDateHidden) {
    MessageEntry entry = SampleEntry();
    entry.m_bEveryDay = 1;
    RunEditor(entry, [](HWND dialog) {
        CHECK_EQ(IsDlgButtonChecked(dialog, EditIds::kEveryDay), static_cast<UINT>(BST_CHECKED));
        for (int id : EditIds::kDateControls) {
            ROW("control " + std::to_string(id));
            CHECK(!IsWindowVisible(GetDlgItem(dialog, id)));
        }
        CHECK(IsWindowVisible(GetDlgItem(dialog, EditIds::kEveryDayNote)));
        Click(dialog, EditIds::kCancel);
    });
}

TEST_CASE(AFieldTakesWhatFitsOfAnEditAndRefusesTheRestWithABeep) {
    // A field wide enough for anything, so that only the byte limit can refuse: 10 bytes keep 9 of text.
    HWND field = CreateWindowExW(0, L"Edit", L"", WS_POPUP | ES_AUTOHSCROLL, 0, 0, 400, 30, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    REQUIRE(field != nullptr);
    int beeps = 0;
    LimitToStoredSize(field, 10, [&beeps] { ++beeps; });
    auto put = [field](const wchar_t* text) {
        SetWindowTextW(field, text);
        SendMessageW(field, EM_SETSEL, 0, 0);
        SendMessageW(field, EM_SETSEL, lstrlenW(text), lstrlenW(text));
    };
    auto paste = [field](const wchar_t* text) { return PasteInto(field, text); };

    struct Case {
        const char* label;
        const wchar_t* before;
        std::function<void()> edit;
        const wchar_t* after;
        int beeps;
    };
    const Case cases[] = {
        {"typing up to the limit", L"12345678", [&] { SendMessageW(field, WM_CHAR, L'9', 1); }, L"123456789", 0},
        {"typing past the limit", L"123456789", [&] { SendMessageW(field, WM_CHAR, L'x', 1); }, L"123456789", 1},
        {"a two-byte letter in the last byte", L"12345678", [&] { SendMessageW(field, WM_CHAR, L'\u00e9', 1); },
         L"12345678", 1},
        {"replacing with a longer text", L"1234567",
         [&] { SendMessageW(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"abc")); }, L"1234567ab", 1},
        {"pasting too much", L"123", [&] { paste(L"abcdefg"); }, L"123abcdef", 1},
        {"pasting what fits", L"123", [&] { paste(L"abcdef"); }, L"123abcdef", 0},
        // Three bytes each: three whole characters fit in the nine bytes, never part of a fourth.
        {"pasting Chinese", L"", [&] { paste(L"\u6c34\u6c34\u6c34\u6c34\u6c34"); }, L"\u6c34\u6c34\u6c34", 1},
        {"deleting", L"123456789", [&] { SendMessageW(field, WM_CHAR, VK_BACK, 1); }, L"12345678", 0},
    };
    for (const Case& c : cases) {
        ROW(c.label);
        put(c.before);
        beeps = 0;
        c.edit();
        CHECK_EQ(WindowText(field), std::wstring(c.after));
        CHECK_EQ(beeps, c.beeps);
    }
    DestroyWindow(field);
}

TEST_CASE(NameAndTextNeverHoldMoreThanIsStored) {
    // Dotless i takes two bytes and little room, so the byte limit comes before the field is full.
    const struct {
        const char* label;
        int id;
        std::size_t fieldSize;
    } cases[] = {
        {"name", EditIds::kName, MESSAGE_NAME_SIZE},
        {"text", EditIds::kText, MESSAGE_TEXT_SIZE},
    };
    for (const auto& c : cases) {
        ROW(c.label);
        MessageEntry entry = SampleEntry();
        RunEditor(entry, [&](HWND dialog) {
            HWND field = GetDlgItem(dialog, c.id);
            SetFocus(field);
            // One byte short of the limit; one more ASCII letter ends exactly at it.
            const std::wstring start((c.fieldSize - 2) / 2, L'\u0131');
            SetWindowTextW(field, start.c_str());
            SendMessageW(field, EM_SETSEL, start.size(), start.size());
            SendMessageW(field, WM_CHAR, L'i', 1);
            const std::wstring full = start + L'i';
            REQUIRE(WindowText(field) == full);
            CHECK_EQ(ToUtf8(full).size(), c.fieldSize - 1);
            SendMessageW(field, WM_CHAR, L'i', 1);
            CHECK_EQ(WindowText(field), full);
            if (c.id == EditIds::kText) {
                // A long paste of three-byte characters keeps as many whole ones as the stored size holds.
                SetWindowTextW(field, L"");
                REQUIRE(PasteInto(field, std::wstring(999, L'\u6c34')));
                CHECK_EQ(WindowText(field), std::wstring(333, L'\u6c34'));
            }
            SetFocus(GetDlgItem(dialog, EditIds::kOk));
            Click(dialog, EditIds::kOk);
        });
        const char* stored = c.id == EditIds::kName ? entry.m_szName : entry.m_szText;
        CHECK_EQ(std::strlen(stored), c.fieldSize - 1);
    }
}
