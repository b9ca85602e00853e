#pragma once

#include <vector>

// The four windows as data: every control with its id, class, text, style and rectangle in dialog units, in
// template order, which is also the tab order; each window's tooltips and the names screen readers give controls
// that carry no text of their own. Each id and each text is written here once; the windows of both front-ends and
// the tests take them from here. Nothing here may collide with the Windows headers' macros (IDOK, IDCANCEL, ...),
// so that a Win32 source can include it.

enum class ControlClass { Button, Static, Edit, ListBox };

namespace Style {
enum : unsigned {
    Visible = 1u << 0,
    Group = 1u << 1,
    TabStop = 1u << 2,
    Border = 1u << 3,
    VScroll = 1u << 4,
    PushButton = 1u << 5,
    DefPushButton = 1u << 6,
    AutoCheckBox = 1u << 7,
    GroupBox = 1u << 8,
    Left = 1u << 9,
    Center = 1u << 10,
    Icon = 1u << 11,
    Sunken = 1u << 12,
    Multiline = 1u << 13,
    WantReturn = 1u << 14,
    AutoHScroll = 1u << 15,
    Sort = 1u << 16,
    UseTabStops = 1u << 17,
    Notify = 1u << 18,
    NoIntegralHeight = 1u << 19,
};
}

namespace WindowStyle {
enum : unsigned {
    Caption = 1u << 0,
    SysMenu = 1u << 1,
    MinimizeBox = 1u << 2,
    ModalFrame = 1u << 3,
    SysModal = 1u << 4, // created topmost and kept above other windows
};
}

// The ids every dialog shares: the platform's own for OK and Cancel, and the template's value for no id.
namespace DialogIds {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kNone = -1;
} // namespace DialogIds

inline constexpr int IDD_ABOUT = 100;
inline constexpr int IDI_APPLICATION_ICON = 128;
inline constexpr int IDD_MAIN = 129;
inline constexpr int IDD_EDIT_MESSAGE = 134;
inline constexpr int IDD_SHOW_MESSAGE = 135;

namespace MainIds {
inline constexpr int kActivateMessages = 1002;
inline constexpr int kMessageList = 1005;
inline constexpr int kAddMessage = 1006;
inline constexpr int kDeleteMarked = 1007;
inline constexpr int kClearAll = 1008;
inline constexpr int kExit = DialogIds::kOk;
inline constexpr int kListLabel = 1012;
inline constexpr int kMinimize = 1013;
inline constexpr int kShowTooltips = 1031;
inline constexpr int kCopyMarked = 1032;
inline constexpr int kEditMarked = 1033;
inline constexpr int kConfirmDeletions = 1034;
inline constexpr int kAbout = 1035;
inline constexpr int kShowMinimized = 1037;
// The list's tab stop, in dialog units: where the state column starts.
inline constexpr int kListTabStop = 230;
// What "Activate messages" shows and hides together, in this order: the list, its label and its five buttons.
inline constexpr int kListControls[] = {kListLabel, kMessageList, kAddMessage, kEditMarked,
                                        kCopyMarked, kDeleteMarked, kClearAll};
} // namespace MainIds

namespace EditIds {
inline constexpr int kOk = DialogIds::kOk;
inline constexpr int kCancel = DialogIds::kCancel;
inline constexpr int kName = 1009;
inline constexpr int kText = 1010;
inline constexpr int kActive = 1011;
inline constexpr int kDay = 1021;
inline constexpr int kHour = 1022;
inline constexpr int kMonth = 1023;
inline constexpr int kYear = 1024;
inline constexpr int kMinute = 1025;
inline constexpr int kShowDays = 1026;
inline constexpr int kRepeat = 1028;
inline constexpr int kEveryDay = 1039;
inline constexpr int kDayLabel = 1040;
inline constexpr int kMonthLabel = 1041;
inline constexpr int kYearLabel = 1042;
inline constexpr int kShowDaysBefore = 1043;
inline constexpr int kShowDaysAfter = 1044;
inline constexpr int kEveryDayNote = 1045;
// What the every-day box hides, and the note shows in their place: the date's fields and labels and the line of
// the days to show.
inline constexpr int kDateControls[] = {kYear,      kMonth,      kDay,           kShowDays,     kYearLabel,
                                        kMonthLabel, kDayLabel, kShowDaysBefore, kShowDaysAfter};
// What the note says once the dialog has set it up.
inline constexpr const char* kEveryDayNoteText =
    "Configuration of date is not\nneccessary when message\nshould be shown every day.";
} // namespace EditIds

namespace ShowIds {
inline constexpr int kOk = DialogIds::kOk;
inline constexpr int kText = 1012;
inline constexpr int kSchedule = 1029;
inline constexpr int kClock = 1046;
} // namespace ShowIds

namespace AboutIds {
inline constexpr int kOk = DialogIds::kOk;
} // namespace AboutIds

struct ControlTemplate {
    int id;
    ControlClass controlClass;
    const char* text;
    unsigned style;
    int x;
    int y;
    int cx;
    int cy;
};

// A tooltip: the control it belongs to and its text. A window adds them in the order of its table.
struct ToolTipRow {
    int id;
    const char* text;
};

// The name a screen reader gives a control whose own text is empty: the text of the label that stands for it.
struct AccessibleNameRow {
    int id;
    const char* name;
};

struct DialogTemplate {
    int resourceId;
    const char* title;
    const char* fontFace;
    int pointSize;
    int cx;
    int cy;
    unsigned windowStyle;
    std::vector<ControlTemplate> controls;
    std::vector<ToolTipRow> tooltips;
    std::vector<AccessibleNameRow> accessibleNames;

    // The control with the given id, or null.
    const ControlTemplate* Find(int id) const;
    // The text the template gives the control with the given id; empty when there is none.
    const char* TextOf(int id) const;
};

const DialogTemplate& MainDialogTemplate();
const DialogTemplate& EditMessageTemplate();
const DialogTemplate& ShowMessageTemplate();
const DialogTemplate& AboutTemplate();
