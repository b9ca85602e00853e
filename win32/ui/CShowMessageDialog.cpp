#include "CShowMessageDialog.h"

#include "ClockTimer.h"
#include "ScheduleText.h"
#include "Utf8.h"

#include <utility>

namespace Win32Ui {

CShowMessageDialog::CShowMessageDialog(const MessageEntry& entry, Clock clock, MillisecondClock keyClock)
    : DialogWindow(ShowMessageTemplate()), m_entry(entry), m_clock(std::move(clock)), m_keyGuard(std::move(keyClock)) {
    if (!m_clock)
        m_clock = SystemClock();
}

BOOL CShowMessageDialog::OnInitDialog() {
    CenterWindow(Handle());
    SetWindowTextW(Handle(), ToWide(m_entry.m_szName).c_str());
    SetWindowTextW(Control(ShowIds::kText), ToWide(m_entry.m_szText).c_str());
    SetOneLineText(ShowIds::kSchedule, ToWide(FormatScheduleLine(m_entry)));
    OnTimer(CLOCK_TIMER_ID);
    KillTimer(Handle(), CLOCK_TIMER_ID);
    SetTimer(Handle(), CLOCK_TIMER_ID, CLOCK_PERIOD_MS, nullptr);
    m_keyGuard.Appeared();
    return TRUE;
}

void CShowMessageDialog::OnTimer(UINT_PTR) {
    SetOneLineText(ShowIds::kClock, ToWide(FormatClockLine(m_clock())));
}

INT_PTR CShowMessageDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, bool&) {
    // Keys reach the window only once it is active, which may come well after it was made, while the person is
    // still typing.
    if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE)
        m_keyGuard.Appeared();
    return 0;
}

bool CShowMessageDialog::PreTranslateMessage(const MSG& message) {
    switch (message.message) {
    // Alt+F4 arrives as a system key, and closes the window only once the window has handled it.
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return !m_keyGuard.LetKeyThrough();
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_DEADCHAR:
    case WM_SYSDEADCHAR:
        return m_keyGuard.Holding();
    default:
        return false;
    }
}

} // namespace Win32Ui
