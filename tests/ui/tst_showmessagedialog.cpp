// The display window on its own, and a due message travelling through the real main window while it is minimized.

#include "CMainDialog.h"
#include "CShowMessageDialog.h"
#include "DialogBuilder.h"
#include "SchedulerRig.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {
template <typename T> T* ChildWithId(QWidget* root, int id) {
    for (T* child : root->findChildren<T*>()) {
        if (ControlId(child) == id)
            return child;
    }
    return nullptr;
}

QString LabelText(QWidget* root, int id) {
    const QLabel* label = ChildWithId<QLabel>(root, id);
    return label ? label->text() : QStringLiteral("<no label %1>").arg(id);
}

// The open display window, wherever the toolkit keeps it.
CShowMessageDialog* OpenDisplay(QWidget* owner) {
    if (auto* modal = qobject_cast<CShowMessageDialog*>(QApplication::activeModalWidget()))
        return modal;
    for (auto* display : owner->findChildren<CShowMessageDialog*>()) {
        if (display->isVisible())
            return display;
    }
    return nullptr;
}

// A store as the program leaves it, holding the one message.
void StoreOneMessage(MemoryProfileStore& store, const MessageEntry& entry) {
    store.Set("Configuration", "Number of messages", 1);
    store.Set("Configuration", "Activated messages", 1);
    store.Set("Configuration", "Tooltips", 1);
    store.Set("Configuration", "Show warnings", 1);
    store.Set("Configuration", "Show minimized", 0);
    store.Set("Messages", "MessageName0", std::string(entry.m_szName));
    store.Set("Messages", "MessageText0", std::string(entry.m_szText));
    store.Set("Messages", "MessageDay0", entry.m_nDay);
    store.Set("Messages", "MessageMonth0", entry.m_nMonth);
    store.Set("Messages", "MessageYear0", entry.m_nYear);
    store.Set("Messages", "MessageMinute0", entry.m_nMinute);
    store.Set("Messages", "MessageHour0", entry.m_nHour);
    store.Set("Messages", "MessageShowTime0", entry.m_nShowDays);
    store.Set("Messages", "MessageShowEveryTime0", entry.m_nRepeatMinutes);
    store.Set("Messages", "MessageActive0", entry.m_bActive);
    store.Set("Messages", "ShowEveryDay0", entry.m_bEveryDay);
}

MessageEntry TeaEntry() {
    MessageEntry entry = MakeEntry("Tea", "1997-03-05 09:30", false, 1, 15);
    std::snprintf(entry.m_szText, sizeof entry.m_szText, "%s", "Kettle on.\r\nCups out.");
    return entry;
}

// The main window, opened and shown, on a store holding the tea message, at the moment it comes due.
struct TeaWindow {
    TeaWindow() : fakeClock(LocalTime(1997, 3, 5, 9, 30, 20)), dlg(Services(store, prompts, fakeClock)) {
        dlg.OnInitDialog();
        dlg.show();
    }
    static ReminderServices Services(MemoryProfileStore& store, RecordingPrompts& prompts, FakeClock& clock) {
        StoreOneMessage(store, TeaEntry());
        return {&store, &prompts, clock.AsClock(), {}};
    }
    MemoryProfileStore store;
    RecordingPrompts prompts;
    FakeClock fakeClock;
    CMainDialog dlg;
};

// What the display window showed while it was open.
struct SeenDisplay {
    bool ran = false;
    bool found = false;
    QString title;
    QString text;
    QString schedule;
    QString clock;
    bool topmost = false;
    bool ownerMinimized = true;
    int beeps = -1;
};
} // namespace

class TestShowMessageDialog : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void displayShowsTheEntry_data();
    void displayShowsTheEntry();
    void longestSentencesFitOneLine_data();
    void longestSentencesFitOneLine();
    void textTallerThanItsFieldScrolls_data();
    void textTallerThanItsFieldScrolls();
    void clockLineFollowsTheClock();
    void displayCloses_data();
    void displayCloses();

    void minimizedMainWindowShowsDueMessage();
    void restoredMainWindowShowsNothing();
    void timerTicksGoOnDuringADisplay();
};

void TestShowMessageDialog::cleanup() {
    // Every window a test makes is gone when it ends, so none can answer for the next test.
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestShowMessageDialog::displayShowsTheEntry_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("storedText");
    QTest::addColumn<bool>("everyDay");
    QTest::addColumn<QString>("entryAt");
    QTest::addColumn<int>("repeat");
    QTest::addColumn<QString>("now");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("schedule");
    QTest::addColumn<QString>("clock");

    QTest::newRow("dated, two lines")
        << "Dentist"
        << "Call the dentist.\r\nAsk for Tuesday." << false << "1997-03-05 09:30" << 15 << "1997-03-05 09:31:07"
        << "Call the dentist.\nAsk for Tuesday."
        << "This message was supposed to be seen first on 05.03.1997 at 09:30. It will be repeated every 15 minutes."
        << "Current Time: 09:31:07";
    QTest::newRow("name holding Qt's modified marker")
        << "Plan [*] B, [*][*]" << "x" << false << "1997-03-05 09:30" << 0 << "1997-03-05 09:31:07" << "x"
        << "This message was supposed to be seen first on 05.03.1997 at 09:30." << "Current Time: 09:31:07";
    QTest::newRow("every day, markup kept as text")
        << "Stand up"
        << "<b>Walk</b> & stretch" << true << "1997-03-05 07:05" << 5 << "2001-08-20 07:05:00"
        << "<b>Walk</b> & stretch"
        << "This message is supposed to be seen every day at 07:05. It will be repeated every  5 minutes."
        << "Current Time: 07:05:00";
}

void TestShowMessageDialog::displayShowsTheEntry() {
    QFETCH(QString, name);
    QFETCH(QString, storedText);
    QFETCH(bool, everyDay);
    QFETCH(QString, entryAt);
    QFETCH(int, repeat);
    QFETCH(QString, now);
    QFETCH(QString, text);
    QFETCH(QString, schedule);
    QFETCH(QString, clock);

    MessageEntry entry = MakeEntry(name.toUtf8().constData(), entryAt.toUtf8().constData(), everyDay, 0, repeat);
    std::snprintf(entry.m_szText, sizeof entry.m_szText, "%s", storedText.toUtf8().constData());
    FakeClock fakeClock(At(now.toUtf8().constData()));
    CShowMessageDialog display(&entry, fakeClock.AsClock(), nullptr);

    display.OnInitDialog();

    // What the title bar shows, after Qt has read its markers.
    display.winId();
    QCOMPARE(display.windowHandle()->title(), name);
    QCOMPARE(LabelText(&display, ShowIds::kText), text);
    QCOMPARE(ChildWithId<QLabel>(&display, ShowIds::kText)->textFormat(), Qt::PlainText);
    QCOMPARE(LabelText(&display, ShowIds::kSchedule), schedule);
    QCOMPARE(LabelText(&display, ShowIds::kClock), clock);
    QVERIFY(display.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(display.isModal());
}

void TestShowMessageDialog::longestSentencesFitOneLine_data() {
    QTest::addColumn<bool>("everyDay");
    QTest::addColumn<int>("repeat");
    QTest::newRow("dated, repeat 59") << false << 59;
    QTest::newRow("dated, repeat 15") << false << 15;
    QTest::newRow("every day, repeat 59") << true << 59;
    QTest::newRow("dated, no repeat") << false << 0;
}

void TestShowMessageDialog::longestSentencesFitOneLine() {
    QFETCH(bool, everyDay);
    QFETCH(int, repeat);
    const MessageEntry entry = MakeEntry("Tea", "2088-12-28 23:59", everyDay, 0, repeat);
    FakeClock fakeClock(LocalTime(2088, 12, 28, 23, 59, 58));
    CShowMessageDialog display(&entry, fakeClock.AsClock(), nullptr);
    display.OnInitDialog();

    // Each line stays whole on one line of its rectangle, in the one face of the window.
    for (QLabel* line : {display.ScheduleLine(), display.ClockLine()}) {
        const QFontMetrics metrics(line->font());
        QVERIFY2(metrics.horizontalAdvance(line->text()) <= line->contentsRect().width(), qPrintable(line->text()));
        QVERIFY(metrics.height() <= line->height());
        QVERIFY(!line->wordWrap());
        QCOMPARE(QFontInfo(line->font()).pixelSize(), QFontInfo(display.font()).pixelSize());
    }
    QCOMPARE(QFontInfo(display.MessageText()->font()).pixelSize(), QFontInfo(display.font()).pixelSize());
}

void TestShowMessageDialog::textTallerThanItsFieldScrolls_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("scrolls");
    QTest::newRow("two lines") << QByteArray("Kettle on.\r\nCups out.") << false;
    QTest::newRow("ten lines") << QByteArray("line\r\n").repeated(9) + "last line" << true;
    QTest::newRow("999 bytes of words") << QByteArray("word ").repeated(200).left(999) << true;
    QTest::newRow("a word wider than the field") << QByteArray("Visit ") + QByteArray(60, 'W') + " today." << false;
}

// Only a hand-edited store holds a text longer than the field shows; it scrolls rather than being cut.
void TestShowMessageDialog::textTallerThanItsFieldScrolls() {
    QFETCH(QByteArray, text);
    QFETCH(bool, scrolls);
    MessageEntry entry = TeaEntry();
    std::snprintf(entry.m_szText, sizeof entry.m_szText, "%s", text.constData());
    FakeClock fakeClock(LocalTime(1997, 3, 5, 9, 30));
    CShowMessageDialog display(&entry, fakeClock.AsClock(), nullptr);
    display.OnInitDialog();
    display.show();
    QVERIFY(QTest::qWaitForWindowExposed(&display));

    QScrollArea* area = display.MessageTextArea();
    QVERIFY(area);
    QCOMPARE(display.MessageText()->parentWidget(), area->viewport());
    QTRY_COMPARE(area->verticalScrollBar()->isVisible(), scrolls);
    // The label holds the whole wrapped text, however much of it the field shows at once.
    QLabel* label = display.MessageText();
    QVERIFY(label->height() >= label->heightForWidth(label->width()));
    // Nothing is wider than the field: the lines wrap inside it and centre on its middle.
    QVERIFY(label->width() <= area->viewport()->width());
    QCOMPARE(area->verticalScrollBar()->maximum() > 0, scrolls);
    // What scrolls can be reached with Tab and scrolled with the keys, not only with a mouse.
    const QImage unfocused = area->grab().toImage();
    QTest::keyClick(&display, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget() == area, scrolls);
    if (scrolls) {
        // The stop is named after what it holds and shows that it has the focus.
        QCOMPARE(area->accessibleName(), TextForDisplay(entry.m_szText));
        QVERIFY(area->grab().toImage() != unfocused);
        QTest::keyClick(area, Qt::Key_PageDown);
        QVERIFY(area->verticalScrollBar()->value() > 0);
    }
    display.accept();
}

void TestShowMessageDialog::clockLineFollowsTheClock() {
    const MessageEntry entry = TeaEntry();
    FakeClock fakeClock(LocalTime(1997, 3, 5, 9, 5, 7));
    CShowMessageDialog display(&entry, fakeClock.AsClock(), nullptr);
    display.OnInitDialog();
    QVERIFY(display.ClockTimer().isActive());
    QCOMPARE(display.ClockTimer().interval(), 500);

    fakeClock.Advance(1);
    display.OnTimer();
    QCOMPARE(LabelText(&display, ShowIds::kClock), QString("Current Time: 09:05:08"));

    fakeClock.now = LocalTime(1997, 3, 5, 23, 59, 59);
    display.OnTimer();
    QCOMPARE(LabelText(&display, ShowIds::kClock), QString("Current Time: 23:59:59"));
}

void TestShowMessageDialog::displayCloses_data() {
    QTest::addColumn<QString>("how");

    for (const char* how : {"OK button", "Enter", "Return", "Escape", "close box"})
        QTest::newRow(how) << how;
}

void TestShowMessageDialog::displayCloses() {
    QFETCH(QString, how);

    const MessageEntry entry = TeaEntry();
    FakeClock fakeClock(LocalTime(1997, 3, 5, 9, 30));
    CShowMessageDialog display(&entry, fakeClock.AsClock(), nullptr);
    display.OnInitDialog();
    display.show();
    QVERIFY(QTest::qWaitForWindowExposed(&display));

    if (how == "OK button") {
        QPushButton* ok = ChildWithId<QPushButton>(&display, DialogIds::kOk);
        QVERIFY(ok);
        QTest::mouseClick(ok, Qt::LeftButton);
    } else if (how == "Enter") {
        QTest::keyClick(&display, Qt::Key_Enter);
    } else if (how == "Return") {
        QTest::keyClick(&display, Qt::Key_Return);
    } else if (how == "Escape") {
        QTest::keyClick(&display, Qt::Key_Escape);
    } else {
        QVERIFY(display.close());
    }

    QVERIFY(!display.isVisible());
    QVERIFY(!display.ClockTimer().isActive());
}

void TestShowMessageDialog::minimizedMainWindowShowsDueMessage() {
    SeenDisplay seen;
    TeaWindow tea;
    tea.dlg.showMinimized();
    QVERIFY(tea.dlg.isMinimized());
    QCOMPARE(tea.prompts.beeps, 0);

    // Runs inside the display window's own event loop; it always closes what it finds so the test cannot hang.
    QTimer::singleShot(0, &tea.dlg, [&] {
        seen.ran = true;
        CShowMessageDialog* display = OpenDisplay(&tea.dlg);
        if (!display)
            return;
        seen.found = true;
        seen.title = display->windowTitle();
        seen.text = LabelText(display, ShowIds::kText);
        seen.schedule = LabelText(display, ShowIds::kSchedule);
        seen.clock = LabelText(display, ShowIds::kClock);
        seen.topmost = display->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        seen.ownerMinimized = tea.dlg.isMinimized();
        seen.beeps = tea.prompts.beeps;
        display->accept();
    });
    tea.dlg.OnTimer(SCHEDULER_TIMER_ID);
    QTRY_VERIFY(seen.ran);

    QVERIFY(seen.found);
    QCOMPARE(seen.title, QString("Tea"));
    QCOMPARE(seen.text, QString("Kettle on.\nCups out."));
    QCOMPARE(seen.schedule, QString("This message was supposed to be seen first on 05.03.1997 at 09:30. "
                                    "It will be repeated every 15 minutes."));
    QCOMPARE(seen.clock, QString("Current Time: 09:30:20"));
    QVERIFY(seen.topmost);
    QVERIFY(!seen.ownerMinimized);
    QCOMPARE(seen.beeps, 1);

    QVERIFY(tea.dlg.isMinimized());
    QCOMPARE(tea.prompts.beeps, 1);
    QVERIFY(tea.prompts.boxes.empty());
    QCOMPARE(tea.dlg.Model().Entry(0).m_bPending, 0);
    QCOMPARE(tea.dlg.Model().Entry(0).m_bShown, 1);
    QCOMPARE(tea.dlg.Model().Entry(0).m_tLastShown, tea.fakeClock.now);
    QVERIFY(tea.dlg.findChildren<CShowMessageDialog*>().isEmpty());
}

void TestShowMessageDialog::restoredMainWindowShowsNothing() {
    bool ran = false;
    bool sawDisplay = false;
    TeaWindow tea;
    QVERIFY(!tea.dlg.isMinimized());

    QTimer::singleShot(0, &tea.dlg, [&] {
        ran = true;
        if (CShowMessageDialog* display = OpenDisplay(&tea.dlg)) {
            sawDisplay = true;
            display->accept();
        }
    });
    tea.dlg.OnTimer(SCHEDULER_TIMER_ID);
    QTRY_VERIFY(ran);

    QVERIFY(!sawDisplay);
    QCOMPARE(tea.prompts.beeps, 0);
    QVERIFY(!tea.dlg.isMinimized());
    QCOMPARE(tea.dlg.Model().Entry(0).m_bPending, 1);
    QCOMPARE(tea.dlg.Model().Entry(0).m_bShown, 0);
}

void TestShowMessageDialog::timerTicksGoOnDuringADisplay() {
    bool found = false;
    bool rearmedWhileOpen = false;
    TeaWindow tea;
    tea.dlg.showMinimized();
    QTimer& timer = tea.dlg.SchedulerTimer();

    // The display stays open past the message's repeat interval of 15 minutes; the window's own timer, not a
    // call from the test, must bring the tick that arms it again.
    QTimer watcher;
    watcher.setInterval(0);
    connect(&watcher, &QTimer::timeout, &tea.dlg, [&] {
        CShowMessageDialog* display = OpenDisplay(&tea.dlg);
        if (!display)
            return;
        watcher.stop();
        found = true;
        tea.fakeClock.Advance(16 * 60);
        rearmedWhileOpen = QTest::qWaitFor([&] { return tea.dlg.Model().Entry(0).m_bPending == 1; }, 5000);
        // Nothing may show it again once it is closed: the test ends here.
        timer.stop();
        tea.dlg.Model().SetOption(Option::MessagesActivated, 0);
        display->accept();
    });
    watcher.start();
    timer.start(1);
    QTRY_VERIFY(found);
    QVERIFY(rearmedWhileOpen);
    QCOMPARE(tea.prompts.beeps, 1);
}

QTEST_MAIN(TestShowMessageDialog)
#include "tst_showmessagedialog.moc"
