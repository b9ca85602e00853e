// Start-up: the platform choice, the one-copy-per-store guard, and the program itself started as a user would.

#include "LockFixtures.h"
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
    void lockLeftBehindIsTakenOver_data();
    void lockLeftBehindIsTakenOver();
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

void tst_Startup::lockLeftBehindIsTakenOver_data() {
    // The instance lock and the locks that guard taking it over; an empty string is one that does not exist.
    QTest::addColumn<QList<QByteArray>>("chain");
    QTest::addColumn<bool>("ownerArrivesLate"); // a copy starting right now writes its owner into the empty lock
    QTest::addColumn<SingleInstance::Role>("role");
    using namespace LockFixtures;
    const QByteArray dead = LockOwnedBy(DeadPid());
    const QByteArray empty("");
    QTest::newRow("lock of a copy that died") << QList<QByteArray>{dead} << false << SingleInstance::Role::Primary;
    QTest::newRow("empty lock of a copy that died creating it")
        << QList<QByteArray>{empty} << false << SingleInstance::Role::Primary;
    QTest::newRow("lock of a copy that died, behind an empty take-over lock")
        << QList<QByteArray>{dead, empty} << false << SingleInstance::Role::Primary;
    QTest::newRow("empty lock of a copy still starting")
        << QList<QByteArray>{empty} << true << SingleInstance::Role::Secondary;
}

void tst_Startup::lockLeftBehindIsTakenOver() {
    QFETCH(QList<QByteArray>, chain);
    QFETCH(bool, ownerArrivesLate);
    QFETCH(SingleInstance::Role, role);
    QTemporaryDir dir;
    SingleInstance probe(dir.filePath(QStringLiteral("nudgepost.conf")));
    QString link = probe.LockFileName();
    for (const QByteArray& content : chain) {
        if (!content.isNull())
            QVERIFY(LockFixtures::WriteLock(link, content));
        link += QStringLiteral(".rmlock");
    }
    // The other copy is this process, which is alive; it names itself while the claim gives it time to.
    bool graceGiven = false;
    probe.SetOwnerGrace([&] {
        graceGiven = true;
        if (ownerArrivesLate)
            LockFixtures::WriteLock(probe.LockFileName(), LockFixtures::LockOwnedBy(QCoreApplication::applicationPid()));
    });
    const SingleInstance::Role claimed = probe.Claim();
    // Only a lock naming nobody is worth waiting for.
    QCOMPARE(graceGiven, chain.contains(QByteArray("")));
    QCOMPARE(claimed, role);
    QCOMPARE(QFile::exists(probe.LockFileName()), true);
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
