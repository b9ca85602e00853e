// The journaling store proven the way databases prove their commits: a save of a few messages is cut off after
// each of its writes in turn, as a kill of the process at that moment would cut it off, and the next start must
// find in the sections exactly the state before the save or the state after it, value by value, and no box. So must
// a start cut off in the middle of the recovery, followed by one more start, and a loss of power (what the store
// held at its last flush). A save that cannot be completed changes nothing.

#include "ExpectedTemplates.h"
#include "JournalingProfileStore.h"
#include "MemoryHierarchicalStore.h"
#include "QtText.h"
#include "ReminderModel.h"
#include "StoreFixtures.h"
#include "TestSupport.h"

#include <QtTest>

#include <functional>
#include <memory>
#include <sstream>

using namespace ProfileNames;
using Key = MemoryHierarchicalStore::Key;

namespace {

// One start of the program on a store: the tree it finds, the journaling store over it and the model.
template <class Store> struct StartOn {
    explicit StartOn(Key root) : tree(std::move(root)), store(tree), clock(1'900'000'000) {
        ReminderServices services;
        services.store = &store;
        services.prompts = &prompts;
        services.clock = clock.AsClock();
        model = std::make_unique<ReminderModel>(services);
    }
    void Load() {
        model->AllocateTable();
        model->LoadAll();
    }
    MemoryHierarchicalStore tree;
    Store store;
    RecordingPrompts prompts;
    FakeClock clock;
    std::unique_ptr<ReminderModel> model;
};
using Start = StartOn<JournalingProfileStore>;

// The store as the registry store was before the journal: every write goes straight into its section.
class WriteThroughStore : public ProfileStore {
public:
    explicit WriteThroughStore(HierarchicalStore& tree) : m_tree(tree) {}
    int GetProfileInt(const std::string& section, const std::string& entry, int nDefault) override {
        return m_tree.ReadInt(section, entry).value_or(nDefault);
    }
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue = {}) override {
        return m_tree.ReadString(section, entry).value_or(defaultValue);
    }
    bool WriteProfileInt(const std::string& section, const std::string& entry, int nValue) override {
        return m_tree.WriteInt(section, entry, nValue);
    }
    bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) override {
        return m_tree.WriteString(section, entry, value);
    }
    bool Commit() override { return true; }

private:
    HierarchicalStore& m_tree;
};

// The sections as an earlier build or a registry export reads them.
struct Sections {
    Key configuration;
    Key messages;
    bool operator==(const Sections&) const = default;
};

Sections SectionsOf(const Key& root) {
    Sections sections;
    if (const auto found = root.subkeys.find(kConfiguration); found != root.subkeys.end())
        sections.configuration = found->second;
    if (const auto found = root.subkeys.find(kMessages); found != root.subkeys.end())
        sections.messages = found->second;
    return sections;
}

std::string Show(const HierarchicalStore::Value& value) {
    if (const int* number = std::get_if<int>(&value))
        return std::to_string(*number);
    return '"' + std::get<std::string>(value).substr(0, 40) + '"';
}

// The first value in which two states of a section differ, for failure messages.
std::string FirstDifference(const Key& actual, const Key& expected, const std::string& section) {
    for (const auto& [name, value] : expected.values) {
        const auto found = actual.values.find(name);
        if (found == actual.values.end())
            return section + "/" + name + " is missing, expected " + Show(value);
        if (found->second != value)
            return section + "/" + name + " is " + Show(found->second) + ", expected " + Show(value);
    }
    for (const auto& [name, value] : actual.values) {
        if (!expected.values.count(name))
            return section + "/" + name + " = " + Show(value) + " should not be there";
    }
    return {};
}

std::string FirstDifference(const Sections& actual, const Sections& expected) {
    const std::string configuration = FirstDifference(actual.configuration, expected.configuration, kConfiguration);
    return configuration.empty() ? FirstDifference(actual.messages, expected.messages, kMessages) : configuration;
}

StoredEntry Stored(const char* name, int i) {
    StoredEntry e;
    e.name = name;
    e.text = std::string("Text of ") + name;
    e.day = 3 + i;
    e.month = 4 + i;
    e.year = 2030 + i;
    e.minute = 10 + i;
    e.hour = 7 + i;
    e.showDays = i;
    e.repeat = 5 * i;
    e.active = i % 2;
    e.everyDay = (i + 1) % 2;
    return e;
}

MessageEntry Entry(const char* name, int i) {
    const StoredEntry s = Stored(name, i);
    MessageEntry e{};
    std::snprintf(e.m_szName, sizeof e.m_szName, "%s", s.name.c_str());
    std::snprintf(e.m_szText, sizeof e.m_szText, "%s", s.text.c_str());
    e.m_nDay = s.day;
    e.m_nMonth = s.month;
    e.m_nYear = s.year;
    e.m_nMinute = s.minute;
    e.m_nHour = s.hour;
    e.m_nShowDays = s.showDays;
    e.m_nRepeatMinutes = s.repeat;
    e.m_bActive = s.active;
    e.m_bEveryDay = s.everyDay;
    return e;
}

// Three messages and the four options, as a save through the journal leaves them, with the values of a fourth
// slot left over from a longer list (they stay, unread, as every save leaves them).
Key StoreOfThree() {
    Start first(Key{});
    first.Load();
    first.model->AppendEntry(Entry("Tea", 0));
    first.model->AppendEntry(Entry("Post", 1));
    first.model->AppendEntry(Entry("Plants", 2));
    first.model->SetOption(Option::ShowMinimized, true);
    if (!first.model->SaveAll())
        return {};
    Key root = first.tree.Root();
    root.subkeys[kMessages].values[Numbered(kName, 3)] = std::string("Left over");
    root.subkeys[kMessages].values[Numbered(kDay, 3)] = 9;
    return root;
}

using Change = std::function<void(ReminderModel&)>;

struct Outcomes {
    int before = 0;
    int after = 0;
    int other = 0;
    std::string firstOther;
};

// A start on what a cut-off left: it must show no box and find the state before or after, and leave no journal.
void JudgeStart(const Key& found, const Sections& before, const Sections& after, const std::string& where,
                Outcomes& outcomes) {
    Start next(found);
    next.Load();
    const Sections sections = SectionsOf(next.tree.Root());
    const bool isBefore = sections == before;
    const bool isAfter = sections == after;
    const bool journalLeft = next.tree.Root().subkeys.count(JournalingProfileStore::kJournal) > 0;
    if (next.prompts.boxes.empty() && !journalLeft && (isBefore || isAfter)) {
        ++(isBefore ? outcomes.before : outcomes.after);
        return;
    }
    ++outcomes.other;
    if (!outcomes.firstOther.empty())
        return;
    outcomes.firstOther = where + ": ";
    if (!next.prompts.boxes.empty())
        outcomes.firstOther += "the start showed \"" + next.prompts.boxes.front().text + "\"";
    else if (journalLeft)
        outcomes.firstOther += "the start left the journal behind";
    else
        outcomes.firstOther += "neither state: against before, " + FirstDifference(sections, before) +
                               "; against after, " + FirstDifference(sections, after);
}

} // namespace

class tst_JournalingStore : public QObject {
    Q_OBJECT
private slots:
    void everyCutOffSaveLeavesBeforeOrAfter_data();
    void everyCutOffSaveLeavesBeforeOrAfter();
    void withoutAJournalCutOffSavesMix();
    void aSaveGoesThroughTheJournalIntoTheSections();
    void aCompleteJournalIsFinishedAndAnIncompleteOneDropped_data();
    void aCompleteJournalIsFinishedAndAnIncompleteOneDropped();
    void aStoreWrittenWithoutJournalLoads();
    void aSaveThatCannotBeCompletedChangesNothing_data();
    void aSaveThatCannotBeCompletedChangesNothing();
    void aDamagedStoreThatCannotBeWrittenLosesNothingOverStarts();
    void aReplayThatFailsIsFinishedByTheNextStart();
    void rescueCopiesOfAStoreThatStaysDamaged();
    void rescueCopiesAreBoundedAndNumberedOn();
    void rescueCopyNumbersNeverWrap();
};

void tst_JournalingStore::everyCutOffSaveLeavesBeforeOrAfter_data() {
    QTest::addColumn<Change>("change");
    QTest::newRow("delete the first") << Change([](ReminderModel& m) { m.RemoveEntry(0); });
    QTest::newRow("delete the last") << Change([](ReminderModel& m) { m.RemoveEntry(2); });
    QTest::newRow("clear all") << Change([](ReminderModel& m) { m.ClearEntries(); });
    QTest::newRow("edit") << Change([](ReminderModel& m) { m.ReplaceEntry(1, Entry("Letters", 7)); });
    QTest::newRow("option click") << Change([](ReminderModel& m) { m.ToggleOption(Option::Tooltips); });
    QTest::newRow("add") << Change([](ReminderModel& m) { m.AppendEntry(Entry("Bins", 4)); });
}

void tst_JournalingStore::everyCutOffSaveLeavesBeforeOrAfter() {
    QFETCH(Change, change);
    const Key beforeRoot = StoreOfThree();
    const Sections before = SectionsOf(beforeRoot);
    QCOMPARE(before.messages.values.count(Numbered(kName, 2)), std::size_t(1));

    // The save run to its end: the state after, and how many writes it takes.
    Start whole(beforeRoot);
    whole.Load();
    QVERIFY(whole.prompts.boxes.empty());
    const int writesAtLoad = whole.tree.Writes();
    change(*whole.model);
    QVERIFY(whole.model->SaveAll());
    const int saveWrites = whole.tree.Writes() - writesAtLoad;
    const Sections after = SectionsOf(whole.tree.Root());
    QVERIFY(!(after == before));
    QVERIFY(whole.tree.Root().subkeys.count(JournalingProfileStore::kJournal) == 0);
    QVERIFY(saveWrites > 5);

    Outcomes killed;   // the process killed after the n-th write
    Outcomes powerCut; // the power gone then: what the store held at its last flush
    Outcomes recoveryKilled;
    for (int n = 0; n <= saveWrites; ++n) {
        Start cut(beforeRoot);
        cut.Load();
        cut.tree.writesBeforeDeath = cut.tree.Writes() + n;
        change(*cut.model);
        cut.model->SaveAll();
        const std::string where = "cut off after write " + std::to_string(n) + " of " + std::to_string(saveWrites);
        JudgeStart(cut.tree.Root(), before, after, where, killed);
        JudgeStart(cut.tree.Flushed(), before, after, where + ", power lost", powerCut);

        // The start after the kill is killed in turn, after each write of its recovery, and one more start follows.
        Start probe(cut.tree.Root());
        probe.store.Open();
        const int recoveryWrites = probe.tree.Writes();
        for (int m = 0; m < recoveryWrites; ++m) {
            Start recovery(cut.tree.Root());
            recovery.tree.writesBeforeDeath = m;
            recovery.store.Open();
            JudgeStart(recovery.tree.Root(), before, after,
                       where + ", its recovery cut off after write " + std::to_string(m), recoveryKilled);
        }
    }
    qInfo("%d cut-offs: before %d, after %d, other %d; power lost: before %d, after %d, other %d; recoveries cut "
          "off: before %d, after %d, other %d",
          saveWrites + 1, killed.before, killed.after, killed.other, powerCut.before, powerCut.after, powerCut.other,
          recoveryKilled.before, recoveryKilled.after, recoveryKilled.other);
    QVERIFY2(killed.other == 0, killed.firstOther.c_str());
    QVERIFY2(powerCut.other == 0, powerCut.firstOther.c_str());
    QVERIFY2(recoveryKilled.other == 0, recoveryKilled.firstOther.c_str());
    // The cut-offs fell on both sides of the moment the save takes effect.
    QVERIFY(killed.before > 0 && killed.after > 0);
    QVERIFY(recoveryKilled.after > 0);
}

// The test above has teeth: over the same kind of store written straight into its sections, as the registry store
// was before the journal, cut-off saves leave mixtures and damaged data.
void tst_JournalingStore::withoutAJournalCutOffSavesMix() {
    const Key beforeRoot = StoreOfThree();
    const Sections before = SectionsOf(beforeRoot);
    const Change change = [](ReminderModel& m) { m.RemoveEntry(0); };

    StartOn<WriteThroughStore> whole(beforeRoot);
    whole.Load();
    change(*whole.model);
    QVERIFY(whole.model->SaveAll());
    const Sections after = SectionsOf(whole.tree.Root());
    const int saveWrites = whole.tree.Writes();

    Outcomes outcomes;
    for (int n = 0; n <= saveWrites; ++n) {
        StartOn<WriteThroughStore> cut(beforeRoot);
        cut.Load();
        cut.tree.writesBeforeDeath = n;
        change(*cut.model);
        cut.model->SaveAll();
        JudgeStart(cut.tree.Root(), before, after, "write " + std::to_string(n), outcomes);
    }
    qInfo("without a journal, %d cut-offs: before %d, after %d, other %d", saveWrites + 1, outcomes.before,
          outcomes.after, outcomes.other);
    QVERIFY(outcomes.other > saveWrites / 2);
}

void tst_JournalingStore::aSaveGoesThroughTheJournalIntoTheSections() {
    MemoryHierarchicalStore tree;
    JournalingProfileStore store(tree);
    QVERIFY(store.WriteProfileInt(kConfiguration, kNumberOfMessages, 1));
    QVERIFY(store.WriteProfileString(kMessages, Numbered(kName, 0), "Tea\tfor two\\\n"));
    // Kept until the commit, and read back from there.
    QCOMPARE(tree.Writes(), 0);
    QCOMPARE(store.GetProfileInt(kConfiguration, kNumberOfMessages, -1), 1);
    QCOMPARE(store.GetProfileString(kMessages, Numbered(kName, 0)), std::string("Tea\tfor two\\\n"));

    // The journal is written whole before any section, its mark after it; the sections follow, then it goes.
    tree.writesBeforeDeath = 3;
    QVERIFY(!store.Commit());
    QCOMPARE(tree.ReadString("Journal", "Save"),
             std::optional<std::string>("Configuration\tNumber of messages\ti\t1\n"
                                        "Messages\tMessageName0\ts\tTea\\tfor two\\\\\\n\n"));
    QCOMPARE(tree.ReadInt("Journal", "Complete"), std::optional<int>(2));
    QVERIFY(!tree.Find(kConfiguration) && !tree.Find(kMessages));

    MemoryHierarchicalStore next(tree.Root());
    JournalingProfileStore reopened(next);
    QCOMPARE(reopened.GetProfileString(kMessages, Numbered(kName, 0)), std::string("Tea\tfor two\\\n"));
    QCOMPARE(next.ReadInt(kConfiguration, kNumberOfMessages), std::optional<int>(1));
    QVERIFY(!next.Find("Journal"));
    // A commit with nothing written has nothing to do.
    const int writes = next.Writes();
    QVERIFY(reopened.Commit());
    QCOMPARE(next.Writes(), writes);
}

void tst_JournalingStore::aCompleteJournalIsFinishedAndAnIncompleteOneDropped_data() {
    QTest::addColumn<QByteArray>("save");
    QTest::addColumn<int>("mark"); // 0: none
    QTest::addColumn<bool>("finished");
    const QByteArray save = "Configuration\tNumber of messages\ti\t1\nMessages\tMessageName0\ts\tTea\n";
    QTest::newRow("complete") << save << 2 << true;
    QTest::newRow("no mark") << save << 0 << false;
    QTest::newRow("a mark that counts fewer") << save << 1 << false;
    QTest::newRow("a mark that counts more") << save << 3 << false;
    QTest::newRow("the last line cut short") << save.chopped(1) << 2 << false;
    QTest::newRow("a number that is none") << QByteArray("Configuration\tNumber of messages\ti\tone\n") << 1 << false;
    QTest::newRow("an unknown type") << QByteArray("Configuration\tNumber of messages\tq\t1\n") << 1 << false;
    QTest::newRow("an unknown escape") << QByteArray("Messages\tMessageName0\ts\tT\\ea\n") << 1 << false;
}

void tst_JournalingStore::aCompleteJournalIsFinishedAndAnIncompleteOneDropped() {
    QFETCH(QByteArray, save);
    QFETCH(int, mark);
    QFETCH(bool, finished);
    Key found;
    found.subkeys[kConfiguration].values[kNumberOfMessages] = 0;
    found.subkeys["Journal"].values["Save"] = save.toStdString();
    if (mark)
        found.subkeys["Journal"].values["Complete"] = mark;
    MemoryHierarchicalStore tree(found);
    JournalingProfileStore store(tree);
    // Opened on the first read, before the value is read.
    QCOMPARE(store.GetProfileInt(kConfiguration, kNumberOfMessages, -1), finished ? 1 : 0);
    QCOMPARE(store.GetProfileString(kMessages, Numbered(kName, 0)), std::string(finished ? "Tea" : ""));
    QVERIFY(!tree.Find("Journal"));
}

void tst_JournalingStore::aStoreWrittenWithoutJournalLoads() {
    // As an earlier build or a hand edit leaves it: the sections and nothing else.
    MemoryHierarchicalStore hand;
    WriteThroughStore direct(hand);
    PutTable(direct, 3);
    Start start(hand.Root());
    start.Load();
    QVERIFY(start.prompts.boxes.empty());
    QCOMPARE(start.model->Count(), 3);
    QCOMPARE(start.tree.Writes(), 0);
}

void tst_JournalingStore::aSaveThatCannotBeCompletedChangesNothing_data() {
    QTest::addColumn<QStringList>("readOnly");
    QTest::addColumn<QString>("failingWrite"); // key/name of a write that fails
    QTest::newRow("Messages may not be written") << QStringList{kMessages} << QString();
    QTest::newRow("Configuration may not be written") << QStringList{kConfiguration} << QString();
    QTest::newRow("no journal can be made") << QStringList{""} << QString();
    QTest::newRow("the journal cannot be written") << QStringList{} << "Journal/Save";
    QTest::newRow("its completion mark cannot be written") << QStringList{} << "Journal/Complete";
}

void tst_JournalingStore::aSaveThatCannotBeCompletedChangesNothing() {
    QFETCH(QStringList, readOnly);
    QFETCH(QString, failingWrite);
    const Key beforeRoot = StoreOfThree();
    Start start(beforeRoot);
    start.Load();
    for (const QString& key : readOnly)
        start.tree.readOnly.insert(key.toStdString());
    start.tree.failWrite = [&](const std::string& key, const std::string& name) {
        return QString::fromStdString(key + "/" + name) == failingWrite;
    };
    start.model->RemoveEntry(0);
    QVERIFY(!start.model->SaveAll());
    QCOMPARE(ToQt(start.prompts.ErrorTexts()), QStringList{Expected::kSaveFailed});
    QVERIFY(start.model->GlobalError());
    const Sections sections = SectionsOf(start.tree.Root());
    QVERIFY2(sections == SectionsOf(beforeRoot), FirstDifference(sections, SectionsOf(beforeRoot)).c_str());
    QVERIFY(readOnly == QStringList{""} || !start.tree.Find("Journal"));
}

// A message damaged by hand in a store whose Messages the user may not write: every start drops it, cannot save,
// says so, and leaves the store as it was; the intact messages stay, start after start, and one rescue copy is kept.
void tst_JournalingStore::aDamagedStoreThatCannotBeWrittenLosesNothingOverStarts() {
    Key found = StoreOfThree();
    {
        MemoryHierarchicalStore tree(found);
        WriteThroughStore direct(tree);
        PutSettings(direct, 4);
        PutEntry(direct, 3, Stored("Bins", 3));
        found = tree.Root();
        found.subkeys[kMessages].values.erase(Numbered(kHour, 1));
    }
    const Sections original = SectionsOf(found);
    for (int run = 1; run <= 4; ++run) {
        Start start(found);
        start.tree.readOnly.insert(kMessages);
        start.Load();
        QCOMPARE(ToQt(start.prompts.ErrorTexts()), (QStringList{Expected::kCorrupt, Expected::kSaveFailed}));
        QCOMPARE(start.model->Count(), 3);
        const Sections sections = SectionsOf(start.tree.Root());
        QVERIFY2(sections == original, ("start " + std::to_string(run) + ": " +
                                        FirstDifference(sections, original)).c_str());
        found = start.tree.Root();
    }
    QCOMPARE(found.subkeys.count("Damaged 1"), std::size_t(1));
    QCOMPARE(found.subkeys.count("Damaged 2"), std::size_t(0));
    QVERIFY(found.subkeys.at("Damaged 1").subkeys.at(kMessages) == original.messages);
}

void tst_JournalingStore::aReplayThatFailsIsFinishedByTheNextStart() {
    const Key beforeRoot = StoreOfThree();
    Start start(beforeRoot);
    start.Load();
    start.tree.failWrite = [](const std::string& key, const std::string& name) {
        return key == kMessages && name == Numbered(kText, 1);
    };
    start.model->RemoveEntry(0);
    QVERIFY(!start.model->SaveAll());
    QCOMPARE(ToQt(start.prompts.ErrorTexts()), QStringList{Expected::kSaveFailed});
    // The journal is complete: this run reads what it holds, writes nothing more, and the next start finishes it.
    QVERIFY(start.tree.Find("Journal"));
    QCOMPARE(start.store.GetProfileInt(kConfiguration, kNumberOfMessages, -1), 2);
    QCOMPARE(start.store.GetProfileString(kMessages, Numbered(kName, 0)), std::string("Post"));
    QVERIFY(!start.store.WriteProfileInt(kConfiguration, kNumberOfMessages, 1));

    Start next(start.tree.Root());
    next.Load();
    QVERIFY(next.prompts.boxes.empty());
    QCOMPARE(next.model->Count(), 2);
    QCOMPARE(QByteArray(next.model->Entry(0).m_szName), QByteArray("Post"));
    QCOMPARE(QByteArray(next.model->Entry(1).m_szName), QByteArray("Plants"));
    QVERIFY(!next.tree.Find("Journal"));
}

// Twelve starts on a store that stays damaged, because its sections cannot be written: one copy, not twelve.
void tst_JournalingStore::rescueCopiesOfAStoreThatStaysDamaged() {
    Key found = StoreOfThree();
    found.subkeys[kConfiguration].values[kNumberOfMessages] = 150;
    for (int run = 0; run < 12; ++run) {
        Start start(found);
        start.tree.readOnly = {kConfiguration, kMessages};
        start.Load();
        QCOMPARE(ToQt(start.prompts.ErrorTexts()), (QStringList{Expected::kTooMany, Expected::kSaveFailed}));
        found = start.tree.Root();
    }
    std::vector<std::string> copies;
    for (const auto& [name, key] : found.subkeys) {
        if (name.rfind("Damaged ", 0) == 0)
            copies.push_back(name);
    }
    QCOMPARE(ToQt(copies), QStringList{"Damaged 1"});
    QCOMPARE(std::get<int>(found.subkeys.at("Damaged 1").subkeys.at(kConfiguration).values.at(kNumberOfMessages)),
             150);
}

// Damaged anew before each of fifteen starts, each time differently: the newest ten copies are kept, numbered on.
void tst_JournalingStore::rescueCopiesAreBoundedAndNumberedOn() {
    Key found = StoreOfThree();
    for (int run = 1; run <= 15; ++run) {
        found.subkeys[kConfiguration].values[kNumberOfMessages] = 100 + run;
        Start start(found);
        start.Load();
        QCOMPARE(start.prompts.ErrorTexts().front(), std::string(Expected::kTooMany));
        QVERIFY(!start.model->GlobalError());
        found = start.tree.Root();
    }
    QStringList copies;
    for (const auto& [name, key] : found.subkeys) {
        if (name.rfind("Damaged ", 0) == 0)
            copies << QString::fromStdString(name);
    }
    copies.sort();
    QCOMPARE(copies, (QStringList{"Damaged 10", "Damaged 11", "Damaged 12", "Damaged 13", "Damaged 14",
                                  "Damaged 15", "Damaged 6", "Damaged 7", "Damaged 8", "Damaged 9"}));
    // Each holds the store as its start found it.
    for (int n = 6; n <= 15; ++n) {
        const Key& copy = found.subkeys.at("Damaged " + std::to_string(n));
        QCOMPARE(std::get<int>(copy.subkeys.at(kConfiguration).values.at(kNumberOfMessages)), 100 + n);
    }
}

void tst_JournalingStore::rescueCopyNumbersNeverWrap() {
    Key found = StoreOfThree();
    found.subkeys[kConfiguration].values[kNumberOfMessages] = 150;
    // Copies made by earlier builds, or by hand: numbers at the ends of 32 bits, and names that are no copies.
    for (const char* name : {"Damaged 4294967295", "Damaged 2147483647", "Damaged 9", "Damaged 007", "Damaged x"})
        found.subkeys[name].values["Note"] = std::string(name);
    Start start(found);
    start.Load();
    const Key& root = start.tree.Root();
    QVERIFY(root.subkeys.count("Damaged 4294967296"));
    QCOMPARE(std::get<int>(
                 root.subkeys.at("Damaged 4294967296").subkeys.at(kConfiguration).values.at(kNumberOfMessages)),
             150);
    for (const char* name : {"Damaged 4294967295", "Damaged 2147483647", "Damaged 9", "Damaged 007", "Damaged x"})
        QVERIFY2(root.subkeys.count(name), name);
    // No copy of the copies.
    QVERIFY(!root.subkeys.at("Damaged 4294967296").subkeys.count("Damaged 9"));
}

QTEST_GUILESS_MAIN(tst_JournalingStore)
#include "tst_journalingstore.moc"
