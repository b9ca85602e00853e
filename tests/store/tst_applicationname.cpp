// The name that names the store: the executable's file name less its last extension, on every system.

#include "ApplicationName.h"

#include <QtTest>

#include <string>

class TestApplicationName : public QObject {
    Q_OBJECT
private slots:
    void applicationName_data();
    void applicationName();
};

void TestApplicationName::applicationName_data() {
    QTest::addColumn<QByteArray>("fileName");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("as delivered on Linux") << QByteArray("nudgepost") << QByteArray("nudgepost");
    QTest::newRow("as delivered on Windows") << QByteArray("nudgepost.exe") << QByteArray("nudgepost");
    QTest::newRow("capitals kept") << QByteArray("NUDGEPOST.EXE") << QByteArray("NUDGEPOST");
    QTest::newRow("more than one dot") << QByteArray("nudge.post.exe") << QByteArray("nudge.post");
    QTest::newRow("a version after a dot") << QByteArray("nudgepost.v2") << QByteArray("nudgepost");
    QTest::newRow("nothing before the dot") << QByteArray(".nudgepost") << QByteArray(".nudgepost");
    QTest::newRow("nothing after the dot") << QByteArray("nudgepost.") << QByteArray("nudgepost");
    QTest::newRow("not ASCII") << QByteArray("erinnerung-\xc3\xa4.exe") << QByteArray("erinnerung-\xc3\xa4");
}

void TestApplicationName::applicationName() {
    QFETCH(QByteArray, fileName);
    QFETCH(QByteArray, expected);
    QCOMPARE(QByteArray::fromStdString(ApplicationNameFor(fileName.toStdString())), expected);
}

QTEST_APPLESS_MAIN(TestApplicationName)
#include "tst_applicationname.moc"
