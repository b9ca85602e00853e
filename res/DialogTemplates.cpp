#include "DialogTemplates.h"

namespace {
using enum ControlClass;
using namespace Style;

constexpr const char* kFont = "MS Sans Serif";
constexpr unsigned kDialogFrame = WindowStyle::Caption | WindowStyle::SysMenu | WindowStyle::ModalFrame;
constexpr int kNone = DialogIds::kNone;

// Label texts that also name the field they stand for.
constexpr const char* kListLabel = "Current messages:";
constexpr const char* kNameLabel = "Name of message:";
constexpr const char* kTextLabel = "Message text:";
constexpr const char* kDayLabel = "Day (1 <= day <= 31):";
constexpr const char* kMonthLabel = "Month (1 <= month <= 12):";
constexpr const char* kYearLabel = "Year (format YYYY):";
constexpr const char* kHourLabel = "Hour (0 <= hour <= 23):";
constexpr const char* kMinuteLabel = "Minute (0 <= minute <= 59):";
constexpr const char* kShowDaysLabel = "Show message for";
constexpr const char* kRepeatLabel = "Show message every";
} // namespace

const ControlTemplate* DialogTemplate::Find(int id) const {
    for (const ControlTemplate& control : controls) {
        if (control.id == id && id != DialogIds::kNone)
            return &control;
    }
    return nullptr;
}

const char* DialogTemplate::TextOf(int id) const {
    const ControlTemplate* control = Find(id);
    return control ? control->text : "";
}

const DialogTemplate& MainDialogTemplate() {
    static const DialogTemplate tpl{
        IDD_MAIN,
        "Nudgepost",
        kFont,
        8,
        317,
        236,
        kDialogFrame | WindowStyle::MinimizeBox,
        {
            {MainIds::kActivateMessages, Button, "Activate messages", Visible | AutoCheckBox | Group | TabStop, 20, 15,
             75, 10},
            {MainIds::kMessageList, ListBox, "", Visible | Sort | UseTabStops | Notify | NoIntegralHeight | Border | VScroll | Group | TabStop,
             20, 45, 275, 40},
            {MainIds::kAddMessage, Button, "Add message ...", Visible | PushButton | Group | TabStop, 20, 95, 80, 14},
            {MainIds::kDeleteMarked, Button, "Delete marked message", Visible | PushButton | TabStop, 110, 115, 85, 14},
            {MainIds::kClearAll, Button, "Clear all messages", Visible | PushButton | TabStop, 20, 115, 80, 14},
            {MainIds::kExit, Button, "Exit", Visible | DefPushButton | Group | TabStop, 20, 200, 50, 14},
            {MainIds::kMinimize, Button, "Minimize", Visible | PushButton | TabStop, 80, 200, 50, 14},
            {MainIds::kListLabel, Static, kListLabel, Visible | Left | Group, 20, 35, 60, 8},
            {kNone, Button, "", Visible | GroupBox, 10, 5, 295, 135},
            {kNone, Button, "", Visible | GroupBox, 10, 185, 295, 40},
            {MainIds::kShowTooltips, Button, "Show tooltips", Visible | AutoCheckBox | TabStop, 105, 160, 55, 10},
            {MainIds::kCopyMarked, Button, "Copy marked message ...", Visible | PushButton | TabStop, 205, 95, 90, 14},
            {MainIds::kEditMarked, Button, "Edit marked message ...", Visible | PushButton | TabStop, 110, 95, 85, 14},
            {MainIds::kConfirmDeletions, Button, "Confirm deletions", Visible | AutoCheckBox | TabStop, 20, 160, 69, 10},
            {kNone, Button, "", Visible | GroupBox, 10, 145, 295, 35},
            {MainIds::kAbout, Button, "About ...", Visible | PushButton | TabStop, 245, 200, 50, 14},
            {MainIds::kShowMinimized, Button, "Show minimized on start", Visible | AutoCheckBox | TabStop, 180, 160, 91, 10},
        },
        {
            {MainIds::kAddMessage, "Add new message"},
            {MainIds::kEditMarked, "Edit marked message"},
            {MainIds::kCopyMarked, "Copy marked message parameters to new message"},
            {MainIds::kDeleteMarked, "Delete marked message"},
            {MainIds::kClearAll, "Delete all messages"},
            {MainIds::kMinimize, "Minimize window (enables message showing)"},
            {MainIds::kAbout, "Show version and author information"},
            {MainIds::kExit, "Exit application"},
            {MainIds::kMessageList, "List of current messages"},
            {MainIds::kActivateMessages, "Check to enable messages"},
            {MainIds::kConfirmDeletions, "Check to confirm any deletion of messages"},
            {MainIds::kShowTooltips, "Check to enable tooltips"},
        },
        {{MainIds::kMessageList, kListLabel}},
    };
    return tpl;
}

const DialogTemplate& EditMessageTemplate() {
    static const DialogTemplate tpl{
        IDD_EDIT_MESSAGE,
        "Edit message",
        kFont,
        8,
        397,
        281,
        kDialogFrame,
        {
            {EditIds::kOk, Button, "OK", Visible | DefPushButton | Group | TabStop, 20, 245, 50, 14},
            {EditIds::kCancel, Button, "Cancel", Visible | PushButton | TabStop, 80, 245, 50, 14},
            {EditIds::kName, Edit, "", Visible | Border | Group | TabStop, 20, 30, 215, 14},
            {EditIds::kText, Edit, "", Visible | Multiline | WantReturn | Border | TabStop, 20, 65, 215, 40},
            {EditIds::kActive, Button, "Active message", Visible | AutoCheckBox | TabStop, 20, 115, 70, 10},
            {EditIds::kDay, Edit, "", Visible | Border | Group | TabStop, 362, 17, 15, 14},
            {EditIds::kMonth, Edit, "", Visible | Border | TabStop, 362, 32, 15, 14},
            {EditIds::kYear, Edit, "", Visible | Border | TabStop, 355, 47, 22, 14},
            {EditIds::kHour, Edit, "", Visible | AutoHScroll | Border | Group | TabStop, 362, 82, 15, 14},
            {EditIds::kMinute, Edit, "", Visible | AutoHScroll | Border | TabStop, 362, 97, 15, 14},
            {EditIds::kShowDays, Edit, "", Visible | Border | Group | TabStop, 81, 152, 19, 14},
            {kNone, Button, "", Visible | GroupBox, 10, 5, 235, 130},
            {kNone, Static, kNameLabel, Visible | Left | Group, 20, 20, 70, 8},
            {kNone, Static, kTextLabel, Visible | Left | Group, 20, 55, 70, 8},
            {kNone, Button, "", Visible | GroupBox, 10, 230, 375, 40},
            {EditIds::kDayLabel, Static, kDayLabel, Visible | Left | Group, 265, 20, 75, 8},
            {EditIds::kMonthLabel, Static, kMonthLabel, Visible | Left | Group, 265, 35, 84, 8},
            {EditIds::kYearLabel, Static, kYearLabel, Visible | Left | Group, 265, 50, 85, 8},
            {kNone, Button, " Date ", Visible | GroupBox, 255, 5, 130, 60},
            {kNone, Button, " Time ", Visible | GroupBox, 255, 70, 130, 65},
            {kNone, Static, kHourLabel, Visible | Left | Group, 265, 85, 80, 8},
            {kNone, Static, kMinuteLabel, Visible | Left | Group, 265, 100, 90, 8},
            {kNone, Button, "", Visible | GroupBox, 10, 140, 375, 45},
            {EditIds::kShowDaysBefore, Static, kShowDaysLabel, Visible | Left | Group, 20, 155, 60, 8},
            {EditIds::kShowDaysAfter, Static, "days after selected time (0 <= time <= 366, 0 = only on selected day).",
             Visible | Left | Group, 103, 155, 216, 8},
            {kNone, Static, kRepeatLabel, Visible | Left | Group, 20, 170, 70, 8},
            {EditIds::kRepeat, Edit, "", Visible | Border | TabStop, 90, 167, 15, 14},
            {kNone, Static, "minutes (0 <= time <= 59, 0 = just once).", Visible | Left | Group, 108, 170, 127,
             8},
            {kNone, Button, "", Visible | GroupBox, 10, 190, 375, 35},
            {EditIds::kEveryDay, Button, "Show message every day at specified time.", Visible | AutoCheckBox | TabStop, 20, 205,
             155, 10},
            {EditIds::kEveryDayNote, Static, "", Visible | Left | Group, 265, 20, 110, 40},
        },
        {
            {EditIds::kName, "Identifier of message"},
            {EditIds::kText, "Enter your message here"},
            {EditIds::kDay, "Day for displaying message"},
            {EditIds::kMonth, "Month for displaying message"},
            {EditIds::kYear, "Year for displaying message"},
            {EditIds::kHour, "Hour for displaying message"},
            {EditIds::kMinute, "Minute for displaying message"},
            {EditIds::kShowDays, "How many days would you like to display the message?"},
            {EditIds::kRepeat, "Time until next display of message"},
            {EditIds::kActive, "Check to activate message"},
            {EditIds::kEveryDay, "Check to show message every day at specified time"},
        },
        {
            {EditIds::kName, kNameLabel},
            {EditIds::kText, kTextLabel},
            {EditIds::kDay, kDayLabel},
            {EditIds::kMonth, kMonthLabel},
            {EditIds::kYear, kYearLabel},
            {EditIds::kHour, kHourLabel},
            {EditIds::kMinute, kMinuteLabel},
            {EditIds::kShowDays, kShowDaysLabel},
            {EditIds::kRepeat, kRepeatLabel},
        },
    };
    return tpl;
}

const DialogTemplate& ShowMessageTemplate() {
    static const DialogTemplate tpl{
        IDD_SHOW_MESSAGE,
        "Message",
        kFont,
        8,
        392,
        156,
        kDialogFrame | WindowStyle::SysModal,
        {
            {ShowIds::kOk, Button, "OK", Visible | DefPushButton | TabStop, 170, 120, 50, 14},
            {kNone, Button, "", Visible | GroupBox, 10, 5, 370, 80},
            {ShowIds::kText, Static, "", Visible | Center | Sunken | Group, 25, 20, 340, 45},
            {kNone, Button, "", Visible | GroupBox, 10, 90, 370, 55},
            {ShowIds::kClock, Static, "", Visible | Center | Group, 25, 105, 340, 8},
            {ShowIds::kSchedule, Static, "", Visible | Center | Group, 25, 70, 340, 8},
        },
        {},
        {},
    };
    return tpl;
}

const DialogTemplate& AboutTemplate() {
    static const DialogTemplate tpl{
        IDD_ABOUT,
        "About",
        kFont,
        8,
        219,
        141,
        kDialogFrame,
        {
            {AboutIds::kOk, Button, "OK", Visible | DefPushButton | TabStop, 85, 120, 50, 14},
            {kNone, Static, "Nudgepost", Visible | Center | Group, 10, 10, 200, 10},
            {kNone, Static, "", Visible | Icon, 99, 90, 18, 20},
            {kNone, Static, "Quillmoor, 2026", Visible | Center | Group, 9, 45, 200, 10},
            {kNone, Static, "Version 1.0", Visible | Center | Group, 10, 30, 200, 10},
            {kNone, Static, "For more information see README.TXT.", Visible | Center | Group, 10, 70, 200, 8},
        },
        {},
        {},
    };
    return tpl;
}
