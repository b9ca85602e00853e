// The load and save rules of the message table, on an in-memory store.

#include "ExpectedTemplates.h"
#include "MemoryProfileStore.h"
#include "MessageValidation.h"
#include "QtText.h"
#include "ReminderModel.h"
#include "StoreFixtures.h"
#include "TestSupport.h"

#include <QtTest>

#include <cstring>

using namespace ProfileNames;

namespace {
constexpr int kMissing = -999;

struct Harness {
    explicit Harness(TableAllocator allocator = {}) : clock(1'000'000'000) {
        ReminderServices services;
        services.store = &store;
        services.prompts = &prompts;
        services.clock = clock.AsClock();
        services.allocator = std::move(allocator);
        state = std::make_unique<ReminderModel>(services);
    }
    void Load() {
        state->AllocateTable();
        state->LoadAll();
    }
    MemoryProfileStore store;
    RecordingPrompts prompts;
    FakeClock clock;
    std::unique_ptr<ReminderModel> state;
};

void PutOrRemove(MemoryProfileStore& store, const char* name, int value) {
    if (value == kMissing)
        store.Remove(kConfiguration, name);
    else
        store.Set(kConfiguration, name, value);
}

} // namespace

class tst_ReminderModel : public QObject {
    Q_OBJECT
private slots:
    void loadSettings_data();
    void loadSettings();
    void firstStartWritesExactlyFiveValues();
    void fullTableLoads();
    void corruptEntryDropsOnlyItself_data();
    void corruptEntryDropsOnlyItself();
    void everyEntryDamagedLeavesActivationUnread();
    void valuesAreNotRangeChecked();
    void duplicateStoredNamesKeepTheFirst();
    void overlongStringsAreCutAtCharacterBoundary();
    void loadedEntriesAreArmed();
    void saveWritesInOrder();
    void storedLayout_data();
    void storedLayout();
    void saveFailure_data();
    void saveFailure();
    void staleHigherIndicesStayAfterShrinking();
    void tableOperations();
    void newEntryIsNamedAfterCount();
    void fullTableRefusesAppend();
    void allocationFailureLoadsAndWritesNothing();
    void distinctNameIsExactAndReportsOnce();
};

void tst_ReminderModel::loadSettings_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("activated");
    QTest::addColumn<int>("tooltips");
    QTest::addColumn<int>("warnings");
    QTest::addColumn<int>("minimized");
    QTest::addColumn<int>("expectedCount");
    QTest::addColumn<QList<int>>("expectedFlags");
    QTest::addColumn<QStringList>("expectedBoxes");
    QTest::addColumn<bool>("expectSave");

    const QStringList none;
    QTest::newRow("first start") << kMissing << kMissing << kMissing << kMissing << kMissing << 0
                                 << QList<int>{1, 1, 1, 0} << none << true;
    QTest::newRow("negative count is a first start and overrides settings")
        << -5 << 0 << 0 << 0 << 1 << 0 << QList<int>{1, 1, 1, 0} << none << true;
    QTest::newRow("count 0 takes activation as 1 without reading it")
        << 0 << 0 << 0 << 0 << 1 << 0 << QList<int>{1, 0, 0, 1} << none << true;
    QTest::newRow("count 0 with missing settings reports all but activation")
        << 0 << kMissing << kMissing << kMissing << kMissing << 0 << QList<int>{1, 1, 1, 0}
        << QStringList{Expected::kOptions[1].repairText, Expected::kOptions[2].repairText, Expected::kOptions[3].repairText} << true;
    QTest::newRow("entries with settings intact: nothing to repair")
        << 2 << 1 << 0 << 1 << 0 << 2 << QList<int>{1, 0, 1, 0} << none << false;
    QTest::newRow("entries with every setting missing, in order")
        << 2 << kMissing << kMissing << kMissing << kMissing << 2 << QList<int>{0, 1, 1, 0}
        << QStringList{Expected::kOptions[0].repairText, Expected::kOptions[1].repairText, Expected::kOptions[2].repairText, Expected::kOptions[3].repairText} << true;
    QTest::newRow("settings stored as 2 count as missing")
        << 2 << 2 << 2 << 1 << 1 << 2 << QList<int>{0, 1, 1, 1}
        << QStringList{Expected::kOptions[0].repairText, Expected::kOptions[1].repairText} << true;
    QTest::newRow("settings stored as 5 read as 0 silently")
        << 2 << 5 << 5 << 5 << 5 << 2 << QList<int>{0, 0, 0, 0} << none << false;
    QTest::newRow("too many messages: box before the settings' boxes")
        << 101 << 1 << kMissing << 1 << 0 << 0 << QList<int>{1, 1, 1, 0}
        << QStringList{Expected::kTooMany, Expected::kOptions[1].repairText} << true;
}

void tst_ReminderModel::loadSettings() {
    QFETCH(int, count);
    QFETCH(int, activated);
    QFETCH(int, tooltips);
    QFETCH(int, warnings);
    QFETCH(int, minimized);
    QFETCH(int, expectedCount);
    QFETCH(QList<int>, expectedFlags);
    QFETCH(QStringList, expectedBoxes);
    QFETCH(bool, expectSave);

    Harness h;
    if (count > 0 && count <= 100)
        PutTable(h.store, count);
    PutOrRemove(h.store, kNumberOfMessages, count);
    PutOrRemove(h.store, kActivatedMessages, activated);
    PutOrRemove(h.store, kTooltips, tooltips);
    PutOrRemove(h.store, kShowWarnings, warnings);
    PutOrRemove(h.store, kShowMinimized, minimized);
    h.store.ClearWriteLog();

    h.Load();

    QCOMPARE(h.state->Count(), expectedCount);
    const QList<int> flags{h.state->IsOn(Option::MessagesActivated), h.state->IsOn(Option::Tooltips), h.state->IsOn(Option::ShowWarnings),
                           h.state->IsOn(Option::ShowMinimized)};
    QCOMPARE(flags, expectedFlags);
    QCOMPARE(ToQt(h.prompts.ErrorTexts()), expectedBoxes);
    QCOMPARE(h.prompts.beeps, int(expectedBoxes.size()));
    for (const auto& box : h.prompts.boxes)
        QCOMPARE(box.caption, std::string(Expected::kErrorCaption));
    QCOMPARE(h.store.commitCount, expectSave ? 1 : 0);
    // Only a load that drops what was stored has the store keep its original first.
    QCOMPARE(h.store.preserveCount, count > 100 ? 1 : 0);
    QVERIFY(!h.state->GlobalError());
    if (expectSave) {
        QCOMPARE(h.store.GetProfileInt(kConfiguration, kNumberOfMessages, -7), expectedCount);
        QCOMPARE(h.store.GetProfileInt(kConfiguration, kShowMinimized, -7), expectedFlags[3]);
    }
}

void tst_ReminderModel::firstStartWritesExactlyFiveValues() {
    Harness h;
    h.Load();
    QCOMPARE(h.store.Values().size(), std::size_t{5});
    QCOMPARE(h.store.CountIn(kConfiguration), std::size_t{5});
    QCOMPARE(h.store.GetProfileInt(kConfiguration, kNumberOfMessages, -7), 0);
    QCOMPARE(h.store.GetProfileInt(kConfiguration, kActivatedMessages, -7), 1);
    QCOMPARE(h.store.GetProfileInt(kConfiguration, kTooltips, -7), 1);
    QCOMPARE(h.store.GetProfileInt(kConfiguration, kShowWarnings, -7), 1);
    QCOMPARE(h.store.GetProfileInt(kConfiguration, kShowMinimized, -7), 0);
    QVERIFY(h.prompts.boxes.empty());
}

void tst_ReminderModel::fullTableLoads() {
    Harness h;
    PutTable(h.store, 100);
    h.Load();
    QCOMPARE(h.state->Count(), 100);
    QCOMPARE(QString(h.state->ScheduledEntry(99).m_szName), QStringLiteral("Entry 99"));
    QVERIFY(h.prompts.boxes.empty());
}

void tst_ReminderModel::corruptEntryDropsOnlyItself_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QVariant>("stored"); // invalid: the value is removed

    for (const char* prefix : {kName, kText, kDay, kMonth, kYear, kMinute, kHour, kShowTime, kShowEveryTime, kActive,
                               kEveryDay})
        QTest::newRow(qPrintable(QStringLiteral("%1 missing").arg(prefix))) << QString(prefix) << QVariant();
    QTest::newRow("day stored as -1") << QString(kDay) << QVariant(-1);
    QTest::newRow("repeat stored as -1") << QString(kShowEveryTime) << QVariant(-1);
    QTest::newRow("hour not a number") << QString(kHour) << QVariant(QStringLiteral("ten"));
    QTest::newRow("active stored as 2") << QString(kActive) << QVariant(2);
    QTest::newRow("every day stored as 2") << QString(kEveryDay) << QVariant(2);
    QTest::newRow("empty name") << QString(kName) << QVariant(QString());
    QTest::newRow("empty text") << QString(kText) << QVariant(QString());
}

void tst_ReminderModel::corruptEntryDropsOnlyItself() {
    QFETCH(QString, value);
    QFETCH(QVariant, stored);

    Harness h;
    PutTable(h.store, 20);
    const std::string name = Numbered(value.toUtf8().constData(), 7);
    if (!stored.isValid())
        h.store.Remove(kMessages, name);
    else if (stored.typeId() == QMetaType::Int)
        h.store.Set(kMessages, name, stored.toInt());
    else
        h.store.Set(kMessages, name, stored.toString().toStdString());
    h.store.ClearWriteLog();

    h.Load();

    QCOMPARE(h.state->Count(), 19);
    QCOMPARE(ToQt(h.prompts.ErrorTexts()), QStringList{Expected::kCorrupt});
    for (int i = 0; i < 19; ++i) {
        const int source = i < 7 ? i : i + 1;
        QCOMPARE(QString(h.state->ScheduledEntry(i).m_szName), QStringLiteral("Entry %1").arg(source));
    }
    // The store kept its original before anything was written; then the salvaged table is written back at once,
    // renumbered without the gap.
    QCOMPARE(h.store.preserveCount, 1);
    QCOMPARE(h.store.WriteLog().front(), std::string("(preserve)"));
    QCOMPARE(h.store.GetProfileInt(kConfiguration, kNumberOfMessages, -7), 19);
    QCOMPARE(h.store.GetProfileString(kMessages, Numbered(kName, 7)), std::string("Entry 8"));
}

// With every entry dropped there are no messages, and the activation is then taken as on without being read.
void tst_ReminderModel::everyEntryDamagedLeavesActivationUnread() {
    Harness h;
    PutTable(h.store, 2);
    h.store.Set(kConfiguration, kActivatedMessages, 0);
    h.store.Remove(kMessages, Numbered(kName, 0));
    h.store.Remove(kMessages, Numbered(kHour, 1));
    h.Load();
    QCOMPARE(h.state->Count(), 0);
    QVERIFY(h.state->IsOn(Option::MessagesActivated));
    QCOMPARE(ToQt(h.prompts.ErrorTexts()), QStringList{Expected::kCorrupt});
    QCOMPARE(h.store.preserveCount, 1);
}

void tst_ReminderModel::valuesAreNotRangeChecked() {
    Harness h;
    PutSettings(h.store, 2);
    PutEntry(h.store, 0, {.name = "Zero day", .day = 0});
    PutEntry(h.store, 1, {.name = "Seven", .day = 45, .active = 7, .everyDay = -3});
    h.Load();
    QCOMPARE(h.state->Count(), 2);
    QCOMPARE(h.state->ScheduledEntry(0).m_nDay, 0);
    QCOMPARE(h.state->ScheduledEntry(1).m_nDay, 45);
    QCOMPARE(h.state->ScheduledEntry(1).m_bActive, 1);
    QCOMPARE(h.state->ScheduledEntry(1).m_bEveryDay, 1);
    QVERIFY(h.prompts.boxes.empty());
    QVERIFY(h.state->SaveAll());
    QCOMPARE(h.store.GetProfileInt(kMessages, Numbered(kActive, 1), -7), 1);
    QCOMPARE(h.store.GetProfileInt(kMessages, Numbered(kEveryDay, 1), -7), 1);
}

void tst_ReminderModel::duplicateStoredNamesKeepTheFirst() {
    Harness h;
    PutSettings(h.store, 3);
    PutEntry(h.store, 0, {.name = "Work", .text = "first"});
    PutEntry(h.store, 1, {.name = "work", .text = "other case"});
    PutEntry(h.store, 2, {.name = "Work", .text = "second"});
    h.Load();
    QCOMPARE(h.state->Count(), 2);
    QCOMPARE(QString(h.state->ScheduledEntry(0).m_szText), QStringLiteral("first"));
    QCOMPARE(QString(h.state->ScheduledEntry(1).m_szName), QStringLiteral("work"));
    QCOMPARE(ToQt(h.prompts.ErrorTexts()), QStringList{Expected::kCorrupt});
}

void tst_ReminderModel::overlongStringsAreCutAtCharacterBoundary() {
    Harness h;
    PutSettings(h.store, 1);
    // 198 ASCII bytes, then a two-byte character that would end at byte 200: it must go whole.
    const std::string name = std::string(198, 'n') + "\xC3\xA9" + "tail";
    const std::string text = std::string(1200, 't');
    PutEntry(h.store, 0, {.name = name, .text = text});
    h.Load();
    QCOMPARE(h.state->Count(), 1);
    QCOMPARE(std::strlen(h.state->ScheduledEntry(0).m_szName), std::size_t{198});
    QCOMPARE(std::strlen(h.state->ScheduledEntry(0).m_szText), std::size_t{999});
    QVERIFY(h.prompts.boxes.empty());
}

void tst_ReminderModel::loadedEntriesAreArmed() {
    Harness h;
    PutTable(h.store, 3);
    h.Load();
    for (int i = 0; i < 3; ++i) {
        const MessageEntry& e = h.state->ScheduledEntry(i);
        QCOMPARE(e.m_bPending, 1);
        QCOMPARE(e.m_bShown, 0);
        QCOMPARE(e.m_tLastShown, h.clock.now);
    }
}

void tst_ReminderModel::saveWritesInOrder() {
    Harness h;
    PutTable(h.store, 2);
    h.Load();
    h.store.ClearWriteLog();
    QVERIFY(h.state->SaveAll());
    std::vector<std::string> expected = {"Configuration/Activated messages", "Configuration/Tooltips",
                                         "Configuration/Show warnings", "Configuration/Show minimized",
                                         "Configuration/Number of messages"};
    for (int i = 0; i < 2; ++i)
        for (const char* prefix : {kName, kText, kDay, kMonth, kYear, kMinute, kHour, kShowTime, kShowEveryTime,
                                   kActive, kEveryDay})
            expected.push_back(std::string("Messages/") + Numbered(prefix, i));
    QCOMPARE(h.store.WriteLog(), expected);
}

void tst_ReminderModel::storedLayout_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value"); // an int or a string, as it must be stored
    QTest::addColumn<QString>("repair"); // the box a load shows once the value is gone; empty: none
    QTest::addColumn<int>("countAfter");
    QTest::addColumn<int>("written"); // its place among the save's writes

    const QString corrupt = QStringLiteral("One or more messages are corrupt.\nMessages have been deleted!");
    int written = 0;
    const auto add = [&written](const char* section, const char* name, const QVariant& value, const QString& repair,
                                int countAfter) {
        QTest::newRow(name) << QString(section) << QString(name) << value << repair << countAfter << written++;
    };
    // In the order of the writes.
    add("Configuration", "Activated messages", 1,
        QStringLiteral("Error in activation state of messages!\nMessages will be inactivated."), 1);
    add("Configuration", "Tooltips", 0, QStringLiteral("Error in tooltip flag!\nTooltips will be enabled."), 1);
    add("Configuration", "Show warnings", 1,
        QStringLiteral("Error in show warnings flag!\nWarnings will be enabled."), 1);
    add("Configuration", "Show minimized", 1,
        QStringLiteral("Error in show minimized flag!\nDialog will be shown at startup."), 1);
    add("Configuration", "Number of messages", 1, QString(), 0); // a first start
    add("Messages", "MessageName0", QStringLiteral("Dentist"), corrupt, 0);
    add("Messages", "MessageText0", QStringLiteral("Call the dentist."), corrupt, 0);
    add("Messages", "MessageDay0", 15, corrupt, 0);
    add("Messages", "MessageMonth0", 6, corrupt, 0);
    add("Messages", "MessageYear0", 2031, corrupt, 0);
    add("Messages", "MessageMinute0", 30, corrupt, 0);
    add("Messages", "MessageHour0", 9, corrupt, 0);
    add("Messages", "MessageShowTime0", 3, corrupt, 0);
    add("Messages", "MessageShowEveryTime0", 5, corrupt, 0);
    add("Messages", "MessageActive0", 1, corrupt, 0);
    add("Messages", "ShowEveryDay0", 0, corrupt, 0);
}

// Each stored value under its exact section and name, with its type and value and in its place among the writes;
// and what a load makes of the saved data without it.
void tst_ReminderModel::storedLayout() {
    QFETCH(QString, section);
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    QFETCH(QString, repair);
    QFETCH(int, countAfter);
    QFETCH(int, written);

    Harness h;
    h.Load();
    MessageEntry entry = h.state->MakeNewEntry();
    std::strcpy(entry.m_szName, "Dentist");
    std::strcpy(entry.m_szText, "Call the dentist.");
    entry.m_nDay = 15;
    entry.m_nMonth = 6;
    entry.m_nYear = 2031;
    entry.m_nMinute = 30;
    entry.m_nHour = 9;
    entry.m_nShowDays = 3;
    entry.m_nRepeatMinutes = 5;
    entry.m_bActive = 1;
    entry.m_bEveryDay = 0;
    QVERIFY(h.state->AppendEntry(entry));
    h.state->SetOption(Option::Tooltips, false);
    h.state->SetOption(Option::ShowMinimized, true);
    h.store.ClearWriteLog();
    QVERIFY(h.state->SaveAll());

    const std::string key = (section + "/" + name).toStdString();
    const std::vector<std::string>& log = h.store.WriteLog();
    QCOMPARE(log.size(), std::size_t{16});
    QCOMPARE(log[std::size_t(written)], key);
    QCOMPARE(h.store.Values().size(), std::size_t{16});
    const MemoryProfileStore::Value* stored = h.store.Find(section.toStdString(), name.toStdString());
    QVERIFY(stored);
    if (value.typeId() == QMetaType::Int)
        QCOMPARE(*stored, MemoryProfileStore::Value(value.toInt()));
    else
        QCOMPARE(*stored, MemoryProfileStore::Value(value.toString().toStdString()));

    Harness again;
    for (const auto& [where, kept] : h.store.Values())
        again.store.Set(where.first, where.second, kept);
    again.store.Remove(section.toStdString(), name.toStdString());
    again.Load();
    QCOMPARE(again.state->Count(), countAfter);
    QCOMPARE(ToQt(again.prompts.ErrorTexts()), repair.isEmpty() ? QStringList{} : QStringList{repair});
}

void tst_ReminderModel::saveFailure_data() {
    QTest::addColumn<QString>("failing");
    QTest::addColumn<bool>("failCommit");
    QTest::addColumn<QStringList>("written");    // must be in the store afterwards
    QTest::addColumn<QStringList>("notWritten"); // must not have been written

    QTest::newRow("a setting stops the save before the count")
        << "Configuration/Tooltips" << false << QStringList{"Configuration/Activated messages"}
        << QStringList{"Configuration/Show warnings", "Configuration/Number of messages", "Messages/MessageName0"};
    QTest::newRow("the count stops the save before the entries")
        << "Configuration/Number of messages" << false << QStringList{"Configuration/Show minimized"}
        << QStringList{"Messages/MessageName0"};
    QTest::newRow("a number skips the rest of its entry only")
        << "Messages/MessageDay1" << false << QStringList{"Messages/MessageText1", "Messages/MessageName2"}
        << QStringList{"Messages/MessageMonth1", "Messages/MessageActive1"};
    QTest::newRow("the active flag does not skip the every-day flag")
        << "Messages/MessageActive1" << false << QStringList{"Messages/ShowEveryDay1", "Messages/MessageName2"}
        << QStringList{};
    QTest::newRow("the final commit") << "" << true << QStringList{"Messages/ShowEveryDay2"} << QStringList{};
}

void tst_ReminderModel::saveFailure() {
    QFETCH(QString, failing);
    QFETCH(bool, failCommit);
    QFETCH(QStringList, written);
    QFETCH(QStringList, notWritten);

    Harness h;
    PutTable(h.store, 3);
    h.Load();
    h.store.ClearWriteLog();
    h.store.failWrite = [&](const std::string& section, const std::string& entry) {
        return QString::fromStdString(section + "/" + entry) == failing;
    };
    h.store.failCommit = failCommit;
    const MessageEntry before = h.state->ScheduledEntry(1);

    QVERIFY(!h.state->SaveAll());

    QCOMPARE(ToQt(h.prompts.ErrorTexts()), QStringList{Expected::kSaveFailed});
    QVERIFY(h.state->GlobalError());
    QCOMPARE(h.state->Count(), 3);
    QCOMPARE(std::memcmp(&before, &h.state->ScheduledEntry(1), sizeof before), 0);
    const QStringList log = ToQt(h.store.WriteLog());
    for (const QString& name : written)
        QVERIFY2(log.contains(name), qPrintable(name));
    for (const QString& name : notWritten)
        QVERIFY2(!log.contains(name), qPrintable(name));
}

void tst_ReminderModel::staleHigherIndicesStayAfterShrinking() {
    Harness h;
    PutTable(h.store, 3);
    h.Load();
    h.state->RemoveEntry(1);
    QVERIFY(h.state->SaveAll());
    QCOMPARE(h.store.GetProfileInt(kConfiguration, kNumberOfMessages, -7), 2);
    QCOMPARE(h.store.GetProfileString(kMessages, Numbered(kName, 1)), std::string("Entry 2"));
    QCOMPARE(h.store.GetProfileString(kMessages, Numbered(kName, 2)), std::string("Entry 2"));
    QVERIFY(h.store.Has(kMessages, Numbered(kEveryDay, 2)));
}

void tst_ReminderModel::tableOperations() {
    Harness h;
    PutTable(h.store, 3);
    h.Load();
    h.state->ScheduledEntry(2).m_bShown = 1;
    h.state->ScheduledEntry(2).m_tLastShown = 42;
    h.state->RemoveEntry(0);
    QCOMPARE(h.state->Count(), 2);
    QCOMPARE(QString(h.state->ScheduledEntry(0).m_szName), QStringLiteral("Entry 1"));
    QCOMPARE(QString(h.state->ScheduledEntry(1).m_szName), QStringLiteral("Entry 2"));
    // Moving an entry down carries its run-time state with it.
    QCOMPARE(h.state->ScheduledEntry(1).m_bShown, 1);
    QCOMPARE(h.state->ScheduledEntry(1).m_tLastShown, std::time_t{42});

    h.state->ClearEntries();
    QCOMPARE(h.state->Count(), 0);
    QVERIFY(h.state->AppendEntry(h.state->MakeNewEntry()));
    QCOMPARE(QString(h.state->ScheduledEntry(0).m_szName), QStringLiteral("Message 1"));
}

void tst_ReminderModel::newEntryIsNamedAfterCount() {
    Harness h;
    PutTable(h.store, 3);
    h.Load();
    const MessageEntry e = h.state->MakeNewEntry();
    QCOMPARE(QString(e.m_szName), QStringLiteral("Message 4"));
    QCOMPARE(QString(e.m_szText), QStringLiteral("This is message 4."));
    QCOMPARE((QList<int>{e.m_nDay, e.m_nMonth, e.m_nYear, e.m_nMinute, e.m_nHour, e.m_nShowDays, e.m_nRepeatMinutes}),
             (QList<int>{1, 1, 1996, 0, 0, 0, 0}));
    QCOMPARE((QList<int>{e.m_bActive, e.m_bPending, e.m_bEveryDay, e.m_bShown}), (QList<int>{1, 1, 0, 0}));
    QCOMPARE(e.m_tLastShown, h.clock.now);
}

void tst_ReminderModel::fullTableRefusesAppend() {
    Harness h;
    PutTable(h.store, 100);
    h.Load();
    QVERIFY(h.state->IsTableFull());
    QVERIFY(!h.state->AppendEntry(h.state->MakeNewEntry()));
    QCOMPARE(h.state->Count(), 100);
}

void tst_ReminderModel::allocationFailureLoadsAndWritesNothing() {
    Harness h([] { return std::unique_ptr<MessageEntry[]>(); });
    PutTable(h.store, 3);
    h.store.ClearWriteLog();
    h.Load();
    QCOMPARE(ToQt(h.prompts.ErrorTexts()), QStringList{Expected::kOutOfMemory});
    QVERIFY(h.state->GlobalError());
    QVERIFY(!h.state->HasTable());
    QCOMPARE(h.state->Count(), 0);
    QVERIFY(h.store.WriteLog().empty());
    QVERIFY(!h.state->AppendEntry(MessageEntry{}));
    // An option toggled afterwards saves: with no table that would store a count of 0 over the user's list.
    h.state->SetOption(Option::Tooltips, 0);
    QVERIFY(!h.state->SaveAll());
    QVERIFY(h.store.WriteLog().empty());
    QCOMPARE(h.store.commitCount, 0);
    QCOMPARE(ToQt(h.prompts.ErrorTexts()), QStringList{Expected::kOutOfMemory});
}

void tst_ReminderModel::distinctNameIsExactAndReportsOnce() {
    Harness h;
    PutSettings(h.store, 3);
    PutEntry(h.store, 0, {.name = "Work"});
    PutEntry(h.store, 1, {.name = "Home"});
    PutEntry(h.store, 2, {.name = "Work "});
    h.Load();
    // A new entry passes every field rule, so only the name can be refused.
    MessageEntry candidate = h.state->MakeNewEntry();
    std::strcpy(candidate.m_szName, "work");
    QVERIFY(!FindValidationError(candidate, *h.state, -1));
    std::strcpy(candidate.m_szName, "Work");
    QVERIFY(!FindValidationError(candidate, *h.state, 0));
    const std::optional<std::string> error = FindValidationError(candidate, *h.state, 1);
    QVERIFY(error);
    QCOMPARE(*error, std::string("Double message name!\nYou have to enter a distinct message name."));
    // The check only answers; the commands show the box.
    QVERIFY(h.prompts.boxes.empty());
}

QTEST_GUILESS_MAIN(tst_ReminderModel)
#include "tst_remindermodel.moc"
