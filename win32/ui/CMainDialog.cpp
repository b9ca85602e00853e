#include "CMainDialog.h"

#include "CAboutDialog.h"
#include "CEditMessageDialog.h"
#include "CShowMessageDialog.h"
#include "OptionCheckBoxes.h"
#include "Utf8.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace Win32Ui {

namespace {
// The program's icon at one of the system's two sizes, shared with every other user of the module's resource.
HICON ProgramIcon(int sizeMetric) {
    const int size = GetSystemMetrics(sizeMetric);
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON,
                                         size, size, LR_SHARED));
}
} // namespace

void FlashTaskBarButton(HWND window, bool wanted) {
    FLASHWINFO flash{};
    flash.cbSize = sizeof flash;
    flash.hwnd = window;
    // On a real desktop a program in the background may not take the foreground; the flashing button is then how
    // the person finds the reminder, so it goes on until the reminder is closed.
    flash.dwFlags = wanted ? FLASHW_TRAY | FLASHW_TIMER : FLASHW_STOP;
    FlashWindowEx(&flash);
}

CMainDialog::CMainDialog(const ReminderServices& services, std::function<void(HWND)> windowReady,
                         AttentionSignal attention)
    : DialogWindow(MainDialogTemplate()), m_model(services), m_commands(m_model, *this), m_scheduler(m_model),
      m_schedulerWindow(*this), m_windowReady(std::move(windowReady)), m_attention(std::move(attention)) {
    m_commands.OnLoad();
}

BOOL CMainDialog::OnInitDialog() {
    HWND dialog = Handle();
    if (m_windowReady)
        m_windowReady(dialog);
    CenterWindow(dialog);
    // The window has a fixed size and no maximize box: the menu's Size and Maximize go, by position as the
    // standard window menu has them.
    if (HMENU menu = GetSystemMenu(dialog, FALSE)) {
        DeleteMenu(menu, 4, MF_BYPOSITION);
        DeleteMenu(menu, 2, MF_BYPOSITION);
    }
    m_commands.OnOpen();
    // The buttons' update has given the focus where it belongs; the dialog must not move it to its first control.
    return GetFocus() && IsChild(dialog, GetFocus()) ? FALSE : TRUE;
}

bool CMainDialog::OnCommand(int id, int code, HWND control) {
    if (id == MainIds::kMessageList) {
        if (code == LBN_SELCHANGE)
            m_commands.OnListSelChange();
        else if (code == LBN_DBLCLK)
            m_commands.OnEditMarked();
        return true;
    }
    if (code != BN_CLICKED)
        return false;
    if (const std::optional<Option> option = OptionOfCheckBox(id)) {
        m_commands.OnOptionClicked(*option);
        return true;
    }
    switch (id) {
    case MainIds::kAddMessage:
        m_commands.OnAddMessage();
        return true;
    case MainIds::kCopyMarked:
        m_commands.OnCopyMarked();
        return true;
    case MainIds::kEditMarked:
        m_commands.OnEditMarked();
        return true;
    case MainIds::kDeleteMarked:
        m_commands.OnDeleteMarked();
        return true;
    case MainIds::kClearAll:
        m_commands.OnClearAll();
        return true;
    case MainIds::kMinimize:
        ShowWindow(Handle(), SW_MINIMIZE);
        return true;
    case MainIds::kAbout: {
        CAboutDialog about;
        about.DoModal(Handle());
        return true;
    }
    default:
        return DialogWindow::OnCommand(id, code, control);
    }
}

void CMainDialog::OnTimer(UINT_PTR id) {
    m_scheduler.OnTimer(m_schedulerWindow, static_cast<unsigned>(id));
}

// The list.

std::optional<std::string> CMainDialog::MarkedEntryName() {
    const LRESULT marked = SendDlgItemMessageW(Handle(), MainIds::kMessageList, LB_GETCURSEL, 0, 0);
    if (marked < 0 || static_cast<std::size_t>(marked) >= m_lines.Size())
        return std::nullopt;
    return m_lines.At(static_cast<std::size_t>(marked)).entryName;
}

void CMainDialog::AddLine(const std::string& line, const std::string& entryName) {
    // The system's own sorting collates by its locale; the core's order puts the tab before every printable
    // character, so that a name's line comes before those of longer names that begin with it.
    const std::size_t row = m_lines.Add(line, entryName);
    const LRESULT added = SendDlgItemMessageW(Handle(), MainIds::kMessageList, LB_INSERTSTRING, static_cast<WPARAM>(row),
                                              reinterpret_cast<LPARAM>(ToWide(line).c_str()));
    // A list box that refuses a line (out of memory) must not leave the lines and the list out of step.
    if (added == LB_ERR || added == LB_ERRSPACE)
        m_lines.Remove(row);
}

void CMainDialog::DeleteMarkedLine() {
    HWND list = Control(MainIds::kMessageList);
    const LRESULT marked = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (marked < 0 || static_cast<std::size_t>(marked) >= m_lines.Size())
        return;
    m_lines.Remove(static_cast<std::size_t>(marked));
    SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(marked), 0);
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void CMainDialog::ClearLines() {
    m_lines.Clear();
    SendDlgItemMessageW(Handle(), MainIds::kMessageList, LB_RESETCONTENT, 0, 0);
}

void CMainDialog::ApplyButtons(const ButtonStates& states) {
    // Through the dialog, so that the default button follows the focus as the keyboard would move it.
    if (states.focus != ButtonStates::Focus::Stay) {
        const int id =
            states.focus == ButtonStates::Focus::AddMessage ? MainIds::kAddMessage : MainIds::kActivateMessages;
        SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(id)), TRUE);
    }
    EnableWindow(Control(MainIds::kEditMarked), states.edit);
    EnableWindow(Control(MainIds::kCopyMarked), states.copy);
    EnableWindow(Control(MainIds::kDeleteMarked), states.del);
    EnableWindow(Control(MainIds::kClearAll), states.clearAll);
}

void CMainDialog::ShowOption(Option option, bool on) {
    if (option == Option::MessagesActivated)
        ShowListControls(on);
    else if (option == Option::Tooltips)
        ShowTooltips(on);
}

void CMainDialog::StartSchedulerTimer() {
    KillTimer(Handle(), SCHEDULER_TIMER_ID);
    SetTimer(Handle(), SCHEDULER_TIMER_ID, SCHEDULER_PERIOD_MS, nullptr);
}

void CMainDialog::SetIconsAndTabStops() {
    HWND dialog = Handle();
    SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ProgramIcon(SM_CXICON)));
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(ProgramIcon(SM_CXSMICON)));
    int tabStop = MainIds::kListTabStop;
    SendDlgItemMessageW(dialog, MainIds::kMessageList, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
}

void CMainDialog::CreateTooltips() {
    m_toolTips = CreateToolTips(Handle(), Template());
    SetAccessibleNames(Handle(), Template());
}

// A box's own message sets its mark without a BN_CLICKED, so no command runs for it.
void CMainDialog::ShowOptionMark(Option option, bool on) {
    CheckDlgButton(Handle(), CheckBoxOf(option), on ? BST_CHECKED : BST_UNCHECKED);
}

void CMainDialog::ShowTooltips(bool on) { SendMessageW(m_toolTips, TTM_ACTIVATE, on ? TRUE : FALSE, 0); }

void CMainDialog::Minimize() { ShowWindow(Handle(), SW_MINIMIZE); }

void CMainDialog::ShowListControls(bool show) {
    for (int id : MainIds::kListControls)
        ShowWindow(Control(id), show ? SW_SHOW : SW_HIDE);
}

bool CMainDialog::RunEditor(MessageEntry& workingCopy, bool tooltips) {
    CEditMessageDialog editor(workingCopy, tooltips);
    return editor.DoModal(Handle()) == IDOK;
}

// The scheduler.

bool CMainDialog::SchedulerWindow::IsMainWindowMinimized() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    return GetWindowPlacement(m_dialog.Handle(), &placement) && placement.showCmd == SW_SHOWMINIMIZED;
}

void CMainDialog::SchedulerWindow::RestoreMainWindow() {
    ShowWindow(m_dialog.Handle(), SW_SHOWNORMAL);
}

void CMainDialog::SchedulerWindow::MinimizeMainWindow() {
    ShowWindow(m_dialog.Handle(), SW_MINIMIZE);
}

void CMainDialog::SchedulerWindow::BringMainWindowToFront() {
    SetForegroundWindow(m_dialog.Handle());
}

void CMainDialog::SchedulerWindow::RequestAttention(bool wanted) {
    if (m_dialog.m_attention)
        m_dialog.m_attention(m_dialog.Handle(), wanted);
}

void CMainDialog::SchedulerWindow::RunDisplayDialog(const MessageEntry& entry) {
    CShowMessageDialog display(entry, m_dialog.m_model.ClockSource());
    display.DoModal(m_dialog.Handle());
}

} // namespace Win32Ui
