#pragma once

// A scheduler under test: a state with a memory store, a settable clock and a host that records what the window
// would have done, all writing into one ordered log so that the order of beeps, boxes and window moves is visible.

#include "MemoryProfileStore.h"
#include "ReminderModel.h"
#include "Scheduler.h"
#include "TestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>


// The local offset from UTC at t, in seconds; zero for every moment means the zone's data is missing.
inline long LocalOffsetAt(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    return local.tm_gmtoff;
}

// "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS", read as local time in the current zone.
inline std::time_t At(const char* text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    const int fields = std::sscanf(text, "%d-%d-%d %d:%d:%d", &year, &month, &day, &hour, &minute, &second);
    if (fields < 5)
        std::abort(); // a malformed moment in a test table is the test's own mistake
    return LocalTime(year, month, day, hour, minute, second);
}

// t as "YYYY-MM-DD HH:MM:SS" local time.
inline std::string LocalText(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

inline int LocalDay(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    return local.tm_mday;
}

// An armed, active entry as the store loads it; when is "YYYY-MM-DD HH:MM".
inline MessageEntry MakeEntry(const char* name, const char* when, bool everyDay, int showDays = 0, int repeat = 0) {
    MessageEntry entry{};
    std::snprintf(entry.m_szName, sizeof entry.m_szName, "%s", name);
    std::snprintf(entry.m_szText, sizeof entry.m_szText, "Text of %s", name);
    if (std::sscanf(when, "%d-%d-%d %d:%d", &entry.m_nYear, &entry.m_nMonth, &entry.m_nDay, &entry.m_nHour,
                    &entry.m_nMinute) != 5)
        std::abort();
    entry.m_nShowDays = showDays;
    entry.m_nRepeatMinutes = repeat;
    entry.m_bActive = 1;
    entry.m_bPending = 1;
    entry.m_bEveryDay = everyDay ? 1 : 0;
    entry.m_bShown = 0;
    return entry;
}

inline bool SameEntry(const MessageEntry& a, const MessageEntry& b) {
    return std::strcmp(a.m_szName, b.m_szName) == 0 && std::strcmp(a.m_szText, b.m_szText) == 0 &&
           a.m_nDay == b.m_nDay && a.m_nMonth == b.m_nMonth && a.m_nYear == b.m_nYear && a.m_nMinute == b.m_nMinute &&
           a.m_nHour == b.m_nHour && a.m_nShowDays == b.m_nShowDays && a.m_nRepeatMinutes == b.m_nRepeatMinutes &&
           a.m_tLastShown == b.m_tLastShown && a.m_bActive == b.m_bActive && a.m_bPending == b.m_bPending &&
           a.m_bEveryDay == b.m_bEveryDay && a.m_bShown == b.m_bShown;
}

// Prompts that also write into the shared log.
class LoggingPrompts : public RecordingPrompts {
public:
    explicit LoggingPrompts(std::vector<std::string>& log) : m_log(log) {}
    void Beep() override {
        RecordingPrompts::Beep();
        m_log.push_back("beep");
    }
    void ErrorBox(const std::string& text, const std::string& caption) override {
        RecordingPrompts::ErrorBox(text, caption);
        m_log.push_back("error:" + text);
    }

private:
    std::vector<std::string>& m_log;
};

// The main window as the scheduler sees it. Restoring and minimizing change the state it reports, as the real
// window's would; duringDisplay runs while the display window would be open.
class FakeHost : public SchedulerHost {
public:
    explicit FakeHost(std::vector<std::string>& log) : m_log(log) {}

    bool IsMainWindowMinimized() override {
        ++stateQueries;
        return minimized;
    }
    void RestoreMainWindow() override {
        minimized = false;
        m_log.push_back("restore");
    }
    void MinimizeMainWindow() override {
        minimized = true;
        m_log.push_back("minimize");
    }
    void BringMainWindowToFront() override { m_log.push_back("front"); }
    void RequestAttention(bool wanted) override { m_log.push_back(wanted ? "attention" : "no attention"); }
    void RunDisplayDialog(const MessageEntry& entry) override {
        m_log.push_back(std::string("display:") + entry.m_szName);
        displayed.push_back(entry.m_szName);
        if (duringDisplay)
            duringDisplay(entry);
    }

    bool minimized = true;
    int stateQueries = 0;
    std::vector<std::string> displayed;
    std::function<void(const MessageEntry&)> duringDisplay;

private:
    std::vector<std::string>& m_log;
};

struct SchedulerRig {
    explicit SchedulerRig(std::time_t start) : clock(start), prompts(log), host(log), state(Services()), scheduler(state) {
        state.AllocateTable();
    }

    ReminderServices Services() { return {&store, &prompts, clock.AsClock(), {}}; }

    // Appends a copy and returns the table's own entry.
    MessageEntry& Add(const MessageEntry& entry) {
        if (!state.AppendEntry(entry))
            std::abort();
        return state.ScheduledEntry(state.Count() - 1);
    }
    // Appends an entry that has already been shown at lastShown and waits to be armed again.
    MessageEntry& AddShown(const MessageEntry& entry, std::time_t lastShown) {
        MessageEntry& added = Add(entry);
        added.m_bPending = 0;
        added.m_bShown = 1;
        added.m_tLastShown = lastShown;
        return added;
    }
    MessageEntry& Entry(int index) { return state.ScheduledEntry(index); }

    std::vector<MessageEntry> Snapshot() const {
        std::vector<MessageEntry> entries;
        for (int i = 0; i < state.Count(); ++i)
            entries.push_back(state.Entry(i));
        return entries;
    }

    void Tick(unsigned timerId = SCHEDULER_TIMER_ID) { scheduler.OnTimer(host, timerId); }
    void TickAt(std::time_t t) {
        clock.now = t;
        Tick();
    }

    std::vector<std::string> log;
    MemoryProfileStore store;
    FakeClock clock;
    LoggingPrompts prompts;
    FakeHost host;
    ReminderModel state;
    Scheduler scheduler;
};
