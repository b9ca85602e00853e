#include "CEditMessageDialog.h"

#include "EditFields.h"

#include "IntParse.h"
#include "TextFit.h"
#include "Utf8.h"

#include <commctrl.h>

#include <cstdint>
#include <string>

namespace {
std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool Fits(const std::wstring& text, std::size_t fieldSize) {
    const std::string utf8 = ToUtf8(text);
    return FittedLength(utf8, fieldSize) == utf8.size();
}

// The multi-line field breaks lines only at a carriage return and line feed; a text stored with bare line feeds
// shows its lines all the same.
std::wstring WithFieldLineBreaks(const std::wstring& text) {
    std::wstring result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r'))
            result += L'\r';
        result += text[i];
    }
    return result;
}

LRESULT CALLBACK StoredSizeProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR size) {
    switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR:
    case WM_PASTE:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL: {
        const std::wstring before = WindowText(edit);
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
        if (!Fits(WindowText(edit), static_cast<std::size_t>(size))) {
            SetWindowTextW(edit, before.c_str());
            SendMessageW(edit, EM_SETSEL, start, end);
        }
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(edit, StoredSizeProc, 0);
        break;
    default:
        break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

// What the every-day box hides; the note takes their place.
} // namespace

void LimitToStoredSize(HWND edit, std::size_t fieldSize) {
    SetWindowSubclass(edit, StoredSizeProc, 0, static_cast<DWORD_PTR>(fieldSize));
}

CEditMessageDialog::CEditMessageDialog(MessageEntry& workingCopy, bool tooltips)
    : DialogWindow(EditMessageTemplate()), m_entry(workingCopy), m_tooltips(tooltips) {}

BOOL CEditMessageDialog::OnInitDialog() {
    CenterWindow(Handle());
    CheckDlgButton(Handle(), EditIds::kActive, m_entry.m_bActive ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Handle(), EditIds::kEveryDay, m_entry.m_bEveryDay ? BST_CHECKED : BST_UNCHECKED);
    SetWindowTextW(Control(EditIds::kName), ToWide(m_entry.m_szName).c_str());
    SetWindowTextW(Control(EditIds::kText), WithFieldLineBreaks(ToWide(m_entry.m_szText)).c_str());
    LimitToStoredSize(Control(EditIds::kName), sizeof m_entry.m_szName);
    LimitToStoredSize(Control(EditIds::kText), sizeof m_entry.m_szText);
    // Signed, so that a stored negative number shows, and reads back, as itself.
    for (const NumberField& number : kNumberFields)
        SetDlgItemInt(Handle(), number.id, static_cast<UINT>(m_entry.*number.field), TRUE);

    m_toolTips = CreateToolTips(Handle(), Template());
    SendMessageW(m_toolTips, TTM_ACTIVATE, m_tooltips ? TRUE : FALSE, 0);
    SetAccessibleNames(Handle(), Template());

    SetWindowTextW(Control(EditIds::kEveryDayNote), ToWide(EditIds::kEveryDayNoteText).c_str());
    UpdateDateFields();
    return TRUE;
}

void CEditMessageDialog::UpdateDateFields() {
    const int show = m_entry.m_bEveryDay ? SW_HIDE : SW_SHOW;
    for (int id : EditIds::kDateControls)
        ShowWindow(Control(id), show);
    ShowWindow(Control(EditIds::kEveryDayNote), m_entry.m_bEveryDay ? SW_SHOW : SW_HIDE);
}

void CEditMessageDialog::ReadField(int id) {
    HWND field = Control(id);
    if (id == EditIds::kName) {
        CopyFitted(m_entry.m_szName, sizeof m_entry.m_szName, ToUtf8(WindowText(field)));
        return;
    }
    if (id == EditIds::kText) {
        CopyFitted(m_entry.m_szText, sizeof m_entry.m_szText, ToUtf8(WindowText(field)));
        return;
    }
    for (const NumberField& number : kNumberFields) {
        if (number.id == id) {
            m_entry.*number.field = ParseDialogInt(ToUtf8(WindowText(field)));
            return;
        }
    }
}

bool CEditMessageDialog::OnCommand(int id, int code, HWND control) {
    switch (code) {
    case EN_KILLFOCUS:
        ReadField(id);
        return true;
    case BN_CLICKED:
        if (id == EditIds::kActive) {
            m_entry.m_bActive = m_entry.m_bActive ? 0 : 1;
            return true;
        }
        if (id == EditIds::kEveryDay) {
            m_entry.m_bEveryDay = m_entry.m_bEveryDay ? 0 : 1;
            UpdateDateFields();
            return true;
        }
        if (id == IDOK || id == IDCANCEL) {
            // Enter and Escape close the dialog without moving the focus; what was typed last still counts.
            if (HWND focused = GetFocus(); focused && GetParent(focused) == Handle())
                ReadField(GetDlgCtrlID(focused));
        }
        break;
    default:
        break;
    }
    return DialogWindow::OnCommand(id, code, control);
}
