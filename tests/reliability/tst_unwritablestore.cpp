// A store that cannot be written, from the start or from some moment while the program runs. The tests run as
// root in CI, where permissions stop nothing, so the store is made unwritable by what stands in its path: a regular
// file where its folder should be, or a folder where the file should be. The program must say "Error in saving
// message data.", enter the failed state, and leave the store as it was: the previous complete content, or nothing.

#include "ExpectedTemplates.h"
#include "HammerTables.h"
#include "ReliabilityKit.h"
#include "Scheduler.h"
#include "SettingsProfileStore.h"

#include <QtTest>

using namespace ProfileNames;
using Reliability::ReadAll;
using Reliability::WriteAll;

namespace {
QStringList Listing(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Counts displays; the window stays minimized so that the showing pass runs.
class CountingHost : public SchedulerHost {
public:
    bool IsMainWindowMinimized() override { return true; }
    void RestoreMainWindow() override {}
    void MinimizeMainWindow() override {}
    void BringMainWindowToFront() override {}
    void RequestAttention(bool) override {}
    void RunDisplayDialog(const MessageEntry&) override { ++displays; }
    int displays = 0;
};

// A table whose first entry expired long ago, so that the first tick saves; the rest lie in the future.
void FillWithExpiredFirst(ReminderModel& state) {
    Hammer::Fill(state, 0);
    MessageEntry& expired = state.ScheduledEntry(0);
    expired.m_bActive = 1;
    expired.m_bEveryDay = 0;
    expired.m_nYear = 2001;
    expired.m_nShowDays = 1;
    for (int i = 1; i < state.Count(); ++i) {
        state.ScheduledEntry(i).m_nYear = 2090;
        state.ScheduledEntry(i).m_bEveryDay = 0;
    }
    state.SetOption(Option::MessagesActivated, 1);
}

constexpr std::time_t kNow = 1'780'000'000; // in 2026
} // namespace

class tst_UnwritableStore : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void unwritableAtStart_data();
    void unwritableAtStart();
    void becomesUnwritableWhileRunning_data();
    void becomesUnwritableWhileRunning();

private:
    QTemporaryDir m_dir;
    QString m_configHome;
};

void tst_UnwritableStore::initTestCase() {
    QVERIFY(m_dir.isValid());
    // QSettings settles its folders on first use, so the configuration home is chosen before any store exists.
    m_configHome = m_dir.filePath(QStringLiteral("config"));
    QVERIFY(QDir().mkpath(m_configHome));
    qputenv("XDG_CONFIG_HOME", m_configHome.toUtf8());
}

void tst_UnwritableStore::unwritableAtStart_data() {
    QTest::addColumn<QString>("blocker");    // what stands in the way, relative to the case's folder
    QTest::addColumn<bool>("blockerIsFile"); // a regular file, or else a folder
    QTest::addColumn<QString>("storeFile");  // relative to the case's folder; empty: the program's own store

    QTest::newRow("folder is a regular file") << "blocked" << true << "blocked/nudgepost.conf";
    QTest::newRow("store file is a folder") << "nudgepost.conf" << false << "nudgepost.conf";
    QTest::newRow("organisation folder is a regular file") << "" << true << "";
}

// The first start writes the default settings; here that first save fails.
void tst_UnwritableStore::unwritableAtStart() {
    QFETCH(QString, blocker);
    QFETCH(bool, blockerIsFile);
    QFETCH(QString, storeFile);

    static int caseNumber = 0;
    const QString folder = m_dir.filePath(QStringLiteral("start-%1").arg(++caseNumber));
    QVERIFY(QDir().mkpath(folder));
    const QByteArray blockerBytes = "not a folder\n";
    std::unique_ptr<SettingsProfileStore> store;
    QString watched;
    if (storeFile.isEmpty()) {
        // The program's own constructor: <config>/<organisation>/<application>.conf.
        const QString organisation = QStringLiteral("BlockedOrganisation%1").arg(caseNumber);
        watched = m_configHome;
        QVERIFY(WriteAll(m_configHome + QLatin1Char('/') + organisation, blockerBytes));
        store = std::make_unique<SettingsProfileStore>(organisation, QStringLiteral("nudgepost"));
    } else {
        watched = folder;
        const QString path = folder + QLatin1Char('/') + blocker;
        QVERIFY(blockerIsFile ? WriteAll(path, blockerBytes) : QDir().mkpath(path));
        store = std::make_unique<SettingsProfileStore>(folder + QLatin1Char('/') + storeFile);
    }
    const QStringList before = Listing(watched);

    Reliability::LoadedState loaded(*store, kNow);
    QCOMPARE(loaded.prompts.ErrorTexts(), std::vector<std::string>{Expected::kSaveFailed});
    QCOMPARE(loaded.state->GlobalError(), 1);

    // In the failed state the scheduler does nothing, and later saves fail the same way.
    CountingHost host;
    Scheduler(*loaded.state).OnTimer(host, SCHEDULER_TIMER_ID);
    QCOMPARE(host.displays, 0);
    QVERIFY(!loaded.state->SaveAll());
    QCOMPARE(loaded.state->GlobalError(), 1);

    // Nothing was written anywhere: no store, no temporary file, no lock left behind, the blocker untouched.
    QCOMPARE(Listing(watched), before);
    if (!storeFile.isEmpty() && !blockerIsFile)
        QCOMPARE(Listing(folder + QLatin1Char('/') + blocker), QStringList());
    if (blockerIsFile && !storeFile.isEmpty())
        QCOMPARE(ReadAll(folder + QLatin1Char('/') + blocker), blockerBytes);
}

void tst_UnwritableStore::becomesUnwritableWhileRunning_data() {
    QTest::addColumn<bool>("replaceFolder"); // the folder becomes a regular file; else the file becomes a folder
    QTest::addColumn<bool>("saveByTick");    // the scheduler's expiry saves; else a change made by the user

    QTest::newRow("folder replaced, user's change") << true << false;
    QTest::newRow("folder replaced, expiry in a tick") << true << true;
    QTest::newRow("file replaced by a folder, user's change") << false << false;
    QTest::newRow("file replaced by a folder, expiry in a tick") << false << true;
}

void tst_UnwritableStore::becomesUnwritableWhileRunning() {
    QFETCH(bool, replaceFolder);
    QFETCH(bool, saveByTick);

    static int caseNumber = 0;
    const QString folder = m_dir.filePath(QStringLiteral("running-%1/Quillmoor").arg(++caseNumber));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/nudgepost.conf");

    // A complete store, as an earlier run left it.
    {
        SettingsProfileStore store(path);
        Reliability::LoadedState first(store, kNow);
        FillWithExpiredFirst(*first.state);
        QVERIFY(first.state->SaveAll());
    }
    const QByteArray previous = ReadAll(path);
    QVERIFY(previous.size() > 100'000);

    SettingsProfileStore store(path);
    Reliability::LoadedState running(store, kNow);
    QVERIFY2(running.prompts.boxes.empty(), running.FirstError().c_str());
    QCOMPARE(running.state->Count(), MESSAGE_TABLE_CAPACITY);

    // The store's place is taken away under the running program.
    const QString movedAway = folder + QStringLiteral(".moved");
    const QByteArray blockerBytes = "not a folder\n";
    if (replaceFolder) {
        QVERIFY(QDir().rename(folder, movedAway));
        QVERIFY(WriteAll(folder, blockerBytes));
    } else {
        QVERIFY(QDir().mkpath(movedAway));
        QVERIFY(QFile::rename(path, movedAway + QStringLiteral("/nudgepost.conf")));
        QVERIFY(QDir().mkpath(path));
    }

    CountingHost host;
    if (saveByTick) {
        Scheduler(*running.state).OnTimer(host, SCHEDULER_TIMER_ID);
        QCOMPARE(running.state->ScheduledEntry(0).m_bActive, 0);
    } else {
        running.state->RemoveEntry(3);
        QVERIFY(!running.state->SaveAll());
    }
    QCOMPARE(running.prompts.ErrorTexts(), std::vector<std::string>{Expected::kSaveFailed});
    QCOMPARE(running.state->GlobalError(), 1);
    Scheduler(*running.state).OnTimer(host, SCHEDULER_TIMER_ID);
    QCOMPARE(host.displays, 0);
    QCOMPARE(running.prompts.boxes.size(), std::size_t(1));

    // Nothing was written into what stands in the store's place.
    if (replaceFolder)
        QCOMPARE(ReadAll(folder), blockerBytes);
    else
        QCOMPARE(Listing(path), QStringList());

    // Put back, the store holds exactly what it held before: the failed save wrote nothing, not even in part.
    if (replaceFolder) {
        QVERIFY(QFile::remove(folder));
        QVERIFY(QDir().rename(movedAway, folder));
    } else {
        QVERIFY(QDir().rmdir(path));
        QVERIFY(QFile::rename(movedAway + QStringLiteral("/nudgepost.conf"), path));
    }
    QCOMPARE(ReadAll(path), previous);
    QStringList leftovers = Listing(folder);
    leftovers.removeAll(QStringLiteral("nudgepost.conf"));
    QCOMPARE(leftovers, QStringList());

    // Read from a copy: the running program's QSettings still holds its unsaved changes for this path.
    const QString copy = m_dir.filePath(QStringLiteral("restart-%1.conf").arg(caseNumber));
    QVERIFY(QFile::copy(path, copy));
    SettingsProfileStore restarted(copy);
    Reliability::LoadedState reloaded(restarted, kNow);
    QVERIFY2(reloaded.prompts.boxes.empty(), reloaded.FirstError().c_str());
    QCOMPARE(reloaded.state->Count(), MESSAGE_TABLE_CAPACITY);
    QCOMPARE(reloaded.state->ScheduledEntry(0).m_bActive, 1);
}

QTEST_GUILESS_MAIN(tst_UnwritableStore)
#include "tst_unwritablestore.moc"
