#pragma once

#include "DialogTemplateBuilder.h"
#include "FontSizes.h"

#include "WindowsHeaders.h"

#include <memory>
#include <string>

namespace Win32Ui {

// The plumbing every window of the program shares: a modal dialog built from a template of res/, whose messages
// reach the virtual handlers below. OK and Cancel end it unless a handler takes them.
class DialogWindow {
public:
    explicit DialogWindow(const DialogTemplate& source);
    virtual ~DialogWindow() = default;
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Runs the dialog modally over owner; returns the value EndDialog was given, or -1 when the window could not be
    // made.
    INT_PTR DoModal(HWND owner);
    // Runs the dialog, which has no owner, in a modal loop of its own that shows the window only if its
    // initialisation left it hidden, so that a window that minimized itself starts minimized. (The system's
    // dialog loop shows every dialog normally once its queue first runs empty.)
    INT_PTR RunMainLoop();

    HWND Handle() const { return m_hwnd; }
    HWND Control(int id) const { return GetDlgItem(m_hwnd, id); }
    const DialogTemplate& Template() const { return m_source; }

protected:
    // After the controls exist; TRUE lets the dialog give the focus to the first control in tab order.
    virtual BOOL OnInitDialog() { return TRUE; }
    // A command from a control or the keyboard; true when handled.
    virtual bool OnCommand(int id, int code, HWND control);
    virtual void OnTimer(UINT_PTR id);
    // Any other message; set handled and return the result to answer it.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    // A message for the dialog or one of its controls, before the dialog's keyboard handling (Tab, Enter, Escape,
    // the buttons' keys) sees it; true drops it.
    virtual bool PreTranslateMessage(const MSG& message);

    void EndDialog(int result);
    // Sets a text that must stay on one line: in the window's font, or, where that is too wide for the control,
    // in the largest smaller size that fits.
    void SetOneLineText(int id, const std::wstring& text);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MessageFilter(int code, WPARAM wParam, LPARAM lParam);
    bool IsForMe(const MSG& message) const;

    const DialogTemplate& m_source;
    BuiltTemplate m_template;
    HWND m_hwnd = nullptr;
    bool m_ownLoop = false;
    bool m_ended = false;
    INT_PTR m_result = 0;
    std::unique_ptr<FontSizes> m_fonts;
    // The size the template's texts fit in, which every control starts with.
    HFONT m_windowFont = nullptr;
};

// Gives every control the largest size of the dialog's font in which each one-line text of the template fits its
// control (a system without the template's face gives a wider one), and returns it. Positions and sizes stay those
// of the dialog's font.
HFONT FitTemplateTexts(HWND dialog, const DialogTemplate& source, FontSizes& sizes);

// Centres the window over its owner's window rectangle, or over the work area when it has no owner or the owner is
// hidden or minimized, then moves it as far as needed to lie inside the work area.
void CenterWindow(HWND window);

// Makes the tooltip window of a dialog and adds the template's tooltips to it in the order of its table, each tool
// being the control's window. The tooltip window is owned by the dialog and ends with it.
HWND CreateToolTips(HWND dialog, const DialogTemplate& source);
// Gives the controls without text of their own the names the template's table has for them, for screen readers.
void SetAccessibleNames(HWND dialog, const DialogTemplate& source);

} // namespace Win32Ui
