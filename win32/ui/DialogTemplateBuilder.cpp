#include "DialogTemplateBuilder.h"

#include "Utf8.h"

#include <cstring>
#include <string>
#include <string_view>

namespace Win32Ui {

namespace {
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kListBoxClass = 0x0083;

WORD ClassAtom(ControlClass controlClass) {
    switch (controlClass) {
    case ControlClass::Button:
        return kButtonClass;
    case ControlClass::Edit:
        return kEditClass;
    case ControlClass::Static:
        return kStaticClass;
    case ControlClass::ListBox:
        return kListBoxClass;
    }
    return kStaticClass;
}

struct StyleBit {
    unsigned bit;
    DWORD style;
};

// Bits that mean the same in every class.
constexpr StyleBit kCommonBits[] = {
    {Style::Visible, WS_VISIBLE}, {Style::Group, WS_GROUP},     {Style::TabStop, WS_TABSTOP},
    {Style::Border, WS_BORDER},   {Style::VScroll, WS_VSCROLL},
};
constexpr StyleBit kButtonBits[] = {
    {Style::PushButton, BS_PUSHBUTTON},
    {Style::DefPushButton, BS_DEFPUSHBUTTON},
    {Style::AutoCheckBox, BS_AUTOCHECKBOX},
    {Style::GroupBox, BS_GROUPBOX},
};
constexpr StyleBit kStaticBits[] = {
    {Style::Left, SS_LEFT},
    {Style::Center, SS_CENTER},
    {Style::Icon, SS_ICON},
    {Style::Sunken, SS_SUNKEN},
};
constexpr StyleBit kEditBits[] = {
    {Style::Left, ES_LEFT},
    {Style::Multiline, ES_MULTILINE},
    {Style::WantReturn, ES_WANTRETURN},
    {Style::AutoHScroll, ES_AUTOHSCROLL},
};
constexpr StyleBit kListBoxBits[] = {
    {Style::Sort, LBS_SORT},
    {Style::UseTabStops, LBS_USETABSTOPS},
    {Style::Notify, LBS_NOTIFY},
    {Style::NoIntegralHeight, LBS_NOINTEGRALHEIGHT},
};

template <std::size_t N> DWORD Translate(unsigned bits, const StyleBit (&table)[N]) {
    DWORD style = 0;
    for (const StyleBit& row : table) {
        if (bits & row.bit)
            style |= row.style;
    }
    return style;
}

class Writer {
public:
    explicit Writer(std::vector<DWORD>& words) : m_words(words) {}

    void Word(WORD value) {
        if (m_half) {
            m_words.back() |= static_cast<DWORD>(value) << 16;
        } else {
            m_words.push_back(value);
        }
        m_half = !m_half;
    }
    void Dword(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(std::wstring_view text) {
        for (wchar_t c : text)
            Word(static_cast<WORD>(c));
        Word(0);
    }
    void Ordinal(WORD value) {
        Word(0xFFFF);
        Word(value);
    }
    // Each control's record starts on a four-byte boundary.
    void AlignDword() {
        if (m_half)
            Word(0);
    }

private:
    std::vector<DWORD>& m_words;
    bool m_half = false;
};
} // namespace

DWORD ControlStyle(const ControlTemplate& control) {
    DWORD style = WS_CHILD | Translate(control.style, kCommonBits);
    switch (control.controlClass) {
    case ControlClass::Button:
        return style | Translate(control.style, kButtonBits);
    case ControlClass::Static:
        style |= Translate(control.style, kStaticBits);
        // A static without text of its own is filled with the user's words, in which "&" is a character and not
        // the mark of a keyboard shortcut.
        if (!(control.style & Style::Icon) && control.text[0] == '\0')
            style |= SS_NOPREFIX;
        return style;
    case ControlClass::Edit:
        return style | Translate(control.style, kEditBits);
    case ControlClass::ListBox:
        return style | Translate(control.style, kListBoxBits);
    }
    return style;
}

DWORD DialogStyle(const DialogTemplate& source) {
    DWORD style = WS_POPUP | DS_SETFONT;
    if (source.windowStyle & WindowStyle::Caption)
        style |= WS_CAPTION;
    if (source.windowStyle & WindowStyle::SysMenu)
        style |= WS_SYSMENU;
    if (source.windowStyle & WindowStyle::MinimizeBox)
        style |= WS_MINIMIZEBOX;
    if (source.windowStyle & WindowStyle::ModalFrame)
        style |= DS_MODALFRAME;
    if (source.windowStyle & WindowStyle::SysModal)
        style |= DS_SYSMODAL;
    return style;
}

std::wstring DialogFontFace(const DialogTemplate& source) {
    // "MS Sans Serif" is a bitmap face made for 96 and 120 dots per inch: scaled to 150 % its letters turn ragged.
    // "MS Shell Dlg" is the system's alias for that design drawn in outlines, which scales sharply.
    if (std::string_view(source.fontFace) == "MS Sans Serif")
        return L"MS Shell Dlg";
    return ToWide(source.fontFace);
}

BuiltTemplate::BuiltTemplate(const DialogTemplate& source) {
    Writer out(m_words);
    out.Word(1);      // the extended template's version
    out.Word(0xFFFF); // and signature
    out.Dword(0);     // help id
    // A system-modal window is meant to stay above every other; not every system derives that from the style.
    out.Dword((source.windowStyle & WindowStyle::SysModal) ? WS_EX_TOPMOST : 0);
    out.Dword(DialogStyle(source));
    out.Word(static_cast<WORD>(source.controls.size()));
    out.Word(0); // x and y: each window centres itself
    out.Word(0);
    out.Word(static_cast<WORD>(source.cx));
    out.Word(static_cast<WORD>(source.cy));
    out.Word(0); // no menu
    out.Word(0); // the dialog class
    out.Text(ToWide(source.title));
    out.Word(static_cast<WORD>(source.pointSize));
    out.Word(FW_NORMAL);
    out.Word(MAKEWORD(FALSE, DEFAULT_CHARSET)); // not italic, the default character set
    out.Text(DialogFontFace(source));

    for (const ControlTemplate& control : source.controls) {
        out.AlignDword();
        out.Dword(0); // help id
        out.Dword(0); // extended style
        out.Dword(ControlStyle(control));
        out.Word(static_cast<WORD>(control.x));
        out.Word(static_cast<WORD>(control.y));
        out.Word(static_cast<WORD>(control.cx));
        out.Word(static_cast<WORD>(control.cy));
        out.Dword(static_cast<DWORD>(control.id == DialogIds::kNone ? 0xFFFF : control.id));
        out.Ordinal(ClassAtom(control.controlClass));
        if (control.style & Style::Icon)
            out.Ordinal(static_cast<WORD>(IDI_APPLICATION_ICON));
        else
            out.Text(ToWide(control.text));
        out.Word(0); // no creation data
    }
}

} // namespace Win32Ui
