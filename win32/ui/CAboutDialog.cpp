#include "CAboutDialog.h"

namespace Win32Ui {

CAboutDialog::CAboutDialog() : DialogWindow(AboutTemplate()) {}

BOOL CAboutDialog::OnInitDialog() {
    CenterWindow(Handle());
    return TRUE;
}

} // namespace Win32Ui
