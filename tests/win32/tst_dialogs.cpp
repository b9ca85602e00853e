// Each window against the literal table: ids and classes in template order, texts, rectangles in dialog units
// through MapDialogRect, tooltips; and against its template the styles that give each control its kind, the
// default button and the tab order.

#include "CAboutDialog.h"
#include "CEditMessageDialog.h"
#include "CShowMessageDialog.h"
#include "DialogTemplates.h"
#include "FontSizes.h"
#include "ModalDriver.h"
#include "TemplateChecks.h"
#include "TestHarness.h"
#include "Utf8.h"

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace Win32Ui;

namespace {

MessageEntry SampleEntry() {
    MessageEntry entry{};
    std::snprintf(entry.m_szName, sizeof entry.m_szName, "%s", "Tea");
    std::snprintf(entry.m_szText, sizeof entry.m_szText, "%s", "Put the kettle on.");
    entry.m_nDay = 5;
    entry.m_nMonth = 3;
    entry.m_nYear = 1997;
    entry.m_nHour = 9;
    entry.m_nMinute = 30;
    entry.m_bActive = 1;
    return entry;
}
} // namespace

TEST_CASE(AboutBoxMatchesItsTemplate) {
    ModalDriver driver;
    EXPECT_WINDOW(driver, L"About", [](HWND dialog) {
        CheckAgainstTemplate(dialog, AboutTemplate(), Expected::kAbout, L"About");
        // The icon static shows the program's icon, which the resources hold under the template's id.
        HWND icon = nullptr;
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                icon = child;
        }
        REQUIRE(icon != nullptr);
        CHECK(SendMessageW(icon, STM_GETICON, 0, 0) != 0);
        CHECK_EQ(GetFocus(), GetDlgItem(dialog, AboutIds::kOk));
        Click(dialog, AboutIds::kOk);
    });
    CAboutDialog about;
    CHECK_EQ(about.DoModal(nullptr), static_cast<INT_PTR>(IDOK));
    driver.Done(__FILE__, __LINE__);
}

TEST_CASE(DueMessageWindowMatchesItsTemplate) {
    const MessageEntry entry = SampleEntry();
    ModalDriver driver;
    EXPECT_WINDOW(driver, L"Tea", [](HWND dialog) {
        CheckAgainstTemplate(dialog, ShowMessageTemplate(), Expected::kShow, L"Tea");
        CHECK_EQ(GetFocus(), GetDlgItem(dialog, ShowIds::kOk));
        Click(dialog, ShowIds::kOk);
    });
    CShowMessageDialog show(entry, {});
    CHECK_EQ(show.DoModal(nullptr), static_cast<INT_PTR>(IDOK));
    driver.Done(__FILE__, __LINE__);
}

TEST_CASE(EditorMatchesItsTemplate) {
    MessageEntry entry = SampleEntry();
    ModalDriver driver;
    EXPECT_WINDOW(driver, L"Edit message", [](HWND dialog) {
        CheckAgainstTemplate(dialog, EditMessageTemplate(), Expected::kEdit, L"Edit message");
        // The first Tab goes from OK, which has the focus, to Cancel, then to the name.
        CHECK_EQ(GetFocus(), GetDlgItem(dialog, EditIds::kOk));
        Click(dialog, EditIds::kCancel);
    });
    CEditMessageDialog edit(entry, true);
    CHECK_EQ(edit.DoModal(nullptr), static_cast<INT_PTR>(IDCANCEL));
    driver.Done(__FILE__, __LINE__);
}

TEST_CASE(TooltipsFollowTheTable) {
    MessageEntry entry = SampleEntry();
    ModalDriver driver;
    CEditMessageDialog edit(entry, true);
    EXPECT_WINDOW(driver, L"Edit message", [&edit](HWND dialog) {
        CheckToolTips(dialog, edit.ToolTips(), Expected::kEdit);
        Click(dialog, EditIds::kCancel);
    });
    edit.DoModal(nullptr);
    driver.Done(__FILE__, __LINE__);
}

namespace {
LONG HeightOf(HFONT font) {
    LOGFONTW face{};
    GetObjectW(font, sizeof face, &face);
    return face.lfHeight < 0 ? -face.lfHeight : face.lfHeight;
}
} // namespace

// The heights a one-line text is measured in: from its font's down to two thirds of the base, rounded up; the
// smallest of them when none fits. Each height is made once.
TEST_CASE(FontSizesStopAtTwoThirdsOfTheBase) {
    struct SizeRow {
        LONG base;
        LONG fitsAt; // 0: nowhere
        LONG chosen;
        std::vector<LONG> measured;
    };
    const SizeRow rows[] = {
        {12, 0, 8, {12, 11, 10, 9, 8}},    {13, 0, 9, {13, 12, 11, 10, 9}},
        {14, 11, 11, {14, 13, 12, 11}},    {14, 14, 14, {14}},
        {14, 5, 10, {14, 13, 12, 11, 10}},
    };
    for (const SizeRow& size : rows) {
        ROW("base " + std::to_string(size.base) + ", fits at " + std::to_string(size.fitsAt));
        HFONT base = CreateFontW(-size.base, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
        REQUIRE(base != nullptr);
        {
            FontSizes sizes(base);
            std::vector<LONG> measured;
            const auto fits = [&](HFONT font) {
                measured.push_back(HeightOf(font));
                return HeightOf(font) == size.fitsAt;
            };
            HFONT chosen = sizes.Largest(fits);
            CHECK_EQ(HeightOf(chosen), size.chosen);
            CHECK(measured == size.measured);
            CHECK_EQ(sizes.Largest(fits), chosen);
            // From a smaller font the search starts at its height: from 11 in a base of 14, only 11 and 10 remain.
            if (size.base == 14 && size.fitsAt == 11) {
                measured.clear();
                const auto fitsNowhere = [&](HFONT font) {
                    measured.push_back(HeightOf(font));
                    return false;
                };
                CHECK_EQ(HeightOf(sizes.Largest(fitsNowhere, chosen)), 10);
                CHECK(measured == (std::vector<LONG>{11, 10}));
            }
        }
        DeleteObject(base);
    }
}
