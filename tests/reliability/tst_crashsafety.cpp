// A process saving the real store is killed with SIGKILL at random moments. After every kill the store must load
// without a single message and hold, byte for byte as a finished save leaves it, the table of the last save that
// finished or of the one under way: never a mixture, never a file cut short. Kill moments are drawn from a fixed
// seed, which every failure message names, and spread over the time one save takes on the machine.

#include "HammerTables.h"
#include "ReliabilityKit.h"
#include "SettingsProfileStore.h"

#include <QLockFile>
#include <QtTest>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {
using Reliability::ReadAll;
using Reliability::WriteAll;

// A running hammer: its process and the read end of its standard output.
struct HammerProcess {
    pid_t pid = -1;
    int output = -1;
};

HammerProcess StartHammer(const QString& store, int firstTable) {
    HammerProcess hammer;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return hammer;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    const QByteArray storeArg = store.toLocal8Bit();
    const QByteArray tableArg = QByteArray::number(firstTable);
    char* argv[] = {const_cast<char*>(NUDGEPOST_SAVEHAMMER), const_cast<char*>(storeArg.constData()),
                    const_cast<char*>(tableArg.constData()), nullptr};
    if (posix_spawn(&hammer.pid, NUDGEPOST_SAVEHAMMER, &actions, nullptr, argv, environ) != 0)
        hammer.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    hammer.output = fds[0];
    return hammer;
}

// Reads what the hammer has said so far into said; with a timeout, waits until wanted(said) holds or the hammer
// ends. Returns wanted(said).
template <class Wanted> bool ReadOutput(int fd, QByteArray& said, int timeoutMs, Wanted wanted) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!wanted(said)) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd p{fd, POLLIN, 0};
        const int polled = poll(&p, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            return false;
        char buffer[256];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0)
            return wanted(said);
        said.append(buffer, got);
    }
    return true;
}

int SavesReported(const QByteArray& said) {
    return static_cast<int>(said.count('s'));
}

// Kills the hammer and reaps it; returns its wait status. Its output stays open for what it said before it died.
int KillHammer(const HammerProcess& hammer) {
    ::kill(hammer.pid, SIGKILL);
    int status = 0;
    while (waitpid(hammer.pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}
} // namespace

class tst_CrashSafety : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void killedSaveLeavesOneWholeTable_data();
    void killedSaveLeavesOneWholeTable();

private:
    void MeasureSaveTime();
    QTemporaryDir m_dir;
    std::chrono::microseconds m_saveTime{0};      // how long one save of a running hammer takes on this machine
    std::chrono::microseconds m_firstSaveTime{0}; // and the first save of a fresh one, counted from "ready"
    QByteArray m_reference[2];
    std::unique_ptr<SettingsProfileStore> m_referenceStore[2];
    std::unique_ptr<Reliability::LoadedState> m_expected[2];
};

void tst_CrashSafety::initTestCase() {
    QVERIFY(m_dir.isValid());
    // What a finished save of each table leaves, made by the same save path in this process.
    for (int table = 0; table < 2; ++table) {
        const QString path = m_dir.filePath(QStringLiteral("reference-%1.conf").arg(table));
        {
            SettingsProfileStore store(path);
            RecordingPrompts prompts;
            ReminderModel state({&store, &prompts, {}, {}});
            state.AllocateTable();
            Hammer::Fill(state, table);
            QVERIFY(state.SaveAll());
        }
        m_reference[table] = ReadAll(path);
        QVERIFY(m_reference[table].size() > 100 * (MESSAGE_NAME_SIZE + MESSAGE_TEXT_SIZE) / 2);
        m_referenceStore[table] = std::make_unique<SettingsProfileStore>(path);
        m_expected[table] = std::make_unique<Reliability::LoadedState>(*m_referenceStore[table]);
        QVERIFY2(m_expected[table]->prompts.boxes.empty(), m_expected[table]->FirstError().c_str());
        QCOMPARE(m_expected[table]->state->Count(), MESSAGE_TABLE_CAPACITY);
    }
    QVERIFY(m_reference[0].size() != m_reference[1].size());

    MeasureSaveTime();
}

void tst_CrashSafety::MeasureSaveTime() {
    // The kill moments are spread over the length of a save, so that they fall inside saves on any machine. It is
    // measured again for every row: other tests running beside this one change it. A fresh process pays for its
    // first save far more than for the later ones on some machines (pages, lazy binding, sanitizer shadow memory),
    // so the first save is timed apart, from fresh hammers on a store like the one the kills find.
    const QString scratch = m_dir.filePath(QStringLiteral("timing.conf"));
    m_firstSaveTime = std::chrono::microseconds{0};
    for (int sample = 0; sample < 3; ++sample) {
        QVERIFY(WriteAll(scratch, m_reference[sample % 2]));
        HammerProcess hammer = StartHammer(scratch, 1 - sample % 2);
        QVERIFY(hammer.pid > 0);
        QByteArray said;
        const bool ready =
            ReadOutput(hammer.output, said, 20'000, [](const QByteArray& s) { return s.contains("ready\n"); });
        const auto start = std::chrono::steady_clock::now();
        const bool saved =
            ready && ReadOutput(hammer.output, said, 20'000, [](const QByteArray& s) { return SavesReported(s) >= 1; });
        const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
        KillHammer(hammer);
        close(hammer.output);
        QVERIFY(saved);
        m_firstSaveTime = std::max(m_firstSaveTime, took);
    }

    HammerProcess hammer = StartHammer(scratch, 0);
    QVERIFY(hammer.pid > 0);
    QByteArray said;
    const bool started =
        ReadOutput(hammer.output, said, 20'000, [](const QByteArray& s) { return SavesReported(s) >= 1; });
    const auto first = std::chrono::steady_clock::now();
    const bool timed =
        started && ReadOutput(hammer.output, said, 60'000, [](const QByteArray& s) { return SavesReported(s) >= 11; });
    m_saveTime = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - first) / 10;
    KillHammer(hammer);
    close(hammer.output);
    QVERIFY(timed);
    qInfo("one save of 100 full entries takes %lld us here, the first save of a fresh process %lld us",
          static_cast<long long>(m_saveTime.count()), static_cast<long long>(m_firstSaveTime.count()));
}

void tst_CrashSafety::killedSaveLeavesOneWholeTable_data() {
    QTest::addColumn<unsigned>("seed");
    QTest::addColumn<int>("kills");
    QTest::addColumn<int>("maxSavesFirst"); // the kill waits for 0..this many finished saves
    QTest::addColumn<double>("maxDelay");   // and then a random delay of up to this many save times

    QTest::newRow("kills in the first save") << 20260101u << 100 << 0 << 1.5;
    QTest::newRow("kills after up to three saves") << 20260202u << 100 << 3 << 1.5;
}

void tst_CrashSafety::killedSaveLeavesOneWholeTable() {
    QFETCH(unsigned, seed);
    QFETCH(int, kills);
    QFETCH(int, maxSavesFirst);
    QFETCH(double, maxDelay);

    const QString folder = m_dir.filePath(QStringLiteral("run-%1").arg(seed));
    QVERIFY(QDir().mkpath(folder));
    const QString store = folder + QStringLiteral("/nudgepost.conf");
    // The store holds a whole table before the first run, as it would after any earlier save.
    QVERIFY(WriteAll(store, m_reference[0]));
    int held = 0;

    MeasureSaveTime();
    if (QTest::currentTestFailed())
        return;
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> savesFirst(0, maxSavesFirst);
    int leftovers = 0;
    int seen[2] = {0, 0};
    int interrupted = 0;
    // Should the machine's pace change so much that no kill outlives a save, further rounds with twice the delays
    // follow; what a kill leaves behind is judged the same in every round.
    const int rounds = 6;
    int total = kills;
    for (int kill = 0; kill < total; ++kill) {
        const int round = kill < kills ? 0 : 1 + (kill - kills) / (kills / 5);
        if (kill == total - 1 && !(seen[0] > 0 && seen[1] > 0) && round + 1 < rounds)
            total += kills / 5;
        const int firstTable = kill % 2;
        const int waitSaves = savesFirst(rng);
        // The save the kill aims at is the first of the process, or one of a running hammer.
        const auto aimedSave = waitSaves == 0 ? m_firstSaveTime : m_saveTime;
        std::uniform_int_distribution<long long> delays(
            0, static_cast<long long>(maxDelay * (1 << round) * aimedSave.count()));
        const long long delayUs = delays(rng);
        const std::string where = "seed " + std::to_string(seed) + ", kill " + std::to_string(kill + 1) + " of " +
                                  std::to_string(total) + ", " + std::to_string(delayUs) + " us after save " +
                                  std::to_string(waitSaves);

        HammerProcess hammer = StartHammer(store, firstTable);
        QVERIFY2(hammer.pid > 0, ("could not start " NUDGEPOST_SAVEHAMMER ", " + where).c_str());
        QByteArray said;
        const bool waited = ReadOutput(hammer.output, said, 20'000, [waitSaves](const QByteArray& s) {
            return s.contains("ready\n") && SavesReported(s) >= waitSaves;
        });
        if (waited)
            std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
        const int status = KillHammer(hammer);
        // What it wrote before it died is still in the pipe: every save it finished.
        ReadOutput(hammer.output, said, 1'000, [](const QByteArray&) { return false; });
        close(hammer.output);
        QVERIFY2(waited, ("the hammer never got that far, " + where).c_str());
        QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL,
                 ("the hammer ended before the kill with status " + std::to_string(status) + ", " + where).c_str());

        // After n finished saves the store holds the table of the n-th save, or of the one under way when the
        // kill came if that one got as far as replacing the file; before the first, what it held before.
        const int finished = SavesReported(said);
        auto tableOfSave = [&](int n) { return n == 0 ? held : (firstTable + n - 1) % 2; };
        const QByteArray bytes = ReadAll(store);
        const int table = bytes == m_reference[0] ? 0 : bytes == m_reference[1] ? 1 : -1;
        QVERIFY2(table >= 0,
                 ("the store is neither table (" + std::to_string(bytes.size()) + " bytes), " + where).c_str());
        QVERIFY2(table == tableOfSave(finished) || table == tableOfSave(finished + 1),
                 ("the store holds a table no save in flight wrote, after " + std::to_string(finished) +
                  " finished saves, " + where)
                     .c_str());
        interrupted += table == tableOfSave(finished) && tableOfSave(finished) != tableOfSave(finished + 1) ? 1 : 0;
        ++seen[table];
        held = table;

        // A kill inside a save leaves QSettings' write lock behind, and QLockFile takes it for held until it goes
        // stale: the next save would hang. The program clears what a killed save left at start, before its first
        // save; so does the next run here, and then the write lock must be free to take at once.
        leftovers += SettingsProfileStore::ClearLeftovers(store);
        {
            QLockFile writeLock(store + QStringLiteral(".lock"));
            QVERIFY2(writeLock.tryLock(0), ("the next save would wait for the write lock, " + where).c_str());
        }

        // Loaded as the program would load it on its next start; a copy keeps the check off the hammer's file.
        // A fresh name each time, so that nothing QSettings remembers of an earlier file can stand in for this one.
        const QString copy = folder + QStringLiteral("/check-%1.conf").arg(kill);
        QVERIFY(WriteAll(copy, bytes));
        SettingsProfileStore reopened(copy);
        Reliability::LoadedState loaded(reopened);
        QVERIFY2(loaded.prompts.boxes.empty(), (loaded.FirstError() + ", " + where).c_str());
        const std::string difference = Reliability::TableDifference(*loaded.state, *m_expected[table]->state);
        QVERIFY2(difference.empty(), (difference + ", " + where).c_str());
    }
    qInfo("table A found %d times, table B %d times; %d kills fell inside a save; %d files left behind were cleared",
          seen[0], seen[1], interrupted, leftovers);
    // The kills must have found both tables in the store, and many of them a save that had not replaced it yet.
    QVERIFY2(seen[0] > 0 && seen[1] > 0, "every kill found the same table");
    QVERIFY2(interrupted > total / 10, ("only " + std::to_string(interrupted) + " kills fell inside a save").c_str());
}

QTEST_GUILESS_MAIN(tst_CrashSafety)
#include "tst_crashsafety.moc"
