// The scheduler's tick against a fake main window: when entries come due, expire and are armed again, what the
// window is asked to do and in which order, and what a failed state stops.

#include "ExpectedTemplates.h"
#include "SchedulerRig.h"

#include <QStringList>
#include <QTest>

#include <memory>

namespace {
QStringList ToList(const std::vector<std::string>& items) {
    QStringList list;
    for (const std::string& item : items)
        list << QString::fromStdString(item);
    return list;
}

// What showing one due message asks of the window and the prompts, in order.
QStringList ShowSequence(const QString& name) {
    return {"restore", "front", "attention", "beep", "display:" + name, "minimize", "no attention"};
}

constexpr const char* kEntryAt = "1997-03-05 10:00";
} // namespace

class TestScheduler : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void dueMoments_data();
    void dueMoments();
    void onlyArmedActiveEntriesAreConsidered_data();
    void onlyArmedActiveEntriesAreConsidered();
    void expiryKeepsShownFlagAndSavesTheInactiveEntry();

    void rearming_data();
    void rearming();
    void repeatCountsFromWhenTheDisplayBegan();
    void thirtyMinuteRepeatSkipsA75MinuteGap();
    void repeatAfterTheClockIsSetBack_data();
    void repeatAfterTheClockIsSetBack();
    void newDayArmsEveryShownEveryDayEntryInOneTick();
    void everyDayMessageIsNotShownTwiceOnANewlyNoticedDay();
    void everyDayMessageIsNotShownTwiceAfterANightWithMessagesOff();
    void everyDayMessageWhenTheClockIsSetBack_data();
    void everyDayMessageWhenTheClockIsSetBack();

    void closedGateChangesNothing_data();
    void closedGateChangesNothing();
    void restoredWindowShowsNothingButRearms();

    void dueEntriesShowOneAfterAnotherInTableOrder();
    void tableChangedDuringDisplay_data();
    void tableChangedDuringDisplay();
    void ticksDuringDisplayRearm();
    void showDueMessageRunsTheWholeSequence();
    void showDueMessageDoesNothingAfterGlobalError();
    void failedSaveDuringExpiryStopsLaterDisplays();

private:
    std::unique_ptr<ZoneGuard> m_zone;
};

void TestScheduler::initTestCase() {
    // The cases here are about the rules, not about daylight saving: a zone without it keeps them exact.
    m_zone = std::make_unique<ZoneGuard>("UTC0");
}

void TestScheduler::cleanupTestCase() {
    m_zone.reset();
}

void TestScheduler::dueMoments_data() {
    QTest::addColumn<bool>("everyDay");
    QTest::addColumn<QString>("entryAt");
    QTest::addColumn<int>("showDays");
    QTest::addColumn<QString>("tickAt");
    QTest::addColumn<QString>("outcome");

    QTest::newRow("dated, 60 s early") << false << kEntryAt << 0 << "1997-03-05 09:59:00"
                                       << "waiting";
    QTest::newRow("dated, 59 s early") << false << kEntryAt << 0 << "1997-03-05 09:59:01"
                                       << "shown";
    QTest::newRow("dated, on time") << false << kEntryAt << 0 << "1997-03-05 10:00:00"
                                    << "shown";
    QTest::newRow("dated, last second of its day") << false << kEntryAt << 0 << "1997-03-05 23:59:59"
                                                   << "shown";
    QTest::newRow("every day, 1 s early") << true << kEntryAt << 0 << "1997-03-05 09:59:59"
                                          << "waiting";
    QTest::newRow("every day, on time") << true << kEntryAt << 0 << "1997-03-05 10:00:00"
                                        << "shown";
    QTest::newRow("every day, years later 1 s early") << true << kEntryAt << 0 << "2001-08-20 09:59:59"
                                                      << "waiting";
    QTest::newRow("every day, years later on time") << true << kEntryAt << 0 << "2001-08-20 10:00:00"
                                                    << "shown";
    QTest::newRow("every day, late evening") << true << kEntryAt << 0 << "2001-08-20 23:59:59"
                                             << "shown";
    QTest::newRow("every day dated in the future") << true << "2030-01-01 10:00" << 0 << "1997-03-05 10:00:00"
                                                   << "shown";
    QTest::newRow("every day at midnight") << true << "1997-03-05 00:00" << 0 << "1997-03-09 00:00:00"
                                           << "shown";
    QTest::newRow("every day 23:59, a second early") << true << "1997-03-05 23:59" << 0 << "1997-03-09 23:58:59"
                                                     << "waiting";
    // Hand-edited values the loader does not check: no overflow, and never a display.
    QTest::newRow("every day, hour beyond any day") << true << "1997-03-05 2147483647:00" << 0
                                                    << "1997-03-05 23:59:59" << "waiting";
    QTest::newRow("every day, hour below any day") << true << "1997-03-05 -2147483648:00" << 0
                                                   << "1997-03-05 00:00:00" << "shown";
    QTest::newRow("dated, year no calendar holds") << false << "-2147483648-03-05 10:00" << 0
                                                   << "1997-03-05 10:00:00" << "expired";
    QTest::newRow("dated, month no calendar holds") << false << "1997--2147483648-05 10:00" << 0
                                                    << "1997-03-05 10:00:00" << "expired";
    QTest::newRow("future entry, next day") << false << "1997-03-06 10:00" << 3 << "1997-03-05 10:00:00"
                                            << "waiting";
    QTest::newRow("future entry, years ahead") << false << "2030-01-01 00:00" << 0 << "1997-03-01 12:00:00"
                                               << "waiting";
    QTest::newRow("0 days, same day of a later month") << false << kEntryAt << 0 << "1997-04-05 09:00:00"
                                                       << "expired";
    QTest::newRow("0 days, same day of a later year") << false << kEntryAt << 0 << "1998-03-05 10:00:00"
                                                      << "expired";
    QTest::newRow("0 days, next day") << false << kEntryAt << 0 << "1997-03-06 10:00:00"
                                      << "waiting";
    QTest::newRow("0 days, other day of a later month") << false << kEntryAt << 0 << "1997-07-19 10:00:00"
                                                        << "waiting";
    QTest::newRow("2 days, after one day") << false << kEntryAt << 2 << "1997-03-06 03:00:00"
                                           << "shown";
    QTest::newRow("2 days, last second") << false << kEntryAt << 2 << "1997-03-08 09:59:59"
                                         << "shown";
    QTest::newRow("2 days, run out") << false << kEntryAt << 2 << "1997-03-08 10:00:00"
                                     << "expired";
    QTest::newRow("2 days, long gone") << false << kEntryAt << 2 << "1997-11-30 10:00:00"
                                       << "expired";
}

void TestScheduler::dueMoments() {
    QFETCH(bool, everyDay);
    QFETCH(QString, entryAt);
    QFETCH(int, showDays);
    QFETCH(QString, tickAt);
    QFETCH(QString, outcome);

    const std::time_t tick = At(tickAt.toUtf8().constData());
    SchedulerRig rig(tick);
    rig.Add(MakeEntry("Entry", entryAt.toUtf8().constData(), everyDay, showDays));

    rig.Tick();

    const MessageEntry& entry = rig.Entry(0);
    if (outcome == "shown") {
        QCOMPARE(ToList(rig.host.displayed), QStringList{"Entry"});
        QCOMPARE(entry.m_bPending, 0);
        QCOMPARE(entry.m_bShown, 1);
        QCOMPARE(entry.m_tLastShown, tick);
        QCOMPARE(entry.m_bActive, 1);
        QCOMPARE(rig.store.commitCount, 0);
    } else if (outcome == "waiting") {
        QVERIFY(rig.host.displayed.empty());
        QCOMPARE(entry.m_bPending, 1);
        QCOMPARE(entry.m_bShown, 0);
        QCOMPARE(entry.m_bActive, 1);
        QCOMPARE(rig.store.commitCount, 0);
    } else {
        QCOMPARE(outcome, QString("expired"));
        QVERIFY(rig.host.displayed.empty());
        QCOMPARE(entry.m_bActive, 0);
        QCOMPARE(entry.m_bPending, 0);
        QCOMPARE(rig.store.commitCount, 1);
        QVERIFY(rig.prompts.boxes.empty());
    }
}

void TestScheduler::onlyArmedActiveEntriesAreConsidered_data() {
    QTest::addColumn<bool>("everyDay");
    QTest::addColumn<QString>("entryAt");
    QTest::addColumn<int>("active");
    QTest::addColumn<int>("pending");

    // Each entry would be shown or would expire at the tick if it were armed and active.
    QTest::newRow("dated, due but inactive") << false << kEntryAt << 0 << 1;
    QTest::newRow("dated, due but not armed") << false << kEntryAt << 1 << 0;
    QTest::newRow("dated, run out but inactive") << false << "1997-02-05 10:00" << 0 << 1;
    QTest::newRow("dated, run out but not armed") << false << "1997-02-05 10:00" << 1 << 0;
    QTest::newRow("every day, due but inactive") << true << kEntryAt << 0 << 1;
    QTest::newRow("every day, due but not armed") << true << kEntryAt << 1 << 0;
    QTest::newRow("every day, a month old and inactive") << true << "1997-02-05 10:00" << 0 << 1;
}

void TestScheduler::onlyArmedActiveEntriesAreConsidered() {
    QFETCH(bool, everyDay);
    QFETCH(QString, entryAt);
    QFETCH(int, active);
    QFETCH(int, pending);

    SchedulerRig rig(At("1997-03-05 10:00:30"));
    MessageEntry& entry = rig.Add(MakeEntry("Entry", entryAt.toUtf8().constData(), everyDay));
    entry.m_bActive = active;
    entry.m_bPending = pending;
    const MessageEntry before = entry;

    rig.Tick();

    QVERIFY(SameEntry(rig.Entry(0), before));
    QVERIFY(rig.log.empty());
    QCOMPARE(rig.store.commitCount, 0);
}

void TestScheduler::expiryKeepsShownFlagAndSavesTheInactiveEntry() {
    SchedulerRig rig(At("1997-04-05 10:00"));
    rig.Add(MakeEntry("Other", "1997-04-05 12:00", false));
    // An edited entry is armed again without losing the mark of its last showing.
    MessageEntry& entry = rig.Add(MakeEntry("Edited", kEntryAt, false, 0, 5));
    entry.m_bShown = 1;

    rig.Tick();

    QCOMPARE(entry.m_bActive, 0);
    QCOMPARE(entry.m_bPending, 0);
    QCOMPARE(entry.m_bShown, 1);
    QCOMPARE(rig.store.commitCount, 1);
    // What reaches the store is the entry after it was deactivated.
    QCOMPARE(rig.store.GetProfileInt(ProfileNames::kMessages, ProfileNames::Numbered(ProfileNames::kActive, 1), -1), 0);
    QCOMPARE(rig.store.GetProfileInt(ProfileNames::kMessages, ProfileNames::Numbered(ProfileNames::kActive, 0), -1), 1);
    QCOMPARE(rig.store.GetProfileInt(ProfileNames::kConfiguration, ProfileNames::kNumberOfMessages, -1), 2);
}

void TestScheduler::rearming_data() {
    QTest::addColumn<QString>("base");
    QTest::addColumn<bool>("everyDay");
    QTest::addColumn<int>("repeat");
    QTest::addColumn<int>("active");
    QTest::addColumn<int>("pending");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("elapsed");       // seconds since the entry was last shown
    QTest::addColumn<int>("daysSinceSeen"); // whole days since the scheduler's last tick
    QTest::addColumn<bool>("rearmed");

    const QString base = "1997-03-05 10:00";
    QTest::newRow("repeat 5, after 4:59") << base << false << 5 << 1 << 0 << 1 << 299 << 0 << false;
    QTest::newRow("repeat 5, after 5:00") << base << false << 5 << 1 << 0 << 1 << 300 << 0 << true;
    QTest::newRow("repeat 30, after 29:59") << base << false << 30 << 1 << 0 << 1 << 1799 << 0 << false;
    QTest::newRow("repeat 30, after 30 min") << base << false << 30 << 1 << 0 << 1 << 1800 << 0 << true;
    QTest::newRow("repeat 30, after 75 min") << base << false << 30 << 1 << 0 << 1 << 4500 << 0 << false;
    QTest::newRow("repeat 30, after 90 min") << base << false << 30 << 1 << 0 << 1 << 5400 << 0 << true;
    QTest::newRow("repeat 1, after 60 min") << base << false << 1 << 1 << 0 << 1 << 3600 << 0 << false;
    QTest::newRow("repeat 1, after 61 min") << base << false << 1 << 1 << 0 << 1 << 3660 << 0 << true;
    QTest::newRow("repeat 59, after 59 min") << base << false << 59 << 1 << 0 << 1 << 3540 << 0 << true;
    QTest::newRow("no repeat, after 10 hours") << base << false << 0 << 1 << 0 << 1 << 36000 << 0 << false;
    QTest::newRow("dated, on a new day") << base << false << 0 << 1 << 0 << 1 << 60 << 1 << false;
    QTest::newRow("every day, on a new day") << base << true << 0 << 1 << 0 << 1 << 60 << 1 << true;
    QTest::newRow("every day, same day") << base << true << 0 << 1 << 0 << 1 << 36000 << 0 << false;
    // A suspended laptop or a month of messages switched off: the first tick comes on the same day of the month.
    QTest::newRow("every day, 28 days later on the same day of the month")
        << "1997-02-01 09:00" << true << 0 << 1 << 0 << 1 << 28 * 86400 + 1800 << 28 << true;
    QTest::newRow("every day, a month later on the same day of the month")
        << "1997-03-10 09:00" << true << 0 << 1 << 0 << 1 << 31 * 86400 + 1800 << 31 << true;
    QTest::newRow("every day, repeat 10 after 10 min") << base << true << 10 << 1 << 0 << 1 << 600 << 0 << true;
    QTest::newRow("inactive, repeat due") << base << false << 5 << 0 << 0 << 1 << 300 << 0 << false;
    QTest::newRow("inactive every day, new day") << base << true << 0 << 0 << 0 << 1 << 60 << 1 << false;
    QTest::newRow("still armed") << base << false << 5 << 1 << 1 << 1 << 300 << 0 << false;
    QTest::newRow("never shown") << base << false << 5 << 1 << 0 << 0 << 300 << 0 << false;
    QTest::newRow("never shown every day, new day") << base << true << 0 << 1 << 0 << 0 << 60 << 1 << false;
    QTest::newRow("2040, repeat 5 after 4:59") << "2040-06-15 10:00" << false << 5 << 1 << 0 << 1 << 299 << 0 << false;
    QTest::newRow("2040, repeat 5 after 5:00") << "2040-06-15 10:00" << false << 5 << 1 << 0 << 1 << 300 << 0 << true;
}

void TestScheduler::rearming() {
    QFETCH(QString, base);
    QFETCH(bool, everyDay);
    QFETCH(int, repeat);
    QFETCH(int, active);
    QFETCH(int, pending);
    QFETCH(int, shown);
    QFETCH(int, elapsed);
    QFETCH(int, daysSinceSeen);
    QFETCH(bool, rearmed);

    const std::time_t lastShown = At(base.toUtf8().constData());
    const std::time_t tick = lastShown + elapsed;
    SchedulerRig rig(tick);
    // A restored window keeps the showing pass out of the way.
    rig.host.minimized = false;
    // A far-off date keeps a dated entry from running out while it waits.
    MessageEntry& entry = rig.Add(MakeEntry("Entry", "2050-01-01 00:00", everyDay, 9999, repeat));
    entry.m_bActive = active;
    entry.m_bPending = pending;
    entry.m_bShown = shown;
    entry.m_tLastShown = lastShown;
    rig.state.SetDaySeen(tick - daysSinceSeen * 86400);

    rig.Tick();

    QCOMPARE(entry.m_bPending, rearmed ? 1 : pending);
    QCOMPARE(entry.m_bShown, rearmed ? 0 : shown);
    QCOMPARE(entry.m_tLastShown, lastShown);
    QCOMPARE(rig.state.DaySeen(), tick);
    QVERIFY(rig.log.empty());
}

void TestScheduler::repeatCountsFromWhenTheDisplayBegan() {
    const std::time_t start = At("1997-03-05 09:30");
    SchedulerRig rig(start);
    MessageEntry& entry = rig.Add(MakeEntry("Tea", "1997-03-05 09:30", false, 1, 5));
    // The user reads the message for two minutes before closing it.
    rig.host.duringDisplay = [&rig](const MessageEntry&) { rig.clock.Advance(120); };

    rig.Tick();
    QCOMPARE(ToList(rig.host.displayed), QStringList{"Tea"});
    QCOMPARE(entry.m_tLastShown, start);

    rig.TickAt(start + 299);
    QCOMPARE(entry.m_bPending, 0);
    rig.TickAt(start + 300);
    QCOMPARE(entry.m_bPending, 1);
    QCOMPARE(entry.m_bShown, 0);
    QCOMPARE(rig.host.displayed.size(), std::size_t(1));

    rig.TickAt(start + 310);
    QCOMPARE(ToList(rig.host.displayed), (QStringList{"Tea", "Tea"}));
    QCOMPARE(entry.m_tLastShown, start + 310);
}

void TestScheduler::thirtyMinuteRepeatSkipsA75MinuteGap() {
    const std::time_t start = At("1997-03-05 09:30");
    SchedulerRig rig(start);
    MessageEntry& entry = rig.Add(MakeEntry("Stretch", "1997-03-05 09:30", false, 1, 30));

    rig.Tick();
    QCOMPARE(rig.host.displayed.size(), std::size_t(1));

    // The first tick after the shown message comes 75 minutes later, as after a suspended machine wakes up.
    rig.TickAt(start + 75 * 60);
    QCOMPARE(entry.m_bPending, 0);
    QCOMPARE(entry.m_bShown, 1);
    QCOMPARE(rig.host.displayed.size(), std::size_t(1));

    rig.TickAt(start + 90 * 60);
    QCOMPARE(entry.m_bPending, 1);
    QCOMPARE(entry.m_bShown, 0);

    rig.TickAt(start + 90 * 60 + 10);
    QCOMPARE(rig.host.displayed.size(), std::size_t(2));
}

void TestScheduler::repeatAfterTheClockIsSetBack_data() {
    QTest::addColumn<QString>("entryAt");
    QTest::addColumn<int>("showDays");
    QTest::addColumn<QString>("setBackTo");
    QTest::addColumn<QString>("shownAgainAt");

    // Last shown at 10:05 on 5 March and repeated every 5 minutes; then the clock goes back behind that showing, as
    // it does on some dual-boot machines. The interval counts from the first tick that finds the clock back; the
    // tick after the one that re-arms shows the message.
    QTest::newRow("an hour back") << "1997-03-05 09:00" << 1 << "1997-03-05 09:05:10"
                                  << "1997-03-05 09:10:20";
    QTest::newRow("a day back, inside its days to show")
        << "1997-03-04 09:00" << 3 << "1997-03-04 10:05:10" << "1997-03-04 10:10:20";
}

void TestScheduler::repeatAfterTheClockIsSetBack() {
    QFETCH(QString, entryAt);
    QFETCH(int, showDays);
    QFETCH(QString, setBackTo);
    QFETCH(QString, shownAgainAt);

    const std::time_t lastShown = At("1997-03-05 10:05");
    SchedulerRig rig(lastShown + 10);
    rig.AddShown(MakeEntry("Stretch", entryAt.toUtf8().constData(), false, showDays, 5), lastShown);
    std::string shownAt;
    rig.host.duringDisplay = [&](const MessageEntry&) { shownAt = LocalText(rig.clock.now); };

    const std::time_t from = At(setBackTo.toUtf8().constData());
    for (std::time_t t = from; shownAt.empty() && t < from + 2 * 86400; t += SCHEDULER_PERIOD_MS / 1000)
        rig.TickAt(t);

    QCOMPARE(QString::fromStdString(shownAt), shownAgainAt);
}

void TestScheduler::newDayArmsEveryShownEveryDayEntryInOneTick() {
    SchedulerRig rig(At("1997-03-04 23:50"));
    MessageEntry& morning = rig.AddShown(MakeEntry("Morning", "1997-01-01 08:00", true), At("1997-03-04 08:00"));
    MessageEntry& noon = rig.AddShown(MakeEntry("Noon", "1997-01-01 12:00", true), At("1997-03-04 12:00"));
    MessageEntry& late = rig.AddShown(MakeEntry("Late", "1997-01-01 23:30", true), At("1997-03-04 23:30"));
    MessageEntry& dated = rig.AddShown(MakeEntry("Dated", "1997-03-04 09:00", false, 5), At("1997-03-04 09:00"));
    const MessageEntry datedBefore = dated;

    rig.TickAt(At("1997-03-05 00:00:05"));

    for (const MessageEntry* entry : {&morning, &noon, &late}) {
        QCOMPARE(entry->m_bPending, 1);
        QCOMPARE(entry->m_bShown, 0);
    }
    QVERIFY(SameEntry(dated, datedBefore));
    QVERIFY(rig.host.displayed.empty());
    QCOMPARE(rig.state.DaySeen(), At("1997-03-05 00:00:05"));

    rig.TickAt(At("1997-03-05 08:00"));
    QCOMPARE(ToList(rig.host.displayed), QStringList{"Morning"});
}

void TestScheduler::everyDayMessageIsNotShownTwiceAfterANightWithMessagesOff() {
    // Armed at load on one day, with messages switched off until the next day: the first tick after they are
    // switched on both notices the new day and shows the message.
    SchedulerRig rig(At("1997-03-05 08:00:00"));
    rig.Add(MakeEntry("Daily", "1997-01-01 10:00", true));
    rig.state.SetOption(Option::MessagesActivated, 0);
    rig.TickAt(At("1997-03-05 12:00:00"));
    rig.TickAt(At("1997-03-06 09:00:00"));
    rig.state.SetOption(Option::MessagesActivated, 1);

    for (const char* moment : {"1997-03-06 10:30:00", "1997-03-06 10:30:10", "1997-03-06 10:30:20"})
        rig.TickAt(At(moment));

    QCOMPARE(ToList(rig.host.displayed), QStringList{"Daily"});
    QCOMPARE(rig.state.DaySeen(), At("1997-03-06 10:30:20"));
}

void TestScheduler::everyDayMessageIsNotShownTwiceOnANewlyNoticedDay() {
    SchedulerRig rig(At("1997-03-05 23:59:50"));
    rig.Add(MakeEntry("Daily", "1997-01-01 10:00", true));

    // The window stays open over midnight: the day changes while nothing waits to be armed again.
    rig.host.minimized = false;
    rig.TickAt(At("1997-03-06 00:00:00"));
    rig.host.minimized = true;
    rig.TickAt(At("1997-03-06 09:59:50"));
    QVERIFY(rig.host.displayed.empty());

    for (const char* moment : {"1997-03-06 10:00:00", "1997-03-06 10:00:10", "1997-03-06 10:00:20"})
        rig.TickAt(At(moment));

    QCOMPARE(ToList(rig.host.displayed), QStringList{"Daily"});
    QCOMPARE(rig.Entry(0).m_bPending, 0);
}

void TestScheduler::everyDayMessageWhenTheClockIsSetBack_data() {
    QTest::addColumn<QStringList>("ticks");
    QTest::addColumn<QStringList>("expected"); // the moments of the displays of an every-day message for 20:00

    QTest::newRow("back over midnight to the date of its display")
        << QStringList{"1997-03-10 20:00", "1997-03-11 00:20", "1997-03-10 23:20", "1997-03-10 23:59:50",
                       "1997-03-11 00:00", "1997-03-11 20:00"}
        << QStringList{"1997-03-10 20:00:00", "1997-03-11 20:00:00"};
    // A clock three weeks fast is corrected: the message has had its display for this day, and the next midnight
    // is a new day although a later date was seen before.
    QTest::newRow("corrected from weeks ahead")
        << QStringList{"1997-03-31 20:00", "1997-03-10 21:00", "1997-03-11 20:00"}
        << QStringList{"1997-03-31 20:00:00", "1997-03-11 20:00:00"};
    QTest::newRow("corrected from weeks ahead after a later date armed it again")
        << QStringList{"1997-03-30 20:00", "1997-03-31 00:20", "1997-03-10 21:00"}
        << QStringList{"1997-03-30 20:00:00", "1997-03-10 21:00:00"};
}

void TestScheduler::everyDayMessageWhenTheClockIsSetBack() {
    QFETCH(QStringList, ticks);
    QFETCH(QStringList, expected);

    SchedulerRig rig(At(ticks.front().toUtf8().constData()));
    rig.Add(MakeEntry("Daily", "1997-01-01 20:00", true));
    QStringList shownAt;
    rig.host.duringDisplay = [&](const MessageEntry&) { shownAt << QString::fromStdString(LocalText(rig.clock.now)); };

    for (const QString& tick : ticks)
        rig.TickAt(At(tick.toUtf8().constData()));

    QCOMPARE(shownAt, expected);
}

void TestScheduler::closedGateChangesNothing_data() {
    QTest::addColumn<int>("activated");
    QTest::addColumn<int>("globalError");
    QTest::addColumn<int>("timerId");

    QTest::newRow("messages not activated") << 0 << 0 << 1;
    QTest::newRow("global error") << 1 << 1 << 1;
    QTest::newRow("timer 0") << 1 << 0 << 0;
    QTest::newRow("timer 2") << 1 << 0 << 2;
}

void TestScheduler::closedGateChangesNothing() {
    QFETCH(int, activated);
    QFETCH(int, globalError);
    QFETCH(int, timerId);

    const std::time_t now = At("1997-03-05 10:00:30");
    const auto fill = [now](SchedulerRig& rig) {
        rig.Add(MakeEntry("Due", kEntryAt, false));
        rig.Add(MakeEntry("Run out", "1997-02-05 10:00", false));
        rig.Add(MakeEntry("Daily due", "1997-01-01 09:00", true));
        rig.AddShown(MakeEntry("Daily", "1997-01-01 08:00", true), At("1997-03-04 08:00"));
        rig.AddShown(MakeEntry("Repeating", "1997-03-05 09:00", false, 1, 5), now - 600);
        rig.state.SetDaySeen(At("1997-03-04 23:00"));
    };
    SchedulerRig rig(now);
    fill(rig);
    rig.state.SetOption(Option::MessagesActivated, activated);
    if (globalError)
        rig.state.EnterGlobalError();
    const std::vector<MessageEntry> before = rig.Snapshot();

    rig.Tick(static_cast<unsigned>(timerId));

    const std::vector<MessageEntry> after = rig.Snapshot();
    QCOMPARE(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i)
        QVERIFY2(SameEntry(after[i], before[i]), before[i].m_szName);
    QCOMPARE(rig.state.DaySeen(), At("1997-03-04 23:00"));
    QVERIFY(rig.log.empty());
    QCOMPARE(rig.host.stateQueries, 0);
    QCOMPARE(rig.store.commitCount, 0);

    // The same table with the gate open does change, so the quiet above was the gate's doing. "Daily", shown
    // yesterday, is armed for the new day before the showing pass and so comes up in the same tick.
    SchedulerRig open(now);
    fill(open);
    open.Tick(SCHEDULER_TIMER_ID);
    QCOMPARE(ToList(open.host.displayed), (QStringList{"Due", "Daily due", "Daily"}));
    QCOMPARE(open.store.commitCount, 1);
    QCOMPARE(open.state.DaySeen(), now);
}

void TestScheduler::restoredWindowShowsNothingButRearms() {
    const std::time_t now = At("1997-03-05 10:00:30");
    SchedulerRig rig(now);
    rig.host.minimized = false;
    MessageEntry& due = rig.Add(MakeEntry("Due", kEntryAt, false));
    MessageEntry& dailyDue = rig.Add(MakeEntry("Daily due", "1997-01-01 09:00", true));
    MessageEntry& runOut = rig.Add(MakeEntry("Run out", "1997-02-05 10:00", false));
    MessageEntry& daily = rig.AddShown(MakeEntry("Daily", "1997-01-01 08:00", true), At("1997-03-04 08:00"));
    MessageEntry& repeating = rig.AddShown(MakeEntry("Repeating", "1997-03-05 09:00", false, 1, 5), now - 300);
    rig.state.SetDaySeen(At("1997-03-04 23:00"));

    rig.Tick();

    QVERIFY(rig.log.empty());
    QCOMPARE(rig.host.stateQueries, 1);
    QCOMPARE(due.m_bPending, 1);
    QCOMPARE(dailyDue.m_bPending, 1);
    QCOMPARE(runOut.m_bActive, 1);
    QCOMPARE(runOut.m_bPending, 1);
    QCOMPARE(rig.store.commitCount, 0);
    QCOMPARE(daily.m_bPending, 1);
    QCOMPARE(daily.m_bShown, 0);
    QCOMPARE(repeating.m_bPending, 1);
    QCOMPARE(repeating.m_bShown, 0);
    QCOMPARE(rig.state.DaySeen(), now);
}

void TestScheduler::dueEntriesShowOneAfterAnotherInTableOrder() {
    const std::time_t start = At("1997-03-05 10:00");
    SchedulerRig rig(start);
    MessageEntry& first = rig.Add(MakeEntry("A", kEntryAt, false));
    rig.Add(MakeEntry("Later", "1997-03-05 11:00", false));
    MessageEntry& second = rig.Add(MakeEntry("B", "1997-01-01 08:00", true));
    MessageEntry& third = rig.Add(MakeEntry("C", "1997-03-05 09:00", false, 1));
    // Each display stays open for 30 s, so every entry must read the clock again.
    rig.host.duringDisplay = [&rig](const MessageEntry&) { rig.clock.Advance(30); };

    rig.Tick();

    // The every-day entry is wrapped in one more restore and minimize of its own.
    const QStringList expected =
        ShowSequence("A") + QStringList{"restore"} + ShowSequence("B") + QStringList{"minimize"} + ShowSequence("C");
    QCOMPARE(ToList(rig.log), expected);
    QCOMPARE(first.m_tLastShown, start);
    QCOMPARE(second.m_tLastShown, start + 30);
    QCOMPARE(third.m_tLastShown, start + 60);
    QCOMPARE(rig.Entry(1).m_bPending, 1);
    QVERIFY(rig.host.minimized);
}

void TestScheduler::tableChangedDuringDisplay_data() {
    QTest::addColumn<bool>("append");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("entry added") << true << QStringList{"A", "B", "C", "D"};
    QTest::newRow("entry removed") << false << QStringList{"A", "C"};
}

void TestScheduler::tableChangedDuringDisplay() {
    QFETCH(bool, append);
    QFETCH(QStringList, expected);

    SchedulerRig rig(At("1997-03-05 10:00"));
    for (const char* name : {"A", "B", "C"})
        rig.Add(MakeEntry(name, kEntryAt, false));
    bool changed = false;
    // The display's nested event loop lets the user change the table while the first message is open.
    rig.host.duringDisplay = [&](const MessageEntry&) {
        if (changed)
            return;
        changed = true;
        if (append)
            rig.Add(MakeEntry("D", kEntryAt, false));
        else
            rig.state.RemoveEntry(1);
    };

    rig.Tick();

    QCOMPARE(ToList(rig.host.displayed), expected);
}

void TestScheduler::ticksDuringDisplayRearm() {
    const std::time_t start = At("1997-03-05 23:58");
    SchedulerRig rig(start);
    MessageEntry& dated = rig.Add(MakeEntry("Dated", "1997-03-05 23:58", false, 1, 5));
    MessageEntry& daily = rig.AddShown(MakeEntry("Daily", "1997-01-01 10:00", true), At("1997-03-05 10:00"));
    std::vector<int> seen;
    // The display stays open past its repeat interval and past midnight; the timer goes on ticking meanwhile. The
    // last tick comes 61 minutes after the display began, when the minute component (1) no longer re-arms.
    rig.host.duringDisplay = [&](const MessageEntry&) {
        rig.TickAt(At("1997-03-06 00:57"));
        seen = {dated.m_bPending, daily.m_bPending, LocalDay(rig.state.DaySeen())};
        // Shown again on the new day, it must not be armed again by a later tick of that same day.
        daily.m_bPending = 0;
        daily.m_bShown = 1;
        rig.TickAt(At("1997-03-06 00:59"));
        seen.push_back(daily.m_bPending);
        // Minimized by the user while the display is open: a tick then must not open a second display.
        rig.host.minimized = true;
        rig.Tick();
    };

    rig.TickAt(start);

    QCOMPARE(ToList(rig.host.displayed), QStringList{"Dated"});
    QCOMPARE(seen, (std::vector<int>{1, 1, 6, 0}));
    // The re-arming inside the display survives it: the entry was marked shown before the display began.
    QCOMPARE(dated.m_bPending, 1);
    QCOMPARE(dated.m_bShown, 0);
    QCOMPARE(dated.m_tLastShown, start);
    QCOMPARE(daily.m_bPending, 0);
}

void TestScheduler::showDueMessageRunsTheWholeSequence() {
    SchedulerRig rig(At("1997-03-05 10:00"));
    MessageEntry& entry = rig.Add(MakeEntry("A", kEntryAt, false));
    const MessageEntry before = entry;

    rig.scheduler.ShowDueMessage(rig.host, entry);

    QCOMPARE(ToList(rig.log),
             (QStringList{"restore", "front", "attention", "beep", "display:A", "minimize", "no attention"}));
    QVERIFY(SameEntry(entry, before));
}

void TestScheduler::showDueMessageDoesNothingAfterGlobalError() {
    SchedulerRig rig(At("1997-03-05 10:00"));
    MessageEntry& entry = rig.Add(MakeEntry("A", kEntryAt, false));
    rig.state.EnterGlobalError();

    rig.scheduler.ShowDueMessage(rig.host, entry);

    QVERIFY(rig.log.empty());
    QCOMPARE(rig.prompts.beeps, 0);
}

void TestScheduler::failedSaveDuringExpiryStopsLaterDisplays() {
    const std::time_t now = At("1997-03-05 10:00:30");
    SchedulerRig rig(now);
    rig.store.failCommit = true;
    MessageEntry& runOut = rig.Add(MakeEntry("Run out", "1997-02-05 10:00", false));
    MessageEntry& due = rig.Add(MakeEntry("Due", kEntryAt, false));
    MessageEntry& daily = rig.Add(MakeEntry("Daily", "1997-01-01 09:00", true));
    // A tick that arrives while the error box is open must already find the failed state.
    int nestedTicks = 0;
    std::int32_t failedWhileBoxOpen = 0;
    rig.prompts.onBox = [&] {
        failedWhileBoxOpen = rig.state.GlobalError();
        if (nestedTicks++ == 0)
            rig.Tick();
    };

    rig.Tick();

    QCOMPARE(rig.state.GlobalError(), 1);
    QCOMPARE(ToList(rig.prompts.ErrorTexts()), QStringList{Expected::kSaveFailed});
    QCOMPARE(rig.prompts.beeps, 1);
    QCOMPARE(runOut.m_bActive, 0);
    QCOMPARE(runOut.m_bPending, 0);
    for (const MessageEntry* entry : {&due, &daily}) {
        QCOMPARE(entry->m_bPending, 0);
        QCOMPARE(entry->m_bShown, 1);
        QCOMPARE(entry->m_tLastShown, now);
    }
    // The every-day entry still moves the window around its display, but no display runs.
    const QStringList expected = {"beep", QString("error:") + Expected::kSaveFailed, "restore", "minimize"};
    QCOMPARE(ToList(rig.log), expected);
    QCOMPARE(nestedTicks, 1);
    QCOMPARE(failedWhileBoxOpen, 1);
}

QTEST_GUILESS_MAIN(TestScheduler)
#include "tst_scheduler.moc"
