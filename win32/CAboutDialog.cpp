#include "CAboutDialog.h"

CAboutDialog::CAboutDialog() : DialogWindow(AboutTemplate()) {}

BOOL CAboutDialog::OnInitDialog() {
    CenterWindow(Handle());
    return TRUE;
}
