#pragma once

#include "DialogWindow.h"
#include "MessageEntry.h"

#include <functional>
#include <string>

namespace Win32Ui {

// Edits one message on the caller's working copy. Each field is written into the copy when it loses the focus and
// when the dialog closes; each check box flips its flag when clicked. The dialog checks nothing: the caller
// validates after OK.
class CEditMessageDialog : public DialogWindow {
public:
    CEditMessageDialog(MessageEntry& workingCopy, bool tooltips);

    HWND ToolTips() const { return m_toolTips; }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    void ReadField(int id);
    void UpdateDateFields();

    MessageEntry& m_entry;
    std::string m_shownText; // the text field as it opened, in UTF-8
    bool m_tooltips;
    HWND m_toolTips = nullptr;
};

// Keeps an edit field's text within a field of the core of fieldSize bytes (terminating NUL included) in UTF-8,
// so the field never shows more than is stored: of an edit (typed, pasted, undone) after which the text would not
// fit, what fits goes in, in whole characters, and the rest is refused with the beep (the system's default sound
// unless one is handed in).
void LimitToStoredSize(HWND edit, std::size_t fieldSize, std::function<void()> refusalBeep = {});

} // namespace Win32Ui
