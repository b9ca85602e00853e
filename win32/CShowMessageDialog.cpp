#include "CShowMessageDialog.h"

#include "ClockTimer.h"
#include "ScheduleText.h"
#include "Utf8.h"

#include <utility>

CShowMessageDialog::CShowMessageDialog(const MessageEntry& entry, Clock clock)
    : DialogWindow(ShowMessageTemplate()), m_entry(entry), m_clock(std::move(clock)) {
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
    return TRUE;
}

void CShowMessageDialog::OnTimer(UINT_PTR) {
    SetOneLineText(ShowIds::kClock, ToWide(FormatClockLine(m_clock())));
}
