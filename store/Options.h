#pragma once

#include <cstddef>
#include <iterator>

// The four options of the main window. Each is one row below: load, save and both main windows loop over the rows,
// so an option is added by a row here and a check box in the main window's template.
enum class Option { MessagesActivated, Tooltips, ShowWarnings, ShowMinimized };

struct OptionRow {
    Option option;
    const char* storedName; // its value in the section "Configuration"
    int firstStart;         // its value on a first start, when nothing is stored yet
    int whenMissing;        // what a load puts in place of a missing value ...
    const char* repairText; // ... and tells the user with this error box
    // Read only while messages are stored; without any the option is on without being read.
    bool readWithMessagesOnly;
};

inline constexpr OptionRow kOptionRows[] = {
    {Option::MessagesActivated, "Activated messages", 1, 0,
     "Error in activation state of messages!\nMessages will be inactivated.", true},
    {Option::Tooltips, "Tooltips", 1, 1, "Error in tooltip flag!\nTooltips will be enabled.", false},
    {Option::ShowWarnings, "Show warnings", 1, 1, "Error in show warnings flag!\nWarnings will be enabled.", false},
    {Option::ShowMinimized, "Show minimized", 0, 0,
     "Error in show minimized flag!\nDialog will be shown at startup.", false},
};

inline constexpr std::size_t kOptionCount = std::size(kOptionRows);

// The row of an option: the rows stand in the order of the enumeration.
constexpr const OptionRow& RowOf(Option option) { return kOptionRows[static_cast<std::size_t>(option)]; }

static_assert([] {
    for (std::size_t i = 0; i < kOptionCount; ++i) {
        if (static_cast<std::size_t>(kOptionRows[i].option) != i)
            return false;
    }
    return true;
}());
