// Months of ten-second ticks on a fake clock, in two time zones with daylight-saving changes, with the main window
// minimized. After every tick the outcome is judged against the scheduling rules worked out from each entry's
// window (not from the day/hour/minute components the scheduler uses), and at the end the displays are counted
// per local day.

#include "MemoryProfileStore.h"
#include "ReminderModel.h"
#include "Scheduler.h"
#include "TestSupport.h"

#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace ProfileNames;

namespace {
constexpr long long kDay = 86400;
constexpr std::time_t kTick = SCHEDULER_PERIOD_MS / 1000;


std::tm LocalTm(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    return local;
}

std::string LocalText(std::time_t t) {
    const std::tm local = LocalTm(t);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S %Z", &local);
    return text;
}

// The local calendar date as one number, YYYYMMDD.
int LocalDate(std::time_t t) {
    const std::tm local = LocalTm(t);
    return (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}

std::time_t StartOfLocalDay(int date) {
    return LocalTime(date / 10000, date / 100 % 100, date % 100, 0, 0);
}

int NextDate(int date) {
    return LocalDate(StartOfLocalDay(date) + kDay + 3 * 3600);
}

struct Plan {
    const char* name;
    bool everyDay;
    int year, month, day, hour, minute;
    int showDays = 0;
    int repeat = 0;
    bool active = true;
};

MessageEntry MakeEntry(const Plan& s) {
    MessageEntry e{};
    std::snprintf(e.m_szName, sizeof e.m_szName, "%s", s.name);
    std::snprintf(e.m_szText, sizeof e.m_szText, "Text of %s", s.name);
    e.m_nYear = s.year;
    e.m_nMonth = s.month;
    e.m_nDay = s.day;
    e.m_nHour = s.hour;
    e.m_nMinute = s.minute;
    e.m_nShowDays = s.showDays;
    e.m_nRepeatMinutes = s.repeat;
    e.m_bActive = s.active ? 1 : 0;
    e.m_bEveryDay = s.everyDay ? 1 : 0;
    e.m_bPending = 1;
    e.m_bShown = 0;
    return e;
}

// A mixture covering the awkward cases: times inside the hour that daylight saving skips or repeats, the first and
// last minute of the day, a repeating every-day entry, an inactive one, dated entries whose window lies before the
// start (expired at once), after the end (never due), across a change of offset, a zero-day entry whose day of the
// month comes round only later, and repeating ones whose period ends on a day of 25 hours. Every-day entries are
// dated on ordinary days and on days of a change of offset in either zone, whose skipped or repeated hour must not
// move their time of day.
std::vector<MessageEntry> LongSoakEntries() {
    const Plan plans[] = {
        {"daily 07:30", true, 2000, 1, 10, 7, 30},
        {"daily 02:30", true, 2000, 1, 10, 2, 30},
        {"daily 23:59", true, 2000, 1, 10, 23, 59},
        {"daily 00:00", true, 2000, 1, 10, 0, 0},
        {"daily 12:00 every 20", true, 2000, 1, 10, 12, 0, 0, 20},
        {"daily inactive", true, 2000, 1, 10, 2, 15, 0, 0, false},
        {"daily 03:30 dated on Berlin's spring change", true, 2026, 3, 29, 3, 30},
        {"daily 02:30 dated in Berlin's spring gap", true, 2026, 3, 29, 2, 30},
        {"daily 02:30 dated on Berlin's autumn change", true, 2025, 10, 26, 2, 30},
        {"daily 03:15 dated on New York's spring change", true, 2026, 3, 8, 3, 15},
        {"daily 02:45 dated in New York's spring gap", true, 2026, 3, 8, 2, 45, 0, 30},
        {"daily 01:30 dated on New York's autumn change", true, 2025, 11, 2, 1, 30},
        {"dated in the spring gap", false, 2026, 3, 29, 2, 30},
        {"dated across the autumn change", false, 2025, 10, 25, 22, 0, 3, 15},
        {"dated over before the start", false, 2025, 9, 20, 8, 0, 2},
        {"dated zero days, day 15", false, 2025, 8, 15, 9, 0},
        {"dated a month across spring", false, 2026, 3, 1, 10, 0, 30, 59},
        {"dated after the end", false, 2027, 2, 1, 10, 0, 5},
        {"dated in the repeated hour", false, 2026, 11, 1, 1, 30, 1},
        {"dated five days in June", false, 2026, 6, 10, 18, 45, 5},
        {"dated zero days from 00:30 on Berlin's autumn change, every 45", false, 2026, 10, 25, 0, 30, 0, 45},
        {"dated a day from 00:30 before New York's autumn change, every 45", false, 2026, 10, 31, 0, 30, 1, 45},
    };
    std::vector<MessageEntry> entries;
    for (const Plan& s : plans)
        entries.push_back(MakeEntry(s));
    return entries;
}

// A full table of random mixed entries around start, from a fixed seed.
std::vector<MessageEntry> MixedEntries(std::uint32_t seed, std::time_t start, int spanDays) {
    std::mt19937 rng(seed);
    auto pick = [&rng](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    std::vector<MessageEntry> entries;
    for (int i = 0; i < MESSAGE_TABLE_CAPACITY; ++i) {
        const std::string name = "mixed " + std::to_string(i);
        const int kind = pick(0, 9);
        Plan s{name.c_str(), kind < 4, 2000, 1, 10, pick(0, 23), pick(0, 59)};
        // Every-day entries too are dated inside the span, so some fall on the day of the change of offset.
        const std::tm when = LocalTm(start + static_cast<std::time_t>(pick(-5, spanDays + 2)) * kDay);
        s.year = when.tm_year + 1900;
        s.month = when.tm_mon + 1;
        s.day = when.tm_mday;
        if (kind >= 4)
            s.showDays = pick(0, 3);
        s.repeat = pick(0, 2) == 0 ? pick(1, 59) : 0;
        s.active = kind != 9;
        entries.push_back(MakeEntry(s));
    }
    return entries;
}

enum class Verdict { Wait, Show, Expire };

// When a dated entry's period is over: ShowDays + 1 whole days after its moment, but not before the end of its
// local date plus ShowDays calendar days.
std::time_t PeriodEnd(const MessageEntry& e, std::time_t entryTime) {
    int lastDate = LocalDate(entryTime);
    for (int i = 0; i < e.m_nShowDays; ++i)
        lastDate = NextDate(lastDate);
    return std::max<std::time_t>(entryTime + (e.m_nShowDays + 1LL) * kDay, StartOfLocalDay(NextDate(lastDate)));
}

// What the rules make of an active entry at now, from its window rather than from the scheduler's day/hour/minute
// components. An every-day entry is owed one display on each local day, due once the local time of day has
// reached its own. A dated entry, while armed, is due from 59 seconds before its moment until its period ends and
// expires after that; with ShowDays 0 it is looked at only on its day of the month.
Verdict Judge(const MessageEntry& e, bool owed, std::time_t entryTime, std::time_t periodEnd, std::time_t now,
              const std::tm& local) {
    if (!e.m_bActive || !owed)
        return Verdict::Wait;
    if (e.m_bEveryDay)
        return local.tm_hour * 60 + local.tm_min >= e.m_nHour * 60 + e.m_nMinute ? Verdict::Show : Verdict::Wait;
    if (e.m_nShowDays == 0 && local.tm_mday != e.m_nDay)
        return Verdict::Wait;
    const long long d = static_cast<long long>(now) - entryTime;
    if (now >= periodEnd)
        return Verdict::Expire;
    return d > -60 ? Verdict::Show : Verdict::Wait;
}

// The main window as the scheduler sees it; every display is recorded with the moment it happened.
class SoakHost : public SchedulerHost {
public:
    SoakHost(const FakeClock& clock, const ReminderModel*& state) : m_clock(clock), m_state(state) {}

    bool IsMainWindowMinimized() override { return minimized; }
    void RestoreMainWindow() override { minimized = false; }
    void MinimizeMainWindow() override { minimized = true; }
    void BringMainWindowToFront() override {}
    void RequestAttention(bool) override {}
    void RunDisplayDialog(const MessageEntry& entry) override {
        const int index = static_cast<int>(&entry - &m_state->Entry(0));
        displays.push_back({index, m_clock.now, !minimized});
    }

    struct Display {
        int index;
        std::time_t when;
        bool windowRestored;
    };
    bool minimized = true;
    std::vector<Display> displays;

private:
    const FakeClock& m_clock;
    const ReminderModel*& m_state;
};

struct SoakResult {
    std::string failure; // empty when every check passed
    long long ticks = 0;
    int landingDate = 0;
    int departureDate = 0;
    std::vector<SoakHost::Display> displays;
    std::map<int, std::map<int, int>> perDay; // entry index -> local date -> displays
    std::vector<MessageEntry> entries;
    std::vector<std::time_t> entryTimes;
    std::vector<std::time_t> periodEnds;
    int expiries = 0;
    std::time_t end = 0;
};

// Ticks every ten seconds from start for spanDays days, except that after the tick at jumpAt the clock leaps
// sleepDays days ahead, as it does for a laptop that was suspended. Each tick is judged on its own.
SoakResult RunSoak(const std::vector<MessageEntry>& entries, std::time_t start, int spanDays, std::time_t jumpAt,
                   int sleepDays) {
    SoakResult result;
    MemoryProfileStore store;
    RecordingPrompts prompts;
    FakeClock clock(start);
    const ReminderModel* statePointer = nullptr;
    SoakHost host(clock, statePointer);
    ReminderModel state({&store, &prompts, clock.AsClock(), {}});
    statePointer = &state;
    state.AllocateTable();
    for (const MessageEntry& e : entries) {
        if (!state.AppendEntry(e)) {
            result.failure = "the table did not take the entries";
            return result;
        }
    }
    for (const MessageEntry& e : entries) {
        result.entryTimes.push_back(LocalTime(e.m_nYear, e.m_nMonth, e.m_nDay, e.m_nHour, e.m_nMinute));
        result.periodEnds.push_back(PeriodEnd(e, result.entryTimes.back()));
    }
    result.entries = entries;

    const int n = state.Count();
    std::vector<std::int32_t> activeBefore(n);
    std::vector<Verdict> verdicts(n);
    std::vector<int> lastShownDate(n, 0);
    const std::tm first = LocalTm(start);
    // Local midnight spanDays later: with changes of offset in between, that is not a multiple of 86400 seconds.
    const std::time_t end = LocalTime(first.tm_year + 1900, first.tm_mon + 1, first.tm_mday + spanDays, 0, 0);
    result.end = end;
    auto fail = [&](int i, const std::string& what) {
        result.failure = LocalText(clock.now) + ", \"" + std::string(state.ScheduledEntry(i).m_szName) + "\": " + what;
    };

    for (std::time_t now = start; now < end; now += kTick) {
        if (now > jumpAt && now - kTick <= jumpAt) {
            result.departureDate = LocalDate(now - kTick);
            now += sleepDays * kDay;
            result.landingDate = LocalDate(now);
        }
        clock.now = now;
        const std::tm local = LocalTm(now);
        const int today = LocalDate(now);
        for (int i = 0; i < n; ++i) {
            const MessageEntry& e = state.ScheduledEntry(i);
            activeBefore[i] = e.m_bActive;
            // A dated entry is armed again only by its repeat, so its own flag says whether it waits to be shown.
            const bool owed = e.m_bEveryDay ? lastShownDate[i] != today : e.m_bPending != 0;
            verdicts[i] = Judge(e, owed, result.entryTimes[i], result.periodEnds[i], now, local);
        }
        const std::size_t displaysBefore = host.displays.size();
        const int commitsBefore = store.commitCount;

        Scheduler(state).OnTimer(host, SCHEDULER_TIMER_ID);
        ++result.ticks;

        std::vector<int> shown(n, 0);
        for (std::size_t k = displaysBefore; k < host.displays.size(); ++k) {
            const SoakHost::Display& d = host.displays[k];
            ++shown[d.index];
            ++result.perDay[d.index][LocalDate(d.when)];
            lastShownDate[d.index] = LocalDate(d.when);
            if (!d.windowRestored) {
                fail(d.index, "displayed while the main window stayed minimized");
                return result;
            }
        }
        int expected = 0;
        for (int i = 0; i < n; ++i) {
            const MessageEntry& e = state.ScheduledEntry(i);
            if (verdicts[i] == Verdict::Show && shown[i] != 1) {
                fail(i, "due but shown " + std::to_string(shown[i]) + " times in this tick");
                return result;
            }
            // A repeating every-day entry comes again within its day; when is left to the whole-run checks.
            const bool repeatsToday = e.m_bEveryDay && e.m_nRepeatMinutes != 0 && lastShownDate[i] == today;
            if (verdicts[i] != Verdict::Show && shown[i] != 0 && !repeatsToday) {
                fail(i, "shown although the rules did not make it due");
                return result;
            }
            if (verdicts[i] == Verdict::Expire) {
                ++expected;
                const MemoryProfileStore::Value* saved = store.Find(kMessages, Numbered(kActive, i));
                if (e.m_bActive != 0 || e.m_bPending != 0 || !saved || *saved != MemoryProfileStore::Value(0)) {
                    fail(i, "past its window but not expired and saved as inactive");
                    return result;
                }
            } else if (e.m_bActive != activeBefore[i]) {
                fail(i, "changed its active flag without expiring");
                return result;
            }
        }
        result.expiries += expected;
        if (store.commitCount - commitsBefore != expected) {
            result.failure = LocalText(now) + ": " + std::to_string(store.commitCount - commitsBefore) + " saves for " +
                             std::to_string(expected) + " expiries";
            return result;
        }
        if (!host.minimized) {
            result.failure = LocalText(now) + ": the main window was left restored";
            return result;
        }
    }
    if (!prompts.boxes.empty())
        result.failure = "an error box appeared: " + prompts.boxes.front().text;
    result.displays = host.displays;
    return result;
}

// Every check that needs the whole run: the windows of dated entries, the time of day of every-day ones, and the
// number of displays per local day.
std::string JudgeWholeRun(const SoakResult& r, std::time_t start) {
    for (const SoakHost::Display& d : r.displays) {
        const MessageEntry& e = r.entries[d.index];
        const std::string where = LocalText(d.when) + ", \"" + e.m_szName + "\": ";
        if (!e.m_bActive && e.m_bEveryDay)
            return where + "an inactive entry was shown";
        if (e.m_bEveryDay) {
            const std::tm local = LocalTm(d.when);
            if (local.tm_hour * 60 + local.tm_min < e.m_nHour * 60 + e.m_nMinute)
                return where + "every-day entry shown before its time of day";
        } else {
            const std::time_t from = r.entryTimes[d.index] - 59;
            const std::time_t until = r.periodEnds[d.index];
            if (d.when < from || d.when >= until)
                return where + "dated entry shown outside [" + LocalText(from) + ", " + LocalText(until) + ")";
        }
    }
    const int firstDate = LocalDate(start);
    const int lastDate = LocalDate(r.end - 1);
    for (std::size_t i = 0; i < r.entries.size(); ++i) {
        const MessageEntry& e = r.entries[i];
        const auto found = r.perDay.find(static_cast<int>(i));
        const std::map<int, int> none;
        const std::map<int, int>& days = found == r.perDay.end() ? none : found->second;
        const std::string name = std::string("\"") + e.m_szName + "\" on ";
        if (e.m_bEveryDay && e.m_bActive && e.m_nRepeatMinutes == 0) {
            for (int date = firstDate; date <= lastDate; date = NextDate(date)) {
                const auto it = days.find(date);
                const int count = it == days.end() ? 0 : it->second;
                const bool asleep = date > r.departureDate && date < r.landingDate;
                if (date == r.departureDate ? count > 1 : count != (asleep ? 0 : 1))
                    return name + std::to_string(date) + ": shown " + std::to_string(count) + " times";
            }
        }
        if (!e.m_bEveryDay && e.m_nRepeatMinutes == 0) {
            int total = 0;
            for (const auto& [date, count] : days)
                total += count;
            if (total > 1)
                return name + "several days: a dated entry without repeat shown " + std::to_string(total) + " times";
        }
    }
    return {};
}
} // namespace

class tst_SchedulerSoak : public QObject {
    Q_OBJECT
private slots:
    void soak_data();
    void soak();
    void suspendedLaptop_data();
    void suspendedLaptop();
};

void tst_SchedulerSoak::soak_data() {
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<bool>("fullTable");
    QTest::addColumn<QString>("start"); // local midnight, YYYY-MM-DD
    QTest::addColumn<int>("spanDays");
    QTest::addColumn<QString>("jump"); // local moment of the last tick before the clock leaps, YYYY-MM-DD HH:MM
    QTest::addColumn<int>("sleepDays");

    // 400 days: three changes of offset in each zone, a new year and two ends of February.
    QTest::newRow("Berlin, mixed entries, 400 days")
        << QByteArray("Europe/Berlin") << false << "2025-10-01" << 400 << "2026-05-20 07:29" << 3;
    QTest::newRow("New York, mixed entries, 400 days")
        << QByteArray("America/New_York") << false << "2025-10-01" << 400 << "2026-05-20 07:29" << 3;
    QTest::newRow("Berlin, full table, 10 days over the spring change")
        << QByteArray("Europe/Berlin") << true << "2026-03-25" << 10 << "2026-03-30 17:59" << 3;
    QTest::newRow("New York, full table, 10 days over the autumn change")
        << QByteArray("America/New_York") << true << "2025-10-29" << 10 << "2025-11-03 17:59" << 3;
    // Asleep until the same day of the next month (in Berlin over the spring change): the wake-up day is a new day
    // although its day of the month is the one the scheduler saw last.
    QTest::newRow("Berlin, mixed entries, asleep 10 March to 10 April")
        << QByteArray("Europe/Berlin") << false << "2026-03-01" << 45 << "2026-03-10 07:29" << 31;
    QTest::newRow("New York, mixed entries, asleep 1 February to 1 March")
        << QByteArray("America/New_York") << false << "2026-01-25" << 40 << "2026-02-01 07:29" << 28;
}

void tst_SchedulerSoak::soak() {
    QFETCH(QByteArray, zone);
    QFETCH(bool, fullTable);
    QFETCH(QString, start);
    QFETCH(int, spanDays);
    QFETCH(QString, jump);
    QFETCH(int, sleepDays);

    const ZoneGuard guard(zone.constData());
    int y = 0, mo = 0, d = 0, h = 0, mi = 0;
    QVERIFY(std::sscanf(start.toLatin1().constData(), "%d-%d-%d", &y, &mo, &d) == 3);
    const std::time_t startTime = LocalTime(y, mo, d, 0, 0);
    QVERIFY(std::sscanf(jump.toLatin1().constData(), "%d-%d-%d %d:%d", &y, &mo, &d, &h, &mi) == 5);
    const std::time_t jumpAt = LocalTime(y, mo, d, h, mi, 50);
    // Without the zone's data every offset is zero and the daylight-saving cases would test nothing.
    QVERIFY2(LocalTm(LocalTime(2026, 1, 15, 12, 0)).tm_gmtoff != LocalTm(LocalTime(2026, 7, 15, 12, 0)).tm_gmtoff,
             "time zone data missing");

    const std::vector<MessageEntry> entries =
        fullTable ? MixedEntries(20260329, startTime, spanDays) : LongSoakEntries();
    const SoakResult result = RunSoak(entries, startTime, spanDays, jumpAt, sleepDays);
    QVERIFY2(result.failure.empty(), result.failure.c_str());
    QVERIFY(result.landingDate != 0);
    const std::string whole = JudgeWholeRun(result, startTime);
    QVERIFY2(whole.empty(), whole.c_str());
    // The run must have had something to judge.
    QVERIFY(result.displays.size() > static_cast<std::size_t>(spanDays));
    QVERIFY(result.expiries > 0);
}

void tst_SchedulerSoak::suspendedLaptop_data() {
    QTest::addColumn<QByteArray>("zone");
    QTest::newRow("Berlin") << QByteArray("Europe/Berlin");
    QTest::newRow("New York") << QByteArray("America/New_York");
}

// The laptop is suspended ten seconds before an every-day entry's time and wakes three days later: what is due
// then comes at the first tick, whether it fell due before the sleep or on the new day; what fell due and went by
// in the sleep is expired; and the landing day shows each every-day entry once.
void tst_SchedulerSoak::suspendedLaptop() {
    QFETCH(QByteArray, zone);
    const ZoneGuard guard(zone.constData());

    const std::vector<MessageEntry> entries = {
        MakeEntry({"daily 07:30", true, 2000, 1, 10, 7, 30}),
        MakeEntry({"daily 06:00", true, 2000, 1, 10, 6, 0}),
        MakeEntry({"daily 21:00", true, 2000, 1, 10, 21, 0}),
        MakeEntry({"dated during the sleep", false, 2026, 5, 21, 0, 30, 1}),
        MakeEntry({"dated at wake-up", false, 2026, 5, 22, 18, 0, 2}),
        MakeEntry({"dated zero days on the wake-up day", false, 2026, 5, 23, 7, 0}),
    };
    const std::time_t start = LocalTime(2026, 5, 20, 0, 0);
    const SoakResult result = RunSoak(entries, start, 5, LocalTime(2026, 5, 20, 7, 29, 50), 3);
    QVERIFY2(result.failure.empty(), result.failure.c_str());

    const std::time_t wake = LocalTime(2026, 5, 23, 7, 30, 0);
    QCOMPARE(result.landingDate, 20260523);
    std::vector<std::string> atWake;
    std::map<std::string, int> onLandingDay;
    for (const SoakHost::Display& d : result.displays) {
        if (d.when == wake)
            atWake.push_back(result.entries[d.index].m_szName);
        if (LocalDate(d.when) == result.landingDate)
            ++onLandingDay[result.entries[d.index].m_szName];
    }
    QCOMPARE(atWake, (std::vector<std::string>{"daily 07:30", "daily 06:00", "dated at wake-up",
                                               "dated zero days on the wake-up day"}));
    QCOMPARE(onLandingDay["daily 07:30"], 1);
    QCOMPARE(onLandingDay["daily 06:00"], 1);
    QCOMPARE(onLandingDay["daily 21:00"], 1);
    QCOMPARE(onLandingDay.count("dated during the sleep"), std::size_t(0));
    QCOMPARE(result.expiries, 1);
}

QTEST_GUILESS_MAIN(tst_SchedulerSoak)
#include "tst_schedulersoak.moc"
