#include "Scheduler.h"

#include "ReminderModel.h"
#include "TimeMath.h"
#include "UserPrompts.h"

using namespace TimeMath;

bool IsEveryDayEntryDue(const MessageEntry& entry, long long now) {
    const LocalParts local = Local(static_cast<std::time_t>(now));
    // Only the time of day decides. Placing both times on the entry's own date and comparing the moments would
    // say the same, except where that date is a day on which the clock skips an hour: a time inside the skipped
    // hour is moved an hour on, and the message would come an hour early on every later day.
    const long long minuteOfDay = local.hour * 60LL + local.minute;
    return minuteOfDay >= entry.m_nHour * 60LL + entry.m_nMinute;
}

DatedDecision DecideDatedEntry(const MessageEntry& entry, long long now) {
    if (entry.m_nShowDays == 0 && Local(static_cast<std::time_t>(now)).day != entry.m_nDay)
        return DatedDecision::Skip;
    const std::time_t entryTime = EntryTime(entry.m_nYear, entry.m_nMonth, entry.m_nDay, entry.m_nHour, entry.m_nMinute);
    const Components c = Split(now - entryTime);
    if (c.days > entry.m_nShowDays)
        return DatedDecision::Expire;
    if (c.days >= 0 && c.hours >= 0 && c.minutes >= 0)
        return DatedDecision::Due;
    return DatedDecision::NotYet;
}

bool ShouldRearmForNewDay(const MessageEntry& entry, int today, int currentDay) {
    return entry.m_bEveryDay && today != currentDay;
}

bool ShouldRearmForRepeat(const MessageEntry& entry, long long now) {
    if (entry.m_nRepeatMinutes == 0)
        return false;
    // The minute component, not the total: a gap of 75 minutes counts as 15.
    return Split(now - entry.m_tLastShown).minutes >= entry.m_nRepeatMinutes;
}

namespace {
void MarkShown(MessageEntry& entry, std::time_t now) {
    entry.m_bPending = 0;
    entry.m_bShown = 1;
    entry.m_tLastShown = now;
}
} // namespace

void Scheduler::ShowingPass(SchedulerHost& host) {
    // The count is read again for every entry: a display runs a nested event loop.
    for (int i = 0; i < m_model.Count(); ++i) {
        MessageEntry& entry = m_model.ScheduledEntry(i);
        const std::time_t now = m_model.Now();
        if (entry.m_bEveryDay && entry.m_bActive) {
            if (entry.m_bPending && IsEveryDayEntryDue(entry, now)) {
                MarkShown(entry, now);
                host.RestoreMainWindow();
                ShowDueMessage(host, entry);
                host.MinimizeMainWindow();
            }
            continue;
        }
        if (!entry.m_bPending || !entry.m_bActive)
            continue;
        switch (DecideDatedEntry(entry, now)) {
        case DatedDecision::Expire:
            entry.m_bActive = 0;
            entry.m_bPending = 0;
            m_model.SaveAll();
            break;
        case DatedDecision::Due:
            MarkShown(entry, now);
            ShowDueMessage(host, entry);
            break;
        case DatedDecision::Skip:
        case DatedDecision::NotYet:
            break;
        }
    }
}

// Arms waiting entries again: every-day entries on a day the scheduler has not yet seen and, with repeats,
// entries whose interval has run out.
void Scheduler::RearmingPass(bool withRepeats) {
    const std::time_t now = m_model.Now();
    const int today = Local(now).day;
    for (int i = 0; i < m_model.Count(); ++i) {
        MessageEntry& entry = m_model.ScheduledEntry(i);
        if (entry.m_bPending || !entry.m_bActive || !entry.m_bShown)
            continue;
        const bool newDay = ShouldRearmForNewDay(entry, today, m_model.CurrentDay());
        if (newDay || (withRepeats && ShouldRearmForRepeat(entry, now))) {
            entry.m_bPending = 1;
            entry.m_bShown = 0;
        }
    }
    // Remembering the day on every pass, not only after a new-day re-arming, keeps an every-day message shown on
    // a day the program had not yet noticed from being armed again at once and popping up twice.
    m_model.SetCurrentDay(today);
}

void Scheduler::OnTimer(SchedulerHost& host, unsigned timerId) {
    if (m_model.GlobalError() || !m_model.IsOn(Option::MessagesActivated) || timerId != SCHEDULER_TIMER_ID)
        return;
    // A new day is noticed before anything is shown: after a night in which no tick passed the gate, a message
    // shown now belongs to the new day and must not be armed again by it afterwards.
    RearmingPass(false);
    // A tick that arrives inside a display of this same pass (the user minimized the main window meanwhile) must
    // not open a second display over the first.
    if (host.IsMainWindowMinimized() && !m_inShowingPass) {
        m_inShowingPass = true;
        ShowingPass(host);
        m_inShowingPass = false;
    }
    RearmingPass(true);
}

void Scheduler::ShowDueMessage(SchedulerHost& host, const MessageEntry& entry) {
    if (m_model.GlobalError())
        return;
    host.RestoreMainWindow();
    host.BringMainWindowToFront();
    m_model.Prompts().Beep();
    host.RunDisplayDialog(entry);
    host.MinimizeMainWindow();
}
