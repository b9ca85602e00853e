// The two lines of the display window that the scheduler writes: when a message was due and the running clock.

#include "ScheduleText.h"
#include "SchedulerRig.h"

#include <QTest>

class TestScheduleText : public QObject {
    Q_OBJECT

private slots:
    void scheduleLine_data();
    void scheduleLine();
    void clockLine_data();
    void clockLine();
};

void TestScheduleText::scheduleLine_data() {
    QTest::addColumn<bool>("everyDay");
    QTest::addColumn<QString>("entryAt");
    QTest::addColumn<int>("repeat");
    QTest::addColumn<QString>("expected");

    QTest::newRow("dated, repeat 15")
        << false << "1997-03-05 09:30" << 15
        << "This message was supposed to be seen first on 05.03.1997 at 09:30. It will be repeated every 15 minutes.";
    QTest::newRow("every day, repeat 5")
        << true << "1997-03-05 07:05" << 5
        << "This message is supposed to be seen every day at 07:05. It will be repeated every  5 minutes.";
    QTest::newRow("dated, no repeat") << false << "1997-03-05 09:30" << 0
                                      << "This message was supposed to be seen first on 05.03.1997 at 09:30.";
    QTest::newRow("every day, no repeat")
        << true << "1997-03-05 07:05" << 0 << "This message is supposed to be seen every day at 07:05.";
    QTest::newRow("dated, repeat 1")
        << false << "1997-03-05 09:30" << 1
        << "This message was supposed to be seen first on 05.03.1997 at 09:30. It will be repeated every minute.";
    QTest::newRow("every day, repeat 1")
        << true << "2030-12-24 23:59" << 1
        << "This message is supposed to be seen every day at 23:59. It will be repeated every minute.";
    QTest::newRow("dated, repeat 2")
        << false << "1997-03-05 09:30" << 2
        << "This message was supposed to be seen first on 05.03.1997 at 09:30. It will be repeated every  2 minutes.";
    QTest::newRow("dated, repeat 59, midnight")
        << false << "2003-02-01 00:00" << 59
        << "This message was supposed to be seen first on 01.02.2003 at 00:00. It will be repeated every 59 minutes.";
    QTest::newRow("dated, 2040") << false << "2040-12-31 23:59" << 0
                                 << "This message was supposed to be seen first on 31.12.2040 at 23:59.";
}

void TestScheduleText::scheduleLine() {
    QFETCH(bool, everyDay);
    QFETCH(QString, entryAt);
    QFETCH(int, repeat);
    QFETCH(QString, expected);

    const MessageEntry entry = MakeEntry("Entry", entryAt.toUtf8().constData(), everyDay, 0, repeat);

    QCOMPARE(QString::fromStdString(FormatScheduleLine(entry)), expected);
}

void TestScheduleText::clockLine_data() {
    QTest::addColumn<QString>("zone");
    QTest::addColumn<qint64>("moment");
    QTest::addColumn<QString>("expected");

    const qint64 july = 1719817507; // 2024-07-01 07:05:07 UTC
    QTest::newRow("UTC") << "UTC0" << july << "Current Time: 07:05:07";
    QTest::newRow("Berlin summer time") << "Europe/Berlin" << july << "Current Time: 09:05:07";
    QTest::newRow("New York summer time") << "America/New_York" << july << "Current Time: 03:05:07";
    QTest::newRow("New York, midnight") << "America/New_York" << july - 3 * 3600 - 5 * 60 - 7
                                        << "Current Time: 00:00:00";
    QTest::newRow("2040, last second of a day") << "UTC0" << qint64(2240524799) << "Current Time: 23:59:59";
}

void TestScheduleText::clockLine() {
    QFETCH(QString, zone);
    QFETCH(qint64, moment);
    QFETCH(QString, expected);

    ZoneGuard guard(zone.toUtf8().constData());

    QCOMPARE(QString::fromStdString(FormatClockLine(static_cast<std::time_t>(moment))), expected);
}

QTEST_GUILESS_MAIN(TestScheduleText)
#include "tst_scheduletext.moc"
