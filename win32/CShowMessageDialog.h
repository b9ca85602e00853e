#pragma once

#include "Clock.h"
#include "DialogWindow.h"
#include "MessageEntry.h"

// The window of a due message: its name as the title, its text, when it was due and how often it comes back, and
// a clock that runs while the window is open. It reads the entry once, while it opens.
class CShowMessageDialog : public DialogWindow {
public:
    CShowMessageDialog(const MessageEntry& entry, Clock clock);

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;

private:
    const MessageEntry& m_entry;
    Clock m_clock;
};
