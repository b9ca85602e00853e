#include "TemplateChecks.h"

#include "ModalDriver.h"
#include "TestHarness.h"
#include "Utf8.h"

#include <commctrl.h>

#include <string_view>
#include <vector>

using namespace Win32Ui;

namespace {

// What each kind of control must be on Windows, written out here from the platform's names rather than taken from
// the builder, so a wrong translation shows.
struct ExpectedStyle {
    unsigned bit;
    ControlClass controlClass;
    DWORD mask;  // the bits of the window style that carry this kind
    DWORD value; // what they hold
};
const ExpectedStyle kExpectedStyles[] = {
    {Style::Visible, ControlClass::Button, WS_VISIBLE, WS_VISIBLE},
    {Style::Group, ControlClass::Button, WS_GROUP, WS_GROUP},
    {Style::TabStop, ControlClass::Button, WS_TABSTOP, WS_TABSTOP},
    {Style::PushButton, ControlClass::Button, BS_TYPEMASK, BS_PUSHBUTTON},
    {Style::DefPushButton, ControlClass::Button, BS_TYPEMASK, BS_DEFPUSHBUTTON},
    {Style::AutoCheckBox, ControlClass::Button, BS_TYPEMASK, BS_AUTOCHECKBOX},
    {Style::GroupBox, ControlClass::Button, BS_TYPEMASK, BS_GROUPBOX},
    {Style::Group, ControlClass::Static, WS_GROUP, WS_GROUP},
    {Style::Left, ControlClass::Static, SS_TYPEMASK, SS_LEFT},
    {Style::Center, ControlClass::Static, SS_TYPEMASK, SS_CENTER},
    {Style::Icon, ControlClass::Static, SS_TYPEMASK, SS_ICON},
    {Style::Sunken, ControlClass::Static, SS_SUNKEN, SS_SUNKEN},
    {Style::Group, ControlClass::Edit, WS_GROUP, WS_GROUP},
    {Style::TabStop, ControlClass::Edit, WS_TABSTOP, WS_TABSTOP},
    {Style::Multiline, ControlClass::Edit, ES_MULTILINE, ES_MULTILINE},
    {Style::WantReturn, ControlClass::Edit, ES_WANTRETURN, ES_WANTRETURN},
    {Style::AutoHScroll, ControlClass::Edit, ES_AUTOHSCROLL, ES_AUTOHSCROLL},
    {Style::Group, ControlClass::ListBox, WS_GROUP, WS_GROUP},
    {Style::TabStop, ControlClass::ListBox, WS_TABSTOP, WS_TABSTOP},
    {Style::Sort, ControlClass::ListBox, LBS_SORT, LBS_SORT},
    {Style::UseTabStops, ControlClass::ListBox, LBS_USETABSTOPS, LBS_USETABSTOPS},
    {Style::Notify, ControlClass::ListBox, LBS_NOTIFY, LBS_NOTIFY},
    {Style::NoIntegralHeight, ControlClass::ListBox, LBS_NOINTEGRALHEIGHT, LBS_NOINTEGRALHEIGHT},
};

std::string Label(const Expected::Control& control, std::size_t index) {
    return "control " + std::to_string(index) + " (id " + std::to_string(control.id) + ")";
}

} // namespace

void CheckAgainstTemplate(HWND dialog, const DialogTemplate& source, const Expected::Dialog& expected,
                          const std::wstring& title) {
    CHECK_EQ(WindowText(dialog), title);
    const LONG style = GetWindowLongW(dialog, GWL_STYLE);
    CHECK_EQ((style & WS_CAPTION) == WS_CAPTION, (source.windowStyle & WindowStyle::Caption) != 0);
    CHECK_EQ((style & WS_SYSMENU) != 0, (source.windowStyle & WindowStyle::SysMenu) != 0);
    CHECK_EQ((style & WS_MINIMIZEBOX) != 0, (source.windowStyle & WindowStyle::MinimizeBox) != 0);
    CHECK((style & WS_MAXIMIZEBOX) == 0);
    CHECK((style & WS_THICKFRAME) == 0);
    CHECK_EQ((GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0,
             (source.windowStyle & WindowStyle::SysModal) != 0);

    // The dialog manager makes the window's font from the template's own fields: upright and of normal weight.
    const auto checkFace = [&expected](HWND window) {
        LOGFONTW face{};
        const auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
        REQUIRE(font && GetObjectW(font, sizeof face, &face) == sizeof face);
        // The table's face, "MS Sans Serif", is a bitmap design; the window asks for the system's alias of it in
        // outlines.
        CHECK_EQ(std::wstring(face.lfFaceName), std::wstring(L"MS Shell Dlg"));
        CHECK_EQ(face.lfWeight, static_cast<LONG>(expected.fontWeight));
        CHECK_EQ(face.lfItalic != 0, expected.italic);
    };
    checkFace(dialog);
    // The dialog manager asks for the point size at the screen's pixels per inch.
    {
        LOGFONTW face{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof face, &face);
        HDC screen = GetDC(nullptr);
        CHECK_EQ(face.lfHeight, static_cast<LONG>(-MulDiv(expected.pointSize, GetDeviceCaps(screen, LOGPIXELSY), 72)));
        ReleaseDC(nullptr, screen);
    }

    RECT size{0, 0, expected.cx, expected.cy};
    MapDialogRect(dialog, &size);
    RECT client{};
    GetClientRect(dialog, &client);
    CHECK_EQ(client.right, size.right);
    CHECK_EQ(client.bottom, size.bottom);

    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    REQUIRE(children.size() == expected.controls.size());
    REQUIRE(source.controls.size() == expected.controls.size());

    for (std::size_t i = 0; i < children.size(); ++i) {
        const ControlTemplate& control = source.controls[i];
        const Expected::Control& literal = expected.controls[i];
        ROW(Label(literal, i));
        HWND child = children[i];
        CHECK_EQ(GetDlgCtrlID(child), literal.id == -1 ? 0xFFFF : literal.id);
        if (literal.id != -1)
            CHECK_EQ(GetDlgItem(dialog, literal.id), child);
        wchar_t className[32] = {};
        GetClassNameW(child, className, 32);
        CHECK_EQ(std::wstring(className), ToWide(literal.className));
        if (!literal.icon)
            checkFace(child);
        // Fields and the texts a window fills at run time are left empty by the table.
        if (std::string_view(literal.className) != "Edit" && literal.text[0] != '\0')
            CHECK_EQ(WindowText(child), ToWide(literal.text));

        // The dialog manager converts position and size each on its own, as MapDialogRect does each corner.
        RECT mapped{literal.rect.x, literal.rect.y, literal.rect.cx, literal.rect.cy};
        MapDialogRect(dialog, &mapped);
        RECT actual{};
        GetWindowRect(child, &actual);
        MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&actual), 2);
        CHECK_EQ(actual.left, mapped.left);
        CHECK_EQ(actual.top, mapped.top);
        // An icon static sizes itself to its icon; only its corner is the table's.
        if (!literal.icon) {
            CHECK_EQ(actual.right - actual.left, mapped.right);
            CHECK_EQ(actual.bottom - actual.top, mapped.bottom);
        }

        const LONG childStyle = GetWindowLongW(child, GWL_STYLE);
        // The dialog manager draws a bordered field or list with the sunken edge of today's look instead of a line.
        // (A list shows its scroll bar only once its lines need one, so that bit is not checked.)
        if ((control.controlClass == ControlClass::Edit || control.controlClass == ControlClass::ListBox) &&
            (control.style & Style::Border))
            CHECK((childStyle & WS_BORDER) || (GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
        for (const ExpectedStyle& expectedStyle : kExpectedStyles) {
            if (expectedStyle.controlClass != control.controlClass)
                continue;
            if (control.style & expectedStyle.bit) {
                ROW("style bit " + std::to_string(expectedStyle.bit));
                CHECK_EQ(static_cast<DWORD>(childStyle) & expectedStyle.mask, expectedStyle.value);
            }
        }
        if (control.style & Style::TabStop)
            CHECK((childStyle & WS_TABSTOP) != 0);
        else
            CHECK((childStyle & WS_TABSTOP) == 0);
        if (!(control.style & Style::Group))
            CHECK((childStyle & WS_GROUP) == 0);
    }

    // Enter presses the template's default button.
    int defaultId = 0;
    for (const ControlTemplate& control : source.controls) {
        if (control.style & Style::DefPushButton)
            defaultId = control.id;
    }
    const LRESULT defId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    CHECK_EQ(HIWORD(defId), DC_HASDEFID);
    CHECK_EQ(static_cast<int>(LOWORD(defId)), defaultId);

    // Tab visits the visible tab stops in template order and comes round again.
    std::vector<int> tabStops;
    for (const ControlTemplate& control : source.controls) {
        if ((control.style & Style::TabStop) && IsWindowVisible(GetDlgItem(dialog, control.id)) &&
            IsWindowEnabled(GetDlgItem(dialog, control.id)))
            tabStops.push_back(control.id);
    }
    REQUIRE(!tabStops.empty());
    HWND at = GetDlgItem(dialog, tabStops.front());
    for (std::size_t i = 1; i <= tabStops.size(); ++i) {
        ROW("tab " + std::to_string(i));
        at = GetNextDlgTabItem(dialog, at, FALSE);
        CHECK_EQ(GetDlgCtrlID(at), tabStops[i % tabStops.size()]);
    }
}

void CheckToolTips(HWND dialog, HWND tips, const Expected::Dialog& expected) {
    REQUIRE(tips != nullptr);
    REQUIRE(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0) == static_cast<LRESULT>(expected.TooltipCount()));
    for (std::size_t i = 0; i < expected.TooltipCount(); ++i) {
        wchar_t text[256] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.lpszText = text;
        REQUIRE(SendMessageW(tips, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool)));
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(tool.uId));
        ROW("tool " + std::to_string(i) + " (id " + std::to_string(id) + ")");
        REQUIRE(GetParent(reinterpret_cast<HWND>(tool.uId)) == dialog);
        if (i < expected.tooltipOrder.size())
            CHECK_EQ(id, expected.tooltipOrder[i]);
        const Expected::Control* control = expected.Find(id);
        REQUIRE(control != nullptr);
        CHECK_EQ(std::wstring(text), ToWide(control->tooltip));
    }
}
