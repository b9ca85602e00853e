#include "Scheduler.h"

#include "ReminderModel.h"
#include "TimeMath.h"
#include "UserPrompts.h"

using namespace TimeMath;

bool IsEveryDayEntryDue(const MessageEntry& entry, long long now) {
    const LocalParts local = Local(now);
    // Only the time of day decides. Placing both times on the entry's own date and comparing the moments would
    // say the same, except where that date is a day on which the clock skips an hour: a time inside the skipped
    // hour is moved an hour on, and the message would come an hour early on every later day.
    const long long minuteOfDay = local.hour * 60LL + local.minute;
    return minuteOfDay >= entry.m_nHour * 60LL + entry.m_nMinute;
}

DatedDecision DecideDatedEntry(const MessageEntry& entry, long long now) {
    const LocalParts local = Local(now);
    if (entry.m_nShowDays == 0 && local.day != entry.m_nDay)
        return DatedDecision::Skip;
    const Moment entryTime = EntryTime(entry.m_nYear, entry.m_nMonth, entry.m_nDay, entry.m_nHour, entry.m_nMinute);
    const Components c = Split(now - entryTime);
    // Whole days of 86,400 seconds end the period, but never before its last date has ended: the 25 hours of an
    // autumn day would otherwise switch a message off unseen in the last hour of a date it is meant for.
    const bool lastDateOver =
        DayNumber(local.year, local.month, local.day) > LocalDayNumber(entryTime) + entry.m_nShowDays;
    if (c.days > entry.m_nShowDays && lastDateOver)
        return DatedDecision::Expire;
    if (c.days >= 0 && c.hours >= 0 && c.minutes >= 0)
        return DatedDecision::Due;
    return DatedDecision::NotYet;
}

bool ShouldRearmForNewDay(const MessageEntry& entry, long long today, long long daySeen) {
    // The whole date, not the day of the month: after a month asleep the first tick may come on the same day. A
    // clock set back to an earlier date brings no new day; the day seen follows it back, so the next midnight does.
    return entry.m_bEveryDay && today > daySeen;
}

bool ShouldDisarmForEarlierDay(const MessageEntry& entry, long long today, long long daySeen) {
    // Armed again by a later date and then taken back by the clock to the date it was last shown on: it has had
    // its display for this date. Only that date counts, so a clock that ran weeks fast and is corrected leaves
    // every other message as it was. An entry armed since it was loaded or added on that date, and not shown yet,
    // looks the same and waits too, until the next midnight; the clock has to go past one and back for that.
    return today < daySeen && entry.m_bEveryDay && entry.m_bActive && entry.m_bPending && !entry.m_bShown &&
           LocalDayNumber(entry.m_tLastShown) == today;
}

bool ShouldRearmForRepeat(const MessageEntry& entry, long long now) {
    if (entry.m_nRepeatMinutes == 0)
        return false;
    // The minute component, not the total: a gap of 75 minutes counts as 15.
    return Split(now - entry.m_tLastShown).minutes >= entry.m_nRepeatMinutes;
}

namespace {
void MarkShown(MessageEntry& entry, Moment now) {
    entry.m_bPending = 0;
    entry.m_bShown = 1;
    entry.m_tLastShown = now;
}
} // namespace

void Scheduler::ShowingPass(SchedulerHost& host) {
    // The count is read again for every entry: a display runs a nested event loop.
    for (int i = 0; i < m_model.Count(); ++i) {
        MessageEntry& entry = m_model.ScheduledEntry(i);
        const Moment now = m_model.Now();
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

// Arms waiting entries again: every-day entries on a date later than the one the scheduler saw last and, with
// repeats, entries whose interval has run out.
void Scheduler::RearmingPass(bool withRepeats) {
    const Moment now = m_model.Now();
    const long long today = LocalDayNumber(now);
    const long long daySeen = LocalDayNumber(m_model.DaySeen());
    for (int i = 0; i < m_model.Count(); ++i) {
        MessageEntry& entry = m_model.ScheduledEntry(i);
        if (ShouldDisarmForEarlierDay(entry, today, daySeen)) {
            entry.m_bPending = 0;
            entry.m_bShown = 1;
        }
        if (entry.m_bPending || !entry.m_bActive || !entry.m_bShown)
            continue;
        // With the clock set back behind the last showing the elapsed time is negative, and its minute component
        // would stay below the interval for as long as the clock went back: the interval starts again from now.
        if (withRepeats && entry.m_nRepeatMinutes != 0 && now < entry.m_tLastShown)
            entry.m_tLastShown = now;
        const bool newDay = ShouldRearmForNewDay(entry, today, daySeen);
        if (newDay || (withRepeats && ShouldRearmForRepeat(entry, now))) {
            entry.m_bPending = 1;
            entry.m_bShown = 0;
        }
    }
    // Remembering the day on every pass, not only after a new-day re-arming, keeps an every-day message shown on
    // a day the program had not yet noticed from being armed again at once and popping up twice. Remembering it
    // when the clock went back too keeps a clock corrected from the future from holding every-day messages back
    // until that future date comes.
    m_model.SetDaySeen(now);
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
    // A desktop may refuse the foreground to a program in the background; the task bar then shows where the
    // reminder waits, for as long as it waits.
    host.RequestAttention(true);
    m_model.Prompts().Beep();
    host.RunDisplayDialog(entry);
    host.MinimizeMainWindow();
    // Withdrawn last: a window manager that refused the foreground may have marked the window as wanting
    // attention itself, and a task bar would go on flashing after the reminder was read.
    host.RequestAttention(false);
}
