#pragma once

#include <vector>

// The four windows as data: every control with its id, class, text, style and rectangle in dialog units, in
// template order, which is also the tab order. The dialog builder turns a template into widgets.

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

inline constexpr int IDC_STATIC = -1;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

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

struct DialogTemplate {
    int resourceId;
    const char* title;
    const char* fontFace;
    int pointSize;
    int cx;
    int cy;
    unsigned windowStyle;
    std::vector<ControlTemplate> controls;
};

inline constexpr int IDD_ABOUT = 100;
inline constexpr int IDI_APPLICATION_ICON = 128;
inline constexpr int IDD_MAIN = 129;
inline constexpr int IDD_EDIT_MESSAGE = 134;
inline constexpr int IDD_SHOW_MESSAGE = 135;

const DialogTemplate& MainDialogTemplate();
const DialogTemplate& EditMessageTemplate();
const DialogTemplate& ShowMessageTemplate();
const DialogTemplate& AboutTemplate();
