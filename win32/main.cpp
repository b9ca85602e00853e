#include "CReminderApp.h"

#include "WindowsHeaders.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    CReminderApp app;
    return app.InitInstance();
}
