#include "CEditMessageDialog.h"

#include "EditFields.h"

#include "TextFit.h"
#include "Utf8.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace Win32Ui {

namespace {
std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

struct StoredSizeLimit {
    std::size_t fieldSize;
    std::function<void()> refusalBeep;
};

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

std::wstring ClipboardText(HWND owner) {
    std::wstring text;
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// Puts as much of text in place of the selection as the field takes, whole characters from its start: what the
// stored size holds, and of that what the field's own area shows. The system's field takes a paste whole or not at
// all where it has no room to scroll; a person expects what fits to go in.
void InsertWhatFits(HWND edit, std::wstring text, const StoredSizeLimit& limit) {
    if ((GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE) == 0) {
        // A single line takes the first line of what is pasted, as the system's field does.
        text = text.substr(0, text.find_first_of(L"\r\n"));
    }
    const std::wstring before = WindowText(edit);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::size_t keptBytes = ToUtf8(before.substr(0, start)).size() + ToUtf8(before.substr(end)).size();
    const std::string utf8 = ToUtf8(text);
    const std::wstring fitting =
        ToWide(std::string_view(utf8).substr(0, FittingInsertion(utf8, keptBytes, limit.fieldSize)));

    const auto tryInsert = [&](std::size_t units) {
        const std::wstring part = fitting.substr(0, units);
        DefSubclassProc(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(part.c_str()));
        return part.empty() || WindowText(edit) != before;
    };
    const auto putBack = [&] {
        SetWindowTextW(edit, before.c_str());
        SendMessageW(edit, EM_SETSEL, start, static_cast<LPARAM>(end));
    };
    if (!tryInsert(fitting.size())) {
        // Lines only grow as text is added, so the part that shows is found by halving.
        std::size_t shows = 0;
        std::size_t tooMany = fitting.size();
        while (tooMany - shows > 1) {
            std::size_t middle = shows + (tooMany - shows) / 2;
            if (IS_LOW_SURROGATE(fitting[middle]) || (fitting[middle] == L'\n' && fitting[middle - 1] == L'\r'))
                --middle;
            if (middle <= shows)
                break;
            const bool shown = tryInsert(middle);
            putBack();
            if (shown)
                shows = middle;
            else
                tooMany = middle;
        }
        tryInsert(shows);
    }
    const std::size_t inserted = WindowText(edit).size() + (end - start) - before.size();
    if (inserted < text.size())
        limit.refusalBeep();
}

// A printable character typed over the selection that would take the text past the stored size. Characters that
// come in two halves, and those the field turns into more than themselves, are judged once they are in.
bool RefusesTypedCharacter(HWND edit, wchar_t c, const StoredSizeLimit& limit) {
    if (c < L' ' || IS_HIGH_SURROGATE(c) || IS_LOW_SURROGATE(c))
        return false;
    const std::wstring text = WindowText(edit);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::size_t bytes =
        ToUtf8(text.substr(0, start) + c + text.substr(std::min<std::size_t>(end, text.size()))).size();
    // A text already longer than is stored may still be shortened.
    return (limit.fieldSize == 0 || bytes > limit.fieldSize - 1) && bytes >= ToUtf8(text).size();
}

LRESULT CALLBACK StoredSizeProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* limit = reinterpret_cast<StoredSizeLimit*>(data);
    switch (message) {
    case WM_PASTE:
        if ((GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) == 0) {
            if (const std::wstring text = ClipboardText(edit); !text.empty()) {
                InsertWhatFits(edit, text, *limit);
                return 0;
            }
        }
        return DefSubclassProc(edit, message, wParam, lParam);
    case WM_CHAR:
        if (RefusesTypedCharacter(edit, static_cast<wchar_t>(wParam), *limit)) {
            // Refused before the field sees it, so that its undo still holds the last edit.
            limit->refusalBeep();
            return 0;
        }
        [[fallthrough]];
    case WM_IME_CHAR:
    case WM_IME_COMPOSITION:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL: {
        const std::string before = ToUtf8(WindowText(edit));
        const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
        const std::wstring after = WindowText(edit);
        DWORD caret = 0;
        SendMessageW(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
        const FittedEdit fit =
            FitEdit(before, ToUtf8(after), limit->fieldSize, ToUtf8(std::wstring_view(after).substr(0, caret)).size());
        if (!fit.whole) {
            SetWindowTextW(edit, ToWide(fit.text).c_str());
            const auto caret = static_cast<WPARAM>(ToWide(std::string_view(fit.text).substr(0, fit.caret)).size());
            SendMessageW(edit, EM_SETSEL, caret, static_cast<LPARAM>(caret));
            limit->refusalBeep();
        }
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(edit, StoredSizeProc, 0);
        delete limit;
        break;
    default:
        break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

} // namespace

void LimitToStoredSize(HWND edit, std::size_t fieldSize, std::function<void()> refusalBeep) {
    if (!refusalBeep)
        refusalBeep = [] { MessageBeep(MB_OK); };
    auto* limit = new StoredSizeLimit{fieldSize, std::move(refusalBeep)};
    if (!SetWindowSubclass(edit, StoredSizeProc, 0, reinterpret_cast<DWORD_PTR>(limit)))
        delete limit;
}

CEditMessageDialog::CEditMessageDialog(MessageEntry& workingCopy, bool tooltips)
    : DialogWindow(EditMessageTemplate()), m_entry(workingCopy), m_tooltips(tooltips) {}

BOOL CEditMessageDialog::OnInitDialog() {
    CenterWindow(Handle());
    CheckDlgButton(Handle(), EditIds::kActive, m_entry.m_bActive ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Handle(), EditIds::kEveryDay, m_entry.m_bEveryDay ? BST_CHECKED : BST_UNCHECKED);
    SetWindowTextW(Control(EditIds::kName), ToWide(m_entry.m_szName).c_str());
    SetWindowTextW(Control(EditIds::kText), WithFieldLineBreaks(ToWide(m_entry.m_szText)).c_str());
    m_shownText = ToUtf8(WindowText(Control(EditIds::kText)));
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
    ReadEditField(m_entry, id, ToUtf8(WindowText(Control(id))), m_shownText);
}

bool CEditMessageDialog::OnCommand(int id, int code, HWND control) {
    switch (code) {
    case EN_KILLFOCUS:
        ReadField(id);
        return true;
    case BN_CLICKED:
        if (const FlagRefresh refresh = FlipEditFlag(m_entry, id); refresh != FlagRefresh::NotAFlag) {
            if (refresh == FlagRefresh::DateFields)
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

} // namespace Win32Ui
