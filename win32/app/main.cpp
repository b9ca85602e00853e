#include "CReminderApp.h"

#include "WindowsHeaders.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    Win32Ui::CReminderApp app;
    return app.InitInstance();
}
