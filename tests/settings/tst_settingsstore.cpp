// The real settings store: QSettings files in a temporary configuration folder.

#include "LockFixtures.h"
#include "ReminderModel.h"
#include "SettingsProfileStore.h"
#include "StoreFixtures.h"
#include "TestSupport.h"

#include <QtTest>

#include <QLockFile>

#include <cstring>

using namespace ProfileNames;

namespace {
struct Loaded {
    Loaded(ProfileStore& store, std::time_t now = 1'700'000'000) : clock(now) {
        ReminderServices services;
        services.store = &store;
        services.prompts = &prompts;
        services.clock = clock.AsClock();
        state = std::make_unique<ReminderModel>(services);
        state->AllocateTable();
        state->LoadAll();
    }
    RecordingPrompts prompts;
    FakeClock clock;
    std::unique_ptr<ReminderModel> state;
};

void WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

MessageEntry AwkwardEntry(int i) {
    MessageEntry e{};
    // Characters an INI file must escape or quote, non-ASCII text and the longest texts that fit.
    const std::string specials = "a=b; c, d \"quoted\" %percent% \\back\\ [section] #hash @at\ttab";
    std::string name = std::to_string(i) + " " + specials + " \xC3\xA4\xE2\x82\xAC";
    std::string text = "Line one\r\nLine two, \xE6\x97\xA5\xE6\x9C\xAC " + specials;
    if (i == 0)
        name = std::string(199, 'N');
    if (i == 1)
        text = std::string(997, 'T') + "\xC3\xA9";
    if (i == 2)
        name = "@Variant(\\0\\0)";
    std::strncpy(e.m_szName, name.c_str(), sizeof e.m_szName - 1);
    std::strncpy(e.m_szText, text.c_str(), sizeof e.m_szText - 1);
    e.m_nDay = 1 + i % 31;
    e.m_nMonth = 1 + i % 12;
    e.m_nYear = 1996 + i * 80;
    e.m_nMinute = i % 60;
    e.m_nHour = i % 24;
    e.m_nShowDays = i * 3;
    e.m_nRepeatMinutes = i % 60;
    e.m_bActive = i % 2;
    e.m_bEveryDay = (i / 2) % 2;
    return e;
}
} // namespace

class tst_SettingsStore : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void storeLivesUnderOrganizationAndApplication();
    void firstStartWritesExactlyFiveValues_data();
    void firstStartWritesExactlyFiveValues();
    void roundTripOfFullTableIsExact();
    void handEditedValues_data();
    void handEditedValues();
    void garbageFileIsRepairedAndRewritten();
    void partlyDamagedFileKeepsWhatReads();
    void unwritableStoreFailsTheSave();
    void saveSucceedsAgainOnceTheCauseIsGone_data();
    void saveSucceedsAgainOnceTheCauseIsGone();
    void abandonedWriteLock_data();
    void abandonedWriteLock();
    void integersWrittenAreIntegersReadBack_data();
    void integersWrittenAreIntegersReadBack();

private:
    QTemporaryDir m_config;
    QTemporaryDir m_system;
};

void tst_SettingsStore::initTestCase() {
    QVERIFY(m_config.isValid());
    // QSettings settles its folders on first use, so the folder is chosen before any store exists.
    qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
    // The system-wide folder, where an administrator's settings would lie.
    QVERIFY(m_system.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, m_system.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, m_system.path());
}

void tst_SettingsStore::storeLivesUnderOrganizationAndApplication() {
    SettingsProfileStore store(QStringLiteral("Quillmoor"), QStringLiteral("nudgepost"));
    QCOMPARE(store.FileName(), m_config.path() + QStringLiteral("/Quillmoor/nudgepost.conf"));
    QCOMPARE(SettingsProfileStore::FileNameFor(QStringLiteral("Quillmoor"), QStringLiteral("nudgepost")),
             store.FileName());
    SettingsProfileStore renamed(QStringLiteral("Quillmoor"), QStringLiteral("nudgepost-copy"));
    QVERIFY(renamed.FileName() != store.FileName());
}

void tst_SettingsStore::firstStartWritesExactlyFiveValues_data() {
    QTest::addColumn<bool>("othersFiles");
    QTest::newRow("no other files") << false;
    // Files of the system and of the organisation as a whole are not the user's store and must not be read.
    QTest::newRow("system and organisation files") << true;
}

void tst_SettingsStore::firstStartWritesExactlyFiveValues() {
    QFETCH(bool, othersFiles);
    const QByteArray oneMessage = "[Configuration]\nNumber%20of%20messages=1\nShow%20minimized=1\n"
                                  "[Messages]\nMessageName0=Foreign\nMessageText0=Not yours\nMessageDay0=1\n"
                                  "MessageMonth0=1\nMessageYear0=2000\nMessageMinute0=0\nMessageHour0=0\n"
                                  "MessageShowTime0=0\nMessageShowEveryTime0=0\nMessageActive0=1\nShowEveryDay0=0\n";
    const QStringList others = {m_system.path() + QStringLiteral("/Quillmoor/first-start.conf"),
                                m_system.path() + QStringLiteral("/Quillmoor.conf"),
                                m_config.path() + QStringLiteral("/Quillmoor.conf")};
    if (othersFiles) {
        for (const QString& path : others)
            WriteFile(path, oneMessage);
    }
    const auto removeOthers = qScopeGuard([&others] {
        for (const QString& path : others)
            QFile::remove(path);
    });
    QFile::remove(m_config.path() + QStringLiteral("/Quillmoor/first-start.conf"));

    SettingsProfileStore store(QStringLiteral("Quillmoor"), QStringLiteral("first-start"));
    Loaded loaded(store);
    QCOMPARE(loaded.state->Count(), 0);
    QCOMPARE(loaded.state->IsOn(Option::ShowMinimized), 0);
    QVERIFY(loaded.prompts.boxes.empty());
    QCOMPARE(loaded.state->GlobalError(), 0);

    QSettings file(store.FileName(), QSettings::IniFormat);
    QCOMPARE(file.childGroups(), QStringList{QStringLiteral("Configuration")});
    file.beginGroup(QStringLiteral("Configuration"));
    QStringList keys = file.childKeys();
    keys.sort();
    QCOMPARE(keys, (QStringList{"Activated messages", "Number of messages", "Show minimized", "Show warnings",
                                "Tooltips"}));
    QCOMPARE(file.value(QStringLiteral("Number of messages")).toInt(), 0);
    QCOMPARE(file.value(QStringLiteral("Show minimized")).toInt(), 0);
    QCOMPARE(file.value(QStringLiteral("Tooltips")).toInt(), 1);
}

void tst_SettingsStore::roundTripOfFullTableIsExact() {
    SettingsProfileStore store(QStringLiteral("Quillmoor"), QStringLiteral("round-trip"));
    Loaded first(store);
    for (int i = 0; i < MESSAGE_TABLE_CAPACITY; ++i)
        QVERIFY(first.state->AppendEntry(AwkwardEntry(i)));
    QVERIFY(first.state->SaveAll());

    SettingsProfileStore reopened(QStringLiteral("Quillmoor"), QStringLiteral("round-trip"));
    Loaded second(reopened);
    QVERIFY2(second.prompts.boxes.empty(), second.prompts.boxes.empty() ? "" : second.prompts.boxes[0].text.c_str());
    QCOMPARE(second.state->Count(), MESSAGE_TABLE_CAPACITY);
    for (int i = 0; i < MESSAGE_TABLE_CAPACITY; ++i) {
        const MessageEntry& a = first.state->ScheduledEntry(i);
        const MessageEntry& b = second.state->ScheduledEntry(i);
        QCOMPARE(QByteArray(b.m_szName), QByteArray(a.m_szName));
        QCOMPARE(QByteArray(b.m_szText), QByteArray(a.m_szText));
        QCOMPARE((QList<int>{b.m_nDay, b.m_nMonth, b.m_nYear, b.m_nMinute, b.m_nHour, b.m_nShowDays,
                             b.m_nRepeatMinutes, b.m_bActive, b.m_bEveryDay}),
                 (QList<int>{a.m_nDay, a.m_nMonth, a.m_nYear, a.m_nMinute, a.m_nHour, a.m_nShowDays,
                             a.m_nRepeatMinutes, a.m_bActive, a.m_bEveryDay}));
    }
}

void tst_SettingsStore::handEditedValues_data() {
    QTest::addColumn<QByteArray>("messageLines");
    QTest::addColumn<int>("expectedCount");
    QTest::addColumn<QByteArray>("expectedName");
    QTest::addColumn<int>("expectedDay");

    const QByteArray rest = "MessageText0=Hello\nMessageMonth0=3\nMessageYear0=2026\nMessageMinute0=0\n"
                            "MessageHour0=9\nMessageShowTime0=0\nMessageShowEveryTime0=0\nMessageActive0=1\n"
                            "ShowEveryDay0=0\n";
    QTest::newRow("plain") << ("MessageName0=Dentist\nMessageDay0=4\n" + rest) << 1 << QByteArray("Dentist") << 4;
    QTest::newRow("number with blanks") << ("MessageName0=Dentist\nMessageDay0=  4  \n" + rest) << 1
                                        << QByteArray("Dentist") << 4;
    QTest::newRow("unquoted commas keep the whole name")
        << ("MessageName0=Milk, eggs, bread\nMessageDay0=4\n" + rest) << 1 << QByteArray("Milk, eggs, bread") << 4;
    QTest::newRow("day that is not a number is corrupt")
        << ("MessageName0=Dentist\nMessageDay0=four\n" + rest) << 0 << QByteArray() << 0;
    QTest::newRow("day beyond 32 bits is corrupt")
        << ("MessageName0=Dentist\nMessageDay0=99999999999\n" + rest) << 0 << QByteArray() << 0;
}

void tst_SettingsStore::handEditedValues() {
    QFETCH(QByteArray, messageLines);
    QFETCH(int, expectedCount);
    QFETCH(QByteArray, expectedName);
    QFETCH(int, expectedDay);

    const QString path = m_config.path() + QStringLiteral("/hand/%1.conf").arg(QTest::currentDataTag());
    WriteFile(path, "[Configuration]\nNumber of messages=1\nActivated messages=1\nTooltips=1\nShow warnings=1\n"
                    "Show minimized=0\n\n[Messages]\n" +
                        messageLines);
    SettingsProfileStore store(path);
    Loaded loaded(store);
    QCOMPARE(loaded.state->Count(), expectedCount);
    if (expectedCount == 1) {
        QCOMPARE(QByteArray(loaded.state->ScheduledEntry(0).m_szName), expectedName);
        QCOMPARE(loaded.state->ScheduledEntry(0).m_nDay, expectedDay);
        QVERIFY(loaded.prompts.boxes.empty());
    } else {
        QCOMPARE(loaded.prompts.ErrorTexts(), std::vector<std::string>{StoreTexts::kCorrupt});
    }
}

void tst_SettingsStore::garbageFileIsRepairedAndRewritten() {
    const QString path = m_config.path() + QStringLiteral("/garbage/nudgepost.conf");
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(char((i * 7919) % 256));
    WriteFile(path, garbage);
    {
        SettingsProfileStore store(path);
        QFile copy(store.DamagedCopy());
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), garbage);
        Loaded loaded(store);
        QCOMPARE(loaded.state->GlobalError(), 0);
        QCOMPARE(loaded.state->Count(), 0);
        QVERIFY(loaded.state->AppendEntry(AwkwardEntry(5)));
        QVERIFY(loaded.state->SaveAll());
    }
    SettingsProfileStore reopened(path);
    Loaded again(reopened);
    QVERIFY(again.prompts.boxes.empty());
    QCOMPARE(again.state->Count(), 1);
}

void tst_SettingsStore::partlyDamagedFileKeepsWhatReads() {
    const QString path = m_config.path() + QStringLiteral("/partly/nudgepost.conf");
    WriteFile(path, "[Configuration]\nNumber of messages=1\nActivated messages=1\nTooltips=0\nShow warnings=1\n"
                    "Show minimized=0\na line that is no value\n[Messages]\nMessageName0=Keep me\n"
                    "MessageText0=t\nMessageDay0=1\nMessageMonth0=2\nMessageYear0=2027\nMessageMinute0=0\n"
                    "MessageHour0=8\nMessageShowTime0=0\nMessageShowEveryTime0=0\nMessageActive0=1\n"
                    "ShowEveryDay0=0\n");
    SettingsProfileStore store(path);
    QVERIFY(!store.DamagedCopy().isEmpty());
    Loaded loaded(store);
    QVERIFY(loaded.prompts.boxes.empty());
    QCOMPARE(loaded.state->Count(), 1);
    QCOMPARE(QByteArray(loaded.state->ScheduledEntry(0).m_szName), QByteArray("Keep me"));
    QCOMPARE(loaded.state->IsOn(Option::Tooltips), 0);
    QVERIFY(loaded.state->SaveAll());
    QCOMPARE(loaded.state->GlobalError(), 0);
}

void tst_SettingsStore::unwritableStoreFailsTheSave() {
    // A folder that is a regular file cannot hold the store, whoever runs the test.
    const QString blocker = m_config.path() + QStringLiteral("/blocker");
    WriteFile(blocker, "not a folder");
    SettingsProfileStore store(blocker + QStringLiteral("/Quillmoor/nudgepost.conf"));
    Loaded loaded(store);
    QCOMPARE(loaded.prompts.ErrorTexts(), std::vector<std::string>{StoreTexts::kSaveFailed});
    QCOMPARE(loaded.state->GlobalError(), 1);
    // The table in memory keeps what it holds after a failed save.
    QVERIFY(loaded.state->AppendEntry(AwkwardEntry(3)));
    QVERIFY(!loaded.state->SaveAll());
    QCOMPARE(loaded.state->Count(), 1);
    QCOMPARE(QByteArray(loaded.state->ScheduledEntry(0).m_szName), QByteArray(AwkwardEntry(3).m_szName));
}

void tst_SettingsStore::saveSucceedsAgainOnceTheCauseIsGone_data() {
    QTest::addColumn<bool>("unreadableAtStart");
    QTest::newRow("a save failed while running") << false;
    // What could not be read loaded as a first start; writing it later would put defaults over the user's list.
    QTest::newRow("the store could not be read at start") << true;
}

void tst_SettingsStore::saveSucceedsAgainOnceTheCauseIsGone() {
    QFETCH(bool, unreadableAtStart);
    const QString fileName = SettingsProfileStore::FileNameFor(QStringLiteral("Quillmoor"), QStringLiteral("recovering"));
    QFile::remove(fileName);
    // A folder where the file must be cannot be read or written, whoever runs the test.
    if (unreadableAtStart)
        QVERIFY(QDir().mkpath(fileName));
    SettingsProfileStore store(QStringLiteral("Quillmoor"), QStringLiteral("recovering"));
    Loaded loaded(store);
    QVERIFY(loaded.state->AppendEntry(AwkwardEntry(3)));
    if (!unreadableAtStart) {
        QVERIFY(loaded.prompts.boxes.empty());
        QVERIFY(QFile::remove(fileName));
        QVERIFY(QDir().mkdir(fileName));
        QVERIFY(!loaded.state->SaveAll());
    }
    QCOMPARE(loaded.prompts.ErrorTexts(), std::vector<std::string>{StoreTexts::kSaveFailed});

    QVERIFY(QDir().rmdir(fileName));
    loaded.prompts.Clear();
    loaded.state->SetOption(Option::Tooltips, 0);
    if (unreadableAtStart) {
        QVERIFY(!loaded.state->SaveAll());
        QVERIFY(!QFile::exists(fileName));
        return;
    }
    QVERIFY(loaded.state->SaveAll());
    QVERIFY(loaded.prompts.boxes.empty());
    QSettings file(store.FileName(), QSettings::IniFormat);
    QCOMPARE(file.value(QStringLiteral("Configuration/Number of messages")).toInt(), 1);
    QCOMPARE(file.value(QStringLiteral("Configuration/Tooltips")).toInt(), 0);
    QCOMPARE(file.value(QStringLiteral("Messages/MessageName0")).toString().toStdString(),
             std::string(AwkwardEntry(3).m_szName));
    QCOMPARE(file.value(QStringLiteral("Messages/ShowEveryDay0")).toInt(), AwkwardEntry(3).m_bEveryDay);
}

void tst_SettingsStore::abandonedWriteLock_data() {
    // The lock files on the chain "<store>.lock", "<store>.lock.rmlock", "<store>.lock.rmlock.rmlock"; an empty
    // string is a link that does not exist.
    QTest::addColumn<QList<QByteArray>>("chain");
    QTest::addColumn<QList<bool>>("kept");
    QTest::addColumn<bool>("takenAtOnce"); // whether the next save gets the write lock without waiting
    using namespace LockFixtures;
    const QByteArray empty("");
    const QByteArray live = LockOwnedBy(QCoreApplication::applicationPid());
    const QByteArray dead = LockOwnedBy(DeadPid());
    const QByteArray none;

    QTest::newRow("empty write lock, as a crash right after creating it leaves it")
        << QList<QByteArray>{empty} << QList<bool>{false} << true;
    QTest::newRow("write lock naming no owner") << QList<QByteArray>{"garbage"} << QList<bool>{false} << true;
    QTest::newRow("write lock held by a live process") << QList<QByteArray>{live} << QList<bool>{true} << false;
    QTest::newRow("write lock of a dead process is left to QLockFile")
        << QList<QByteArray>{dead} << QList<bool>{true} << true;
    QTest::newRow("dead write lock behind an empty take-over lock")
        << QList<QByteArray>{dead, empty} << QList<bool>{true, false} << true;
    QTest::newRow("empty link deeper down the take-over chain")
        << QList<QByteArray>{dead, dead, dead, empty} << QList<bool>{true, true, true, false} << true;
    QTest::newRow("empty links on both ends") << QList<QByteArray>{empty, dead, empty}
                                              << QList<bool>{false, true, false} << true;
    QTest::newRow("empty take-over lock with no write lock")
        << QList<QByteArray>{none, empty} << QList<bool>{false, false} << true;
}

void tst_SettingsStore::abandonedWriteLock() {
    QFETCH(QList<QByteArray>, chain);
    QFETCH(QList<bool>, kept);
    QFETCH(bool, takenAtOnce);
    const QString path = m_config.path() + QStringLiteral("/locks/nudgepost.conf");
    QStringList names;
    int abandoned = 0;
    for (qsizetype link = 0; link < chain.size(); ++link) {
        names.append(path + QStringLiteral(".lock") + QStringLiteral(".rmlock").repeated(link));
        if (!chain[link].isNull()) {
            QVERIFY(LockFixtures::WriteLock(names.last(), chain[link]));
            abandoned += kept[link] ? 0 : 1;
        }
    }

    QCOMPARE(SettingsProfileStore::RemoveAbandonedWriteLock(path), abandoned);
    for (qsizetype link = 0; link < chain.size(); ++link)
        QVERIFY2(QFile::exists(names[link]) == kept[link], qPrintable(names[link]));
    {
        QLockFile writeLock(path + QStringLiteral(".lock"));
        QCOMPARE(writeLock.tryLock(0), takenAtOnce);
    }
    for (const QString& name : names)
        QFile::remove(name);
    QCOMPARE(SettingsProfileStore::RemoveAbandonedWriteLock(path), 0);
}

void tst_SettingsStore::integersWrittenAreIntegersReadBack_data() {
    QTest::addColumn<int>("value");
    QTest::newRow("zero") << 0;
    QTest::newRow("minus one") << -1;
    QTest::newRow("largest") << std::numeric_limits<int>::max();
    QTest::newRow("smallest") << std::numeric_limits<int>::min();
}

void tst_SettingsStore::integersWrittenAreIntegersReadBack() {
    QFETCH(int, value);
    const QString path = m_config.path() + QStringLiteral("/ints.conf");
    {
        SettingsProfileStore store(path);
        QVERIFY(store.WriteProfileInt("Messages", "MessageDay0", value));
        QVERIFY(store.Commit());
    }
    SettingsProfileStore reopened(path);
    QCOMPARE(reopened.GetProfileInt("Messages", "MessageDay0", 12345), value);
    QCOMPARE(reopened.GetProfileInt("Messages", "Missing", 12345), 12345);
    QCOMPARE(reopened.GetProfileString("Messages", "Missing"), std::string());
}

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
