// The real settings store: QSettings files in a temporary configuration folder.

#include "ExpectedTemplates.h"
#include "LockFixtures.h"
#include "ReminderModel.h"
#include "SettingsProfileStore.h"
#include "StoreFixtures.h"
#include "TestSupport.h"

#include <QtTest>

#include <QLockFile>

#include <cstring>
#include <sys/stat.h>

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

// The permission bits in octal, as ls and chmod speak of them.
QString Mode(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? QString::number(info.st_mode & 07777, 8)
                                                                    : QStringLiteral("missing");
}
} // namespace

class tst_SettingsStore : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void storeLivesUnderOrganizationAndApplication();
    void storeIsPrivate_data();
    void storeIsPrivate();
    void firstStartWritesExactlyFiveValues_data();
    void firstStartWritesExactlyFiveValues();
    void roundTripOfFullTableIsExact();
    void handEditedValues_data();
    void handEditedValues();
    void garbageFileIsRepairedAndRewritten();
    void partlyDamagedFileKeepsWhatReads();
    void handEditWhileRunning_data();
    void handEditWhileRunning();
    void preserveBeforeRepair_data();
    void preserveBeforeRepair();
    void rescueCopies_data();
    void rescueCopies();
    void unwritableStoreFailsTheSave();
    void saveSucceedsAgainOnceTheCauseIsGone_data();
    void saveSucceedsAgainOnceTheCauseIsGone();
    void leftoversOfKilledCopies_data();
    void leftoversOfKilledCopies();
    void integersWrittenAreIntegersReadBack_data();
    void integersWrittenAreIntegersReadBack();

private:
    QTemporaryDir m_config;
    QTemporaryDir m_system;
};

void tst_SettingsStore::initTestCase() {
    QVERIFY(m_config.isValid());
    // The usual mask, under which files are created readable by everyone unless the program says otherwise.
    ::umask(022);
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

void tst_SettingsStore::storeIsPrivate_data() {
    QTest::addColumn<bool>("readableStore"); // a store is there, readable by everyone, as its owner chose
    QTest::addColumn<QString>("mode");
    QTest::newRow("new store in new folders") << false << "600";
    QTest::newRow("store the user made readable") << true << "644";
}

// A person's reminders are private: a new store and the folders made for it are the owner's alone.
void tst_SettingsStore::storeIsPrivate() {
    QFETCH(bool, readableStore);
    QFETCH(QString, mode);
    const QString top = m_config.path() + QStringLiteral("/private/") + QTest::currentDataTag();
    const QString path = top + QStringLiteral("/Quillmoor/deeper/nudgepost.conf");
    if (readableStore) {
        WriteFile(path, "[Configuration]\n");
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                                QFile::ReadOther));
    }
    SettingsProfileStore store(path);
    Loaded loaded(store);
    QVERIFY(loaded.state->SaveAll());
    QCOMPARE(Mode(path), mode);
    if (!readableStore) {
        QCOMPARE(Mode(top + QStringLiteral("/Quillmoor")), QStringLiteral("700"));
        QCOMPARE(Mode(top + QStringLiteral("/Quillmoor/deeper")), QStringLiteral("700"));
    }
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
    QVERIFY(!loaded.state->IsOn(Option::ShowMinimized));
    QVERIFY(loaded.prompts.boxes.empty());
    QVERIFY(!loaded.state->GlobalError());

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
    // The file holds the names every version of the program reads, whatever this one reads back.
    {
        QSettings file(store.FileName(), QSettings::IniFormat);
        QCOMPARE(file.childGroups(), (QStringList{Expected::kConfigurationSection, Expected::kMessagesSection}));
        QStringList configuration{Expected::kNumberOfMessages};
        for (const Expected::OptionNames& option : Expected::kOptions)
            configuration << option.stored;
        configuration.sort();
        file.beginGroup(Expected::kConfigurationSection);
        QStringList keys = file.childKeys();
        keys.sort();
        QCOMPARE(keys, configuration);
        QCOMPARE(file.value(Expected::kNumberOfMessages).toInt(), MESSAGE_TABLE_CAPACITY);
        file.endGroup();
        file.beginGroup(Expected::kMessagesSection);
        QStringList expected;
        for (int i = 0; i < MESSAGE_TABLE_CAPACITY; ++i) {
            for (const char* name : Expected::kEntryValueNames)
                expected << QString::fromUtf8(name) + QString::number(i);
        }
        expected.sort();
        keys = file.childKeys();
        keys.sort();
        QCOMPARE(keys, expected);
    }

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
    QTest::newRow("unquoted commas come back as written")
        << ("MessageName0=Milk,eggs ,  bread\nMessageDay0=4\n" + rest) << 1 << QByteArray("Milk,eggs ,  bread") << 4;
    QTest::newRow("text in a single-byte code page")
        << ("MessageName0=Caf\xe9\nMessageDay0=4\n" + rest) << 1 << QByteArray("Caf\xc3\xa9") << 4;
    QTest::newRow("code page characters beyond Latin-1, with a comma")
        << ("MessageName0=\x80 5,\x93ok\x94\nMessageDay0=4\n" + rest) << 1
        << QByteArray("\xe2\x82\xac 5,\xe2\x80\x9cok\xe2\x80\x9d") << 4;
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
        QCOMPARE(loaded.prompts.ErrorTexts(), std::vector<std::string>{Expected::kCorrupt});
    }
}

void tst_SettingsStore::garbageFileIsRepairedAndRewritten() {
    const QString path = m_config.path() + QStringLiteral("/garbage/nudgepost.conf");
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(char((i * 7919) % 256));
    WriteFile(path, garbage);
    QString store0Copy;
    {
        SettingsProfileStore store(path);
        store0Copy = store.DamagedCopy();
        QFile copy(store0Copy);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), garbage);
        Loaded loaded(store);
        QVERIFY(!loaded.state->GlobalError());
        QCOMPARE(loaded.state->Count(), 0);
        QVERIFY(loaded.state->AppendEntry(AwkwardEntry(5)));
        QVERIFY(loaded.state->SaveAll());
    }
    SettingsProfileStore reopened(path);
    Loaded again(reopened);
    QVERIFY(again.prompts.boxes.empty());
    QCOMPARE(again.state->Count(), 1);

    // Damaged again at a later start: a copy of its own, and the first rescue keeps what it held.
    QVERIFY(reopened.DamagedCopy().isEmpty());
    WriteFile(path, garbage.left(1000));
    SettingsProfileStore damagedAgain(path);
    QVERIFY(!damagedAgain.DamagedCopy().isEmpty());
    QFile first(store0Copy), second(damagedAgain.DamagedCopy());
    QVERIFY(first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly));
    QCOMPARE(first.readAll(), garbage);
    QCOMPARE(second.readAll(), garbage.left(1000));
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
    QVERIFY(!loaded.state->IsOn(Option::Tooltips));
    QVERIFY(loaded.state->SaveAll());
    QVERIFY(!loaded.state->GlobalError());
}

void tst_SettingsStore::handEditWhileRunning_data() {
    QTest::addColumn<QByteArray>("added"); // to the end of the file, inside [Messages]
    QTest::addColumn<bool>("setAside");
    QTest::newRow("a line that is no value") << QByteArray("a line added by hand\n") << true;
    QTest::newRow("a value given again") << QByteArray("MessageHour0=10\n") << false;
}

// The file is edited by hand while the program runs, and then an option is toggled twice. The saves write
// everything; what QSettings drops of the edited file while it merges is set aside.
void tst_SettingsStore::handEditWhileRunning() {
    QFETCH(QByteArray, added);
    QFETCH(bool, setAside);
    const QString path = m_config.path() + QStringLiteral("/running/%1.conf").arg(QTest::currentDataTag());
    WriteFile(path, "[Configuration]\nNumber of messages=1\nActivated messages=1\nTooltips=1\nShow warnings=1\n"
                    "Show minimized=0\n[Messages]\nMessageName0=Keep me\nMessageText0=t\nMessageDay0=1\n"
                    "MessageMonth0=2\nMessageYear0=2027\nMessageMinute0=0\nMessageHour0=8\nMessageShowTime0=0\n"
                    "MessageShowEveryTime0=0\nMessageActive0=1\nShowEveryDay0=0\n");
    SettingsProfileStore store(path);
    Loaded loaded(store);
    QVERIFY(loaded.prompts.boxes.empty());
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write(added);
    }
    for (int tooltips : {0, 1}) {
        loaded.state->SetOption(Option::Tooltips, tooltips);
        QVERIFY(loaded.state->SaveAll());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("Tooltips=" + QByteArray::number(tooltips)));
    }
    QVERIFY(loaded.prompts.boxes.empty());
    QVERIFY(!loaded.state->GlobalError());
    QCOMPARE(store.DamagedCopy().isEmpty(), !setAside);
    if (setAside) {
        QFile copy(store.DamagedCopy());
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QVERIFY(copy.readAll().endsWith(added));
    }
}

void tst_SettingsStore::preserveBeforeRepair_data() {
    QTest::addColumn<int>("nameLength"); // of the store file's name; 0: the usual one
    QTest::addColumn<bool>("copied");
    QTest::newRow("a copy fits beside the store") << 0 << true;
    // The store and QSettings' own temporary and lock files still fit the system's limit of 255; the copy does not.
    QTest::newRow("no copy fits beside the store") << 248 << false;
}

// A load that is about to drop entries asks for the file as it is to be kept; where that cannot be done, the save
// that would drop them must fail instead.
void tst_SettingsStore::preserveBeforeRepair() {
    QFETCH(int, nameLength);
    QFETCH(bool, copied);
    const QString name = nameLength ? QString(nameLength - 5, QLatin1Char('n')) + QStringLiteral(".conf")
                                    : QStringLiteral("nudgepost.conf");
    const QString path = m_config.path() + QStringLiteral("/repair/%1/").arg(QTest::currentDataTag()) + name;
    const QByteArray original = "[Configuration]\nNumber of messages=2\n[Messages]\nMessageName0=Only the name\n";
    WriteFile(path, original);
    SettingsProfileStore store(path);
    store.PreserveBeforeRepair();
    QCOMPARE(store.DamagedCopy().isEmpty(), !copied);
    if (copied) {
        QFile copy(store.DamagedCopy());
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), original);
    }
    const bool saved = store.WriteProfileInt("Configuration", "Number of messages", 0) && store.Commit();
    QCOMPARE(saved, copied);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll() == original, !copied);
}

void tst_SettingsStore::rescueCopies_data() {
    QTest::addColumn<int>("starts");
    QTest::addColumn<bool>("sameDamage");   // the store is damaged the same way before every start
    QTest::addColumn<QStringList>("before"); // copies there before the first start
    QTest::addColumn<QStringList>("after");  // the copies after the last
    QTest::newRow("the same damage before every start") << 12 << true << QStringList{} << QStringList{"1"};
    QTest::newRow("a new damage before every start")
        << 15 << false << QStringList{}
        << QStringList{"10", "11", "12", "13", "14", "15", "6", "7", "8", "9"};
    QTest::newRow("copies numbered at the ends of 32 bits")
        << 1 << true << QStringList{"2147483647", "4294967295", "99", "007"}
        << QStringList{"007", "2147483647", "4294967295", "4294967296", "99"};
}

// A store damaged again and again: its rescue copies are bounded to the newest ten, none is the same as the newest
// before it, and the newest always has the highest number, however high the numbers there already are.
void tst_SettingsStore::rescueCopies() {
    QFETCH(int, starts);
    QFETCH(bool, sameDamage);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    const QString folder = m_config.path() + QStringLiteral("/rescue/") + QTest::currentDataTag();
    const QString path = folder + QStringLiteral("/nudgepost.conf");
    QVERIFY(QDir().mkpath(folder));
    for (const QString& number : before)
        WriteFile(path + QStringLiteral(".damaged-") + number, "an earlier copy " + number.toUtf8());
    auto damaged = [&](int start) {
        return "[Configuration]\nActivated messages=1\nNumber of messages=" +
               QByteArray::number(sameDamage ? 150 : 100 + start) + "\nShow minimized=0\nShow warnings=1\nTooltips=1\n";
    };
    for (int start = 1; start <= starts; ++start) {
        WriteFile(path, damaged(start));
        SettingsProfileStore store(path);
        Loaded loaded(store);
        QCOMPARE(loaded.prompts.ErrorTexts(), std::vector<std::string>{Expected::kTooMany});
        QVERIFY(!loaded.state->GlobalError());
    }
    QStringList copies = QDir(folder).entryList({QStringLiteral("nudgepost.conf.damaged-*")}, QDir::Files, QDir::Name);
    for (QString& copy : copies)
        copy.remove(QStringLiteral("nudgepost.conf.damaged-"));
    QCOMPARE(copies, after);
    // Each copy holds the store as the start that made it found it; the earlier ones are as they were.
    for (const QString& number : after) {
        QFile copy(path + QStringLiteral(".damaged-") + number);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        const QByteArray bytes = copy.readAll();
        if (before.contains(number))
            QCOMPARE(bytes, "an earlier copy " + number.toUtf8());
        else if (!sameDamage)
            QCOMPARE(bytes, damaged(number.toInt()));
        else
            QCOMPARE(bytes, damaged(1));
    }
}

void tst_SettingsStore::unwritableStoreFailsTheSave() {
    // A folder that is a regular file cannot hold the store, whoever runs the test.
    const QString blocker = m_config.path() + QStringLiteral("/blocker");
    WriteFile(blocker, "not a folder");
    SettingsProfileStore store(blocker + QStringLiteral("/Quillmoor/nudgepost.conf"));
    Loaded loaded(store);
    QCOMPARE(loaded.prompts.ErrorTexts(), std::vector<std::string>{Expected::kSaveFailed});
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
    QCOMPARE(loaded.prompts.ErrorTexts(), std::vector<std::string>{Expected::kSaveFailed});

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

void tst_SettingsStore::leftoversOfKilledCopies_data() {
    // Files in the store's folder beside the store "nudgepost.conf", with what they hold; those a start keeps.
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QList<QByteArray>>("contents");
    QTest::addColumn<QStringList>("kept");
    using namespace LockFixtures;
    const QByteArray empty("");
    const QByteArray live = LockOwnedBy(QCoreApplication::applicationPid());
    const QByteArray dead = LockOwnedBy(DeadPid());
    const QByteArray store = "[Configuration]\nNumber of messages=0\n";

    // In a PID namespace a new copy gets the number of the copy that was killed, so the lock looks held by it.
    QTest::newRow("write lock naming this very process")
        << QStringList{"nudgepost.conf.lock"} << QList<QByteArray>{live} << QStringList{};
    QTest::newRow("write lock and take-over locks of any kind")
        << QStringList{"nudgepost.conf.lock", "nudgepost.conf.lock.rmlock", "nudgepost.conf.lock.rmlock.rmlock"}
        << QList<QByteArray>{dead, empty, "garbage"} << QStringList{};
    QTest::newRow("empty take-over lock with no write lock")
        << QStringList{"nudgepost.conf.lock.rmlock"} << QList<QByteArray>{empty} << QStringList{};
    QTest::newRow("temporary copy of a save cut short")
        << QStringList{"nudgepost.conf.qWeRtY", "nudgepost.conf.AbCdEf"} << QList<QByteArray>{store, empty}
        << QStringList{};
    const QStringList others = {"nudgepost.conf.backup", "nudgepost.conf.Backup", "nudgepost.conf.BACKUP",
                                "nudgepost.conf.damaged-1", "nudgepost.conf.instance.lock", "nudgepost.conf.qWeRt",
                                "nudgepost.conf.qWeRtYu", "nudgepost.conf.qW3RtY", "other.conf.qWeRtY",
                                "other.conf.lock"};
    QTest::newRow("the user's copies and other stores' files")
        << others << QList<QByteArray>(others.size(), store) << others;
}

void tst_SettingsStore::leftoversOfKilledCopies() {
    QFETCH(QStringList, files);
    QFETCH(QList<QByteArray>, contents);
    QFETCH(QStringList, kept);
    const QString folder = m_config.path() + QStringLiteral("/leftovers/") + QTest::currentDataTag();
    const QString path = folder + QStringLiteral("/nudgepost.conf");
    WriteFile(path, "[Configuration]\nNumber of messages=0\n");
    for (qsizetype i = 0; i < files.size(); ++i)
        QVERIFY(LockFixtures::WriteLock(folder + QLatin1Char('/') + files[i], contents[i]));

    QCOMPARE(SettingsProfileStore::ClearLeftovers(path), files.size() - kept.size());
    QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    left.removeOne(QStringLiteral("nudgepost.conf"));
    kept.sort();
    QCOMPARE(left, kept);
    QLockFile writeLock(path + QStringLiteral(".lock"));
    QVERIFY(writeLock.tryLock(0));
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
