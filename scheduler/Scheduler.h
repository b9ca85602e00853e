#pragma once

#include "MessageEntry.h"

class ReminderModel;

inline constexpr unsigned SCHEDULER_TIMER_ID = 1;
inline constexpr int SCHEDULER_PERIOD_MS = 10000;

// The window side of the scheduler: what the main window does when a message is due.
class SchedulerHost {
public:
    virtual ~SchedulerHost() = default;

    virtual bool IsMainWindowMinimized() = 0;
    virtual void RestoreMainWindow() = 0;
    virtual void MinimizeMainWindow() = 0;
    virtual void BringMainWindowToFront() = 0;
    // Asks the desktop to draw the person's attention to the main window (its task-bar entry), or withdraws that.
    virtual void RequestAttention(bool wanted) = 0;
    // Runs the modal display window for the entry and returns when the user has closed it.
    virtual void RunDisplayDialog(const MessageEntry& entry) = 0;
};

// Decides on every timer tick which messages are due, shows them through the host, expires and re-arms them.
class Scheduler {
public:
    explicit Scheduler(ReminderModel& model) : m_model(model) {}

    // One timer tick: the showing pass while the main window is minimized, then the re-arming pass.
    void OnTimer(SchedulerHost& host, unsigned timerId);
    // Brings one due entry to the screen: restore, front, attention, beep, modal display, minimize again, and no
    // attention left.
    void ShowDueMessage(SchedulerHost& host, const MessageEntry& entry);

private:
    void ShowingPass(SchedulerHost& host);
    void RearmingPass(bool withRepeats);

    ReminderModel& m_model;
    // Set while the showing pass runs; ticks inside its displays then only re-arm.
    bool m_inShowingPass = false;
};

// Whether an every-day entry's time of day has come at now.
bool IsEveryDayEntryDue(const MessageEntry& entry, long long now);

enum class DatedDecision { Skip, Expire, Due, NotYet };
// What the showing pass does with an armed, active, dated entry at now.
DatedDecision DecideDatedEntry(const MessageEntry& entry, long long now);

// Whether the re-arming pass arms a waiting entry again; today and daySeen are day numbers of local dates.
bool ShouldRearmForNewDay(const MessageEntry& entry, long long today, long long daySeen);
// Whether the re-arming pass puts an armed every-day entry back to waiting after the clock went back a date.
bool ShouldDisarmForEarlierDay(const MessageEntry& entry, long long today, long long daySeen);
bool ShouldRearmForRepeat(const MessageEntry& entry, long long now);
