// The scheduler across the calendar's seams: month and year ends, leap days, daylight-saving changes in two zones
// and dates after January 2038.

#include "SchedulerRig.h"

#include <QStringList>
#include <QTest>

namespace {
struct ZoneDays {
    const char* zone;
    // The days before, of and after the spring and autumn changes of 2024.
    const char* springBefore;
    const char* spring;
    const char* springAfter;
    const char* autumnBefore;
    const char* autumn;
    const char* autumnAfter;
};

constexpr ZoneDays kZones[] = {
    {"Europe/Berlin", "2024-03-30", "2024-03-31", "2024-04-01", "2024-10-26", "2024-10-27", "2024-10-28"},
    {"America/New_York", "2024-03-09", "2024-03-10", "2024-03-11", "2024-11-02", "2024-11-03", "2024-11-04"},
};

QString On(const char* day, const char* time) {
    return QString("%1 %2").arg(day, time);
}

// Fails the calling test when the zone's rules are not installed, which would quietly turn every case into UTC.
bool ZoneIsInstalled() {
    const std::time_t midJanuary = 1705320000; // 2024-01-15 12:00 UTC
    const std::time_t midJuly = 1721044800;    // 2024-07-15 12:00 UTC
    return LocalOffsetAt(midJanuary) != 0 && LocalOffsetAt(midJuly) != LocalOffsetAt(midJanuary);
}
} // namespace

class TestSchedulerCalendar : public QObject {
    Q_OBJECT

private slots:
    void decisions_data();
    void decisions();
    void dailyMessageOverThreeDays_data();
    void dailyMessageOverThreeDays();
};

void TestSchedulerCalendar::decisions_data() {
    QTest::addColumn<QString>("zone");
    QTest::addColumn<bool>("everyDay");
    QTest::addColumn<QString>("entryAt");
    QTest::addColumn<int>("showDays");
    QTest::addColumn<QString>("tickAt");
    QTest::addColumn<QString>("outcome");

    for (const ZoneDays& z : kZones) {
        const QString zone = z.zone;
        const auto row = [&zone](const char* name) -> QTestData& {
            return QTest::addRow("%s: %s", zone.toUtf8().constData(), name);
        };

        row("year end, just after midnight") << zone << false << "2023-12-31 23:59" << 1 << "2024-01-01 00:00:30"
                                             << "shown";
        row("year end, 59 s early") << zone << false << "2023-12-31 23:59" << 0 << "2023-12-31 23:58:01"
                                    << "shown";
        row("year end, last second") << zone << false << "2023-12-31 23:59" << 1 << "2024-01-02 23:58:59"
                                     << "shown";
        row("year end, run out") << zone << false << "2023-12-31 23:59" << 1 << "2024-01-02 23:59:00"
                                 << "expired";
        row("31st, 0 days, on 29 Feb") << zone << false << "2024-01-31 10:00" << 0 << "2024-02-29 10:00"
                                       << "waiting";
        row("31st, 0 days, on 1 Feb") << zone << false << "2024-01-31 10:00" << 0 << "2024-02-01 10:00"
                                      << "waiting";
        row("31st, 0 days, on 31 Mar") << zone << false << "2024-01-31 10:00" << 0 << "2024-03-31 09:00"
                                       << "expired";
        row("leap year, last second") << zone << false << "2024-02-28 23:00" << 1 << "2024-03-01 22:59:59"
                                      << "shown";
        row("leap year, run out") << zone << false << "2024-02-28 23:00" << 1 << "2024-03-01 23:00:00"
                                  << "expired";
        row("common year, last second") << zone << false << "2023-02-28 23:00" << 1 << "2023-03-02 22:59:59"
                                        << "shown";
        row("common year, run out") << zone << false << "2023-02-28 23:00" << 1 << "2023-03-02 23:00:00"
                                    << "expired";
        // A century year is a leap year only every fourth time: 2000 has a 29 February, 2100 has none.
        row("29 Feb 2000, a minute early") << zone << false << "2000-02-29 10:00" << 0 << "2000-02-29 09:59:00"
                                           << "waiting";
        row("29 Feb 2000, on time") << zone << false << "2000-02-29 10:00" << 0 << "2000-02-29 10:00:00"
                                    << "shown";
        row("2000, last second") << zone << false << "2000-02-28 23:00" << 1 << "2000-03-01 22:59:59" << "shown";
        row("2000, run out") << zone << false << "2000-02-28 23:00" << 1 << "2000-03-01 23:00:00" << "expired";
        row("2100, last second") << zone << false << "2100-02-28 23:00" << 1 << "2100-03-02 22:59:59" << "shown";
        row("2100, run out") << zone << false << "2100-02-28 23:00" << 1 << "2100-03-02 23:00:00" << "expired";
        row("1 Mar 2100, a minute early") << zone << false << "2100-03-01 10:00" << 0 << "2100-03-01 09:59:00"
                                          << "waiting";
        row("1 Mar 2100, on time") << zone << false << "2100-03-01 10:00" << 0 << "2100-03-01 10:00:00"
                                   << "shown";
        row("run out in February") << zone << false << "2024-01-28 10:00" << 1 << "2024-02-05 10:00"
                                   << "expired";

        row("2040, 60 s early") << zone << false << "2040-06-15 10:00" << 3 << "2040-06-15 09:59:00"
                                << "waiting";
        row("2040, 59 s early") << zone << false << "2040-06-15 10:00" << 3 << "2040-06-15 09:59:01"
                                << "shown";
        row("2040, last second") << zone << false << "2040-06-15 10:00" << 3 << "2040-06-19 09:59:59"
                                 << "shown";
        row("2040, run out") << zone << false << "2040-06-15 10:00" << 3 << "2040-06-19 10:00:00"
                             << "expired";
        row("2040, 0 days, a month later") << zone << false << "2040-06-15 10:00" << 0 << "2040-07-15 09:00"
                                           << "expired";
        row("2040, every day, 1 s early") << zone << true << "2040-06-15 10:00" << 0 << "2040-06-15 09:59:59"
                                          << "waiting";
        row("2040, every day, on time") << zone << true << "2040-06-15 10:00" << 0 << "2040-06-15 10:00:00"
                                        << "shown";
        row("1997 every day, in 2040") << zone << true << "1997-03-05 10:00" << 0 << "2040-12-31 10:00:00"
                                       << "shown";

        // A winter entry on summer days and a summer entry on winter days keep their local time of day.
        row("every day, spring change, 1 s early")
            << zone << true << "2024-01-15 10:00" << 0 << On(z.spring, "09:59:59") << "waiting";
        row("every day, spring change, on time")
            << zone << true << "2024-01-15 10:00" << 0 << On(z.spring, "10:00") << "shown";
        row("every day, after spring change, 1 s early")
            << zone << true << "2024-01-15 10:00" << 0 << On(z.springAfter, "09:59:59") << "waiting";
        row("every day, after spring change, on time")
            << zone << true << "2024-01-15 10:00" << 0 << On(z.springAfter, "10:00") << "shown";
        row("every day, autumn change, 1 s early")
            << zone << true << "2024-07-01 10:00" << 0 << On(z.autumn, "09:59:59") << "waiting";
        row("every day, autumn change, on time")
            << zone << true << "2024-07-01 10:00" << 0 << On(z.autumn, "10:00") << "shown";
        row("every day, after autumn change, 1 s early")
            << zone << true << "2024-07-01 10:00" << 0 << On(z.autumnAfter, "09:59:59") << "waiting";
        row("every day, after autumn change, on time")
            << zone << true << "2024-07-01 10:00" << 0 << On(z.autumnAfter, "10:00") << "shown";
        // Dated on the day the clock skips an hour: the date plays no part, so the time of day holds on later days.
        row("every day dated on spring change at 03:30, 02:30 later")
            << zone << true << On(z.spring, "03:30") << 0 << On(z.springAfter, "02:30") << "waiting";
        row("every day dated on spring change at 03:30, 03:29:59 later")
            << zone << true << On(z.spring, "03:30") << 0 << On(z.springAfter, "03:29:59") << "waiting";
        row("every day dated on spring change at 03:30, 03:30 later")
            << zone << true << On(z.spring, "03:30") << 0 << On(z.springAfter, "03:30") << "shown";
        row("every day dated on spring change at 02:30, 02:29:59 later")
            << zone << true << On(z.spring, "02:30") << 0 << On(z.springAfter, "02:29:59") << "waiting";
        row("every day dated on spring change at 02:30, 02:30 later")
            << zone << true << On(z.spring, "02:30") << 0 << On(z.springAfter, "02:30") << "shown";

        // Days to show count whole days of elapsed time: the short spring day moves the end an hour later on the
        // clock, the long autumn day an hour earlier.
        const QString springEntry = On(z.springBefore, "10:00");
        row("1 day over spring change, same clock time")
            << zone << false << springEntry << 1 << On(z.springAfter, "10:00") << "shown";
        row("1 day over spring change, last second")
            << zone << false << springEntry << 1 << On(z.springAfter, "10:59:59") << "shown";
        row("1 day over spring change, run out")
            << zone << false << springEntry << 1 << On(z.springAfter, "11:00") << "expired";
        const QString autumnEntry = On(z.autumnBefore, "10:00");
        row("1 day over autumn change, last second")
            << zone << false << autumnEntry << 1 << On(z.autumnAfter, "08:59:59") << "shown";
        row("1 day over autumn change, run out")
            << zone << false << autumnEntry << 1 << On(z.autumnAfter, "09:00") << "expired";
        // But a period never ends before its last date does: the 25 hours of the autumn day would otherwise end a
        // message for that date alone, or one whose last date it is, an hour before midnight.
        row("0 days on autumn change from 00:30, last second of its date")
            << zone << false << On(z.autumn, "00:30") << 0 << On(z.autumn, "23:59:59") << "shown";
        const QString earlyAutumnEntry = On(z.autumnBefore, "00:30");
        row("1 day from 00:30 over autumn change, last second of its last date")
            << zone << false << earlyAutumnEntry << 1 << On(z.autumn, "23:59:59") << "shown";
        row("1 day from 00:30 over autumn change, run out")
            << zone << false << earlyAutumnEntry << 1 << On(z.autumnAfter, "00:00") << "expired";
    }
}

void TestSchedulerCalendar::decisions() {
    QFETCH(QString, zone);
    QFETCH(bool, everyDay);
    QFETCH(QString, entryAt);
    QFETCH(int, showDays);
    QFETCH(QString, tickAt);
    QFETCH(QString, outcome);

    ZoneGuard guard(zone.toUtf8().constData());
    QVERIFY2(ZoneIsInstalled(), "time zone data is missing");
    const std::time_t tick = At(tickAt.toUtf8().constData());
    SchedulerRig rig(tick);
    const MessageEntry& entry = rig.Add(MakeEntry("Entry", entryAt.toUtf8().constData(), everyDay, showDays));

    rig.Tick();

    const QString actual = !rig.host.displayed.empty() ? "shown" : entry.m_bActive == 0 ? "expired" : "waiting";
    QCOMPARE(actual, outcome);
    if (outcome == "shown")
        QCOMPARE(entry.m_tLastShown, tick);
    QCOMPARE(rig.store.commitCount, outcome == "expired" ? 1 : 0);
    QCOMPARE(entry.m_bPending, outcome == "waiting" ? 1 : 0);
}

void TestSchedulerCalendar::dailyMessageOverThreeDays_data() {
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("entryAt");
    QTest::addColumn<QString>("firstDay");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("Berlin, 10:00 over the spring change")
        << "Europe/Berlin"
        << "2024-01-15 10:00"
        << "2024-03-30" << QStringList{"2024-03-30 10:00:00", "2024-03-31 10:00:00", "2024-04-01 10:00:00"};
    QTest::newRow("Berlin, 10:00 over the autumn change")
        << "Europe/Berlin"
        << "2024-07-01 10:00"
        << "2024-10-26" << QStringList{"2024-10-26 10:00:00", "2024-10-27 10:00:00", "2024-10-28 10:00:00"};
    QTest::newRow("New York, 10:00 over the spring change")
        << "America/New_York"
        << "2024-01-15 10:00"
        << "2024-03-09" << QStringList{"2024-03-09 10:00:00", "2024-03-10 10:00:00", "2024-03-11 10:00:00"};
    QTest::newRow("New York, 10:00 over the autumn change")
        << "America/New_York"
        << "2024-07-01 10:00"
        << "2024-11-02" << QStringList{"2024-11-02 10:00:00", "2024-11-03 10:00:00", "2024-11-04 10:00:00"};
    // A time the clock skips comes due at the first tick after the jump.
    QTest::newRow("Berlin, 02:30 over the spring change")
        << "Europe/Berlin"
        << "2024-01-15 02:30"
        << "2024-03-30" << QStringList{"2024-03-30 02:30:00", "2024-03-31 03:00:00", "2024-04-01 02:30:00"};
    QTest::newRow("New York, 02:30 over the spring change")
        << "America/New_York"
        << "2024-01-15 02:30"
        << "2024-03-09" << QStringList{"2024-03-09 02:30:00", "2024-03-10 03:00:00", "2024-03-11 02:30:00"};
    // A time the clock passes twice is shown only the first time.
    QTest::newRow("Berlin, 02:30 over the autumn change")
        << "Europe/Berlin"
        << "2024-07-01 02:30"
        << "2024-10-26" << QStringList{"2024-10-26 02:30:00", "2024-10-27 02:30:00", "2024-10-28 02:30:00"};
    QTest::newRow("New York, 01:30 over the autumn change")
        << "America/New_York"
        << "2024-07-01 01:30"
        << "2024-11-02" << QStringList{"2024-11-02 01:30:00", "2024-11-03 01:30:00", "2024-11-04 01:30:00"};
}

void TestSchedulerCalendar::dailyMessageOverThreeDays() {
    QFETCH(QString, zone);
    QFETCH(QString, entryAt);
    QFETCH(QString, firstDay);
    QFETCH(QStringList, expected);

    ZoneGuard guard(zone.toUtf8().constData());
    QVERIFY2(ZoneIsInstalled(), "time zone data is missing");
    const std::time_t start = At(On(firstDay.toUtf8().constData(), "00:00").toUtf8().constData());
    SchedulerRig rig(start);
    rig.Add(MakeEntry("Daily", entryAt.toUtf8().constData(), true));
    QStringList shownAt;
    rig.host.duringDisplay = [&](const MessageEntry&) { shownAt << QString::fromStdString(LocalText(rig.clock.now)); };

    // The window stays minimized and the timer fires every 10 s, as it does in the running program.
    for (std::time_t t = start; t < start + 3 * 86400; t += SCHEDULER_PERIOD_MS / 1000)
        rig.TickAt(t);

    QCOMPARE(shownAt, expected);
}

QTEST_GUILESS_MAIN(TestSchedulerCalendar)
#include "tst_schedulercalendar.moc"
