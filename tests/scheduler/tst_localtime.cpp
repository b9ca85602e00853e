// Local dates and times to moments and back, in zones east and west of UTC, across the changes of the clock, past
// 2038 and up to the last minute the editor accepts.

#include "TestSupport.h"
#include "TimeCases.h"
#include "TimeMath.h"

#include <QTest>

#include <cstdio>

class TestLocalTime : public QObject {
    Q_OBJECT

private slots:
    void conversions_data();
    void conversions();
};

void TestLocalTime::conversions_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(std::size(kTimeCases)); ++i)
        QTest::newRow(kTimeCases[i].label) << i;
}

void TestLocalTime::conversions() {
    QFETCH(int, row);
    const TimeCase& c = kTimeCases[row];
    ZoneGuard zone(c.tz);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    QCOMPARE(std::sscanf(c.local, "%d-%d-%d %d:%d", &year, &month, &day, &hour, &minute), 5);

    QCOMPARE(qint64(TimeMath::EntryTime(year, month, day, hour, minute)), qint64(c.moment));

    const TimeMath::LocalParts shown = TimeMath::Local(c.moment);
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02d %02d:%02d", shown.year, shown.month, shown.day, shown.hour,
                  shown.minute);
    QCOMPARE(QString(text), QString(c.shown));
}

QTEST_GUILESS_MAIN(TestLocalTime)
#include "tst_localtime.moc"
