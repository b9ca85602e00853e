// The main window: its controls, options, list lines, failed state and list commands, driven on the offscreen
// platform through the real dialogs.

#include "CAboutDialog.h"
#include "CEditMessageDialog.h"
#include "CMainDialog.h"
#include "CShowMessageDialog.h"
#include "ExpectedTemplates.h"
#include "MemoryProfileStore.h"
#include "MessageValidation.h"
#include "QtText.h"
#include "MessageList.h"
#include "ModalDriver.h"
#include "QtUserPrompts.h"
#include "StoreFixtures.h"
#include "StoredLayout.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QProxyStyle>
#include <QScopeGuard>
#include <QScreen>
#include <QToolTip>
#include <QWindow>
#include <QtTest>

#include <cstring>

using namespace ProfileNames;

namespace {
struct MainFixture {
    MainFixture() : clock(LocalTime(2026, 12, 7, 12, 0)) {}

    CMainDialog& Open() {
        ReminderServices services;
        services.store = &store;
        services.prompts = &prompts;
        services.clock = clock.AsClock();
        dialog = std::make_unique<CMainDialog>(services);
        dialog->OnInitDialog();
        dialog->show();
        dialog->activateWindow();
        return *dialog;
    }
    QPushButton* Button(int id) const { return qobject_cast<QPushButton*>(dialog->Control(id)); }
    QCheckBox* Check(int id) const { return qobject_cast<QCheckBox*>(dialog->Control(id)); }
    QStringList Lines() const {
        QStringList lines;
        for (int row = 0; row < dialog->MessageLines()->rowCount(); ++row)
            lines << QString::fromStdString(dialog->MessageLines()->Line(row));
        return lines;
    }
    void Mark(const QString& line) {
        const int row = int(Lines().indexOf(line));
        QVERIFY2(row >= 0, qPrintable(line));
        dialog->MessageList()->setCurrentIndex(dialog->MessageLines()->index(row));
    }
    QList<bool> ListButtonsEnabled() const {
        return {Button(MainIds::kEditMarked)->isEnabled(), Button(MainIds::kCopyMarked)->isEnabled(),
                Button(MainIds::kDeleteMarked)->isEnabled(), Button(MainIds::kClearAll)->isEnabled()};
    }
    QStringList StoredNames() { return ToQt(::StoredNames(store)); }
    QStringList Errors() const { return ToQt(prompts.ErrorTexts()); }

    MemoryProfileStore store;
    RecordingPrompts prompts;
    FakeClock clock;
    std::unique_ptr<CMainDialog> dialog;
};

void PutNamed(MemoryProfileStore& store, const QStringList& names) {
    PutSettings(store, int(names.size()));
    for (int i = 0; i < names.size(); ++i)
        PutEntry(store, i, {.name = names[i].toStdString(), .text = "Text of " + names[i].toStdString()});
}

const QString kGlobalError = QString::fromUtf8(Expected::kGlobalError);
const QString kDoubleName = QString::fromUtf8(Expected::kDoubleName);
} // namespace

class tst_MainDialog : public QObject {
    Q_OBJECT
private slots:
    void cleanup();

    void builderConvertsDialogUnits_data();
    void builderConvertsDialogUnits();
    void untitledGroupBoxFrameSitsWhereATitledOnesDoes();
    void templatesYieldIdsInOrder_data();
    void templatesYieldIdsInOrder();
    void framesAreCentred_data();
    void framesAreCentred();
    void windowIsFixedWithoutMaximize();
    void controlsAreNamedForAccessibility();
    void updateButtonsStates();
    void activateMessagesHidesAndShowsListControls();
    void optionTogglesAreStoredAndSurviveRestart_data();
    void optionTogglesAreStoredAndSurviveRestart();
    void tooltipsFollowTheOption();
    void listOrderIgnoresCaseAndPutsShortNamesFirst();
    void failedStateRefusesListCommandsOnly();
    void showMinimizedOnStart();
    void exitEscapeAndCloseEndTheDialog_data();
    void exitEscapeAndCloseEndTheDialog();

    void addThroughTheEditorShowsTheLine();
    void listKeepsAVisibleCurrentLine_data();
    void listKeepsAVisibleCurrentLine();
    void confirmationDefaultsToYesInGnomeOrder_data();
    void confirmationDefaultsToYesInGnomeOrder();
    void aboutBox_data();
    void aboutBox();
};

void tst_MainDialog::cleanup() {
    // A test that leaves a window behind would make the next one answer the wrong modal.
    for (QWidget* widget : QApplication::topLevelWidgets())
        QVERIFY2(!widget->isVisible(), qPrintable(widget->windowTitle()));
}

void tst_MainDialog::builderConvertsDialogUnits_data() {
    QTest::addColumn<QRect>("units");
    QTest::addColumn<QRect>("pixels");
    // Base units 6 x 13, worked out by hand: x * 6 / 4 and y * 13 / 8, halves rounded away from zero.
    QTest::newRow("message list") << QRect(20, 45, 275, 40) << QRect(30, 73, 413, 65);
    QTest::newRow("exit button") << QRect(20, 200, 50, 14) << QRect(30, 325, 75, 23);
    QTest::newRow("halves round up") << QRect(1, 4, 1, 4) << QRect(2, 7, 1, 6);
}

void tst_MainDialog::builderConvertsDialogUnits() {
    QFETCH(QRect, units);
    QFETCH(QRect, pixels);
    const DialogBaseUnits base = BaseUnitsFromMetrics(312, 13);
    QCOMPARE(base.x, 6);
    QCOMPARE(base.y, 13);
    QCOMPARE(DialogUnitsToPixels(units, base), pixels);
    QCOMPARE(DialogUnitsToPixels(QSize(317, 236), base), QSize(476, 384));
    QCOMPARE(BaseUnitsFromMetrics(338, 16).x, 7);
}

void tst_MainDialog::untitledGroupBoxFrameSitsWhereATitledOnesDoes() {
    // The two kinds are drawn by different code; side by side in one window their frames must line up.
    const DialogTemplate tpl{1, "Boxes", "MS Sans Serif", 8, 200, 60, 0,
                             {{-1, ControlClass::Button, "", Style::Visible | Style::GroupBox, 5, 5, 90, 50},
                              {-1, ControlClass::Button, " T ", Style::Visible | Style::GroupBox, 105, 5, 90, 50}},
                             {},
                             {}};
    QDialog dialog;
    const BuiltDialog built = BuildDialog(&dialog, tpl);
    QCOMPARE(built.Controls().size(), std::size_t(2));
    auto frameRow = [](QWidget* box) {
        // The middle column is clear of the title, which starts at the left.
        const QImage image = box->grab().toImage();
        const int x = image.width() / 2;
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixel(x, y) != image.pixel(x, image.height() / 2))
                return y;
        }
        return -1;
    };
    const int untitled = frameRow(built.Controls()[0]);
    QVERIFY(untitled > 0);
    QCOMPARE(untitled, frameRow(built.Controls()[1]));
}

// The ids, texts, rectangles, tooltips and names of the templates against the literal table, and what the builder
// makes of them: a typo in res/ fails here however the windows use it.
void tst_MainDialog::templatesYieldIdsInOrder_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<QList<int>>("tabOrder");
    QTest::newRow("main") << 129
                          << QList<int>{1002, 1005, 1006, 1007, 1008, 1, 1013, 1031, 1032, 1033, 1034, 1035, 1037};
    QTest::newRow("editor") << 134
                            << QList<int>{1, 2, 1009, 1010, 1011, 1021, 1023, 1024, 1022, 1025, 1026, 1028, 1039};
    QTest::newRow("display") << 135 << QList<int>{1};
    QTest::newRow("about") << 100 << QList<int>{1};
}

void tst_MainDialog::templatesYieldIdsInOrder() {
    QFETCH(int, which);
    QFETCH(QList<int>, tabOrder);
    const Expected::Dialog& expected = which == 129   ? Expected::kMain
                                       : which == 134 ? Expected::kEdit
                                       : which == 135 ? Expected::kShow
                                                      : Expected::kAbout;
    const DialogTemplate& tpl = which == 129   ? MainDialogTemplate()
                                : which == 134 ? EditMessageTemplate()
                                : which == 135 ? ShowMessageTemplate()
                                               : AboutTemplate();
    QCOMPARE(tpl.resourceId, expected.resourceId);
    QCOMPARE(QString::fromUtf8(tpl.title), QString::fromUtf8(expected.caption));
    QCOMPARE(QString::fromUtf8(tpl.fontFace), QString::fromUtf8(expected.fontFace));
    QCOMPARE(tpl.pointSize, expected.pointSize);
    QCOMPARE(QSize(tpl.cx, tpl.cy), QSize(expected.cx, expected.cy));
    // One line per control, so that a difference names the control it is in.
    const auto line = [](int id, const char* className, const char* text, int x, int y, int cx, int cy,
                         const char* tooltip, const char* name) {
        return QStringLiteral("%1 %2 \"%3\" {%4, %5, %6, %7} tip \"%8\" name \"%9\"")
            .arg(id)
            .arg(QString::fromUtf8(className), QString::fromUtf8(text))
            .arg(x)
            .arg(y)
            .arg(cx)
            .arg(cy)
            .arg(QString::fromUtf8(tooltip), QString::fromUtf8(name));
    };
    const char* const classNames[] = {"Button", "Static", "Edit", "ListBox"};
    QStringList inTemplate;
    for (const ControlTemplate& c : tpl.controls) {
        const char* tip = "";
        for (const ToolTipRow& row : tpl.tooltips)
            tip = row.id == c.id ? row.text : tip;
        const char* name = "";
        for (const AccessibleNameRow& row : tpl.accessibleNames)
            name = row.id == c.id ? row.name : name;
        inTemplate << line(c.id, classNames[int(c.controlClass)], c.text, c.x, c.y, c.cx, c.cy, tip, name);
    }
    QStringList inTable;
    for (const Expected::Control& c : expected.controls)
        inTable << line(c.id, c.className, c.text, c.rect.x, c.rect.y, c.rect.cx, c.rect.cy, c.tooltip,
                        c.accessibleName);
    QCOMPARE(inTemplate, inTable);
    // Every row of the tooltip and name tables belongs to a control.
    QCOMPARE(tpl.tooltips.size(), expected.TooltipCount());
    QCOMPARE(tpl.accessibleNames.size(),
             std::size_t(std::count_if(expected.controls.begin(), expected.controls.end(),
                                       [](const Expected::Control& c) { return c.accessibleName[0] != '\0'; })));

    QDialog dialog;
    const BuiltDialog built = BuildDialog(&dialog, tpl);
    QCOMPARE(dialog.windowTitle(), QString::fromUtf8(expected.caption));
    // The window's face may be shrunk to fit its labels; the units come from the font the template asks for.
    QCOMPARE(DialogFont(tpl).family(), QString::fromUtf8(expected.fontFace));
    QCOMPARE(DialogFont(tpl).pointSize(), expected.pointSize);
    QCOMPARE(built.Units().x, BaseUnitsForFont(DialogFont(tpl)).x);
    QCOMPARE(dialog.font().family(), QString::fromUtf8(expected.fontFace));
    QCOMPARE(int(dialog.font().weight()), expected.fontWeight);
    QCOMPARE(dialog.font().italic(), expected.italic);
    QCOMPARE(dialog.size(), DialogUnitsToPixels(QSize(expected.cx, expected.cy), built.Units()));
    // What each control shows, what a screen reader calls it and where it sits; an icon only places its corner.
    const auto shown = [](const QWidget* control) {
        if (auto* label = qobject_cast<const QLabel*>(control))
            return label->text();
        if (auto* button = qobject_cast<const QAbstractButton*>(control))
            return button->text();
        if (auto* box = qobject_cast<const QGroupBox*>(control))
            return box->title();
        return QString();
    };
    QStringList builtLines;
    for (QWidget* control : built.Controls()) {
        const bool icon = qobject_cast<QLabel*>(control) && !qobject_cast<QLabel*>(control)->pixmap().isNull();
        const QRect at = control->geometry();
        builtLines << QStringLiteral("%1 \"%2\" name \"%3\" at %4,%5 %6")
                          .arg(ControlId(control))
                          .arg(shown(control), control->accessibleName())
                          .arg(at.x())
                          .arg(at.y())
                          .arg(icon ? QString() : QStringLiteral("%1x%2").arg(at.width()).arg(at.height()));
    }
    QStringList expectedLines;
    for (const Expected::Control& c : expected.controls) {
        const QRect at = DialogUnitsToPixels(QRect(c.rect.x, c.rect.y, c.rect.cx, c.rect.cy), built.Units());
        expectedLines << QStringLiteral("%1 \"%2\" name \"%3\" at %4,%5 %6")
                             .arg(c.id)
                             .arg(QString::fromUtf8(c.text),
                                  QString::fromUtf8(c.accessibleName[0] ? c.accessibleName : c.text))
                             .arg(at.x())
                             .arg(at.y())
                             .arg(c.icon ? QString() : QStringLiteral("%1x%2").arg(at.width()).arg(at.height()));
    }
    QCOMPARE(builtLines, expectedLines);

    // Walk the focus chain from the first tab stop and note every control with a tab stop.
    QList<int> chain;
    QWidget* first = built.Control(tabOrder.first());
    QWidget* current = first;
    do {
        if (current->parentWidget() == &dialog && current->focusPolicy() & Qt::TabFocus)
            chain << ControlId(current);
        current = current->nextInFocusChain();
    } while (current != first && chain.size() < 100);
    QCOMPARE(chain, tabOrder);
    // Every control lies inside the dialog's fixed client area.
    for (QWidget* control : built.Controls())
        QVERIFY(dialog.rect().contains(control->geometry()));
    // One face size for the whole window, upright and of normal weight as the templates have it, and every
    // one-line label whole on its line in it.
    const int face = QFontInfo(dialog.font()).pixelSize();
    for (QWidget* control : built.Controls()) {
        QVERIFY2(QFontInfo(control->font()).pixelSize() == face, control->metaObject()->className());
        QCOMPARE(control->font().weight(), QFont::Normal);
        QVERIFY(!control->font().italic());
        auto* label = qobject_cast<QLabel*>(control);
        if (label && !label->text().isEmpty() && label->height() < 2 * QFontMetrics(label->font()).height()) {
            QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->contentsRect().width(),
                     qPrintable(label->text()));
            QVERIFY(!label->wordWrap());
        }
    }
}

void tst_MainDialog::framesAreCentred_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("ownerInCorner"); // the owner pushed into the work area's lower right corner
    QTest::addColumn<bool>("ownerRestored"); // the owner restored from its icon just before, as for a due message
    QTest::newRow("main window") << "main" << false << false;
    QTest::newRow("editor") << "editor" << false << false;
    QTest::newRow("display window") << "display" << false << false;
    QTest::newRow("about box") << "about" << false << false;
    QTest::newRow("editor, owner in the corner") << "editor" << true << false;
    QTest::newRow("display window, owner just restored") << "display" << false << true;
}

// The frame, title bar included, is what is centred; run on a platform whose windows have frames.
void tst_MainDialog::framesAreCentred() {
    QFETCH(QString, window);
    QFETCH(bool, ownerInCorner);
    QFETCH(bool, ownerRestored);
    MainFixture f;
    PutNamed(f.store, {"One"});
    // As when a due message comes: the main window started minimized, never framed, and is restored just before.
    if (ownerRestored)
        f.store.Set(kConfiguration, kShowMinimized, 1);
    CMainDialog& dlg = f.Open();
    const QRect workArea = dlg.screen()->availableGeometry();
    const auto near = [](QPoint a, QPoint b) { return qAbs(a.x() - b.x()) <= 2 && qAbs(a.y() - b.y()) <= 2; };
    const auto describe = [](const QRect& r) {
        return QStringLiteral("frame %1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    };
    if (ownerRestored) {
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            QSKIP("The platform reports no title bar; the frame tests run under X with a window manager.");
        // Once the window manager has taken the minimized window in, it is restored.
        // A window manager on a busy machine may take its time; giving up here would read as a skip.
        QVERIFY2(QTest::qWaitFor([&] { return dlg.windowHandle()->frameMargins().top() > 0; }, 30000),
                 "the window manager never framed the window");
        dlg.showNormal();
    } else {
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QMargins margins = dlg.windowHandle()->frameMargins();
        if (margins.top() <= margins.bottom())
            QSKIP("The platform reports no title bar; the frame tests run under X with a window manager.");
        // The title bar is known and placed for: the frame, not the client area, sits in the middle.
        QTRY_VERIFY2(near(dlg.frameGeometry().center(), workArea.center()), qPrintable(describe(dlg.frameGeometry())));
    }
    if (window == "main")
        return;
    if (ownerInCorner) {
        dlg.move(workArea.bottomRight() - QPoint(dlg.frameGeometry().width() / 2, dlg.frameGeometry().height() / 2));
        QTRY_VERIFY(dlg.frameGeometry().bottom() > workArea.bottom());
    }

    QRect frame;
    QRect client;
    QPoint ownerCentre;
    bool seen = false;
    WhenModalOpens([&](QWidget* modal) {
        if (QTest::qWaitForWindowExposed(modal)) {
            (void)QTest::qWaitFor([&] {
                return ownerInCorner ? workArea.contains(modal->frameGeometry())
                                     : near(modal->frameGeometry().center(), dlg.frameGeometry().center());
            });
            frame = modal->frameGeometry();
            client = modal->geometry();
            ownerCentre = dlg.frameGeometry().center();
            seen = true;
        }
        modal->close();
    });
    MessageEntry entry = f.dialog->Model().Entry(0);
    if (window == "editor") {
        CEditMessageDialog editor(&entry, 1, &dlg);
        editor.DoModal();
    } else if (window == "display") {
        CShowMessageDialog display(&entry, f.clock.AsClock(), &dlg);
        display.DoModal();
    } else {
        CAboutDialog about(&dlg);
        about.DoModal();
    }
    QVERIFY(seen);
    const QMargins margins = dlg.windowHandle()->frameMargins();
    if (margins.top() <= margins.bottom())
        QSKIP("The platform reports no title bar; the frame tests run under X with a window manager.");
    QVERIFY(frame.top() < client.top()); // framed, title bar and all
    if (ownerInCorner)
        QVERIFY2(workArea.contains(frame), qPrintable(describe(frame)));
    else
        QVERIFY2(near(frame.center(), ownerCentre),
                 qPrintable(describe(frame) +
                            QStringLiteral(", owner's centre %1,%2").arg(ownerCentre.x()).arg(ownerCentre.y())));
}

void tst_MainDialog::windowIsFixedWithoutMaximize() {
    MainFixture f;
    CMainDialog& dlg = f.Open();
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Nudgepost"));
    QCOMPARE(dlg.minimumSize(), dlg.maximumSize());
    QVERIFY(dlg.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(dlg.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(dlg.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(dlg.SchedulerTimer().isActive());
    QCOMPARE(dlg.SchedulerTimer().interval(), 10000);
    // Minimized, the window is named by its icon text, and a screen reader's window list must still name it.
    dlg.showMinimized();
    QTRY_VERIFY(dlg.isMinimized());
    QCOMPARE(QAccessible::queryAccessibleInterface(&dlg)->text(QAccessible::Name), QStringLiteral("Nudgepost"));
    dlg.showNormal();
}

void tst_MainDialog::controlsAreNamedForAccessibility() {
    MainFixture f;
    CMainDialog& dlg = f.Open();
    for (const Expected::Control& row : Expected::kMain.controls) {
        if (row.id == -1 || (row.text[0] == '\0' && row.accessibleName[0] == '\0'))
            continue;
        QVERIFY2(dlg.Control(row.id), qPrintable(QStringLiteral("no control %1").arg(row.id)));
        QCOMPARE(dlg.Control(row.id)->accessibleName(), QString::fromUtf8(row.text[0] ? row.text : row.accessibleName));
    }
    // The list has no text of its own: it is named by its label and described by its tooltip.
    QCOMPARE(dlg.MessageList()->accessibleDescription(), dlg.MessageList()->toolTip());
}

void tst_MainDialog::updateButtonsStates() {
    MainFixture empty;
    empty.Open();
    QCOMPARE(empty.ListButtonsEnabled(), (QList<bool>{false, false, false, false}));
    QVERIFY(empty.Button(MainIds::kAddMessage)->isEnabled());
    QCOMPARE(empty.dialog->focusWidget(), empty.Button(MainIds::kAddMessage));
    empty.dialog.reset();

    MainFixture f;
    PutNamed(f.store, {"One", "Two"});
    f.Open();
    QCOMPARE(f.ListButtonsEnabled(), (QList<bool>{false, false, false, true}));
    QCOMPARE(f.dialog->focusWidget(), f.Button(MainIds::kAddMessage));
    f.Mark("Two\tACTIVE");
    QCOMPARE(f.ListButtonsEnabled(), (QList<bool>{true, true, true, true}));
    f.dialog.reset();

    // Messages switched off hide Add; the focus must not fall to Exit, where Space would end the program.
    MainFixture off;
    PutNamed(off.store, {"One"});
    off.store.Set(kConfiguration, kActivatedMessages, 0);
    off.Open();
    QVERIFY(off.dialog->isVisible());
    QCOMPARE(off.dialog->focusWidget(), off.Check(MainIds::kActivateMessages));
}

void tst_MainDialog::activateMessagesHidesAndShowsListControls() {
    MainFixture f;
    PutNamed(f.store, {"One"});
    CMainDialog& dlg = f.Open();
    const QList<bool> enabledBefore = f.ListButtonsEnabled();

    // Toggled by an accessibility tool while a list button has the focus: the focus must not fall to Exit.
    f.Button(MainIds::kClearAll)->setFocus();
    QTRY_COMPARE(dlg.focusWidget(), f.Button(MainIds::kClearAll));
    QAccessible::queryAccessibleInterface(f.Check(MainIds::kActivateMessages))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::toggleAction());
    for (int id : MainIds::kListControls)
        QVERIFY2(!dlg.Control(id)->isVisible(), qPrintable(QString::number(id)));
    QCOMPARE(dlg.focusWidget(), f.Check(MainIds::kActivateMessages));
    QCOMPARE(f.store.GetProfileInt(kConfiguration, kActivatedMessages, -1), 0);
    QVERIFY(!dlg.Model().IsOn(Option::MessagesActivated));

    QTest::mouseClick(f.Check(MainIds::kActivateMessages), Qt::LeftButton);
    for (int id : MainIds::kListControls)
        QVERIFY(dlg.Control(id)->isVisible());
    QCOMPARE(f.ListButtonsEnabled(), enabledBefore);
    QCOMPARE(f.store.GetProfileInt(kConfiguration, kActivatedMessages, -1), 1);
}

void tst_MainDialog::optionTogglesAreStoredAndSurviveRestart_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("how");
    // An accessibility tool (screen reader, switch access, voice control) toggles a box without a click.
    for (const char* how : {"click", "space", "accessible toggle"}) {
        QTest::addRow("activate messages, %s", how) << MainIds::kActivateMessages << "Activated messages" << 1 << how;
        QTest::addRow("show tooltips, %s", how) << MainIds::kShowTooltips << "Show tooltips" << 1 << how;
        QTest::addRow("confirm deletions, %s", how) << MainIds::kConfirmDeletions << "Show warnings" << 1 << how;
        QTest::addRow("show minimized on start, %s", how) << MainIds::kShowMinimized << "Show minimized" << 0 << how;
    }
}

void tst_MainDialog::optionTogglesAreStoredAndSurviveRestart() {
    QFETCH(int, id);
    QFETCH(QString, value);
    QFETCH(int, before);
    QFETCH(QString, how);
    const std::string name = value == "Show tooltips" ? kTooltips : value.toStdString();
    const auto flag = [&](CMainDialog& dlg) {
        for (const LayoutRow& row : kOptionValues) {
            if (row.name == name)
                return dlg.Model().IsOn(row.option) ? 1 : 0;
        }
        return -1;
    };

    MainFixture f;
    PutNamed(f.store, {"One"});
    CMainDialog& dlg = f.Open();
    QCOMPARE(f.Check(id)->isChecked(), before == 1);
    QCOMPARE(f.store.commitCount, 0); // filling the boxes ran no handler
    if (how == "click") {
        QTest::mouseClick(f.Check(id), Qt::LeftButton);
    } else if (how == "space") {
        f.Check(id)->setFocus();
        QTest::keyClick(f.Check(id), Qt::Key_Space);
    } else {
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(f.Check(id));
        QVERIFY(box && box->actionInterface());
        QVERIFY(box->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
        box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    }
    QCOMPARE(f.Check(id)->isChecked(), before == 0);
    QCOMPARE(flag(dlg), 1 - before);
    QCOMPARE(f.store.GetProfileInt(kConfiguration, name, -1), 1 - before);
    QCOMPARE(f.store.commitCount, 1);

    f.dialog.reset();
    f.prompts.Clear();
    f.store.commitCount = 0;
    CMainDialog& again = f.Open();
    QCOMPARE(f.Check(id)->isChecked(), before == 0);
    QCOMPARE(flag(again), 1 - before);
    QCOMPARE(f.store.commitCount, 0);
    QVERIFY(f.prompts.boxes.empty());
    if (id == MainIds::kShowMinimized) {
        QVERIFY(again.isMinimized());
        again.showNormal();
    }
}

void tst_MainDialog::tooltipsFollowTheOption() {
    MainFixture f;
    CMainDialog& dlg = f.Open();
    // Every control of the tooltip table carries its text; the others carry none.
    for (const Expected::Control& row : Expected::kMain.controls) {
        if (row.id == -1)
            continue;
        QVERIFY2(dlg.Control(row.id), qPrintable(QStringLiteral("no control %1").arg(row.id)));
        QCOMPARE(dlg.Control(row.id)->toolTip(), QString::fromUtf8(row.tooltip));
    }
    QVERIFY(dlg.TooltipsActive());

    QTest::mouseClick(f.Check(MainIds::kShowTooltips), Qt::LeftButton);
    QVERIFY(!dlg.TooltipsActive());
    // While off, a tooltip request never reaches the control.
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), dlg.Control(MainIds::kAddMessage)->mapToGlobal(QPoint(2, 2)));
    QVERIFY(!QApplication::sendEvent(dlg.Control(MainIds::kAddMessage), &help) || !QToolTip::isVisible());
    QVERIFY(!QToolTip::isVisible());
    QTest::mouseClick(f.Check(MainIds::kShowTooltips), Qt::LeftButton);
    QVERIFY(dlg.TooltipsActive());
}

void tst_MainDialog::listOrderIgnoresCaseAndPutsShortNamesFirst() {
    MainFixture f;
    PutNamed(f.store, {"tea time", "banana", "Tea", "Apple", "apple pie", QString(199, 'Z')});
    f.Open();
    QCOMPARE(f.Lines(), (QStringList{"Apple\tACTIVE", "apple pie\tACTIVE", "banana\tACTIVE", "Tea\tACTIVE",
                                     "tea time\tACTIVE", QString(199, 'Z') + "\tACTIVE"}));
}

void tst_MainDialog::failedStateRefusesListCommandsOnly() {
    MainFixture f;
    PutNamed(f.store, {"One"});
    f.store.Remove(kConfiguration, kTooltips); // forces a repairing save at load ...
    f.store.failCommit = true;                 // ... which fails
    CMainDialog& dlg = f.Open();
    QCOMPARE(f.Errors(), (QStringList{Expected::kOptions[1].repairText, Expected::kSaveFailed}));
    QVERIFY(dlg.Model().GlobalError());
    QCOMPARE(dlg.MessageLines()->rowCount(), 0);
    f.prompts.Clear();

    QTest::mouseClick(f.Check(MainIds::kActivateMessages), Qt::LeftButton);
    QCOMPARE(f.Errors(), QStringList{kGlobalError});
    QVERIFY(dlg.Model().IsOn(Option::MessagesActivated));
    QVERIFY(dlg.Control(MainIds::kMessageList)->isVisible());
    QVERIFY(!f.Check(MainIds::kActivateMessages)->isChecked()); // the box flips its own check all the same

    f.prompts.Clear();
    QTest::mouseClick(f.Check(MainIds::kShowTooltips), Qt::LeftButton);
    QVERIFY(!dlg.Model().IsOn(Option::Tooltips));
    QVERIFY(!dlg.TooltipsActive());
    QCOMPARE(f.Errors(), QStringList{Expected::kSaveFailed}); // the option still tries to save
}

void tst_MainDialog::showMinimizedOnStart() {
    MainFixture f;
    PutNamed(f.store, {"One", "Two"});
    f.store.Set(kConfiguration, kShowMinimized, 1);
    CMainDialog& dlg = f.Open();
    QVERIFY(dlg.isMinimized());
    QCOMPARE(dlg.MessageLines()->rowCount(), 2);
    QVERIFY(dlg.SchedulerTimer().isActive());
    dlg.showNormal();
}

void tst_MainDialog::exitEscapeAndCloseEndTheDialog_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("exit button") << 0;
    QTest::newRow("enter") << 1;
    QTest::newRow("escape") << 2;
    QTest::newRow("close box") << 3;
}

void tst_MainDialog::exitEscapeAndCloseEndTheDialog() {
    QFETCH(int, how);
    MainFixture f;
    PutNamed(f.store, {"One"});
    ReminderServices services;
    services.store = &f.store;
    services.prompts = &f.prompts;
    services.clock = f.clock.AsClock();
    CMainDialog dlg(services);
    f.store.ClearWriteLog();
    WhenModalOpens([&dlg, how](QWidget* modal) {
        QCOMPARE(modal, &dlg);
        switch (how) {
        case 0:
            QTest::mouseClick(dlg.Control(MainIds::kExit), Qt::LeftButton);
            break;
        case 1:
            dlg.MessageList()->setFocus();
            QTest::keyClick(dlg.MessageList(), Qt::Key_Return);
            break;
        case 2:
            QTest::keyClick(&dlg, Qt::Key_Escape);
            break;
        default:
            dlg.close();
        }
    });
    const int result = dlg.DoModal();
    QCOMPARE(result, how <= 1 ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QVERIFY(f.store.WriteLog().empty()); // nothing is written at exit
}

void tst_MainDialog::addThroughTheEditorShowsTheLine() {
    MainFixture f;
    CMainDialog& dlg = f.Open();
    EditorAnswer answer;
    AnswerEditor(answer);
    QTest::mouseClick(f.Button(MainIds::kAddMessage), Qt::LeftButton);
    QCOMPARE(answer.seen->at(EditIds::kName), QStringLiteral("Message 1"));
    QCOMPARE(answer.seen->at(EditIds::kYear), QStringLiteral("1996"));
    QCOMPARE(f.Lines(), QStringList{"Message 1\tACTIVE"});
    QCOMPARE(dlg.Model().Count(), 1);
    QCOMPARE(f.ListButtonsEnabled(), (QList<bool>{false, false, false, true}));
    QCOMPARE(dlg.focusWidget(), f.Button(MainIds::kAddMessage));
    QCOMPARE(f.StoredNames(), QStringList{"Message 1"});
    f.Mark("Message 1\tACTIVE");
    QCOMPARE(f.ListButtonsEnabled(), (QList<bool>{true, true, true, true}));
}

void tst_MainDialog::listKeepsAVisibleCurrentLine_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("fresh start") << "";
    QTest::newRow("after delete") << "delete";
    QTest::newRow("after edit") << "edit";
}

// Where the list has the focus it shows a current line, and Space marks it, whatever came before.
void tst_MainDialog::listKeepsAVisibleCurrentLine() {
    QFETCH(QString, command);
    MainFixture f;
    PutNamed(f.store, {"A", "B", "C"});
    f.store.Set(kConfiguration, kShowWarnings, 0);
    CMainDialog& dlg = f.Open();
    if (command == "delete") {
        f.Mark("B\tACTIVE");
        QTest::mouseClick(f.Button(MainIds::kDeleteMarked), Qt::LeftButton);
    } else if (command == "edit") {
        f.Mark("B\tACTIVE");
        AnswerEditor({{{EditIds::kText, "Changed"}}});
        QTest::mouseClick(f.Button(MainIds::kEditMarked), Qt::LeftButton);
    }
    QListView* list = dlg.MessageList();
    QVERIFY(!list->selectionModel()->hasSelection());
    dlg.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    list->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(list->hasFocus());
    QVERIFY(list->currentIndex().isValid());
    QTest::keyClick(list, Qt::Key_Space);
    QVERIFY(list->selectionModel()->hasSelection());
    QCOMPARE(f.ListButtonsEnabled(), (QList<bool>{true, true, true, true}));
}

void tst_MainDialog::confirmationDefaultsToYesInGnomeOrder_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("expectedCount");
    QTest::newRow("delete marked message") << MainIds::kDeleteMarked << 2;
    QTest::newRow("clear all messages") << MainIds::kClearAll << 0;
}

// The program's own box, not the recorder: the desktop's button order puts No first, and Enter must still delete.
void tst_MainDialog::confirmationDefaultsToYesInGnomeOrder() {
    QFETCH(int, button);
    QFETCH(int, expectedCount);

    class GnomeOrder : public QProxyStyle {
    public:
        int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                      QStyleHintReturn* data) const override {
            if (hint == QStyle::SH_DialogButtonLayout)
                return QDialogButtonBox::GnomeLayout;
            return QProxyStyle::styleHint(hint, option, widget, data);
        }
    };
    class QuietPrompts : public QtUserPrompts {
    public:
        void Beep() override { ++beeps; }
        int beeps = 0;
    };
    const QString styleName = QApplication::style()->name();
    QApplication::setStyle(new GnomeOrder);
    const auto restoreStyle = qScopeGuard([&] { QApplication::setStyle(styleName); });

    MemoryProfileStore store;
    PutNamed(store, {"A", "B", "C"});
    QuietPrompts prompts;
    FakeClock clock(LocalTime(2026, 12, 7, 12, 0));
    CMainDialog dlg(ReminderServices{&store, &prompts, clock.AsClock(), {}});
    prompts.SetOwner(&dlg);
    dlg.OnInitDialog();
    dlg.show();
    dlg.MessageList()->setCurrentIndex(dlg.MessageLines()->index(1));
    QCOMPARE(dlg.MessageLines()->Line(1), std::string("B\tACTIVE"));

    QString question;
    bool noComesFirst = false;
    bool yesIsDefault = false;
    WhenModalOpens([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box)
            return;
        question = box->text();
        QAbstractButton* yes = box->button(QMessageBox::Yes);
        QAbstractButton* no = box->button(QMessageBox::No);
        noComesFirst = yes && no && no->mapToGlobal(QPoint()).x() < yes->mapToGlobal(QPoint()).x();
        yesIsDefault = box->defaultButton() == yes;
        QTest::keyClick(box, Qt::Key_Return);
    });
    QTest::mouseClick(dlg.Control(button), Qt::LeftButton);
    QCOMPARE(question, QString::fromUtf8(button == MainIds::kDeleteMarked ? Expected::kConfirmDelete
                                                                           : Expected::kConfirmClear));
    QVERIFY2(noComesFirst, "the style does not put No before Yes, so the test proves nothing");
    QVERIFY(yesIsDefault);
    QCOMPARE(dlg.Model().Count(), expectedCount);
    QCOMPARE(prompts.beeps, 1);
    dlg.hide();
}

void tst_MainDialog::aboutBox_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("ok") << 0;
    QTest::newRow("enter") << 1;
    QTest::newRow("escape") << 2;
}

void tst_MainDialog::aboutBox() {
    QFETCH(int, how);
    MainFixture f;
    CMainDialog& dlg = f.Open();
    QStringList texts;
    QString title;
    bool closed = false;
    bool iconShown = false;
    WhenModalOpens([&](QWidget* about) {
        title = about->windowTitle();
        QList<QLabel*> labels = about->findChildren<QLabel*>();
        std::sort(labels.begin(), labels.end(), [](QLabel* a, QLabel* b) { return a->y() < b->y(); });
        for (QLabel* label : labels) {
            texts << (label->pixmap().isNull() ? label->text() : QStringLiteral("<icon>"));
            // The whole icon shows: its static is as large as the icon.
            if (!label->pixmap().isNull())
                iconShown = label->size() == label->pixmap().deviceIndependentSize().toSize();
        }
        if (how == 0)
            QTest::mouseClick(ControlById(about, 1), Qt::LeftButton);
        else
            QTest::keyClick(about, how == 1 ? Qt::Key_Return : Qt::Key_Escape);
        closed = true;
    });
    QTest::mouseClick(dlg.Control(MainIds::kAbout), Qt::LeftButton);
    QVERIFY(closed);
    QVERIFY(iconShown);
    QCOMPARE(title, QStringLiteral("About"));
    QCOMPARE(texts, (QStringList{"Nudgepost", "Version 1.0", "Quillmoor, 2026", "For more information see README.TXT.",
                                 "<icon>"}));
}

QTEST_MAIN(tst_MainDialog)
#include "tst_maindialog.moc"
