#pragma once

#include "MainWindowView.h"
#include "Options.h"

#include <string>

class ReminderModel;

namespace CommandTexts {
inline constexpr const char* kInternalError = "An internal error occurred!";
inline constexpr const char* kListFull = "The message list is full.\nNo more than 100 messages can be stored.";
static_assert(MESSAGE_TABLE_CAPACITY == 100, "the full list's message names the capacity");
inline constexpr const char* kWarningCaption = "Warning";
inline constexpr const char* kConfirmDelete = "Are you sure?\nThis will delete the marked message!";
inline constexpr const char* kConfirmClear = "Are you sure?\nThis will delete all messages!";
inline constexpr const char* kActive = "\tACTIVE";
inline constexpr const char* kInactive = "\tINACTIVE";
} // namespace CommandTexts

// The line of an entry in the message list: its name, a tab and its state.
std::string FormatListLine(const MessageEntry& entry);

// The list buttons for a table of count entries with or without a marked line. Where the focus would go to
// "Add message ..." while the list's controls are hidden (messages switched off), it goes to the option that
// shows them: the window system would otherwise hand it to Exit, where the first Space ends the program.
ButtonStates DecideButtons(int count, bool lineMarked, bool listShown);

// The main window's commands: the list commands, the option check boxes and the list's own events, each as a flow
// over the model and the window. The windows only wire their controls to these and show what they decide.
class MainCommands {
public:
    MainCommands(ReminderModel& model, MainWindowView& view);

    // Makes the table and loads every setting and message into it, with "Out of memory!" when the table cannot be
    // had, the load's repair boxes and a first start's writes. Called before the window exists, so that those boxes
    // appear before it.
    void OnLoad();
    // Shows the loaded state as the window opens, in this order: the timer, the icons and the list's tab stop, the
    // list, its controls and the options' marks, the buttons, the tooltips with their mark, and minimizes the
    // window last when asked to.
    void OnOpen();

    // Fills the list (a step of the opening); in the failed state it stays empty.
    void FillList();
    void UpdateButtons();

    void OnAddMessage();
    void OnCopyMarked();
    void OnEditMarked();
    void OnDeleteMarked();
    void OnClearAll();
    void OnListSelChange();
    // A click on the option's check box, which has flipped its own mark.
    void OnOptionClicked(Option option);

    // The checks after the editor, against the entries other than the one at skipIndex (-1: none); when one fails,
    // the box of the first that fails.
    bool ValidateMessage(const MessageEntry& entry, int skipIndex);

private:
    // The common first check of every list command: false, after telling the user, in the failed state.
    bool PassesGlobalErrorCheck();
    // The table index of the marked line's entry; -2 when no line is marked; -1, after reporting the internal
    // error, when the line maps to no entry.
    int FindMarkedEntry();
    bool RefuseWhenFull();
    // Runs the editor on the working copy; true when it ended with OK and the checks passed.
    bool EditAndCheck(MessageEntry& workingCopy, int skipIndex);
    void AddFromWorkingCopy(MessageEntry workingCopy);
    void AddLineOf(const MessageEntry& entry);
    void FinishCommand();

    ReminderModel& m_model;
    MainWindowView& m_view;
};
