#pragma once

#include "DialogBuilder.h"
#include "MessageEntry.h"
#include "Clock.h"
#include "ClockTimer.h"
#include "KeyGuard.h"

#include <QDialog>
#include <QTimer>

class QLabel;
class QScrollArea;


// The topmost window in which a due message reaches the user: its name as the title, its text, when it was due and
// how often it repeats, and a clock that runs while the window is open.
class CShowMessageDialog : public QDialog {
    Q_OBJECT
public:
    // keyClock times the guard against keys typed for another program; the steady clock when not given.
    CShowMessageDialog(const MessageEntry* entry, Clock clock, QWidget* parent, MillisecondClock keyClock = {});
    ~CShowMessageDialog() override;

    int DoModal();
    void OnInitDialog();
    void OnTimer();

    QLabel* ClockLine() const { return m_ctlClock; }
    QLabel* ScheduleLine() const { return m_ctlSchedule; }
    QLabel* MessageText() const { return m_ctlText; }
    QScrollArea* MessageTextArea() const { return m_textArea; }
    const QTimer& ClockTimer() const { return m_clockTimer; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    BuiltDialog m_built;
    QLabel* m_ctlClock = nullptr;
    QLabel* m_ctlSchedule = nullptr;
    QLabel* m_ctlText = nullptr;
    QScrollArea* m_textArea = nullptr;
    const MessageEntry* m_pEntry;
    Clock m_clock;
    QTimer m_clockTimer;
    KeyGuard m_keyGuard;
};

// A stored text for a label or field: carriage return and line feed pairs become plain line breaks.
QString TextForDisplay(const char* storedText);
