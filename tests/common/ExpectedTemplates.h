#pragma once

// What the user sees and what the store holds, written out once as literals for the tests of every front-end.
// Checked against the constants of the code itself, a typo there would agree with itself and pass; against this
// table it fails. Plain C++ so that the Qt tests and the Windows tests share it.

#include <cstddef>
#include <span>
#include <string_view>

namespace Expected {

struct Rect {
    int x;
    int y;
    int cx;
    int cy;
};

struct Control {
    int id; // -1: the control has none
    const char* className;
    const char* text;
    Rect rect; // dialog units
    const char* tooltip;        // "" for none
    const char* accessibleName; // the name given a control without text of its own; "" for none
    bool icon = false;          // sizes itself to its icon: only the corner is the rectangle's
};

struct Dialog {
    int resourceId;
    const char* caption;
    const char* fontFace;
    int pointSize;
    int fontWeight; // on the 100..900 scale both platforms use
    bool italic;
    int cx;
    int cy;
    std::span<const Control> controls;
    std::span<const int> tooltipOrder = {}; // the ids whose tooltips are added, in the order they are added

    const Control* Find(int id) const {
        for (const Control& control : controls) {
            if (control.id == id && id != -1)
                return &control;
        }
        return nullptr;
    }
    std::size_t TooltipCount() const {
        std::size_t count = 0;
        for (const Control& control : controls)
            count += control.tooltip[0] != '\0';
        return count;
    }
};

// Controls in template order, which is also the order of creation and of the tab stops.
inline constexpr Control kMainControls[] = {
    {1002, "Button", "Activate messages", {20, 15, 75, 10}, "Check to enable messages", ""},
    {1005, "ListBox", "", {20, 45, 275, 40}, "List of current messages", "Current messages:"},
    {1006, "Button", "Add message ...", {20, 95, 80, 14}, "Add new message", ""},
    {1007, "Button", "Delete marked message", {110, 115, 85, 14}, "Delete marked message", ""},
    {1008, "Button", "Clear all messages", {20, 115, 80, 14}, "Delete all messages", ""},
    {1, "Button", "Exit", {20, 200, 50, 14}, "Exit application", ""},
    {1013, "Button", "Minimize", {80, 200, 50, 14}, "Minimize window (enables message showing)", ""},
    {1012, "Static", "Current messages:", {20, 35, 60, 8}, "", ""},
    {-1, "Button", "", {10, 5, 295, 135}, "", ""},
    {-1, "Button", "", {10, 185, 295, 40}, "", ""},
    {1031, "Button", "Show tooltips", {105, 160, 55, 10}, "Check to enable tooltips", ""},
    {1032, "Button", "Copy marked message ...", {205, 95, 90, 14}, "Copy marked message parameters to new message", ""},
    {1033, "Button", "Edit marked message ...", {110, 95, 85, 14}, "Edit marked message", ""},
    {1034, "Button", "Confirm deletions", {20, 160, 69, 10}, "Check to confirm any deletion of messages", ""},
    {-1, "Button", "", {10, 145, 295, 35}, "", ""},
    {1035, "Button", "About ...", {245, 200, 50, 14}, "Show version and author information", ""},
    {1037, "Button", "Show minimized on start", {180, 160, 91, 10}, "", ""},
};
inline constexpr int kMainTooltipOrder[] = {1006, 1033, 1032, 1007, 1008, 1013, 1035, 1, 1005, 1002, 1034, 1031};
inline constexpr Dialog kMain{129, "Nudgepost", "MS Sans Serif", 8, 400, false, 317, 236, kMainControls,
                              kMainTooltipOrder};

inline constexpr Control kEditControls[] = {
    {1, "Button", "OK", {20, 245, 50, 14}, "", ""},
    {2, "Button", "Cancel", {80, 245, 50, 14}, "", ""},
    {1009, "Edit", "", {20, 30, 215, 14}, "Identifier of message", "Name of message:"},
    {1010, "Edit", "", {20, 65, 215, 40}, "Enter your message here", "Message text:"},
    {1011, "Button", "Active message", {20, 115, 70, 10}, "Check to activate message", ""},
    {1021, "Edit", "", {362, 17, 15, 14}, "Day for displaying message", "Day (1 <= day <= 31):"},
    {1023, "Edit", "", {362, 32, 15, 14}, "Month for displaying message", "Month (1 <= month <= 12):"},
    {1024, "Edit", "", {355, 47, 22, 14}, "Year for displaying message", "Year (format YYYY):"},
    {1022, "Edit", "", {362, 82, 15, 14}, "Hour for displaying message", "Hour (0 <= hour <= 23):"},
    {1025, "Edit", "", {362, 97, 15, 14}, "Minute for displaying message", "Minute (0 <= minute <= 59):"},
    {1026, "Edit", "", {81, 152, 19, 14}, "How many days would you like to display the message?", "Show message for"},
    {-1, "Button", "", {10, 5, 235, 130}, "", ""},
    {-1, "Static", "Name of message:", {20, 20, 70, 8}, "", ""},
    {-1, "Static", "Message text:", {20, 55, 70, 8}, "", ""},
    {-1, "Button", "", {10, 230, 375, 40}, "", ""},
    {1040, "Static", "Day (1 <= day <= 31):", {265, 20, 75, 8}, "", ""},
    {1041, "Static", "Month (1 <= month <= 12):", {265, 35, 84, 8}, "", ""},
    {1042, "Static", "Year (format YYYY):", {265, 50, 85, 8}, "", ""},
    {-1, "Button", " Date ", {255, 5, 130, 60}, "", ""},
    {-1, "Button", " Time ", {255, 70, 130, 65}, "", ""},
    {-1, "Static", "Hour (0 <= hour <= 23):", {265, 85, 80, 8}, "", ""},
    {-1, "Static", "Minute (0 <= minute <= 59):", {265, 100, 90, 8}, "", ""},
    {-1, "Button", "", {10, 140, 375, 45}, "", ""},
    {1043, "Static", "Show message for", {20, 155, 60, 8}, "", ""},
    {1044, "Static", "days after selected time (0 <= time <= 366, 0 = only on selected day).", {103, 155, 216, 8},
     "", ""},
    {-1, "Static", "Show message every", {20, 170, 70, 8}, "", ""},
    {1028, "Edit", "", {90, 167, 15, 14}, "Time until next display of message", "Show message every"},
    {-1, "Static", "minutes (0 <= time <= 59, 0 = just once).", {108, 170, 127, 8}, "", ""},
    {-1, "Button", "", {10, 190, 375, 35}, "", ""},
    {1039, "Button", "Show message every day at specified time.", {20, 205, 155, 10},
     "Check to show message every day at specified time", ""},
    {1045, "Static", "", {265, 20, 110, 40}, "", ""},
};
inline constexpr int kEditTooltipOrder[] = {1009, 1010, 1021, 1023, 1024, 1022, 1025, 1026, 1028, 1011, 1039};
inline constexpr Dialog kEdit{134, "Edit message", "MS Sans Serif", 8, 400, false, 397, 281, kEditControls,
                              kEditTooltipOrder};
// What the note in place of the date says once the editor has set it up.
inline constexpr const char* kEveryDayNote =
    "Configuration of date is not\nneccessary when message\nshould be shown every day.";

// The window of a due message takes the message's name as its caption; the template's stands until then.
inline constexpr Control kShowControls[] = {
    {1, "Button", "OK", {170, 120, 50, 14}, "", ""},
    {-1, "Button", "", {10, 5, 370, 80}, "", ""},
    {1012, "Static", "", {25, 20, 340, 45}, "", ""},
    {-1, "Button", "", {10, 90, 370, 55}, "", ""},
    {1046, "Static", "", {25, 105, 340, 8}, "", ""},
    {1029, "Static", "", {25, 70, 340, 8}, "", ""},
};
inline constexpr Dialog kShow{135, "Message", "MS Sans Serif", 8, 400, false, 392, 156, kShowControls};

inline constexpr Control kAboutControls[] = {
    {1, "Button", "OK", {85, 120, 50, 14}, "", ""},
    {-1, "Static", "Nudgepost", {10, 10, 200, 10}, "", ""},
    {-1, "Static", "", {99, 90, 18, 20}, "", "", true},
    {-1, "Static", "Quillmoor, 2026", {9, 45, 200, 10}, "", ""},
    {-1, "Static", "Version 1.0", {10, 30, 200, 10}, "", ""},
    {-1, "Static", "For more information see README.TXT.", {10, 70, 200, 8}, "", ""},
};
inline constexpr Dialog kAbout{100, "About", "MS Sans Serif", 8, 400, false, 219, 141, kAboutControls};

// The boxes the program shows, with their captions.
inline constexpr const char* kErrorCaption = "Error";
inline constexpr const char* kWarningCaption = "Warning";

inline constexpr const char* kOutOfMemory = "Out of memory!";
inline constexpr const char* kCorrupt = "One or more messages are corrupt.\nMessages have been deleted!";
inline constexpr const char* kTooMany = "Number of saved messages is too large!\nMessage number will be reset to zero!";
inline constexpr const char* kSaveFailed = "Error in saving message data.";
inline constexpr const char* kGlobalError = "A global error occurred!\nPlease exit application.";
inline constexpr const char* kDoubleName = "Double message name!\nYou have to enter a distinct message name.";
inline constexpr const char* kInternalError = "An internal error occurred!";
inline constexpr const char* kListFull = "The message list is full.\nNo more than 100 messages can be stored.";
inline constexpr const char* kConfirmDelete = "Are you sure?\nThis will delete the marked message!";
inline constexpr const char* kConfirmClear = "Are you sure?\nThis will delete all messages!";

inline constexpr const char* kNoName = "No message name was specified!\nMessage has not been altered.";
inline constexpr const char* kNoText = "No message text was specified!\nMessage has not been altered.";
inline constexpr const char* kDayRange = "Day is out of range!\nMessage has not been altered.";
inline constexpr const char* kMonthRange = "Month is out of range!\nMessage has not been altered.";
inline constexpr const char* kYearRange = "Year is out of range!\nMessage has not been altered.";
inline constexpr const char* kMinuteRange = "Minute is out of range!\nMessage has not been altered.";
inline constexpr const char* kHourRange = "Hour is out of range!\nMessage has not been altered.";
inline constexpr const char* kShowDaysRange =
    "Time of message showing is out of range!\nMessage has not been altered.";
inline constexpr const char* kRepeatRange =
    "Distance of time between two messages is out of range!\nMessage has not been altered.";
inline constexpr const char* kDayOfMonth = "Day is out of range for selected month!\nMessage has not been altered.";

// The stored layout: two sections, the count and the options in the first, eleven values per entry in the second,
// each name followed by the entry's index in decimal.
inline constexpr const char* kConfigurationSection = "Configuration";
inline constexpr const char* kMessagesSection = "Messages";
inline constexpr const char* kNumberOfMessages = "Number of messages";

struct OptionNames {
    const char* stored;
    const char* repairText; // the error box of a load that finds the value missing or damaged
    int checkBoxId;
};
// In the order of the options.
inline constexpr OptionNames kOptions[] = {
    {"Activated messages", "Error in activation state of messages!\nMessages will be inactivated.", 1002},
    {"Tooltips", "Error in tooltip flag!\nTooltips will be enabled.", 1031},
    {"Show warnings", "Error in show warnings flag!\nWarnings will be enabled.", 1034},
    {"Show minimized", "Error in show minimized flag!\nDialog will be shown at startup.", 1037},
};
inline constexpr const char* kEntryValueNames[] = {
    "MessageName", "MessageText",     "MessageDay",           "MessageMonth",  "MessageYear", "MessageMinute",
    "MessageHour", "MessageShowTime", "MessageShowEveryTime", "MessageActive", "ShowEveryDay",
};

} // namespace Expected
