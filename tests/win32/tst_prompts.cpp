// The message boxes through which the program speaks: caption, text, icon, buttons and owner, and which answer
// counts as yes.

#include "ModalDriver.h"
#include "TestHarness.h"
#include "Win32Prompts.h"

using namespace Win32Ui;

namespace {
HICON BoxIcon(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    }
    return nullptr;
}

bool HasButton(HWND box, int id) {
    return GetDlgItem(box, id) != nullptr;
}
} // namespace

TEST_CASE(AnErrorBoxHasTheExclamationIconAndOnlyOk) {
    HWND owner = CreateWindowExW(0, L"Static", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    Win32Prompts prompts([] {});
    prompts.SetOwner(owner);
    ModalDriver driver;
    EXPECT_WINDOW(driver, L"Error", [owner](HWND box) {
        CHECK_EQ(StaticTexts(box), std::wstring(L"Error in saving message data.\nSecond line \u00e9"));
        CHECK_EQ(BoxIcon(box), LoadIconW(nullptr, IDI_EXCLAMATION));
        CHECK(HasButton(box, IDOK));
        CHECK(!HasButton(box, IDCANCEL) && !HasButton(box, IDYES) && !HasButton(box, IDNO));
        CHECK_EQ(GetWindow(box, GW_OWNER), owner);
        Click(box, IDOK);
    });
    prompts.ErrorBox("Error in saving message data.\nSecond line \xc3\xa9", "Error");
    driver.Done(__FILE__, __LINE__);
    DestroyWindow(owner);
}

TEST_CASE(AQuestionHasTheQuestionIconAndYesAndNo) {
    struct Case {
        const char* label;
        int answer;
        bool expected;
    };
    for (const Case c : {Case{"yes", IDYES, true}, Case{"no", IDNO, false}}) {
        ROW(c.label);
        Win32Prompts prompts([] {});
        ModalDriver driver;
        EXPECT_WINDOW(driver, L"Warning", [&c](HWND box) {
            CHECK_EQ(StaticTexts(box), std::wstring(L"Are you sure?\nThis will delete all messages!"));
            CHECK_EQ(BoxIcon(box), LoadIconW(nullptr, IDI_QUESTION));
            CHECK(HasButton(box, IDYES) && HasButton(box, IDNO));
            CHECK(!HasButton(box, IDOK) && !HasButton(box, IDCANCEL));
            // Before the main window exists the boxes have no owner.
            CHECK(GetWindow(box, GW_OWNER) == nullptr);
            Click(box, c.answer);
        });
        CHECK_EQ(prompts.AskYesNo("Are you sure?\nThis will delete all messages!", "Warning"), c.expected);
        driver.Done(__FILE__, __LINE__);
    }
}
