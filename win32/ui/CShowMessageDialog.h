#pragma once

#include "Clock.h"
#include "DialogWindow.h"
#include "KeyGuard.h"
#include "MessageEntry.h"

namespace Win32Ui {

// The window of a due message: its name as the title, its text, when it was due and how often it comes back, and
// a clock that runs while the window is open. It reads the entry once, while it opens.
class CShowMessageDialog : public DialogWindow {
public:
    // keyClock times the guard against keys typed for another program; the steady clock when not given.
    CShowMessageDialog(const MessageEntry& entry, Clock clock, MillisecondClock keyClock = {});

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    bool PreTranslateMessage(const MSG& message) override;

private:
    const MessageEntry& m_entry;
    Clock m_clock;
    KeyGuard m_keyGuard;
};

} // namespace Win32Ui
