// The message editor, driven as a user drives it: modal, with typed keys and clicks, on the offscreen platform.

#include "CEditMessageDialog.h"
#include "CMainDialog.h"
#include "ExpectedTemplates.h"
#include "MemoryProfileStore.h"
#include "TestSupport.h"
#include "TextFit.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

#include <climits>
#include <cstring>
#include <functional>

Q_DECLARE_METATYPE(MessageEntry)

namespace {
using namespace EditIds;

// What DoModal answers when a driver step failed and left the editor open; no real result has this value.
constexpr int kLeftOpen = 4711;

std::int32_t MessageEntry::*NumberMember(int id) {
    switch (id) {
    case kDay:
        return &MessageEntry::m_nDay;
    case kMonth:
        return &MessageEntry::m_nMonth;
    case kYear:
        return &MessageEntry::m_nYear;
    case kHour:
        return &MessageEntry::m_nHour;
    case kMinute:
        return &MessageEntry::m_nMinute;
    case kShowDays:
        return &MessageEntry::m_nShowDays;
    case kRepeat:
        return &MessageEntry::m_nRepeatMinutes;
    }
    return nullptr;
}

// Zeroed first, so that two copies of it compare equal byte for byte, padding included.
MessageEntry SampleEntry() {
    MessageEntry entry;
    std::memset(&entry, 0, sizeof entry);
    CopyFitted(entry.m_szName, sizeof entry.m_szName, "Dentist");
    CopyFitted(entry.m_szText, sizeof entry.m_szText, "Call the dentist\r\nabout Tuesday.");
    entry.m_nDay = 15;
    entry.m_nMonth = 6;
    entry.m_nYear = 2024;
    entry.m_nMinute = 30;
    entry.m_nHour = 9;
    entry.m_nShowDays = 3;
    entry.m_nRepeatMinutes = 10;
    entry.m_tLastShown = 1'700'000'000;
    entry.m_bActive = 1;
    entry.m_bPending = 1;
    entry.m_bEveryDay = 0;
    entry.m_bShown = 0;
    return entry;
}

MessageEntry EveryDayEntry() {
    MessageEntry entry = SampleEntry();
    entry.m_bEveryDay = 1;
    return entry;
}

QByteArray Bytes(const MessageEntry& entry) {
    return QByteArray(reinterpret_cast<const char*>(&entry), sizeof entry);
}

QString LineText(CEditMessageDialog& dialog, int id) {
    auto* line = qobject_cast<QLineEdit*>(dialog.Control(id));
    return line ? line->text() : QStringLiteral("<no line field %1>").arg(id);
}

// Types as a user does: everything in the field selected first, then one key per character.
void TypeInto(QWidget* field, const QString& text) {
    field->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // A character beyond the first plane arrives as one key with both halves of its pair.
        const qsizetype units = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        if (c.unicode() < 0x80)
            QTest::keyClick(field, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, text.mid(i, units), Qt::NoModifier);
        i += units - 1;
    }
}

void ClickButton(CEditMessageDialog& dialog, int id) { QTest::mouseClick(dialog.Control(id), Qt::LeftButton); }

// Near the box itself, which takes the click whatever the width of its text.
void ClickCheckBox(CEditMessageDialog& dialog, int id) {
    QWidget* box = dialog.Control(id);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

using Driver = std::function<void(CEditMessageDialog&)>;

// Runs the editor on entry with DoModal; drive acts on it once its event loop runs and it is the active window.
// Whatever drive leaves open is closed with kLeftOpen, so a failed step cannot hang the run.
int RunEditor(MessageEntry& entry, int tooltips, const Driver& drive) {
    CEditMessageDialog dialog(&entry, tooltips, nullptr);
    QTimer::singleShot(0, &dialog, [&dialog, &drive] {
        if (QTest::qWaitForWindowActive(&dialog))
            drive(dialog);
        if (dialog.isVisible())
            dialog.done(kLeftOpen);
    });
    return dialog.DoModal();
}

struct MainHarness {
    MainHarness() : clock(1'700'000'000) {
        main = std::make_unique<CMainDialog>(ReminderServices{&store, &prompts, clock.AsClock(), {}});
    }
    MemoryProfileStore store;
    RecordingPrompts prompts;
    FakeClock clock;
    std::unique_ptr<CMainDialog> main;
};
} // namespace

class TestEditMessageDialog : public QObject {
    Q_OBJECT
private slots:
    void init();

    void opensWithEntryValues_data();
    void opensWithEntryValues();
    void everyDayHidesDateControls_data();
    void everyDayHidesDateControls();
    void everyDayBoxTogglesDateControls_data();
    void everyDayBoxTogglesDateControls();
    void activeBoxFlipsFlag_data();
    void activeBoxFlipsFlag();
    void typedNumberIsStored_data();
    void typedNumberIsStored();
    void lineEndsNeverReachSingleLineFields_data();
    void lineEndsNeverReachSingleLineFields();
    void doModalAnswersIdokOrIdcancel_data();
    void doModalAnswersIdokOrIdcancel();
    void closingReadsFocusedField_data();
    void closingReadsFocusedField();
    void enterInTextAddsLineBreak_data();
    void enterInTextAddsLineBreak();
    void longTextIsCutAtCharacter_data();
    void longTextIsCutAtCharacter();
    void pasteIntoTheMiddleKeepsTheTextBehindTheCaret_data();
    void pasteIntoTheMiddleKeepsTheTextBehindTheCaret();
    void textFieldRefusesWhatItCannotShow_data();
    void textFieldRefusesWhatItCannotShow();
    void unchangedCopyComesBackIdentical_data();
    void unchangedCopyComesBackIdentical();
    void cancelLeavesCallerTableAlone_data();
    void cancelLeavesCallerTableAlone();
    void tooltipTexts_data();
    void tooltipTexts();
    void tooltipsOffShowNone_data();
    void tooltipsOffShowNone();
    void arrowKeysMoveWithinGroup_data();
    void arrowKeysMoveWithinGroup();
    void tabOrderFromOk_data();
    void tabOrderFromOk();
};

void TestEditMessageDialog::init() {
    // A tip of the previous case takes a moment to go.
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());
}

void TestEditMessageDialog::opensWithEntryValues_data() {
    QTest::addColumn<MessageEntry>("entry");
    QTest::addColumn<QStringList>("numbers"); // day, month, year, hour, minute, show days, repeat

    QTest::newRow("ordinary") << SampleEntry() << QStringList{"15", "6", "2024", "9", "30", "3", "10"};
    MessageEntry negative = SampleEntry();
    negative.m_nDay = -1;
    negative.m_nHour = -5;
    negative.m_nRepeatMinutes = -59;
    negative.m_bActive = 0;
    QTest::newRow("negative numbers") << negative << QStringList{"-1", "6", "2024", "-5", "30", "3", "-59"};
    MessageEntry extremes = SampleEntry();
    extremes.m_nYear = INT_MIN;
    extremes.m_nShowDays = INT_MAX;
    extremes.m_nMinute = 0;
    QTest::newRow("extremes") << extremes
                              << QStringList{"15", "6", "-2147483648", "9", "0", "2147483647", "10"};
}

void TestEditMessageDialog::opensWithEntryValues() {
    QFETCH(MessageEntry, entry);
    QFETCH(QStringList, numbers);

    const int result = RunEditor(entry, 1, [&](CEditMessageDialog& dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Edit message"));
        const int ids[] = {kDay, kMonth, kYear, kHour, kMinute, kShowDays, kRepeat};
        QStringList shown;
        for (int id : ids)
            shown << LineText(dialog, id);
        QCOMPARE(shown, numbers);
        QCOMPARE(LineText(dialog, kName), QString::fromUtf8(entry.m_szName));
        // The stored line break shows as a single one.
        QCOMPARE(qobject_cast<QPlainTextEdit*>(dialog.Control(kText))->toPlainText(),
                 QStringLiteral("Call the dentist\nabout Tuesday."));
        QCOMPARE(qobject_cast<QCheckBox*>(dialog.Control(kActive))->isChecked(), entry.m_bActive != 0);
        QCOMPARE(qobject_cast<QCheckBox*>(dialog.Control(kEveryDay))->isChecked(), false);
        QCOMPARE(qobject_cast<QLabel*>(dialog.Control(kEveryDayNote))->text(),
                 QString::fromUtf8(Expected::kEveryDayNote));
        for (const Expected::Control& row : Expected::kEdit.controls) {
            if (row.id == -1)
                continue;
            QVERIFY2(dialog.Control(row.id), qPrintable(QStringLiteral("no control %1").arg(row.id)));
            QCOMPARE(dialog.Control(row.id)->toolTip(), QString::fromUtf8(row.tooltip));
            if (row.accessibleName[0] != '\0')
                QCOMPARE(dialog.Control(row.id)->accessibleName(), QString::fromUtf8(row.accessibleName));
        }
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    QCOMPARE(result, DialogIds::kCancel);
}

void TestEditMessageDialog::everyDayHidesDateControls_data() {
    QTest::addColumn<MessageEntry>("entry");
    QTest::addColumn<bool>("everyDay");

    QTest::newRow("dated message") << SampleEntry() << false;
    QTest::newRow("every-day message") << EveryDayEntry() << true;
}

void TestEditMessageDialog::everyDayHidesDateControls() {
    QFETCH(MessageEntry, entry);
    QFETCH(bool, everyDay);

    const int result = RunEditor(entry, 1, [&](CEditMessageDialog& dialog) {
        for (int id : kDateControls)
            QVERIFY2(dialog.Control(id)->isVisible() == !everyDay, qPrintable(QString::number(id)));
        QCOMPARE(dialog.Control(kEveryDayNote)->isVisible(), everyDay);
        QCOMPARE(qobject_cast<QCheckBox*>(dialog.Control(kEveryDay))->isChecked(), everyDay);
        // The time still matters every day.
        QVERIFY(dialog.Control(kHour)->isVisible());
        QVERIFY(dialog.Control(kMinute)->isVisible());
        ClickButton(dialog, kCancel);
    });
    QCOMPARE(result, DialogIds::kCancel);
}

void TestEditMessageDialog::everyDayBoxTogglesDateControls_data() {
    QTest::addColumn<MessageEntry>("entry");

    QTest::newRow("from dated") << SampleEntry();
    QTest::newRow("from every day") << EveryDayEntry();
}

void TestEditMessageDialog::everyDayBoxTogglesDateControls() {
    QFETCH(MessageEntry, entry);
    const MessageEntry original = entry;
    const bool startsEveryDay = entry.m_bEveryDay != 0;

    const int result = RunEditor(entry, 1, [&](CEditMessageDialog& dialog) {
        for (bool everyDay : {!startsEveryDay, startsEveryDay, !startsEveryDay}) {
            ClickCheckBox(dialog, kEveryDay);
            QCOMPARE(entry.m_bEveryDay, everyDay ? 1 : 0);
            for (int id : kDateControls)
                QVERIFY2(dialog.Control(id)->isVisible() == !everyDay, qPrintable(QString::number(id)));
            QCOMPARE(dialog.Control(kEveryDayNote)->isVisible(), everyDay);
        }
        // Hiding the date never touched what it holds.
        QCOMPARE(LineText(dialog, kDay), QStringLiteral("15"));
        QCOMPARE(LineText(dialog, kMonth), QStringLiteral("6"));
        QCOMPARE(LineText(dialog, kYear), QStringLiteral("2024"));
        QCOMPARE(LineText(dialog, kShowDays), QStringLiteral("3"));
        ClickButton(dialog, kOk);
    });
    QCOMPARE(result, DialogIds::kOk);
    MessageEntry expected = original;
    expected.m_bEveryDay = startsEveryDay ? 0 : 1;
    QCOMPARE(Bytes(entry), Bytes(expected));
}

void TestEditMessageDialog::activeBoxFlipsFlag_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<int>("active");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("how");

    QTest::newRow("active, one click") << int(kActive) << 1 << 1 << "click";
    QTest::newRow("inactive, one click") << int(kActive) << 0 << 1 << "click";
    QTest::newRow("active, two clicks") << int(kActive) << 1 << 2 << "click";
    QTest::newRow("active, space") << int(kActive) << 1 << 1 << "space";
    // What a screen reader or switch access does: the box's accessible toggle, with no click.
    QTest::newRow("active, accessible toggle") << int(kActive) << 1 << 1 << "accessible";
    QTest::newRow("inactive, accessible toggle twice") << int(kActive) << 0 << 2 << "accessible";
    QTest::newRow("every day, accessible toggle") << int(kEveryDay) << 0 << 1 << "accessible";
}

void TestEditMessageDialog::activeBoxFlipsFlag() {
    QFETCH(int, box);
    QFETCH(int, active);
    QFETCH(int, clicks);
    QFETCH(QString, how);
    MessageEntry entry = SampleEntry();
    entry.m_bActive = active;
    std::int32_t& flag = box == kActive ? entry.m_bActive : entry.m_bEveryDay;
    const int start = flag;

    const int result = RunEditor(entry, 1, [&](CEditMessageDialog& dialog) {
        auto* check = qobject_cast<QCheckBox*>(dialog.Control(box));
        for (int i = 0; i < clicks; ++i) {
            if (how == "click") {
                ClickCheckBox(dialog, box);
            } else if (how == "space") {
                check->setFocus();
                QTest::keyClick(check, Qt::Key_Space);
            } else {
                QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(check);
                QVERIFY(iface && iface->actionInterface());
                iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
            }
        }
        QCOMPARE(check->isChecked(), clicks % 2 == 0 ? start != 0 : start == 0);
        // Only the every-day box moves the date controls.
        const bool dateShown = box == kActive || clicks % 2 == 0;
        for (int id : kDateControls)
            QCOMPARE(dialog.Control(id)->isVisible(), dateShown);
        ClickButton(dialog, kOk);
    });
    QCOMPARE(result, DialogIds::kOk);
    QCOMPARE(flag, clicks % 2 == 0 ? start : 1 - start);
    if (box == kActive)
        QCOMPARE(entry.m_bEveryDay, 0);
    else
        QCOMPARE(entry.m_bActive, active);
}

void TestEditMessageDialog::typedNumberIsStored_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("enterAtOnce"); // else Tab away, then OK

    QTest::newRow("minute letters, tab") << int(kMinute) << "ab" << 0 << false;
    QTest::newRow("minute letters, enter") << int(kMinute) << "ab" << 0 << true;
    QTest::newRow("hour -5, tab") << int(kHour) << "-5" << -5 << false;
    QTest::newRow("hour -5, enter") << int(kHour) << "-5" << -5 << true;
    QTest::newRow("day leading blanks") << int(kDay) << "  7" << 7 << false;
    QTest::newRow("day digits then letter") << int(kDay) << "7x" << 0 << true;
    QTest::newRow("month emptied") << int(kMonth) << "" << 0 << false;
    QTest::newRow("year, enter") << int(kYear) << "2030" << 2030 << true;
    QTest::newRow("year out of range kept") << int(kYear) << "1995" << 1995 << false;
    QTest::newRow("show days 366, enter") << int(kShowDays) << "366" << 366 << true;
    QTest::newRow("repeat beyond 32 bits") << int(kRepeat) << "4294967297" << 0 << false;
    QTest::newRow("repeat smallest int") << int(kRepeat) << "-2147483648" << INT_MIN << true;
    QTest::newRow("repeat two minus signs") << int(kRepeat) << "--3" << 0 << false;
}

void TestEditMessageDialog::typedNumberIsStored() {
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(int, stored);
    QFETCH(bool, enterAtOnce);

    MessageEntry entry = SampleEntry();
    const auto member = NumberMember(field);
    QVERIFY(member);
    MessageEntry expected = entry;
    expected.*member = stored;

    const int result = RunEditor(entry, 1, [&](CEditMessageDialog& dialog) {
        QWidget* edit = dialog.Control(field);
        TypeInto(edit, typed);
        if (enterAtOnce) {
            QTest::keyClick(edit, Qt::Key_Return);
            return;
        }
        QTest::keyClick(edit, Qt::Key_Tab);
        QVERIFY(!edit->hasFocus());
        // Leaving the field is what stores it, before any button.
        QCOMPARE(entry.*member, stored);
        ClickButton(dialog, kOk);
    });
    QCOMPARE(result, DialogIds::kOk);
    QCOMPARE(entry.*member, stored);
    QCOMPARE(Bytes(entry), Bytes(expected));
}

void TestEditMessageDialog::lineEndsNeverReachSingleLineFields_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<bool>("drop"); // else pasted over the whole field
    QTest::addColumn<QString>("incoming");
    QTest::addColumn<QString>("stored");

    QTest::newRow("minute, pasted with its line end") << int(kMinute) << false << "30\n" << "30";
    QTest::newRow("minute, pasted with CR LF") << int(kMinute) << false << "45\r\n" << "45";
    QTest::newRow("hour, dropped between line ends") << int(kHour) << true << "\n7\n" << "7";
    QTest::newRow("name, pasted across two lines") << int(kName) << false << "Shop\nping" << "Shopping";
    QTest::newRow("name, dropped with CR LF") << int(kName) << true << "Dentist\r\n" << "Dentist";
}

void TestEditMessageDialog::lineEndsNeverReachSingleLineFields() {
    QFETCH(int, field);
    QFETCH(bool, drop);
    QFETCH(QString, incoming);
    QFETCH(QString, stored);
    MessageEntry entry = SampleEntry();

    const int result = RunEditor(entry, 1, [&](CEditMessageDialog& dialog) {
        auto* edit = qobject_cast<QLineEdit*>(dialog.Control(field));
        edit->setFocus(Qt::MouseFocusReason);
        if (drop) {
            edit->clear();
            QMimeData data;
            data.setText(incoming);
            const QPointF at(2, edit->height() / 2);
            QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(edit, &enter);
            QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(edit, &dropped);
            QVERIFY(dropped.isAccepted());
        } else {
            QGuiApplication::clipboard()->setText(incoming);
            edit->selectAll();
            QTest::keySequence(edit, QKeySequence::Paste);
        }
        QCOMPARE(edit->text(), stored);
        ClickButton(dialog, kOk);
    });
    QCOMPARE(result, DialogIds::kOk);
    if (field == kName)
        QCOMPARE(QString::fromUtf8(entry.m_szName), stored);
    else
        QCOMPARE(entry.*NumberMember(field), stored.toInt());
}

void TestEditMessageDialog::doModalAnswersIdokOrIdcancel_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("answer");

    QTest::newRow("OK clicked") << "ok" << 1;
    QTest::newRow("Cancel clicked") << "cancel" << 2;
    QTest::newRow("close box") << "close" << 2;
}

void TestEditMessageDialog::doModalAnswersIdokOrIdcancel() {
    QFETCH(QString, how);
    QFETCH(int, answer);
    MessageEntry entry = SampleEntry();

    const int result = RunEditor(entry, 1, [&](CEditMessageDialog& dialog) {
        if (how == "close")
            QVERIFY(dialog.close());
        else
            ClickButton(dialog, how == "ok" ? kOk : kCancel);
    });
    QCOMPARE(result, answer);
}

void TestEditMessageDialog::closingReadsFocusedField_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");

    QTest::newRow("Enter") << int(Qt::Key_Return) << DialogIds::kOk;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << DialogIds::kCancel;
}

// With another window active the field never loses the focus, so only the close itself can read it.
void TestEditMessageDialog::closingReadsFocusedField() {
    QFETCH(int, key);
    QFETCH(int, result);
    MessageEntry entry = SampleEntry();

    const int answer = RunEditor(entry, 1, [&](CEditMessageDialog& dialog) {
        QWidget* minute = dialog.Control(kMinute);
        minute->setFocus(Qt::MouseFocusReason);
        auto* other = new QWidget(&dialog, Qt::Window);
        other->show();
        other->activateWindow();
        QTRY_VERIFY(other->isActiveWindow());
        QCOMPARE(dialog.focusWidget(), minute);
        QTest::keyClick(minute, Qt::Key_End);
        QTest::keyClick(minute, Qt::Key_Backspace);
        QTest::keyClick(minute, Qt::Key_Backspace);
        QTest::keyClicks(minute, QStringLiteral("45"));
        QCOMPARE(entry.m_nMinute, 30);
        QTest::keyClick(minute, Qt::Key(key));
    });
    QCOMPARE(answer, result);
    QCOMPARE(entry.m_nMinute, 45);
}

void TestEditMessageDialog::enterInTextAddsLineBreak_data() {
    QTest::addColumn<int>("key");

    QTest::newRow("return") << int(Qt::Key_Return);
    QTest::newRow("keypad enter") << int(Qt::Key_Enter);
}

void TestEditMessageDialog::enterInTextAddsLineBreak() {
    QFETCH(int, key);
    MessageEntry entry = SampleEntry();

    const int result = RunEditor(entry, 1, [&](CEditMessageDialog& dialog) {
        QWidget* text = dialog.Control(kText);
        TypeInto(text, QStringLiteral("first"));
        QTest::keyClick(text, Qt::Key(key));
        QTest::keyClicks(text, QStringLiteral("second"));
        QVERIFY(dialog.isVisible());
        QVERIFY(text->hasFocus());
        ClickButton(dialog, kOk);
    });
    QCOMPARE(result, DialogIds::kOk);
    QCOMPARE(QByteArray(entry.m_szText), QByteArray("first\r\nsecond"));
}

void TestEditMessageDialog::longTextIsCutAtCharacter_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("paste"); // else typed, key by key
    QTest::addColumn<int>("beeps");

    const QString e = QString::fromUtf8("\xC3\xA9"); // two bytes
    const QString euro = QString::fromUtf8("\xE2\x82\xAC"); // three bytes
    QTest::newRow("name of 199 bytes") << int(kName) << QString(199, 'n') << QByteArray(199, 'n') << false << 0;
    QTest::newRow("name of 200 bytes") << int(kName) << QString(200, 'n') << QByteArray(199, 'n') << false << 1;
    QTest::newRow("name, two-byte letter across the end")
        << int(kName) << e.repeated(100) << e.repeated(99).toUtf8() << false << 1;
    QTest::newRow("name, two-byte letter filling the end")
        << int(kName) << QStringLiteral("a") + e.repeated(100) << (QStringLiteral("a") + e.repeated(99)).toUtf8() << false << 1;
    QTest::newRow("name, three-byte sign across the end")
        << int(kName) << euro.repeated(67) << euro.repeated(66).toUtf8() << false << 1;
    const QString party = QString::fromUtf8("\xF0\x9F\x8E\x89"); // four bytes, two UTF-16 units
    QTest::newRow("name, four-byte sign across the end")
        << int(kName) << party.repeated(60) << party.repeated(49).toUtf8() << false << 11;
    // Zero-width, so that the bytes run out before the field's area does.
    const QString zeroWidth = QString::fromUtf8("\xE2\x80\x8B"); // three bytes
    QTest::newRow("text, three-byte sign across the end")
        << int(kText) << QStringLiteral("a") + zeroWidth.repeated(333)
        << (QStringLiteral("a") + zeroWidth.repeated(332)).toUtf8() << false << 1;
    // A paste at the limit takes what fits, in whole characters, as a standard field does.
    const QString water = QString::fromUtf8("\xE6\xB0\xB4"); // three bytes
    QTest::newRow("name, pasted Chinese") << int(kName) << water.repeated(100) << water.repeated(66).toUtf8()
                                          << true << 1;
    QTest::newRow("name, pasted four-byte signs")
        << int(kName) << party.repeated(60) << party.repeated(49).toUtf8() << true << 1;
    QTest::newRow("text, pasted three-byte signs")
        << int(kText) << zeroWidth.repeated(400) << zeroWidth.repeated(333).toUtf8() << true << 1;
}

void TestEditMessageDialog::longTextIsCutAtCharacter() {
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QByteArray, stored);
    QFETCH(bool, paste);
    QFETCH(int, beeps);
    MessageEntry entry = SampleEntry();
    int beeped = 0;

    QString shown;
    const int result = RunEditor(entry, 1, [&](CEditMessageDialog& dialog) {
        dialog.SetRefusalBeep([&beeped] { ++beeped; });
        if (paste) {
            dialog.Control(field)->setFocus(Qt::MouseFocusReason);
            QTest::keyClick(dialog.Control(field), Qt::Key_A, Qt::ControlModifier);
            QGuiApplication::clipboard()->setText(typed);
            QTest::keySequence(dialog.Control(field), QKeySequence::Paste);
        } else {
            TypeInto(dialog.Control(field), typed);
        }
        shown = field == kName ? LineText(dialog, field)
                                 : qobject_cast<QPlainTextEdit*>(dialog.Control(field))->toPlainText();
        ClickButton(dialog, kOk);
    });
    QCOMPARE(result, DialogIds::kOk);
    QCOMPARE(QByteArray(field == kName ? entry.m_szName : entry.m_szText), stored);
    // Nothing is dropped unseen: the field held no more than what was kept.
    QCOMPARE(shown.toUtf8(), stored);
    QCOMPARE(beeped, beeps);
}

void TestEditMessageDialog::pasteIntoTheMiddleKeepsTheTextBehindTheCaret_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("fill"); // zero-width three-byte signs before "Hello ", so the bytes run out first
    QTest::addColumn<QByteArray>("stored");

    const QByteArray zw = QByteArray("\xE2\x80\x8B");
    // 3 * 60 + 12 = 192 of the name's 199 bytes: room for 7 more, "world p".
    QTest::newRow("name") << int(kName) << 60 << zw.repeated(60) + "Hello world pworld!";
    // 3 * 328 + 12 = 996 of the text's 999: room for 3, "wor".
    QTest::newRow("text") << int(kText) << 328 << zw.repeated(328) + "Hello worworld!";
}

// The pasted text begins as the text behind the caret does; what is cut is the paste's end, never the user's own.
void TestEditMessageDialog::pasteIntoTheMiddleKeepsTheTextBehindTheCaret() {
    QFETCH(int, field);
    QFETCH(int, fill);
    QFETCH(QByteArray, stored);
    MessageEntry entry = SampleEntry();
    int beeped = 0;
    QString pasted;
    QString undone;

    const int result = RunEditor(entry, 1, [&](CEditMessageDialog& dialog) {
        dialog.SetRefusalBeep([&beeped] { ++beeped; });
        const QString start = QString::fromUtf8("\xE2\x80\x8B").repeated(fill) + QStringLiteral("Hello ");
        TypeInto(dialog.Control(field), start + QStringLiteral("world!"));
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(dialog.Control(field), Qt::Key_Left);
        QGuiApplication::clipboard()->setText(QStringLiteral("world peace and more"));
        QTest::keySequence(dialog.Control(field), QKeySequence::Paste);
        pasted = field == kName ? LineText(dialog, field)
                                : qobject_cast<QPlainTextEdit*>(dialog.Control(field))->toPlainText();
        // A paste that was cut is undone like any other.
        QTest::keySequence(dialog.Control(field), QKeySequence::Undo);
        undone = field == kName ? LineText(dialog, field)
                                : qobject_cast<QPlainTextEdit*>(dialog.Control(field))->toPlainText();
        ClickButton(dialog, kCancel);
    });
    QCOMPARE(result, DialogIds::kCancel);
    QCOMPARE(pasted.toUtf8(), stored);
    QCOMPARE(undone.toUtf8(), QByteArray("\xE2\x80\x8B").repeated(fill) + "Hello world!");
    QCOMPARE(beeped, 1);
}

void TestEditMessageDialog::textFieldRefusesWhatItCannotShow_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("incoming");
    QTest::addColumn<bool>("cut");

    const QString tenLines = QStringLiteral("line\n").repeated(9) + QStringLiteral("last");
    QTest::newRow("ten typed lines") << "type" << tenLines << true;
    QTest::newRow("one long typed word") << "type" << QString(400, QLatin1Char('w')) << true;
    QTest::newRow("ten pasted lines") << "paste" << tenLines << true;
    QTest::newRow("two pasted lines") << "paste" << "first\nsecond" << false;
    QTest::newRow("ten dropped lines") << "drop" << tenLines << true;
    QTest::newRow("two dropped lines") << "drop" << "first\nsecond" << false;
    // More than the stored size holds, whatever the font makes of the area.
    QTest::newRow("999 pasted Chinese characters") << "paste" << QString::fromUtf8("\xE6\xB0\xB4").repeated(999)
                                                   << true;
}

// The field has no vertical scrolling, so an edit after which its text would not show whole is refused.
void TestEditMessageDialog::textFieldRefusesWhatItCannotShow() {
    QFETCH(QString, how);
    QFETCH(QString, incoming);
    QFETCH(bool, cut);
    MessageEntry entry = SampleEntry();
    int beeped = 0;

    const int result = RunEditor(entry, 1, [&](CEditMessageDialog& dialog) {
        dialog.SetRefusalBeep([&beeped] { ++beeped; });
        auto* text = qobject_cast<QPlainTextEdit*>(dialog.Control(kText));
        text->setFocus(Qt::MouseFocusReason);
        text->selectAll();
        if (how == "type") {
            for (const QChar c : incoming)
                QTest::keyClick(text, c == QLatin1Char('\n') ? Qt::Key_Return : Qt::Key(c.toUpper().unicode()),
                                Qt::NoModifier);
        } else if (how == "paste") {
            QGuiApplication::clipboard()->setText(incoming);
            QTest::keySequence(text, QKeySequence::Paste);
        } else {
            text->clear();
            QMimeData data;
            data.setText(incoming);
            QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(text->viewport(), &enter);
            QDropEvent dropped(QPointF(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(text->viewport(), &dropped);
            QVERIFY(dropped.isAccepted());
        }
        const QString kept = text->toPlainText();
        if (!cut) {
            QCOMPARE(kept, incoming);
        } else if (how == "type") {
            // Each keystroke that would need a line more than the area shows is refused; the rest are taken.
            QVERIFY2(kept.size() > 10 && kept.size() < incoming.size() && incoming.startsWith(kept.left(10)),
                     qPrintable(kept));
        } else {
            // What shows of a paste or drop goes in, from its start; the rest is refused with a beep.
            QVERIFY2(kept.size() > 10 && kept.size() <= 333 && incoming.startsWith(kept), qPrintable(kept));
            QCOMPARE(beeped, 1);
        }
        // The field's own layout agrees that everything shows.
        QTRY_COMPARE(text->verticalScrollBar()->maximum(), 0);
        ClickButton(dialog, kOk);
    });
    QCOMPARE(result, DialogIds::kOk);
}

void TestEditMessageDialog::unchangedCopyComesBackIdentical_data() {
    QTest::addColumn<MessageEntry>("entry");
    QTest::addColumn<QString>("how");

    MessageEntry unusual = SampleEntry();
    CopyFitted(unusual.m_szName, sizeof unusual.m_szName, " Caf\xC3\xA9 \xE2\x82\xAC ");
    CopyFitted(unusual.m_szText, sizeof unusual.m_szText, "one\r\n\r\nthree \r\n");
    unusual.m_nHour = -5;
    unusual.m_nYear = INT_MIN;
    unusual.m_nRepeatMinutes = INT_MAX;
    unusual.m_bActive = 0;
    unusual.m_bShown = 1;
    unusual.m_tLastShown = -1;

    QTest::newRow("OK clicked") << SampleEntry() << "click";
    QTest::newRow("Enter on OK") << SampleEntry() << "enter";
    QTest::newRow("every field visited") << SampleEntry() << "visit";
    QTest::newRow("unusual, OK clicked") << unusual << "click";
    QTest::newRow("unusual, every field visited") << unusual << "visit";
    QTest::newRow("every day, every field visited") << EveryDayEntry() << "visit";
    MessageEntry noBreak = SampleEntry();
    CopyFitted(noBreak.m_szText, sizeof noBreak.m_szText, "Meeting at 10\xC2\xA0h.");
    QTest::newRow("no-break space, every field visited") << noBreak << "visit";
    // Shown with a line break the field's own way; stored as it was, even where that would pass the limit.
    MessageEntry bareLineFeeds = SampleEntry();
    CopyFitted(bareLineFeeds.m_szText, sizeof bareLineFeeds.m_szText,
               (QByteArray("line\n").repeated(199) + "last").constData());
    QTest::newRow("hand-edited bare line feeds at the limit, every field visited") << bareLineFeeds << "visit";
}

void TestEditMessageDialog::unchangedCopyComesBackIdentical() {
    QFETCH(MessageEntry, entry);
    QFETCH(QString, how);
    const QByteArray before = Bytes(entry);

    const int result = RunEditor(entry, 1, [&](CEditMessageDialog& dialog) {
        if (how == "visit") {
            // Every field reads itself back as it leaves; nothing may change on the way.
            for (int id : {kName, kText, kDay, kMonth, kYear, kHour, kMinute, kShowDays, kRepeat})
                dialog.Control(id)->setFocus(Qt::TabFocusReason);
        }
        if (how == "enter") {
            QVERIFY(dialog.Control(kOk)->hasFocus());
            QTest::keyClick(dialog.Control(kOk), Qt::Key_Return);
            return;
        }
        ClickButton(dialog, kOk);
    });
    QCOMPARE(result, DialogIds::kOk);
    QCOMPARE(Bytes(entry), before);
}

void TestEditMessageDialog::cancelLeavesCallerTableAlone_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("stored");

    QTest::newRow("Escape") << "escape" << false;
    QTest::newRow("Cancel clicked") << "cancel" << false;
    // The same edits with OK do reach the table, so the two rows above prove the edits were made.
    QTest::newRow("OK clicked") << "ok" << true;
}

void TestEditMessageDialog::cancelLeavesCallerTableAlone() {
    QFETCH(QString, how);
    QFETCH(bool, stored);

    MainHarness harness;
    CMainDialog& main = *harness.main;
    MessageEntry entry = SampleEntry();
    entry.m_bActive = 0; // never due while the editor is open
    QVERIFY(main.Model().AppendEntry(entry));
    main.OnInitDialog();
    main.MessageList()->setCurrentIndex(main.MessageList()->model()->index(0, 0));
    QVERIFY(main.MessageList()->selectionModel()->hasSelection());
    const QByteArray before = Bytes(main.Model().Entry(0));
    harness.prompts.Clear();

    bool driven = false;
    QTimer::singleShot(0, &main, [&] {
        auto* editor = qobject_cast<CEditMessageDialog*>(QApplication::activeModalWidget());
        QVERIFY(editor);
        driven = true;
        if (QTest::qWaitForWindowActive(editor)) {
            TypeInto(editor->Control(kName), QStringLiteral("Changed"));
            TypeInto(editor->Control(kHour), QStringLiteral("11"));
            if (how == "escape")
                QTest::keyClick(editor->Control(kHour), Qt::Key_Escape);
            else
                ClickButton(*editor, how == "ok" ? kOk : kCancel);
        }
        if (editor->isVisible())
            editor->done(kLeftOpen);
    });
    main.Commands().OnEditMarked();

    QVERIFY(driven);
    QVERIFY(harness.prompts.boxes.empty());
    QCOMPARE(main.Model().Count(), 1);
    if (!stored) {
        QCOMPARE(Bytes(main.Model().Entry(0)), before);
        return;
    }
    QCOMPARE(QByteArray(main.Model().Entry(0).m_szName), QByteArray("Changed"));
    QCOMPARE(main.Model().Entry(0).m_nHour, 11);
}

void TestEditMessageDialog::tooltipTexts_data() {
    QTest::addColumn<int>("control");
    QTest::addColumn<QString>("text");

    QTest::newRow("name") << int(kName) << "Identifier of message";
    QTest::newRow("text") << int(kText) << "Enter your message here";
    QTest::newRow("day") << int(kDay) << "Day for displaying message";
    QTest::newRow("month") << int(kMonth) << "Month for displaying message";
    QTest::newRow("year") << int(kYear) << "Year for displaying message";
    QTest::newRow("hour") << int(kHour) << "Hour for displaying message";
    QTest::newRow("minute") << int(kMinute) << "Minute for displaying message";
    QTest::newRow("show days") << int(kShowDays) << "How many days would you like to display the message?";
    QTest::newRow("repeat") << int(kRepeat) << "Time until next display of message";
    QTest::newRow("active") << int(kActive) << "Check to activate message";
    QTest::newRow("every day") << int(kEveryDay) << "Check to show message every day at specified time";
}

void TestEditMessageDialog::tooltipTexts() {
    QFETCH(int, control);
    QFETCH(QString, text);
    MessageEntry entry = SampleEntry();

    const int result = RunEditor(entry, 1, [&](CEditMessageDialog& dialog) {
        QVERIFY(dialog.TooltipsActive());
        QWidget* target = dialog.Control(control);
        const QPoint local = target->rect().center();
        QHelpEvent help(QEvent::ToolTip, local, target->mapToGlobal(local));
        QApplication::sendEvent(target, &help);
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), text);
        ClickButton(dialog, kCancel);
    });
    QCOMPARE(result, DialogIds::kCancel);
}

void TestEditMessageDialog::tooltipsOffShowNone_data() {
    QTest::addColumn<int>("control");
    QTest::addColumn<bool>("viewport"); // the text field's inner area, which is what the pointer rests on

    QTest::newRow("name") << int(kName) << false;
    QTest::newRow("text field") << int(kText) << false;
    QTest::newRow("inside text field") << int(kText) << true;
    QTest::newRow("hour") << int(kHour) << false;
    QTest::newRow("every-day box") << int(kEveryDay) << false;
}

void TestEditMessageDialog::tooltipsOffShowNone() {
    QFETCH(int, control);
    QFETCH(bool, viewport);
    MessageEntry entry = SampleEntry();

    const int result = RunEditor(entry, 0, [&](CEditMessageDialog& dialog) {
        QVERIFY(!dialog.TooltipsActive());
        QWidget* target = dialog.Control(control);
        // The text stays attached; only its showing is held back.
        QVERIFY(!target->toolTip().isEmpty());
        if (viewport)
            target = qobject_cast<QPlainTextEdit*>(target)->viewport();
        const QPoint local = target->rect().center();
        QHelpEvent help(QEvent::ToolTip, local, target->mapToGlobal(local));
        QApplication::sendEvent(target, &help);
        QVERIFY(!QToolTip::isVisible());
        ClickButton(dialog, kCancel);
    });
    QCOMPARE(result, DialogIds::kCancel);
}

void TestEditMessageDialog::arrowKeysMoveWithinGroup_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");

    // Groups of the template: OK and Cancel; name, text and "Active message"; the every-day box on its own.
    QTest::newRow("OK, right") << int(kOk) << int(Qt::Key_Right) << int(kCancel);
    QTest::newRow("OK, down") << int(kOk) << int(Qt::Key_Down) << int(kCancel);
    QTest::newRow("Cancel, right wraps to OK") << int(kCancel) << int(Qt::Key_Right) << int(kOk);
    QTest::newRow("OK, left wraps to Cancel") << int(kOk) << int(Qt::Key_Left) << int(kCancel);
    QTest::newRow("active box, up") << int(kActive) << int(Qt::Key_Up) << int(kText);
    QTest::newRow("active box, down wraps to name") << int(kActive) << int(Qt::Key_Down) << int(kName);
    QTest::newRow("every-day box alone in its group") << int(kEveryDay) << int(Qt::Key_Up) << int(kEveryDay);
    QTest::newRow("name field keeps its arrows") << int(kName) << int(Qt::Key_Down) << int(kName);
    QTest::newRow("day field keeps its arrows") << int(kDay) << int(Qt::Key_Down) << int(kDay);
}

void TestEditMessageDialog::arrowKeysMoveWithinGroup() {
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);
    MessageEntry entry = SampleEntry();

    const int result = RunEditor(entry, 1, [&](CEditMessageDialog& dialog) {
        dialog.Control(from)->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), dialog.Control(from));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(QApplication::focusWidget(), dialog.Control(to));
        QVERIFY(dialog.isVisible());
        ClickButton(dialog, kCancel);
    });
    QCOMPARE(result, DialogIds::kCancel);
    QCOMPARE(entry.m_bActive, 1); // moving onto a box does not tick it
}

void TestEditMessageDialog::tabOrderFromOk_data() {
    QTest::addColumn<MessageEntry>("entry");

    QTest::newRow("dated") << SampleEntry();
    QTest::newRow("every day") << EveryDayEntry();
}

void TestEditMessageDialog::tabOrderFromOk() {
    QFETCH(MessageEntry, entry);
    const QByteArray before = Bytes(entry);

    const int result = RunEditor(entry, 1, [&](CEditMessageDialog& dialog) {
        QCOMPARE(QApplication::focusWidget(), dialog.Control(kOk));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialog.Control(kCancel));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialog.Control(kName));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    QCOMPARE(result, DialogIds::kCancel);
    // Passing through the buttons and into the name changes nothing.
    QCOMPARE(Bytes(entry), before);
}

QTEST_MAIN(TestEditMessageDialog)
#include "tst_editmessagedialog.moc"
