#pragma once

#include "MainWindowView.h"
#include "Options.h"

#include <string>

class ReminderModel;

namespace CommandTexts {
inline constexpr const char* kInternalError = "An internal error occurred!";
inline constexpr const char* kListFull = "The message list is full.\nNo more than 100 messages can be stored.";
inline constexpr const char* kWarningCaption = "Warning";
inline constexpr const char* kConfirmDelete = "Are you sure?\nThis will delete the marked message!";
inline constexpr const char* kConfirmClear = "Are you sure?\nThis will delete all messages!";
inline constexpr const char* kActive = "\tACTIVE";
inline constexpr const char* kInactive = "\tINACTIVE";
} // namespace CommandTexts

// The line of an entry in the message list: its name, a tab and its state.
std::string FormatListLine(const MessageEntry& entry);

// The list buttons for a table of count entries with or without a marked line.
ButtonStates DecideButtons(int count, bool lineMarked);

// The main window's commands: the list commands, the option check boxes and the list's own events, each as a flow
// over the model and the window. The windows only wire their controls to these and show what they decide.
class MainCommands {
public:
    MainCommands(ReminderModel& model, MainWindowView& view);

    // Fills the list (left empty in the failed state) and brings the buttons up to date, as the window opens.
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

    // The checks after the editor, each showing its own error box when it fails.
    bool ValidateMessage(const MessageEntry& entry);

private:
    // The common first check of every list command: false, after telling the user, in the failed state.
    bool PassesGlobalErrorCheck();
    // The table index of the marked line's entry; -2 when no line is marked; -1, after reporting the internal
    // error, when the line maps to no entry.
    int FindMarkedEntry();
    bool RefuseWhenFull();
    // Runs the editor on the working copy; true when it ended with OK and both checks passed.
    bool EditAndCheck(MessageEntry& workingCopy, int skipIndex);
    void AddFromWorkingCopy(MessageEntry workingCopy);
    void AddLineOf(const MessageEntry& entry);
    void FinishCommand();

    ReminderModel& m_model;
    MainWindowView& m_view;
};
