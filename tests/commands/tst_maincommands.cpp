// The main window's commands as flows over the model and a recording window: what each command asks, what it
// stores, which lines and buttons it leaves, what it saves, and what the failed state stops. No toolkit window.

#include "ExpectedTemplates.h"
#include "ListOrder.h"
#include "MainCommands.h"
#include "MemoryProfileStore.h"
#include "QtText.h"
#include "MessageValidation.h"
#include "OptionCheckBoxes.h"
#include "RecordingView.h"
#include "ReminderModel.h"
#include "StoreFixtures.h"
#include "TestSupport.h"
#include "TextFit.h"

#include <QtTest>

#include <cstring>

using namespace ProfileNames;

namespace {
struct Rig {
    explicit Rig(const std::vector<std::string>& names = {}, bool confirm = true) : clock(1'000'000'000) {
        PutSettings(store, int(names.size()), 1, 1, confirm ? 1 : 0);
        for (std::size_t i = 0; i < names.size(); ++i)
            PutEntry(store, int(i), {.name = names[i], .text = "Text of " + names[i]});
        model.AllocateTable();
        model.LoadAll();
        commands.FillList();
        store.commitCount = 0;
        prompts.Clear();
    }
    // The editor answers OK after change has edited the working copy.
    void Answer(std::function<void(MessageEntry&)> change) {
        view.editor = [change](MessageEntry& copy) {
            if (change)
                change(copy);
            return true;
        };
    }
    QStringList Lines() const {
        QStringList lines;
        for (const std::string& line : view.Texts())
            lines << QString::fromStdString(line);
        return lines;
    }
    QStringList StoredNames() { return ToQt(::StoredNames(store)); }
    QStringList Errors() const { return ToQt(prompts.ErrorTexts()); }
    // Edit, Copy and Delete enabled, then Clear all.
    QList<bool> Buttons() const {
        return {view.buttons.edit, view.buttons.copy, view.buttons.del, view.buttons.clearAll};
    }

    MemoryProfileStore store;
    RecordingPrompts prompts;
    FakeClock clock;
    ReminderModel model{{&store, &prompts, clock.AsClock(), {}}};
    RecordingView view;
    MainCommands commands{model, view};
};

void Rename(MessageEntry& entry, const char* name) { CopyFitted(entry.m_szName, sizeof entry.m_szName, name); }

const QString kGlobalError = QString::fromUtf8(Expected::kGlobalError);
const QString kDoubleName = QString::fromUtf8(Expected::kDoubleName);
} // namespace

class tst_MainCommands : public QObject {
    Q_OBJECT
private slots:
    void listLines();
    void listOrder_data();
    void listOrder();
    void buttonStates_data();
    void buttonStates();
    void fillLeavesTheListEmptyInTheFailedState();

    void addOnEmptyTable();
    void addProposesCountBasedNameAndRefusesDuplicate();
    void cancelledAddChangesNothingButSaves();
    void invalidEditIsDropped();
    void copyKeepsEverythingButTheName_data();
    void copyKeepsEverythingButTheName();
    void editKeepsSlotAndTakesSortedPlace();
    void namesDifferingInCaseMapToTheirOwnEntries_data();
    void namesDifferingInCaseMapToTheirOwnEntries();
    void lineWithoutEntryIsAnInternalError_data();
    void lineWithoutEntryIsAnInternalError();
    void nothingToWorkOn_data();
    void nothingToWorkOn();
    void deleteInTheMiddleKeepsOrder();
    void confirmations_data();
    void confirmations();
    void fullTableRefusesAddAndCopy();
    void failedStateRefusesEveryCommand();
    void options_data();
    void options();
    void optionCheckBoxes_data();
    void optionCheckBoxes();
    void opening_data();
    void opening();
};

void tst_MainCommands::listLines() {
    MessageEntry entry{};
    std::strcpy(entry.m_szName, "Shopping");
    entry.m_bActive = 1;
    QCOMPARE(FormatListLine(entry), std::string("Shopping\tACTIVE"));
    entry.m_bActive = 0;
    QCOMPARE(FormatListLine(entry), std::string("Shopping\tINACTIVE"));
    std::memset(entry.m_szName, 'x', 199);
    entry.m_szName[199] = '\0';
    QCOMPARE(FormatListLine(entry), std::string(199, 'x') + "\tINACTIVE");
}

void tst_MainCommands::listOrder_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("a name before a longer one that begins with it") << "Tea\tINACTIVE" << "Tea time\tACTIVE";
    QTest::newRow("letter case ignored") << "apple\tACTIVE" << "Banana\tACTIVE";
    QTest::newRow("equal but for case: capitals first") << "Work\tACTIVE" << "work\tACTIVE";
    QTest::newRow("accented capitals fold") << "écume\tACTIVE" << "Édith\tACTIVE";
    QTest::newRow("Cyrillic capitals fold") << "арбуз\tACTIVE" << "Банан\tACTIVE";
    QTest::newRow("Greek capitals fold") << "άλφα\tACTIVE" << "Βήτα\tACTIVE";
    QTest::newRow("a byte that is no character goes last") << "Zebra\tACTIVE" << "\xff\tACTIVE";
    // Letters beyond ASCII stand by their code point once folded, after every ASCII letter; each row's second
    // line starts with a capital that must fold to the small letter the first line starts with.
    QTest::newRow("Latin-1 capitals from À on fold") << "àa\tACTIVE" << "Àb\tACTIVE";
    QTest::newRow("Latin-1 capitals up to Þ fold") << "þa\tACTIVE" << "Þb\tACTIVE";
    QTest::newRow("× is no capital of ÷") << "×z\tACTIVE" << "÷a\tACTIVE";
    QTest::newRow("Ÿ folds to ÿ") << "ÿa\tACTIVE" << "Ÿb\tACTIVE";
    QTest::newRow("Polish Ą, on an even code point") << "ąb\tACTIVE" << "Ąc\tACTIVE";
    QTest::newRow("Polish Ś, even in the second run") << "śliwka\tACTIVE" << "Śnieg\tACTIVE";
    QTest::newRow("Polish Ł, on an odd code point") << "łańcut\tACTIVE" << "Łódź\tACTIVE";
    QTest::newRow("Polish Ż, odd in the second run") << "żaba\tACTIVE" << "Żurek\tACTIVE";
    QTest::newRow("dotted İ folds to i") << "İstanbul\tACTIVE" << "izmir\tACTIVE";
    QTest::newRow("Cyrillic Ё folds to ё") << "ёж\tACTIVE" << "Ёлка\tACTIVE";
    QTest::newRow("Cyrillic Я, the last capital, folds") << "яблоко\tACTIVE" << "Ящик\tACTIVE";
}

void tst_MainCommands::listOrder() {
    QFETCH(QString, first);
    QFETCH(QString, second);
    const std::string a = first.toStdString();
    const std::string b = second.toStdString();
    QVERIFY(ListLineLess(a, b));
    QVERIFY(!ListLineLess(b, a));
    QVERIFY(!ListLineLess(a, a));
}

void tst_MainCommands::buttonStates_data() {
    using Focus = ButtonStates::Focus;
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("marked");
    QTest::addColumn<bool>("listShown");
    QTest::addColumn<QList<bool>>("enabled"); // Edit, Copy, Delete, Clear all
    QTest::addColumn<int>("focus");
    QTest::newRow("empty table") << 0 << false << true << QList<bool>{false, false, false, false}
                                 << int(Focus::AddMessage);
    QTest::newRow("messages, none marked") << 2 << false << true << QList<bool>{false, false, false, true}
                                           << int(Focus::AddMessage);
    QTest::newRow("a line marked") << 2 << true << true << QList<bool>{true, true, true, true} << int(Focus::Stay);
    // The second step enables Delete for a marked line even where the first disabled it.
    QTest::newRow("a marked line of an empty table") << 0 << true << true << QList<bool>{false, false, true, false}
                                                     << int(Focus::AddMessage);
    // Add is hidden with the list: the focus must not fall to Exit, where Space would end the program.
    QTest::newRow("list hidden") << 2 << false << false << QList<bool>{false, false, false, true}
                                 << int(Focus::ActivateMessages);
}

void tst_MainCommands::buttonStates() {
    QFETCH(int, count);
    QFETCH(bool, marked);
    QFETCH(bool, listShown);
    QFETCH(QList<bool>, enabled);
    QFETCH(int, focus);
    const ButtonStates states = DecideButtons(count, marked, listShown);
    QCOMPARE((QList<bool>{states.edit, states.copy, states.del, states.clearAll}), enabled);
    QCOMPARE(int(states.focus), focus);
}

void tst_MainCommands::fillLeavesTheListEmptyInTheFailedState() {
    Rig rig({"One", "Two"});
    QCOMPARE(rig.Lines(), (QStringList{"One\tACTIVE", "Two\tACTIVE"}));
    rig.model.EnterGlobalError();
    rig.commands.FillList();
    QCOMPARE(rig.view.lines.Size(), std::size_t{0});
}

void tst_MainCommands::addOnEmptyTable() {
    Rig rig;
    rig.Answer({});
    rig.commands.OnAddMessage();
    QCOMPARE(rig.view.editorOpened.size(), std::size_t{1});
    const MessageEntry& proposed = rig.view.editorOpened[0];
    QCOMPARE(QString(proposed.m_szName), QStringLiteral("Message 1"));
    QCOMPARE(QString(proposed.m_szText), QStringLiteral("This is message 1."));
    QCOMPARE((QList<int>{proposed.m_nDay, proposed.m_nMonth, proposed.m_nYear, proposed.m_nHour, proposed.m_nMinute,
                         proposed.m_nShowDays, proposed.m_nRepeatMinutes, proposed.m_bActive, proposed.m_bEveryDay}),
             (QList<int>{1, 1, 1996, 0, 0, 0, 0, 1, 0}));
    QVERIFY(rig.view.editorTooltips);
    QCOMPARE(rig.Lines(), QStringList{"Message 1\tACTIVE"});
    QCOMPARE(rig.model.Count(), 1);
    QCOMPARE(rig.model.Entry(0).m_bPending, 1);
    QCOMPARE(rig.Buttons(), (QList<bool>{false, false, false, true}));
    QCOMPARE(rig.StoredNames(), QStringList{"Message 1"});
    QCOMPARE(rig.store.commitCount, 1);
}

void tst_MainCommands::addProposesCountBasedNameAndRefusesDuplicate() {
    Rig rig({"Message 1", "Message 2"}, false);
    QVERIFY(rig.view.Mark("Message 1\tACTIVE"));
    rig.commands.OnDeleteMarked();
    QCOMPARE(rig.Lines(), QStringList{"Message 2\tACTIVE"});

    rig.Answer({});
    rig.commands.OnAddMessage();
    QCOMPARE(QString(rig.view.editorOpened.back().m_szName), QStringLiteral("Message 2"));
    QCOMPARE(rig.Errors(), QStringList{kDoubleName});
    QCOMPARE(rig.model.Count(), 1);
    QCOMPARE(rig.Lines(), QStringList{"Message 2\tACTIVE"});
}

void tst_MainCommands::cancelledAddChangesNothingButSaves() {
    Rig rig({"One"});
    // Neither check runs after Cancel: a copy that both would refuse passes without a box.
    rig.view.editor = [](MessageEntry& copy) {
        Rename(copy, "One");
        copy.m_nMinute = 60;
        return false;
    };
    rig.commands.OnAddMessage();
    QCOMPARE(rig.model.Count(), 1);
    QCOMPARE(rig.Lines(), QStringList{"One\tACTIVE"});
    QCOMPARE(rig.store.commitCount, 1);
    QVERIFY(rig.prompts.boxes.empty());
}

void tst_MainCommands::invalidEditIsDropped() {
    Rig rig({"One", "Two"});
    QVERIFY(rig.view.Mark("One\tACTIVE"));
    // The field checks come first: a copy that breaks both shows only theirs.
    rig.Answer([](MessageEntry& copy) {
        Rename(copy, "Two");
        copy.m_nMinute = 60;
        copy.m_nHour = 24;
    });
    rig.commands.OnEditMarked();
    QCOMPARE(rig.Errors(), QStringList{Expected::kMinuteRange});
    QCOMPARE(QString(rig.model.Entry(0).m_szName), QStringLiteral("One"));
    QCOMPARE(rig.model.Entry(0).m_nMinute, 30);
    QCOMPARE(rig.Lines(), (QStringList{"One\tACTIVE", "Two\tACTIVE"}));
    QCOMPARE(rig.store.commitCount, 1);
}

void tst_MainCommands::copyKeepsEverythingButTheName_data() {
    QTest::addColumn<bool>("shownBefore");
    QTest::newRow("armed original") << false;
    // A copy of a message already shown would otherwise wait for the original's repeat or the next day.
    QTest::newRow("original already shown") << true;
}

void tst_MainCommands::copyKeepsEverythingButTheName() {
    QFETCH(bool, shownBefore);
    MemoryProfileStore store;
    PutSettings(store, 2);
    PutEntry(store, 0, {.name = "Alpha"});
    PutEntry(store, 1, {.name = "Dentist", .text = "Bring the card", .day = 14, .month = 2, .year = 2027,
                        .minute = 45, .hour = 16, .showDays = 3, .repeat = 10, .active = 0, .everyDay = 0});
    Rig rig;
    rig.store = store;
    rig.model.LoadAll();
    rig.commands.FillList();
    if (shownBefore) {
        MessageEntry& original = rig.model.ScheduledEntry(1);
        original.m_bPending = 0;
        original.m_bShown = 1;
        original.m_tLastShown = 77;
    }
    QVERIFY(rig.view.Mark("Dentist\tINACTIVE"));
    rig.Answer({});
    rig.commands.OnCopyMarked();
    QCOMPARE(QString(rig.view.editorOpened.back().m_szName), QStringLiteral("Message 3"));
    QCOMPARE(rig.model.Count(), 3);
    const MessageEntry& copy = rig.model.Entry(2);
    QCOMPARE(QString(copy.m_szName), QStringLiteral("Message 3"));
    QCOMPARE(QString(copy.m_szText), QStringLiteral("Bring the card"));
    QCOMPARE((QList<int>{copy.m_nDay, copy.m_nMonth, copy.m_nYear, copy.m_nMinute, copy.m_nHour, copy.m_nShowDays,
                         copy.m_nRepeatMinutes, copy.m_bActive, copy.m_bEveryDay, copy.m_bPending}),
             (QList<int>{14, 2, 2027, 45, 16, 3, 10, 0, 0, 1}));
    QCOMPARE(copy.m_bShown, shownBefore ? 1 : 0);
    QCOMPARE(copy.m_tLastShown, shownBefore ? std::time_t{77} : rig.clock.now);
    QVERIFY(rig.Lines().contains("Message 3\tINACTIVE"));

    QVERIFY(rig.view.Mark("Dentist\tINACTIVE"));
    rig.Answer([](MessageEntry& copy) { Rename(copy, "Dentist"); });
    rig.commands.OnCopyMarked();
    QCOMPARE(rig.Errors(), QStringList{kDoubleName});
    QCOMPARE(rig.model.Count(), 3);
}

void tst_MainCommands::editKeepsSlotAndTakesSortedPlace() {
    Rig rig({"Alpha", "Beta", "Gamma"});
    rig.model.ScheduledEntry(0).m_bPending = 0;
    rig.model.ScheduledEntry(0).m_tLastShown = 77;

    QVERIFY(rig.view.Mark("Alpha\tACTIVE"));
    rig.Answer([&rig](MessageEntry& copy) {
        CopyFitted(copy.m_szText, sizeof copy.m_szText, "New text");
        // A timer tick while the editor is open shows the entry; the edit writes back what the editor opened with.
        rig.model.ScheduledEntry(0).m_bShown = 1;
        rig.model.ScheduledEntry(0).m_tLastShown = 99;
    });
    rig.commands.OnEditMarked();
    QVERIFY(rig.prompts.boxes.empty());
    QCOMPARE(QString(rig.model.Entry(0).m_szText), QStringLiteral("New text"));
    QCOMPARE(rig.model.Entry(0).m_bPending, 1);
    QCOMPARE(rig.model.Entry(0).m_tLastShown, std::time_t{77});
    QCOMPARE(rig.model.Entry(0).m_bShown, 0);

    QVERIFY(rig.view.Mark("Alpha\tACTIVE"));
    rig.Answer([](MessageEntry& copy) { Rename(copy, "Zulu"); });
    rig.commands.OnEditMarked();
    QCOMPARE(QString(rig.model.Entry(0).m_szName), QStringLiteral("Zulu"));
    QCOMPARE(rig.Lines(), (QStringList{"Beta\tACTIVE", "Gamma\tACTIVE", "Zulu\tACTIVE"}));
    QCOMPARE(rig.StoredNames(), (QStringList{"Zulu", "Beta", "Gamma"}));
    QCOMPARE(rig.Buttons(), (QList<bool>{false, false, false, true}));
    QCOMPARE(rig.view.buttons.focus, ButtonStates::Focus::AddMessage);

    QVERIFY(rig.view.Mark("Zulu\tACTIVE"));
    rig.Answer([](MessageEntry& copy) { Rename(copy, "Beta"); });
    rig.commands.OnEditMarked();
    QCOMPARE(rig.Errors(), QStringList{kDoubleName});
    rig.prompts.Clear();
    QVERIFY(rig.view.Mark("Zulu\tACTIVE"));
    rig.Answer([](MessageEntry& copy) { Rename(copy, "beta"); });
    rig.commands.OnEditMarked();
    QVERIFY(rig.prompts.boxes.empty());
    QCOMPARE(rig.StoredNames(), (QStringList{"beta", "Beta", "Gamma"}));
}

void tst_MainCommands::namesDifferingInCaseMapToTheirOwnEntries_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("copy") << "copy";
    QTest::newRow("edit") << "edit";
    QTest::newRow("delete") << "delete";
}

void tst_MainCommands::namesDifferingInCaseMapToTheirOwnEntries() {
    QFETCH(QString, command);
    Rig rig({"Work", "work"}, false);
    for (const std::string marked : {"work", "Work"}) {
        rig.prompts.Clear();
        QVERIFY(rig.view.Mark(marked + "\tACTIVE"));
        if (command == "delete") {
            rig.commands.OnDeleteMarked();
            QVERIFY(!rig.Lines().contains(QString::fromStdString(marked + "\tACTIVE")));
            continue;
        }
        rig.Answer([marked](MessageEntry& copy) {
            CopyFitted(copy.m_szText, sizeof copy.m_szText, "Edited " + marked);
        });
        if (command == "copy")
            rig.commands.OnCopyMarked();
        else
            rig.commands.OnEditMarked();
        QCOMPARE(std::string(rig.view.editorOpened.back().m_szText), "Text of " + marked);
        QVERIFY(rig.prompts.boxes.empty());
    }
    QVERIFY(!rig.model.GlobalError());
    if (command == "edit") {
        QCOMPARE(QString(rig.model.Entry(0).m_szText), QStringLiteral("Edited Work"));
        QCOMPARE(QString(rig.model.Entry(1).m_szText), QStringLiteral("Edited work"));
    }
    if (command == "delete")
        QCOMPARE(rig.model.Count(), 0);
}

void tst_MainCommands::lineWithoutEntryIsAnInternalError_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("saves"); // Copy ends without saving; Edit and Delete save all the same
    QTest::newRow("copy") << "copy" << 0;
    QTest::newRow("edit") << "edit" << 1;
    QTest::newRow("delete") << "delete" << 1;
}

void tst_MainCommands::lineWithoutEntryIsAnInternalError() {
    QFETCH(QString, command);
    QFETCH(int, saves);
    Rig rig({"One"});
    rig.view.AddLine("Ghost\tACTIVE", "Ghost");
    QVERIFY(rig.view.Mark("Ghost\tACTIVE"));
    rig.Answer({});
    if (command == "copy")
        rig.commands.OnCopyMarked();
    else if (command == "edit")
        rig.commands.OnEditMarked();
    else
        rig.commands.OnDeleteMarked();
    QCOMPARE(rig.Errors(), QStringList{Expected::kInternalError});
    QVERIFY(rig.model.GlobalError());
    QVERIFY(rig.view.editorOpened.empty());
    QCOMPARE(rig.store.commitCount, saves);
    QCOMPARE(rig.model.Count(), 1);
}

void tst_MainCommands::nothingToWorkOn_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<int>("saves"); // each with a button update
    QTest::newRow("copy, nothing marked") << "copy" << false << 0;
    QTest::newRow("edit, nothing marked") << "edit" << false << 0;
    QTest::newRow("delete, nothing marked") << "delete" << false << 1;
    QTest::newRow("copy, empty table") << "copy" << true << 0;
    QTest::newRow("edit, empty table") << "edit" << true << 0;
    QTest::newRow("delete, empty table") << "delete" << true << 0;
}

void tst_MainCommands::nothingToWorkOn() {
    QFETCH(QString, command);
    QFETCH(bool, empty);
    QFETCH(int, saves);
    Rig rig(empty ? std::vector<std::string>{} : std::vector<std::string>{"One"});
    // A line marked in an empty table cannot be reached by the user; the count alone ends the command.
    if (empty)
        rig.view.AddLine("Ghost\tACTIVE", "Ghost"), rig.view.marked = 0;
    rig.Answer({});
    const int updates = rig.view.buttonUpdates;
    if (command == "copy")
        rig.commands.OnCopyMarked();
    else if (command == "edit")
        rig.commands.OnEditMarked();
    else
        rig.commands.OnDeleteMarked();
    QVERIFY(rig.view.editorOpened.empty());
    QVERIFY(rig.prompts.boxes.empty());
    QCOMPARE(rig.store.commitCount, saves);
    QCOMPARE(rig.view.buttonUpdates - updates, saves);
    QVERIFY(!rig.model.GlobalError());
}

void tst_MainCommands::deleteInTheMiddleKeepsOrder() {
    Rig rig({"A", "B", "C", "D"}, false);
    QVERIFY(rig.view.Mark("B\tACTIVE"));
    rig.commands.OnDeleteMarked();
    QCOMPARE(rig.model.Count(), 3);
    QCOMPARE(rig.StoredNames(), (QStringList{"A", "C", "D"}));
    // The value of the old last slot stays behind, unreferenced.
    QCOMPARE(rig.store.GetProfileString(kMessages, Numbered(kName, 3)), std::string("D"));
    QCOMPARE(rig.Buttons(), (QList<bool>{false, false, false, true}));
    QCOMPARE(rig.view.marked, -1);
}

void tst_MainCommands::confirmations_data() {
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("clearAll");
    QTest::addColumn<bool>("marked");
    QTest::addColumn<int>("expectedCount");
    QTest::addColumn<int>("expectedBeeps");
    QTest::addColumn<int>("expectedSaves"); // each save comes with a button update
    QTest::newRow("delete, no confirmation") << false << true << false << true << 2 << 0 << 1;
    QTest::newRow("delete, confirmed") << true << true << false << true << 2 << 1 << 1;
    QTest::newRow("delete, declined still saves") << true << false << false << true << 3 << 1 << 1;
    QTest::newRow("delete, nothing marked still saves") << true << true << false << false << 3 << 0 << 1;
    QTest::newRow("clear all, no confirmation") << false << true << true << true << 0 << 0 << 1;
    QTest::newRow("clear all, confirmed") << true << true << true << true << 0 << 1 << 1;
    QTest::newRow("clear all, declined does not save") << true << false << true << true << 3 << 1 << 0;
}

void tst_MainCommands::confirmations() {
    QFETCH(bool, confirm);
    QFETCH(bool, answer);
    QFETCH(bool, clearAll);
    QFETCH(bool, marked);
    QFETCH(int, expectedCount);
    QFETCH(int, expectedBeeps);
    QFETCH(int, expectedSaves);
    Rig rig({"A", "B", "C"}, confirm);
    if (marked)
        QVERIFY(rig.view.Mark("B\tACTIVE"));
    rig.prompts.answers = {answer};
    if (clearAll)
        rig.commands.OnClearAll();
    else
        rig.commands.OnDeleteMarked();
    QCOMPARE(rig.model.Count(), expectedCount);
    QCOMPARE(rig.Lines().size(), expectedCount);
    QCOMPARE(rig.prompts.beeps, expectedBeeps);
    QCOMPARE(rig.store.commitCount, expectedSaves);
    QCOMPARE(rig.view.buttonUpdates, expectedSaves);
    if (expectedBeeps == 1) {
        QCOMPARE(rig.prompts.boxes.size(), std::size_t{1});
        QCOMPARE(rig.prompts.boxes[0].kind, std::string("question"));
        QCOMPARE(rig.prompts.boxes[0].caption, std::string(Expected::kWarningCaption));
        QCOMPARE(rig.prompts.boxes[0].text, std::string(clearAll ? Expected::kConfirmClear
                                                                  : Expected::kConfirmDelete));
        QCOMPARE(rig.prompts.events.front(), std::string("beep"));
    } else {
        QVERIFY(rig.prompts.boxes.empty());
    }
}

void tst_MainCommands::fullTableRefusesAddAndCopy() {
    Rig rig;
    PutTable(rig.store, 100);
    rig.model.LoadAll();
    rig.commands.FillList();
    rig.store.commitCount = 0;
    rig.Answer({});
    rig.commands.OnAddMessage();
    QVERIFY(rig.view.Mark("Entry 5\tACTIVE"));
    rig.commands.OnCopyMarked();
    QCOMPARE(rig.Errors(), (QStringList{Expected::kListFull, Expected::kListFull}));
    QVERIFY(rig.view.editorOpened.empty());
    QCOMPARE(rig.model.Count(), 100);
    QCOMPARE(rig.Lines().size(), 100);
    QCOMPARE(rig.store.commitCount, 0);
}

void tst_MainCommands::failedStateRefusesEveryCommand() {
    Rig rig({"One"});
    QVERIFY(rig.view.Mark("One\tACTIVE"));
    rig.model.EnterGlobalError();
    rig.Answer({});
    const std::vector<std::function<void()>> commands{
        [&] { rig.commands.OnAddMessage(); },   [&] { rig.commands.OnCopyMarked(); },
        [&] { rig.commands.OnEditMarked(); },   [&] { rig.commands.OnDeleteMarked(); },
        [&] { rig.commands.OnClearAll(); },     [&] { rig.commands.OnOptionClicked(Option::MessagesActivated); },
    };
    for (const auto& command : commands) {
        rig.prompts.Clear();
        const int updates = rig.view.buttonUpdates;
        command();
        QCOMPARE(rig.Errors(), QStringList{kGlobalError});
        QCOMPARE(rig.store.commitCount, 0);
        QCOMPARE(rig.view.buttonUpdates, updates);
    }
    QVERIFY(rig.view.editorOpened.empty());
    QCOMPARE(rig.model.Count(), 1);
    QVERIFY(rig.model.IsOn(Option::MessagesActivated));
    QVERIFY(rig.view.shownOptions.empty());
    // A selection change updates nothing either.
    const int updates = rig.view.buttonUpdates;
    rig.commands.OnListSelChange();
    QCOMPARE(rig.view.buttonUpdates, updates);
}

void tst_MainCommands::options_data() {
    QTest::addColumn<int>("option");
    QTest::addColumn<bool>("failedState");
    for (const LayoutRow& value : kOptionValues) {
        QTest::addRow("%s", value.name) << int(value.option) << false;
        if (value.option != Option::MessagesActivated)
            QTest::addRow("%s, failed state", value.name) << int(value.option) << true;
    }
}

// Each option flips its flag, shows the new value and saves; in the failed state all but "Activate messages" still
// do, and their save fails again.
void tst_MainCommands::options() {
    QFETCH(int, option);
    QFETCH(bool, failedState);
    const Option which = Option(option);
    Rig rig({"One"});
    const bool before = rig.model.IsOn(which);
    if (failedState) {
        rig.store.failCommit = true;
        rig.model.EnterGlobalError();
    }
    rig.commands.OnOptionClicked(which);
    QCOMPARE(rig.model.IsOn(which), !before);
    QCOMPARE(rig.view.shownOptions.size(), std::size_t{1});
    QCOMPARE(rig.view.shownOptions[0], std::make_pair(which, !before));
    QCOMPARE(rig.store.commitCount, 1);
    QCOMPARE(rig.store.GetProfileInt(kConfiguration, Expected::kOptions[static_cast<int>(which)].stored, -1), before ? 0 : 1);
    QCOMPARE(rig.Errors(), failedState ? QStringList{Expected::kSaveFailed} : QStringList{});
}

void tst_MainCommands::optionCheckBoxes_data() {
    QTest::addColumn<int>("option"); // -1: the control is no option's box
    QTest::addColumn<int>("id");
    QTest::newRow("Activate messages") << int(Option::MessagesActivated) << 1002;
    QTest::newRow("Show tooltips") << int(Option::Tooltips) << 1031;
    QTest::newRow("Confirm deletions") << int(Option::ShowWarnings) << 1034;
    QTest::newRow("Show minimized") << int(Option::ShowMinimized) << 1037;
    QTest::newRow("Add message, no option") << -1 << 1006;
    QTest::newRow("Exit, no option") << -1 << 1;
}

void tst_MainCommands::optionCheckBoxes() {
    QFETCH(int, option);
    QFETCH(int, id);
    if (option < 0) {
        QVERIFY(!OptionOfCheckBox(id).has_value());
        return;
    }
    QCOMPARE(CheckBoxOf(Option(option)), id);
    QVERIFY(OptionOfCheckBox(id) == Option(option));
}

void tst_MainCommands::opening_data() {
    QTest::addColumn<QList<int>>("stored"); // Activated messages, Tooltips, Show warnings, Show minimized
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QStringList>("errors");
    QTest::addColumn<QStringList>("calls");
    const QString tea = "line Tea\tACTIVE";
    const QString dentist = "line Dentist\tINACTIVE";
    QTest::newRow("messages, tooltips and warnings on")
        << QList<int>{1, 1, 1, 0} << "" << QStringList{}
        << QStringList{"timer", "icons", "clear", tea, dentist, "list shown", "mark messages on", "mark warnings on",
                       "mark minimized off", "buttons clear, focus add", "create tooltips", "mark tooltips on",
                       "tooltips on"};
    QTest::newRow("messages off")
        << QList<int>{0, 1, 1, 0} << "" << QStringList{}
        << QStringList{"timer", "icons", "clear", tea, dentist, "list hidden", "mark messages off", "mark warnings on",
                       "mark minimized off", "buttons clear, focus activate", "create tooltips", "mark tooltips on",
                       "tooltips on"};
    QTest::newRow("tooltips off, warnings on")
        << QList<int>{1, 0, 1, 0} << "" << QStringList{}
        << QStringList{"timer", "icons", "clear", tea, dentist, "list shown", "mark messages on", "mark warnings on",
                       "mark minimized off", "buttons clear, focus add", "create tooltips", "mark tooltips off",
                       "tooltips off"};
    QTest::newRow("tooltips on, warnings off")
        << QList<int>{1, 1, 0, 0} << "" << QStringList{}
        << QStringList{"timer", "icons", "clear", tea, dentist, "list shown", "mark messages on", "mark warnings off",
                       "mark minimized off", "buttons clear, focus add", "create tooltips", "mark tooltips on",
                       "tooltips on"};
    QTest::newRow("shown minimized")
        << QList<int>{1, 0, 0, 1} << "" << QStringList{}
        << QStringList{"timer", "icons", "clear", tea, dentist, "list shown", "mark messages on", "mark warnings off",
                       "mark minimized on", "buttons clear, focus add", "create tooltips", "mark tooltips off",
                       "tooltips off", "minimize"};
    // Without a table nothing is read: the options keep their first-start values, whatever is stored.
    QTest::newRow("failed state: no table")
        << QList<int>{0, 0, 0, 1} << "no table" << QStringList{"Out of memory!"}
        << QStringList{"timer", "icons", "clear", "list shown", "mark messages on", "mark warnings on",
                       "mark minimized off", "buttons, focus add", "create tooltips", "mark tooltips on",
                       "tooltips on"};
    // A stored 2 counts as missing and is repaired; the repair's save fails. The options are loaded, the list
    // stays empty, and the window still minimizes.
    QTest::newRow("failed state: repair not saved")
        << QList<int>{1, 0, 2, 1} << "save"
        << QStringList{"Error in show warnings flag!\nWarnings will be enabled.", "Error in saving message data."}
        << QStringList{"timer", "icons", "clear", "list shown", "mark messages on", "mark warnings on",
                       "mark minimized on", "buttons clear, focus add", "create tooltips", "mark tooltips off",
                       "tooltips off", "minimize"};
}

// The opening shows what the load left, in the order the windows rely on; the load's boxes all come before it.
void tst_MainCommands::opening() {
    QFETCH(QList<int>, stored);
    QFETCH(QString, failure);
    QFETCH(QStringList, errors);
    QFETCH(QStringList, calls);
    MemoryProfileStore store;
    PutSettings(store, 2, stored[0], stored[1], stored[2], stored[3]);
    PutEntry(store, 0, {.name = "Tea"});
    PutEntry(store, 1, {.name = "Dentist", .active = 0});
    store.failCommit = failure == "save";
    RecordingPrompts prompts;
    FakeClock clock(1'000'000'000);
    ReminderServices services{&store, &prompts, clock.AsClock(), {}};
    if (failure == "no table")
        services.allocator = [] { return std::unique_ptr<MessageEntry[]>(); };
    ReminderModel model(services);
    RecordingView view;
    MainCommands commands(model, view);

    commands.OnLoad();
    QCOMPARE(ToQt(prompts.ErrorTexts()), errors);
    QVERIFY(view.calls.empty());
    QCOMPARE(model.GlobalError(), !failure.isEmpty());

    commands.OnOpen();
    QCOMPARE(ToQt(view.calls), calls);
    QCOMPARE(ToQt(prompts.ErrorTexts()), errors);
}

QTEST_GUILESS_MAIN(tst_MainCommands)
#include "tst_maincommands.moc"
