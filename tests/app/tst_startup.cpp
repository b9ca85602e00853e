// Start-up: the platform choice, the application name, the one-copy-per-store guard, and the program itself
// started as a user would. The suite runs its own session bus, so that the copies it starts reach each other there
// and nowhere else.

#include "CReminderApp.h"
#include "LockFixtures.h"
#include "PlatformChoice.h"
#include "SingleInstance.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QtTest>

#include <cstdlib>
#include <cstring>
#include <sys/file.h>
#include <sys/stat.h>
#include <xcb/xcb.h>

namespace {
QString ProgramPath() { return QCoreApplication::applicationDirPath() + QStringLiteral("/nudgepost"); }

// withBus: the suite's own session bus; otherwise an address where no bus listens and no X display, through which
// the bus library could start one of its own.
QProcessEnvironment ProgramEnvironment(const QString& configHome, bool withBus = true) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!withBus) {
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=") + configHome +
                                                                   QStringLiteral("/no-bus-here"));
        env.remove(QStringLiteral("DISPLAY"));
    }
    return env;
}

// The permission bits in octal, as ls and chmod speak of them.
QString Mode(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? QString::number(info.st_mode & 07777, 8)
                                                                    : QStringLiteral("missing");
}

// The start-up messages on an X display's root window, as a launcher and the desktop read them: each is sent in
// pieces of 20 bytes, the first of type _NET_STARTUP_INFO_BEGIN, the rest _NET_STARTUP_INFO, up to a NUL.
class StartupMessages {
public:
    StartupMessages() : m_x(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(m_x))
            return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_x)).data->root;
        // The mask is this client's own on the root window; the window manager's selection is left as it is.
        const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(m_x, m_root, XCB_CW_EVENT_MASK, &mask);
        m_begin = Atom("_NET_STARTUP_INFO_BEGIN");
        m_more = Atom("_NET_STARTUP_INFO");
        xcb_flush(m_x);
    }
    ~StartupMessages() { xcb_disconnect(m_x); }
    StartupMessages(const StartupMessages&) = delete;
    StartupMessages& operator=(const StartupMessages&) = delete;

    bool IsConnected() const { return m_root != XCB_WINDOW_NONE; }

    // The whole messages that have arrived so far.
    QList<QByteArray> Read() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_x)) {
            if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
                if (message->format == 8 && (message->type == m_begin || message->type == m_more)) {
                    QByteArray& partial = m_partial[message->window];
                    if (message->type == m_begin)
                        partial.clear();
                    const char* bytes = reinterpret_cast<const char*>(message->data.data8);
                    const qsizetype length = qstrnlen(bytes, 20);
                    partial.append(bytes, length);
                    if (length < 20)
                        m_messages.append(std::exchange(partial, QByteArray()));
                }
            }
            std::free(event);
        }
        return m_messages;
    }

private:
    xcb_atom_t Atom(const char* name) {
        xcb_intern_atom_reply_t* reply =
            xcb_intern_atom_reply(m_x, xcb_intern_atom(m_x, 0, std::uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    }

    xcb_connection_t* m_x;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    xcb_atom_t m_begin = XCB_ATOM_NONE;
    xcb_atom_t m_more = XCB_ATOM_NONE;
    QHash<xcb_window_t, QByteArray> m_partial;
    QList<QByteArray> m_messages;
};

QByteArray AlreadyRunningLine(const QString& application, const QString& storeFile) {
    return (application + QStringLiteral(" is already running for the store ") + storeFile + QLatin1Char('\n'))
        .toLocal8Bit();
}
} // namespace

class tst_Startup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void platformChoice_data();
    void platformChoice();
    void applicationName_data();
    void applicationName();
    void secondClaimOnTheSameStoreIsRefused();
    void differentStoresRunSideBySide_data();
    void differentStoresRunSideBySide();
    void secondCopyAsksTheFirstToShowItself();
    void activationFloodAsksOncePerTurn();
    void lockLeftBehindIsTakenOver_data();
    void lockLeftBehindIsTakenOver();
    void busNameGuardsWhereNoLockCanBeWritten_data();
    void busNameGuardsWhereNoLockCanBeWritten();
    void busNameOfARunningCopyOutweighsTheLock();
    void secondStartEndsItsStartupNotification();
    void programAsSecondCopy_data();
    void programAsSecondCopy();
    void programStartsOnAnEmptyStoreAndASecondCopyLeaves_data();
    void programStartsOnAnEmptyStoreAndASecondCopyLeaves();

private:
    QProcess m_bus;
};

void tst_Startup::initTestCase() {
    // The usual mask, under which files are created readable by everyone unless the program says otherwise; the
    // copies of the program started here inherit it.
    ::umask(022);
    // Before anything in this process connects to a session bus, which Qt does once and for good.
    m_bus.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")});
    QVERIFY2(m_bus.waitForStarted(), "dbus-daemon (Debian package dbus-daemon) is needed");
    QTRY_VERIFY_WITH_TIMEOUT(m_bus.canReadLine(), 10000);
    const QByteArray address = m_bus.readLine().trimmed();
    QVERIFY(!address.isEmpty());
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    QVERIFY(QDBusConnection::sessionBus().isConnected());
}

void tst_Startup::cleanupTestCase() {
    m_bus.terminate();
    m_bus.waitForFinished();
}

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

void tst_Startup::applicationName_data() {
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("expected");
    QTest::newRow("as delivered") << "/usr/bin/nudgepost" << "nudgepost";
    QTest::newRow("windows executable") << "C:/Programs/NUDGEPOST.EXE" << "NUDGEPOST";
    QTest::newRow("more than one dot") << "C:/Programs/nudge.post.exe" << "nudge.post";
    QTest::newRow("a version after a dot") << "/opt/nudgepost.v2" << "nudgepost";
    QTest::newRow("a dot in the folder only") << "/opt/my.tools/nudgepost" << "nudgepost";
    QTest::newRow("nothing before the dot") << "/home/user/.nudgepost" << ".nudgepost";
}

void tst_Startup::applicationName() {
    QFETCH(QString, executable);
    QFETCH(QString, expected);
    QCOMPARE(CReminderApp::ApplicationNameFor(executable), expected);
}

void tst_Startup::secondClaimOnTheSameStoreIsRefused() {
    QTemporaryDir dir;
    const QString store = dir.filePath(QStringLiteral("Quillmoor/nudgepost.conf"));
    SingleInstance first(store);
    QCOMPARE(first.Claim(), SingleInstance::Role::Primary);
    QCOMPARE(Mode(first.LockFileName()), QStringLiteral("600"));
    QCOMPARE(Mode(dir.filePath(QStringLiteral("Quillmoor"))), QStringLiteral("700"));
    SingleInstance second(store);
    QCOMPARE(second.Claim(), SingleInstance::Role::Secondary);
}

void tst_Startup::differentStoresRunSideBySide_data() {
    // The other store, beside Quillmoor/nudgepost.conf; each must get a name the bus accepts.
    QTest::addColumn<QString>("other");
    QTest::newRow("renamed copy") << "Quillmoor/nudgepost-copy.conf";
    QTest::newRow("dots, spaces and letters beyond ASCII")
        << QString::fromUtf8("Qu\xc3\xafllmoor 2/n\xc3\xbc dge.post v2.conf");
    QTest::newRow("folder starting with a digit") << "9/Quillmoor/nudgepost.conf";
    const QString folder(100, QLatin1Char('x'));
    QTest::newRow("path longer than a bus name may be")
        << folder + QLatin1Char('/') + folder + QLatin1Char('/') + folder + QStringLiteral("/nudgepost.conf");
}

void tst_Startup::differentStoresRunSideBySide() {
    QFETCH(QString, other);
    QTemporaryDir dir;
    const QString firstStore = dir.filePath(QStringLiteral("Quillmoor/nudgepost.conf"));
    const QString otherStore = dir.filePath(other);
    SingleInstance first(firstStore);
    SingleInstance second(otherStore);
    QCOMPARE(first.Claim(), SingleInstance::Role::Primary);
    QCOMPARE(second.Claim(), SingleInstance::Role::Primary);
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    QVERIFY(SingleInstance::BusNameFor(firstStore) != SingleInstance::BusNameFor(otherStore));
    QVERIFY(bus->isServiceRegistered(SingleInstance::BusNameFor(firstStore)));
    QVERIFY(bus->isServiceRegistered(SingleInstance::BusNameFor(otherStore)));
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

// Each call restores and raises the window; tens of thousands of them kept the window manager busy for minutes and,
// by keeping the window restored, paused reminders. Calls that arrive within one turn of the event loop ask once.
void tst_Startup::activationFloodAsksOncePerTurn() {
    QTemporaryDir dir;
    const QString store = dir.filePath(QStringLiteral("Quillmoor/nudgepost.conf"));
    SingleInstance first(store);
    QCOMPARE(first.Claim(), SingleInstance::Role::Primary);
    QSignalSpy activations(&first, &SingleInstance::activationRequested);
    SingleInstance second(store);
    QCOMPARE(second.Claim(), SingleInstance::Role::Secondary);
    for (int turn = 1; turn <= 2; ++turn) {
        // Calls on this process's own connection are delivered at once, all before the next turn.
        for (int call = 0; call < 1000; ++call)
            QVERIFY(second.NotifyPrimary(QStringLiteral("start-%1-%2").arg(turn).arg(call)));
        QCoreApplication::processEvents();
        QCOMPARE(activations.count(), turn);
        // Each start-up id handed over becomes a message to every client of the display: the newest, and a few.
        const QStringList ids = activations.last().at(0).toStringList();
        QCOMPARE(ids.last(), QStringLiteral("start-%1-999").arg(turn));
        QVERIFY(ids.size() <= 8);
    }
}

void tst_Startup::lockLeftBehindIsTakenOver_data() {
    // The instance lock and the locks that guard taking it over; an empty string is one that does not exist.
    QTest::addColumn<QList<QByteArray>>("chain");
    QTest::addColumn<bool>("ownerArrivesLate"); // a copy starting right now writes its owner into the empty lock
    QTest::addColumn<bool>("heldElsewhere");    // a copy that runs, here or in another PID namespace, holds it
    QTest::addColumn<SingleInstance::Role>("role");
    using namespace LockFixtures;
    const QByteArray dead = LockOwnedBy(DeadPid());
    const QByteArray ours = LockOwnedBy(QCoreApplication::applicationPid());
    const QByteArray empty("");
    QTest::newRow("lock of a copy that died")
        << QList<QByteArray>{dead} << false << false << SingleInstance::Role::Primary;
    QTest::newRow("empty lock of a copy that died creating it")
        << QList<QByteArray>{empty} << false << false << SingleInstance::Role::Primary;
    QTest::newRow("lock of a copy that died, behind an empty take-over lock")
        << QList<QByteArray>{dead, empty} << false << false << SingleInstance::Role::Primary;
    QTest::newRow("empty lock of a copy still starting")
        << QList<QByteArray>{empty} << true << false << SingleInstance::Role::Secondary;
    // In a PID namespace the next copy gets the number of the copy that was killed.
    QTest::newRow("lock naming this process, left by a copy killed in a PID namespace")
        << QList<QByteArray>{ours} << false << false << SingleInstance::Role::Primary;
    QTest::newRow("lock naming this process, held by a copy in another PID namespace")
        << QList<QByteArray>{ours} << false << true << SingleInstance::Role::Secondary;
}

void tst_Startup::lockLeftBehindIsTakenOver() {
    QFETCH(QList<QByteArray>, chain);
    QFETCH(bool, ownerArrivesLate);
    QFETCH(bool, heldElsewhere);
    QFETCH(SingleInstance::Role, role);
    QTemporaryDir dir;
    SingleInstance probe(dir.filePath(QStringLiteral("nudgepost.conf")));
    QString link = probe.LockFileName();
    for (const QByteArray& content : chain) {
        if (!content.isNull())
            QVERIFY(LockFixtures::WriteLock(link, content));
        link += QStringLiteral(".rmlock");
    }
    // The owner of a QLockFile keeps an exclusive flock on it for as long as it holds it.
    QFile held(probe.LockFileName());
    auto hold = [&held] { return held.open(QIODevice::ReadOnly) && ::flock(held.handle(), LOCK_EX | LOCK_NB) == 0; };
    if (heldElsewhere)
        QVERIFY(hold());
    // The other copy is this process, which is alive; it names itself while the claim gives it time to.
    bool graceGiven = false;
    probe.SetOwnerGrace([&] {
        graceGiven = true;
        if (ownerArrivesLate && hold())
            LockFixtures::WriteLock(probe.LockFileName(), LockFixtures::LockOwnedBy(QCoreApplication::applicationPid()));
    });
    const SingleInstance::Role claimed = probe.Claim();
    // Only a lock naming nobody is worth waiting for.
    QCOMPARE(graceGiven, chain.contains(QByteArray("")));
    QCOMPARE(claimed, role);
    QCOMPARE(QFile::exists(probe.LockFileName()), true);
}

void tst_Startup::busNameGuardsWhereNoLockCanBeWritten_data() {
    QTest::addColumn<QString>("store");
    QTest::newRow("folder is a regular file") << "blocker/Quillmoor/nudgepost.conf";
    // The store's name fits the system's limit of 255, the lock's name beside it does not.
    QTest::newRow("lock name too long") << QStringLiteral("Quillmoor/%1.conf").arg(QString(245, QLatin1Char('n')));
}

// A full disk, a read-only or foreign folder, an over-long name: where the lock cannot be written, the name on the
// session bus still keeps a second copy out, and still brings the first to the front.
void tst_Startup::busNameGuardsWhereNoLockCanBeWritten() {
    QFETCH(QString, store);
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SingleInstance first(dir.filePath(store));
    QCOMPARE(first.Claim(), SingleInstance::Role::Primary);
    QVERIFY(!QFile::exists(first.LockFileName()));
    QSignalSpy activations(&first, &SingleInstance::activationRequested);
    SingleInstance second(dir.filePath(store));
    QCOMPARE(second.Claim(), SingleInstance::Role::Secondary);
    QVERIFY(second.NotifyPrimary());
    QTRY_COMPARE(activations.count(), 1);
}

// A copy whose lock could not be written runs, or one in another PID namespace whose lock was taken for left
// behind: its name on the bus keeps a later copy out, even one that gets the lock.
void tst_Startup::busNameOfARunningCopyOutweighsTheLock() {
    QTemporaryDir dir;
    const QString store = dir.filePath(QStringLiteral("Quillmoor/nudgepost.conf"));
    const QString connection = QStringLiteral("the other copy");
    QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, connection);
    const auto disconnect = qScopeGuard([&connection] { QDBusConnection::disconnectFromBus(connection); });
    QVERIFY(other.registerService(SingleInstance::BusNameFor(store)));
    SingleInstance later(store);
    QCOMPARE(later.Claim(), SingleInstance::Role::Secondary);
    QVERIFY(!QFile::exists(later.LockFileName()));
}

// Started from the menu a second time, the program brings the running copy forward; the launcher's start-up
// notification of that second start (the busy cursor, a "Starting..." entry) must end then, not time out.
void tst_Startup::secondStartEndsItsStartupNotification() {
    if (qgetenv("QT_QPA_PLATFORM") != "xcb")
        QSKIP("needs an X display with a window manager: run through tests/ui/run_framed.sh");
    StartupMessages root;
    QVERIFY(root.IsConnected());
    QTemporaryDir config;
    const QString storeFile = config.filePath(QStringLiteral("Quillmoor/nudgepost.conf"));
    QProcessEnvironment env = ProgramEnvironment(config.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(ProgramPath(), {});
    QVERIFY(first.waitForStarted());
    const auto stopFirst = qScopeGuard([&first] {
        first.terminate();
        first.waitForFinished(30000);
    });
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(storeFile), 30000);

    // As a launcher starts a program: it announces the start, then hands its id over in the environment.
    const QByteArray id = "nudgepost-test-" + QByteArray::number(QCoreApplication::applicationPid()) + "_TIME0";
    QProcess second;
    env.insert(QStringLiteral("DESKTOP_STARTUP_ID"), QString::fromLatin1(id));
    second.setProcessEnvironment(env);
    second.start(ProgramPath(), {});
    QVERIFY(second.waitForFinished(30000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(second.readAllStandardOutput(), QByteArray());
    QTRY_VERIFY2_WITH_TIMEOUT(root.Read().contains("remove: ID=" + id), root.Read().join('|').constData(), 10000);
    QCOMPARE(first.state(), QProcess::Running);
}

void tst_Startup::programAsSecondCopy_data() {
    QTest::addColumn<bool>("withBus");
    QTest::addColumn<int>("activations");
    QTest::addColumn<bool>("message");
    QTest::newRow("session bus") << true << 1 << false;
    QTest::newRow("no session bus") << false << 0 << true;
}

// The first copy is this process, holding the store's guard; the program started on the same store is the second.
void tst_Startup::programAsSecondCopy() {
    QFETCH(bool, withBus);
    QFETCH(int, activations);
    QFETCH(bool, message);
    QTemporaryDir config;
    const QString storeFile = config.filePath(QStringLiteral("Quillmoor/nudgepost.conf"));
    SingleInstance first(storeFile);
    QCOMPARE(first.Claim(), SingleInstance::Role::Primary);
    QSignalSpy activated(&first, &SingleInstance::activationRequested);

    QProcess second;
    second.setProcessEnvironment(ProgramEnvironment(config.path(), withBus));
    second.start(ProgramPath(), {});
    // The call to the first copy waits for its answer, which this process gives only from its event loop.
    QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 30000);
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(second.readAllStandardOutput(), message ? AlreadyRunningLine("nudgepost", storeFile) : QByteArray());
    QCoreApplication::processEvents();
    QCOMPARE(activated.count(), activations);
    QVERIFY(!QFile::exists(storeFile));
}

void tst_Startup::programStartsOnAnEmptyStoreAndASecondCopyLeaves_data() {
    QTest::addColumn<bool>("withBus");
    QTest::addColumn<QString>("executable"); // the program copied under this name; empty: as built
    QTest::addColumn<QString>("application");
    QTest::addColumn<bool>("relativeConfigHome"); // invalid by the base-directory rules: ~/.config instead
    QTest::newRow("session bus") << true << "" << "nudgepost" << false;
    QTest::newRow("no session bus") << false << "" << "nudgepost" << false;
    QTest::newRow("renamed, with dots") << true << "nudge.post.bin" << "nudge.post" << false;
    QTest::newRow("relative XDG_CONFIG_HOME") << true << "" << "nudgepost" << true;
}

void tst_Startup::programStartsOnAnEmptyStoreAndASecondCopyLeaves() {
    QFETCH(bool, withBus);
    QFETCH(QString, executable);
    QFETCH(QString, application);
    QFETCH(bool, relativeConfigHome);
    QTemporaryDir config;
    QString program = ProgramPath();
    if (!executable.isEmpty()) {
        program = config.filePath(executable);
        QVERIFY(QFile::copy(ProgramPath(), program));
    }
    QProcessEnvironment env = ProgramEnvironment(config.path(), withBus);
    QString configHome = config.path();
    if (relativeConfigHome) {
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral("relative"));
        env.insert(QStringLiteral("HOME"), config.filePath(QStringLiteral("home")));
        configHome = config.filePath(QStringLiteral("home/.config"));
    }
    const QString storeFile = configHome + QStringLiteral("/Quillmoor/") + application + QStringLiteral(".conf");
    QProcess first;
    first.setProcessEnvironment(env);
    first.setWorkingDirectory(config.path());
    first.start(program, {});
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(storeFile), 30000);

    QSettings stored(storeFile, QSettings::IniFormat);
    QTRY_COMPARE_WITH_TIMEOUT(stored.allKeys().size(), 5, 10000);
    QCOMPARE(stored.value(QStringLiteral("Configuration/Number of messages")).toInt(), 0);

    QProcess second;
    second.setProcessEnvironment(env);
    second.setWorkingDirectory(config.path());
    second.start(program, {});
    QVERIFY(second.waitForFinished(30000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    // Through the bus the first copy was reached and asked to come to the front; without it, the second says why
    // it ends.
    QCOMPARE(second.readAllStandardOutput(), withBus ? QByteArray() : AlreadyRunningLine(application, storeFile));
    QCOMPARE(first.state(), QProcess::Running);
    QVERIFY(!QFileInfo::exists(config.filePath(QStringLiteral("relative"))));

    first.terminate();
    QVERIFY(first.waitForFinished(30000));
}

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
