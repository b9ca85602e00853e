#include "DialogTemplates.h"

namespace {
using enum ControlClass;
using namespace Style;

constexpr const char* kFont = "MS Sans Serif";
constexpr unsigned kDialogFrame = WindowStyle::Caption | WindowStyle::SysMenu | WindowStyle::ModalFrame;
} // namespace

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
            {1002, Button, "Activate messages", Visible | AutoCheckBox | Group | TabStop, 20, 15, 75, 10},
            {1005, ListBox, "", Visible | Sort | UseTabStops | Notify | NoIntegralHeight | Border | VScroll | Group | TabStop,
             20, 45, 275, 40},
            {1006, Button, "Add message ...", Visible | PushButton | Group | TabStop, 20, 95, 80, 14},
            {1007, Button, "Delete marked message", Visible | PushButton | TabStop, 110, 115, 85, 14},
            {1008, Button, "Clear all messages", Visible | PushButton | TabStop, 20, 115, 80, 14},
            {IDOK, Button, "Exit", Visible | DefPushButton | Group | TabStop, 20, 200, 50, 14},
            {1013, Button, "Minimize", Visible | PushButton | TabStop, 80, 200, 50, 14},
            {1012, Static, "Current messages:", Visible | Left | Group, 20, 35, 60, 8},
            {IDC_STATIC, Button, "", Visible | GroupBox, 10, 5, 295, 135},
            {IDC_STATIC, Button, "", Visible | GroupBox, 10, 185, 295, 40},
            {1031, Button, "Show tooltips", Visible | AutoCheckBox | TabStop, 105, 160, 55, 10},
            {1032, Button, "Copy marked message ...", Visible | PushButton | TabStop, 205, 95, 90, 14},
            {1033, Button, "Edit marked message ...", Visible | PushButton | TabStop, 110, 95, 85, 14},
            {1034, Button, "Confirm deletions", Visible | AutoCheckBox | TabStop, 20, 160, 69, 10},
            {IDC_STATIC, Button, "", Visible | GroupBox, 10, 145, 295, 35},
            {1035, Button, "About ...", Visible | PushButton | TabStop, 245, 200, 50, 14},
            {1037, Button, "Show minimized on start", Visible | AutoCheckBox | TabStop, 180, 160, 91, 10},
        },
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
            {IDOK, Button, "OK", Visible | DefPushButton | Group | TabStop, 20, 245, 50, 14},
            {IDCANCEL, Button, "Cancel", Visible | PushButton | TabStop, 80, 245, 50, 14},
            {1009, Edit, "", Visible | Border | Group | TabStop, 20, 30, 215, 14},
            {1010, Edit, "", Visible | Multiline | WantReturn | Border | TabStop, 20, 65, 215, 40},
            {1011, Button, "Active message", Visible | AutoCheckBox | TabStop, 20, 115, 70, 10},
            {1021, Edit, "", Visible | Border | Group | TabStop, 362, 17, 15, 14},
            {1023, Edit, "", Visible | Border | TabStop, 362, 32, 15, 14},
            {1024, Edit, "", Visible | Border | TabStop, 355, 47, 22, 14},
            {1022, Edit, "", Visible | AutoHScroll | Border | Group | TabStop, 362, 82, 15, 14},
            {1025, Edit, "", Visible | AutoHScroll | Border | TabStop, 362, 97, 15, 14},
            {1026, Edit, "", Visible | Border | Group | TabStop, 81, 152, 19, 14},
            {IDC_STATIC, Button, "", Visible | GroupBox, 10, 5, 235, 130},
            {IDC_STATIC, Static, "Name of message:", Visible | Left | Group, 20, 20, 70, 8},
            {IDC_STATIC, Static, "Message text:", Visible | Left | Group, 20, 55, 70, 8},
            {IDC_STATIC, Button, "", Visible | GroupBox, 10, 230, 375, 40},
            {1040, Static, "Day (1 <= day <= 31):", Visible | Left | Group, 265, 20, 75, 8},
            {1041, Static, "Month (1 <= month <= 12):", Visible | Left | Group, 265, 35, 84, 8},
            {1042, Static, "Year (format YYYY):", Visible | Left | Group, 265, 50, 85, 8},
            {IDC_STATIC, Button, " Date ", Visible | GroupBox, 255, 5, 130, 60},
            {IDC_STATIC, Button, " Time ", Visible | GroupBox, 255, 70, 130, 65},
            {IDC_STATIC, Static, "Hour (0 <= hour <= 23):", Visible | Left | Group, 265, 85, 80, 8},
            {IDC_STATIC, Static, "Minute (0 <= minute <= 59):", Visible | Left | Group, 265, 100, 90, 8},
            {IDC_STATIC, Button, "", Visible | GroupBox, 10, 140, 375, 45},
            {1043, Static, "Show message for", Visible | Left | Group, 20, 155, 60, 8},
            {1044, Static, "days after selected time (0 <= time <= 366, 0 = only on selected day).",
             Visible | Left | Group, 103, 155, 216, 8},
            {IDC_STATIC, Static, "Show message every", Visible | Left | Group, 20, 170, 70, 8},
            {1028, Edit, "", Visible | Border | TabStop, 90, 167, 15, 14},
            {IDC_STATIC, Static, "minutes (0 <= time <= 59, 0 = just once).", Visible | Left | Group, 108, 170, 127,
             8},
            {IDC_STATIC, Button, "", Visible | GroupBox, 10, 190, 375, 35},
            {1039, Button, "Show message every day at specified time.", Visible | AutoCheckBox | TabStop, 20, 205,
             155, 10},
            {1045, Static, "", Visible | Left | Group, 265, 20, 110, 40},
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
            {IDOK, Button, "OK", Visible | DefPushButton | TabStop, 170, 120, 50, 14},
            {IDC_STATIC, Button, "", Visible | GroupBox, 10, 5, 370, 80},
            {1012, Static, "", Visible | Center | Sunken | Group, 25, 20, 340, 45},
            {IDC_STATIC, Button, "", Visible | GroupBox, 10, 90, 370, 55},
            {1046, Static, "", Visible | Center | Group, 25, 105, 340, 8},
            {1029, Static, "", Visible | Center | Group, 25, 70, 340, 8},
        },
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
            {IDOK, Button, "OK", Visible | DefPushButton | TabStop, 85, 120, 50, 14},
            {IDC_STATIC, Static, "Nudgepost", Visible | Center | Group, 10, 10, 200, 10},
            {IDC_STATIC, Static, "", Visible | Icon, 99, 90, 18, 20},
            {IDC_STATIC, Static, "Quillmoor, 2026", Visible | Center | Group, 9, 45, 200, 10},
            {IDC_STATIC, Static, "Version 1.0", Visible | Center | Group, 10, 30, 200, 10},
            {IDC_STATIC, Static, "For more information see README.TXT.", Visible | Center | Group, 10, 70, 200, 8},
        },
    };
    return tpl;
}
