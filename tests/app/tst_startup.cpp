// Start-up: the platform choice, the one-copy-per-store guard, and the program itself started as a user would.

#include "PlatformChoice.h"
#include "SingleInstance.h"

#include <QtTest>

#include <cstring>

namespace {
QString ProgramPath() { return QCoreApplication::applicationDirPath() + QStringLiteral("/nudgepost"); }

QProcessEnvironment ProgramEnvironment(const QString& configHome) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}
} // namespace

class tst_Startup : public QObject {
    Q_OBJECT
private slots:
    void platformChoice_data();
    void platformChoice();
    void secondClaimOnTheSameStoreIsRefused();
    void differentStoresRunSideBySide();
    void secondCopyAsksTheFirstToShowItself();
    void lockOfADeadCopyIsTakenOver();
    void unusableLockFolderStartsUnguarded();
    void programStartsOnAnEmptyStoreAndASecondCopyLeaves();
};

void tst_Startup::platformChoice_data() {
    QTest::addColumn<QString>("session");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("expected");
    QTest::newRow("x11 session") << "x11" << "" << ":0" << "" << "";
    QTest::newRow("wayland with xwayland") << "wayland" << "wayland-0" << ":0" << "" << "xcb";
    QTest::newRow("wayland display alone") << "" << "wayland-0" << ":1" << "" << "xcb";
    QTest::newRow("wayland without an x server") << "wayland" << "wayland-0" << "" << "" << "";
    QTest::newRow("the user's own choice wins") << "wayland" << "wayland-0" << ":0" << "wayland" << "";
    QTest::newRow("nothing set") << "" << "" << "" << "" << "";
}

void tst_Startup::platformChoice() {
    QFETCH(QString, session);
    QFETCH(QString, wayland);
    QFETCH(QString, display);
    QFETCH(QString, chosen);
    QFETCH(QString, expected);
    auto orNull = [](const QByteArray& value) { return value.isEmpty() ? nullptr : value.constData(); };
    const QByteArray s = session.toUtf8(), w = wayland.toUtf8(), d = display.toUtf8(), c = chosen.toUtf8();
    const char* result = ChooseQtPlatform(orNull(s), orNull(w), orNull(d), orNull(c));
    QCOMPARE(QString::fromUtf8(result ? result : ""), expected);
}

void tst_Startup::secondClaimOnTheSameStoreIsRefused() {
    QTemporaryDir dir;
    const QString store = dir.filePath(QStringLiteral("Quillmoor/nudgepost.conf"));
    SingleInstance first(store);
    QCOMPARE(first.Claim(), SingleInstance::Role::Primary);
    SingleInstance second(store);
    QCOMPARE(second.Claim(), SingleInstance::Role::Secondary);
}

void tst_Startup::differentStoresRunSideBySide() {
    QTemporaryDir dir;
    SingleInstance first(dir.filePath(QStringLiteral("Quillmoor/nudgepost.conf")));
    SingleInstance renamed(dir.filePath(QStringLiteral("Quillmoor/nudgepost-copy.conf")));
    QCOMPARE(first.Claim(), SingleInstance::Role::Primary);
    QCOMPARE(renamed.Claim(), SingleInstance::Role::Primary);
    QVERIFY(SingleInstance::ServerNameFor(dir.filePath("a.conf")) != SingleInstance::ServerNameFor(dir.filePath("b.conf")));
}

void tst_Startup::secondCopyAsksTheFirstToShowItself() {
    QTemporaryDir dir;
    const QString store = dir.filePath(QStringLiteral("Quillmoor/nudgepost.conf"));
    SingleInstance first(store);
    QCOMPARE(first.Claim(), SingleInstance::Role::Primary);
    QSignalSpy activations(&first, &SingleInstance::activationRequested);
    SingleInstance second(store);
    QCOMPARE(second.Claim(), SingleInstance::Role::Secondary);
    QVERIFY(second.NotifyPrimary());
    QTRY_COMPARE(activations.count(), 1);
}

void tst_Startup::lockOfADeadCopyIsTakenOver() {
    QTemporaryDir dir;
    const QString store = dir.filePath(QStringLiteral("nudgepost.conf"));
    SingleInstance probe(store);
    // A lock file naming a process that no longer exists, as a crashed copy leaves it.
    QFile lock(probe.LockFileName());
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write("999999\nnudgepost\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();
    QCOMPARE(probe.Claim(), SingleInstance::Role::Primary);
}

void tst_Startup::unusableLockFolderStartsUnguarded() {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SingleInstance guard(dir.filePath(QStringLiteral("blocker/Quillmoor/nudgepost.conf")));
    QCOMPARE(guard.Claim(), SingleInstance::Role::Unguarded);
}

void tst_Startup::programStartsOnAnEmptyStoreAndASecondCopyLeaves() {
    QTemporaryDir config;
    const QString storeFile = config.filePath(QStringLiteral("Quillmoor/nudgepost.conf"));
    QProcess first;
    first.setProcessEnvironment(ProgramEnvironment(config.path()));
    first.start(ProgramPath(), {});
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(storeFile), 30000);

    QSettings stored(storeFile, QSettings::IniFormat);
    QTRY_COMPARE_WITH_TIMEOUT(stored.allKeys().size(), 5, 10000);
    QCOMPARE(stored.value(QStringLiteral("Configuration/Number of messages")).toInt(), 0);

    QProcess second;
    second.setProcessEnvironment(ProgramEnvironment(config.path()));
    second.start(ProgramPath(), {});
    QVERIFY(second.waitForFinished(30000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);

    first.terminate();
    QVERIFY(first.waitForFinished(30000));
}

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
