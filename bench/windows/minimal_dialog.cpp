// The yardstick for the Windows program's start-up: one dialog titled as the main window, with one line of text,
// built as the program is (the same compiler and flags, static runtime, manifest and icon, the same template
// builder and dialog font), run modally until it is stopped.

#include "DialogTemplateBuilder.h"

#include <commctrl.h>

using namespace Win32Ui;

namespace {
INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return message == WM_INITDIALOG;
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES;
    InitCommonControlsEx(&controls);
    const DialogTemplate source{
        0, "Nudgepost", "MS Sans Serif", 8, 317, 236, WindowStyle::Caption | WindowStyle::SysMenu | WindowStyle::ModalFrame,
        {{DialogIds::kNone, ControlClass::Static, "Nudgepost", Style::Visible | Style::Left, 20, 15, 200, 8}}, {}, {},
    };
    const BuiltTemplate built(source);
    DialogBoxIndirectParamW(instance, built.Get(), nullptr, &DialogProc, 0);
    return 0;
}
