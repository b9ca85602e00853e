// The guard of a due message's window against keys typed for another program, on a clock the test steps.

#include "KeyGuard.h"

#include <QTest>

class TestKeyGuard : public QObject {
    Q_OBJECT

private slots:
    void keys_data();
    void keys();
};

void TestKeyGuard::keys_data() {
    // A script of steps at moments in milliseconds: "show@t" the window appears (or becomes active again),
    // "key@t+" a key that acts, "key@t-" one that is held back, "hold@t+" keys are held then, "hold@t-" not.
    QTest::addColumn<QString>("script");
    QTest::newRow("a key before the window appeared acts") << "key@0+";
    QTest::newRow("the first key at once is held") << "show@100 key@100-";
    QTest::newRow("the last moment of the guard holds") << "show@100 key@1099-";
    QTest::newRow("a key after the guard acts") << "show@100 key@1100+";
    QTest::newRow("a held key holds keys on") << "show@0 key@900- key@1899- key@2899+";
    QTest::newRow("typing goes on for seconds") << "show@0 key@250- key@500- key@750- key@1000- key@1250- key@1500- "
                                                   "key@1750- key@2000- key@2250- key@2500- key@2750- key@3000- "
                                                   "hold@3999+ key@5000+";
    QTest::newRow("a key that acted holds nothing") << "show@0 key@1000+ key@1001+";
    QTest::newRow("releases are held with their keys") << "show@0 hold@0+ hold@999+ hold@1000- key@1500+";
    QTest::newRow("becoming active again holds anew") << "show@0 key@1500+ show@2000 key@2500- key@3500+";
}

void TestKeyGuard::keys() {
    QFETCH(QString, script);
    long long now = 0;
    KeyGuard guard([&now] { return now; });
    for (const QString& step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = step.split(QLatin1Char('@'));
        QVERIFY2(parts.size() == 2, qPrintable(step));
        QString moment = parts[1];
        const QChar expected = moment.back();
        if (expected == QLatin1Char('+') || expected == QLatin1Char('-'))
            moment.chop(1);
        bool isNumber = false;
        now = moment.toLongLong(&isNumber);
        QVERIFY2(isNumber, qPrintable(step));
        if (parts[0] == QLatin1String("show"))
            guard.Appeared();
        else if (parts[0] == QLatin1String("key"))
            QVERIFY2(guard.LetKeyThrough() == (expected == QLatin1Char('+')), qPrintable(step));
        else if (parts[0] == QLatin1String("hold"))
            QVERIFY2(guard.Holding() == (expected == QLatin1Char('+')), qPrintable(step));
        else
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }
}

QTEST_GUILESS_MAIN(TestKeyGuard)
#include "tst_keyguard.moc"
