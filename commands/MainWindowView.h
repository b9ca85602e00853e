#pragma once

#include "MessageEntry.h"
#include "Options.h"

#include <optional>
#include <string>

// Which of the list buttons may be used, and where the focus goes.
struct ButtonStates {
    enum class Focus { Stay, AddMessage, ActivateMessages };
    bool edit = false;
    bool copy = false;
    bool del = false;
    bool clearAll = false;
    Focus focus = Focus::Stay;

    bool operator==(const ButtonStates&) const = default;
};

// What the main window's commands need of a main window: its list, its buttons, its option controls and the
// editor. Each front-end implements it with its own windows; tests with a recorder.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;

    // Runs the message editor modally on the working copy; true when it ended with OK.
    virtual bool RunEditor(MessageEntry& workingCopy, bool tooltips) = 0;
    // The exact name of the entry whose line is marked; nothing when no line is marked.
    virtual std::optional<std::string> MarkedEntryName() = 0;
    // Adds a line at its sorted place; entryName is the entry it stands for.
    virtual void AddLine(const std::string& line, const std::string& entryName) = 0;
    // Removes the marked line; afterwards no line is marked.
    virtual void DeleteMarkedLine() = 0;
    virtual void ClearLines() = 0;
    virtual void ApplyButtons(const ButtonStates& states) = 0;
    // Shows the new value of an option: the list and its buttons for "Activate messages", the tooltips for
    // "Show tooltips"; the check box itself has already changed its mark.
    virtual void ShowOption(Option option, bool on) = 0;

    // What the opening of the window shows.
    // (Re)starts the scheduler's periodic timer.
    virtual void StartSchedulerTimer() = 0;
    // Gives the window its icons and the list its tab stop.
    virtual void SetIconsAndTabStops() = 0;
    // Creates the tooltips of the window's controls, switched on.
    virtual void CreateTooltips() = 0;
    // Sets the mark of the option's check box; no command runs for it, as the user changed nothing.
    virtual void ShowOptionMark(Option option, bool on) = 0;
    // Shows or hides the list, its label and its buttons.
    virtual void ShowListControls(bool show) = 0;
    virtual void ShowTooltips(bool on) = 0;
    // Minimizes the window as it opens.
    virtual void Minimize() = 0;
};
