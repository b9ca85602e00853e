#include "DialogWindow.h"

#include "EditFields.h"
#include "Utf8.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <string_view>

namespace Win32Ui {

namespace {
// The innermost dialog running in the system's modal loop on this thread, and the filter through which that loop
// shows it each message before the dialog's keyboard handling does.
thread_local DialogWindow* t_modal = nullptr;
thread_local HHOOK t_filter = nullptr;
} // namespace

DialogWindow::DialogWindow(const DialogTemplate& source) : m_source(source), m_template(source) {}

INT_PTR DialogWindow::DoModal(HWND owner) {
    DialogWindow* const outer = t_modal;
    t_modal = this;
    const bool ownFilter = t_filter == nullptr;
    if (ownFilter)
        t_filter = SetWindowsHookExW(WH_MSGFILTER, &DialogWindow::MessageFilter, nullptr, GetCurrentThreadId());
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), m_template.Get(), owner,
                                                   &DialogWindow::DialogProc, reinterpret_cast<LPARAM>(this));
    if (ownFilter && t_filter) {
        UnhookWindowsHookEx(t_filter);
        t_filter = nullptr;
    }
    t_modal = outer;
    return result;
}

LRESULT CALLBACK DialogWindow::MessageFilter(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && t_modal && t_modal->IsForMe(*message) && t_modal->PreTranslateMessage(*message))
        return 1;
    return CallNextHookEx(t_filter, code, wParam, lParam);
}

bool DialogWindow::IsForMe(const MSG& message) const {
    return m_hwnd && (message.hwnd == m_hwnd || IsChild(m_hwnd, message.hwnd));
}

bool DialogWindow::PreTranslateMessage(const MSG&) {
    return false;
}

INT_PTR DialogWindow::RunMainLoop() {
    m_ownLoop = true;
    m_ended = false;
    HWND window = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), m_template.Get(), nullptr,
                                             &DialogWindow::DialogProc, reinterpret_cast<LPARAM>(this));
    if (!window)
        return -1;
    if (!(GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE))
        ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (!m_ended) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // Whoever asked the program to quit is told so by the loop outside, if there is one.
            if (got == 0)
                PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (IsForMe(message) && PreTranslateMessage(message))
            continue;
        if (!IsDialogMessageW(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    DestroyWindow(window);
    return m_result;
}

void DialogWindow::EndDialog(int result) {
    if (!m_ownLoop) {
        ::EndDialog(m_hwnd, result);
        return;
    }
    m_result = result;
    m_ended = true;
    // Wakes the loop, which may be waiting for a message.
    PostMessageW(m_hwnd, WM_NULL, 0, 0);
}

void DialogWindow::SetOneLineText(int id, const std::wstring& text) {
    HWND control = Control(id);
    SetWindowTextW(control, text.c_str());
    if (!m_fonts)
        return;
    RECT room{};
    GetClientRect(control, &room);
    HDC dc = GetDC(control);
    // From the window's own font down, so that a text that has become shorter gets the larger size back.
    HFONT font =
        m_fonts->Largest([&](HFONT candidate) { return FitsOnOneLine(dc, candidate, text, room.right); }, m_windowFont);
    ReleaseDC(control, dc);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

bool DialogWindow::OnCommand(int id, int code, HWND) {
    if ((id == IDOK || id == IDCANCEL) && code == BN_CLICKED) {
        EndDialog(id);
        return true;
    }
    return false;
}

void DialogWindow::OnTimer(UINT_PTR) {}

INT_PTR DialogWindow::OnMessage(UINT, WPARAM, LPARAM, bool&) {
    return 0;
}

INT_PTR CALLBACK DialogWindow::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<DialogWindow*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        self->m_hwnd = hwnd;
        self->m_fonts = std::make_unique<FontSizes>(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
        self->m_windowFont = FitTemplateTexts(hwnd, self->m_source, *self->m_fonts);
        return self->OnInitDialog();
    }
    if (!self)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        return self->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    case WM_TIMER:
        self->OnTimer(wParam);
        return TRUE;
    case WM_NCDESTROY:
        // The controls are gone; their fonts can go with them.
        self->m_hwnd = nullptr;
        self->m_fonts.reset();
        return FALSE;
    default:
        break;
    }
    bool handled = false;
    const INT_PTR result = self->OnMessage(message, wParam, lParam, handled);
    if (!handled)
        return FALSE;
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

namespace {
// The room a control leaves its text beside the box, the check mark or the button's edges, in dialog units.
int TextMargin(const ControlTemplate& control) {
    if (control.controlClass != ControlClass::Button)
        return 0;
    if (control.style & Style::AutoCheckBox)
        return 14;
    if (control.style & Style::GroupBox)
        return 8;
    return 4;
}

bool IsOneLineText(const ControlTemplate& control) {
    const std::string_view text(control.text);
    if (text.empty() || text.find('\n') != std::string_view::npos)
        return false;
    if (control.controlClass == ControlClass::Button)
        return true;
    // A static of one line's height: a taller one wraps its text on purpose.
    return control.controlClass == ControlClass::Static && !(control.style & Style::Icon) && control.cy <= 10;
}

} // namespace

HFONT FitTemplateTexts(HWND dialog, const DialogTemplate& source, FontSizes& sizes) {
    HDC dc = GetDC(dialog);
    HFONT font = sizes.Largest([&](HFONT candidate) {
        for (const ControlTemplate& control : source.controls) {
            if (!IsOneLineText(control))
                continue;
            RECT room{0, 0, control.cx - TextMargin(control), 0};
            MapDialogRect(dialog, &room);
            if (!FitsOnOneLine(dc, candidate, ToWide(control.text), room.right))
                return false;
        }
        // A number field that does not scroll takes no more than it shows: its largest valid value must fit, or
        // it could not be typed at all.
        for (const NumberField& number : kNumberFields) {
            const ControlTemplate* control = source.Find(number.id);
            if (!control || control->controlClass != ControlClass::Edit || (control->style & Style::AutoHScroll))
                continue;
            // The field's own formatting rectangle: its width less the frame and the margins it keeps.
            RECT room{};
            SendDlgItemMessageW(dialog, number.id, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
            if (!FitsOnOneLine(dc, candidate, ToWide(WidestValidText(number)), room.right - room.left - 1))
                return false;
        }
        return true;
    });
    ReleaseDC(dialog, dc);
    if (font != sizes.Base()) {
        // A list keeps the dialog's font: its tab stops are dialog units of its own font, and the state column
        // must stand where the template puts it.
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t className[16] = {};
            GetClassNameW(child, className, 16);
            if (lstrcmpiW(className, L"ListBox") != 0)
                SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
    }
    return font;
}

void CenterWindow(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    HWND owner = GetWindow(window, GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT work = monitor.rcWork;
    RECT around = work;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &around);
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    LONG left = (around.left + around.right) / 2 - width / 2;
    LONG top = (around.top + around.bottom) / 2 - height / 2;
    left = std::max(work.left, std::min(left, work.right - width));
    top = std::max(work.top, std::min(top, work.bottom - height));
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CreateToolTips(HWND dialog, const DialogTemplate& source) {
    HWND tips = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, dialog, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!tips)
        return nullptr;
    SendMessageW(tips, TTM_ACTIVATE, TRUE, 0);
    for (const ToolTipRow& row : source.tooltips) {
        std::wstring text = ToWide(row.text);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        // The tooltip window watches the control's mouse messages itself, as the dialog's own modal loop has no
        // place to pass them on.
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = dialog;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, row.id));
        tool.lpszText = text.data();
        SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return tips;
}

void SetAccessibleNames(HWND dialog, const DialogTemplate& source) {
    // The accessibility property service; its class id is in no import library of the cross compiler.
    static constexpr CLSID kAccPropServices = {
        0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
    IAccPropServices* services = nullptr;
    if (FAILED(CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                reinterpret_cast<void**>(&services))))
        return;
    for (const AccessibleNameRow& row : source.accessibleNames) {
        const std::wstring name = ToWide(row.name);
        services->SetHwndPropStr(GetDlgItem(dialog, row.id), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                 PROPID_ACC_NAME, name.c_str());
    }
    services->Release();
}

} // namespace Win32Ui
