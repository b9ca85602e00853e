// The display window on its own, and a due message travelling through the real main window while it is minimized.

#include "CMainDialog.h"
#include "CShowMessageDialog.h"
#include "DesktopHints.h"
#include "DialogBuilder.h"
#include "SchedulerRig.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

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

// What an X client reads of the window manager's view of windows: workspaces, states, hints and the focus.
class XProbe {
public:
    XProbe() : m_x(xcb_connect(nullptr, nullptr)) {}
    ~XProbe() { xcb_disconnect(m_x); }
    XProbe(const XProbe&) = delete;
    XProbe& operator=(const XProbe&) = delete;

    bool IsConnected() const { return !xcb_connection_has_error(m_x); }
    xcb_window_t Root() const { return xcb_setup_roots_iterator(xcb_get_setup(m_x)).data->root; }
    // A window's CARDINAL property, or -1 when it has none.
    qint64 Cardinal(xcb_window_t window, const char* name) {
        const QList<quint32> values = Property(window, name, XCB_ATOM_CARDINAL);
        return values.isEmpty() ? -1 : values.first();
    }
    // The names in a window's _NET_WM_STATE.
    QStringList States(xcb_window_t window) {
        QStringList names;
        for (quint32 atom : Property(window, "_NET_WM_STATE", XCB_ATOM_ATOM)) {
            xcb_get_atom_name_reply_t* reply = xcb_get_atom_name_reply(m_x, xcb_get_atom_name(m_x, atom), nullptr);
            if (reply)
                names << QString::fromLatin1(xcb_get_atom_name_name(reply), xcb_get_atom_name_name_length(reply));
            std::free(reply);
        }
        return names;
    }
    // The urgency flag of a window's WM_HINTS, the older way of asking for attention.
    bool Urgent(xcb_window_t window) {
        const QList<quint32> hints = Property(window, "WM_HINTS", XCB_ATOM_WM_HINTS);
        return !hints.isEmpty() && (hints.first() & (1u << 8));
    }
    // Marks a window as wanting attention, as a window manager does when it refuses a window the foreground.
    void MarkDemandingAttention(xcb_window_t window) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = Atom("_NET_WM_STATE");
        message.data.data32[0] = 1; // add
        message.data.data32[1] = Atom("_NET_WM_STATE_DEMANDS_ATTENTION");
        message.data.data32[2] = 2; // from a pager, as the window manager's own doing
        xcb_send_event(m_x, 0, Root(), XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(m_x);
    }
    xcb_window_t Focus() {
        xcb_get_input_focus_reply_t* reply = xcb_get_input_focus_reply(m_x, xcb_get_input_focus(m_x), nullptr);
        const xcb_window_t focus = reply ? reply->focus : xcb_window_t(XCB_WINDOW_NONE);
        std::free(reply);
        return focus;
    }

private:
    xcb_atom_t Atom(const char* name) {
        xcb_intern_atom_reply_t* reply =
            xcb_intern_atom_reply(m_x, xcb_intern_atom(m_x, 0, std::uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    }
    QList<quint32> Property(xcb_window_t window, const char* name, xcb_atom_t type) {
        QList<quint32> values;
        xcb_get_property_reply_t* reply =
            xcb_get_property_reply(m_x, xcb_get_property(m_x, 0, window, Atom(name), type, 0, 64), nullptr);
        if (reply && reply->format == 32) {
            const auto* data = static_cast<const quint32*>(xcb_get_property_value(reply));
            for (int i = 0; i < xcb_get_property_value_length(reply) / 4; ++i)
                values << data[i];
        }
        std::free(reply);
        return values;
    }

    xcb_connection_t* m_x;
};

// Presses a key combination as a keyboard would, through the X server to whichever window has the focus.
bool PressKey(const QString& keys) {
    return QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), keys}) == 0;
}

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
    void dueMessageReachesTheWorkspaceInViewPastStrayKeys();
    void attentionRequestComesAndGoes();
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
    long long ms = 0;
    CShowMessageDialog display(&entry, fakeClock.AsClock(), nullptr, [&ms] { return ms; });
    display.OnInitDialog();
    display.show();
    QVERIFY(QTest::qWaitForWindowExposed(&display));
    ms += 1000; // the keys below come from someone who has seen the window

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
    QTest::addColumn<int>("afterMs"); // how long after the window appeared
    QTest::addColumn<bool>("closes");

    // Keys typed for another program as the window appears are held back; the mouse and a screen reader are not.
    for (const char* how : {"Enter", "Return", "Escape", "Space"}) {
        QTest::newRow(qPrintable(QStringLiteral("%1 at once").arg(QLatin1String(how)))) << how << 0 << false;
        QTest::newRow(qPrintable(QStringLiteral("%1 at the end of the guard").arg(QLatin1String(how))))
            << how << 999 << false;
        QTest::newRow(qPrintable(QStringLiteral("%1 after the guard").arg(QLatin1String(how)))) << how << 1000 << true;
    }
    QTest::newRow("OK button at once") << "OK button" << 0 << true;
    QTest::newRow("screen reader's press at once") << "press action" << 0 << true;
    QTest::newRow("closed by the program at once") << "close" << 0 << true;
}

void TestShowMessageDialog::displayCloses() {
    QFETCH(QString, how);
    QFETCH(int, afterMs);
    QFETCH(bool, closes);

    const MessageEntry entry = TeaEntry();
    FakeClock fakeClock(LocalTime(1997, 3, 5, 9, 30));
    long long ms = 5000;
    CShowMessageDialog display(&entry, fakeClock.AsClock(), nullptr, [&ms] { return ms; });
    display.OnInitDialog();
    display.show();
    QVERIFY(QTest::qWaitForWindowExposed(&display));
    // Becoming the active window starts the guard again; the time runs from there.
    QVERIFY(QTest::qWaitForWindowActive(&display));
    ms += afterMs;

    QPushButton* ok = ChildWithId<QPushButton>(&display, DialogIds::kOk);
    QVERIFY(ok);
    QCOMPARE(display.focusWidget(), ok);
    if (how == "OK button") {
        QTest::mouseClick(ok, Qt::LeftButton);
    } else if (how == "press action") {
        QAccessibleInterface* button = QAccessible::queryAccessibleInterface(ok);
        QVERIFY(button && button->actionInterface());
        button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    } else if (how == "close") {
        QVERIFY(display.close());
    } else {
        const Qt::Key key = how == "Enter"    ? Qt::Key_Enter
                            : how == "Return" ? Qt::Key_Return
                            : how == "Escape" ? Qt::Key_Escape
                                              : Qt::Key_Space;
        QTest::keyClick(ok, key);
    }

    // A screen reader's press animates the button and lands a moment later.
    QTRY_COMPARE(display.isVisible(), !closes);
    QCOMPARE(display.ClockTimer().isActive(), !closes);
    display.accept();
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

// Under X with a window manager of four workspaces: the program waits minimized on the first while the person
// works on the second, typing; the message must come to the second, take the keys, and survive the typing.
void TestShowMessageDialog::dueMessageReachesTheWorkspaceInViewPastStrayKeys() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X display with a window manager: run through tests/ui/run_framed.sh");
    XProbe x;
    QVERIFY(x.IsConnected());
    TeaWindow tea;
    const xcb_window_t main = tea.dlg.winId();
    QVERIFY(QTest::qWaitForWindowExposed(&tea.dlg));
    QVERIFY2(QTest::qWaitFor([&] { return x.Cardinal(main, "_NET_WM_DESKTOP") == 0; }, 30000),
             "the window manager never took the main window in on the first workspace");
    tea.dlg.showMinimized();
    QTRY_VERIFY_WITH_TIMEOUT(x.States(main).contains("_NET_WM_STATE_HIDDEN"), 10000);
    QVERIFY(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("set_desktop"), QStringLiteral("1")}) == 0);
    QTRY_COMPARE_WITH_TIMEOUT(x.Cardinal(x.Root(), "_NET_CURRENT_DESKTOP"), qint64(1), 10000);

    struct Seen {
        bool found = false;
        qint64 desktop = -2;
        bool focused = false;
        bool attentionMarked = false;
        bool openAfterTyping = false;
        int keysSent = 0;
        bool closedByEnter = false;
    } seen;
    // Runs inside the display window's own event loop; whatever happens, the window is closed at its end.
    QTimer::singleShot(0, &tea.dlg, [&] {
        CShowMessageDialog* display = nullptr;
        if (!QTest::qWaitFor([&] { return (display = OpenDisplay(&tea.dlg)) != nullptr; }, 10000))
            return;
        seen.found = true;
        const xcb_window_t shown = display->winId();
        seen.focused = QTest::qWaitFor([&] { return x.Focus() == shown; }, 10000);
        seen.desktop = x.Cardinal(shown, "_NET_WM_DESKTOP");
        // Whatever the window manager made of the program's own request: a main window in the background while its
        // due message waits is one it may mark as wanting attention.
        x.MarkDemandingAttention(main);
        seen.attentionMarked =
            QTest::qWaitFor([&] { return x.States(main).contains("_NET_WM_STATE_DEMANDS_ATTENTION"); }, 5000);
        // From the moment it has the keys, a quarter second apart for three seconds, keys that would close it.
        const QStringList keys = {"Return", "space", "Escape", "alt+F4", "a", "KP_Enter"};
        QElapsedTimer typing;
        typing.start();
        for (int i = 0; typing.elapsed() < 3000 && display->isVisible(); ++i) {
            if (PressKey(keys[i % keys.size()]))
                ++seen.keysSent;
            QTest::qWait(int(qMax<qint64>(0, 250 * (i + 1) - typing.elapsed())));
        }
        seen.openAfterTyping = display->isVisible();
        if (seen.openAfterTyping) {
            // Read now: after a pause of twice the guard, Enter is the person's answer.
            QTest::qWait(2000);
            PressKey(QStringLiteral("Return"));
            seen.closedByEnter = QTest::qWaitFor([&] { return !display->isVisible(); }, 5000);
        }
        if (display->isVisible())
            display->accept();
    });
    QVERIFY(tea.dlg.isMinimized());
    tea.dlg.OnTimer(SCHEDULER_TIMER_ID);

    QVERIFY(seen.found);
    QCOMPARE(seen.desktop, qint64(1));
    QVERIFY(seen.focused);
    QVERIFY(seen.attentionMarked);
    QVERIFY(seen.keysSent >= 10);
    QVERIFY(seen.openAfterTyping);
    QVERIFY(seen.closedByEnter);
    // Minimized again, where the person is, and no task bar is left flashing.
    QTRY_VERIFY_WITH_TIMEOUT(x.States(main).contains("_NET_WM_STATE_HIDDEN"), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!x.States(main).contains("_NET_WM_STATE_DEMANDS_ATTENTION"), 5000);
    QVERIFY(!x.Urgent(main));
    QCOMPARE(x.Cardinal(main, "_NET_WM_DESKTOP"), qint64(1));
}

// The request for attention reaches the window manager, and so does its withdrawal, of a window in the background
// and of a minimized one.
void TestShowMessageDialog::attentionRequestComesAndGoes() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X display with a window manager: run through tests/ui/run_framed.sh");
    XProbe x;
    QVERIFY(x.IsConnected());
    QWidget waiting;
    QWidget working;
    waiting.show();
    working.show();
    const xcb_window_t id = waiting.winId();
    QVERIFY(QTest::qWaitForWindowExposed(&waiting));
    working.activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(x.Focus() == xcb_window_t(working.winId()), 10000);
    const auto demands = [&] { return x.States(id).contains("_NET_WM_STATE_DEMANDS_ATTENTION"); };

    RequestAttention(&waiting, true);
    QTRY_VERIFY_WITH_TIMEOUT(demands(), 5000);
    RequestAttention(&waiting, false);
    QTRY_VERIFY_WITH_TIMEOUT(!demands(), 5000);

    RequestAttention(&waiting, true);
    QTRY_VERIFY_WITH_TIMEOUT(demands(), 5000);
    waiting.showMinimized();
    QTRY_VERIFY_WITH_TIMEOUT(x.States(id).contains("_NET_WM_STATE_HIDDEN"), 10000);
    QVERIFY(demands());
    RequestAttention(&waiting, false);
    QTRY_VERIFY_WITH_TIMEOUT(!demands(), 5000);
    QVERIFY(!x.Urgent(id));
}

#include "tst_showmessagedialog.moc"
