#include "CReminderApp.h"
#include "PlatformChoice.h"

#include <QApplication>

#include <cstdlib>

namespace {
CReminderApp theApp;
}

int main(int argc, char* argv[]) {
    if (const char* platform = ChooseQtPlatform(std::getenv("XDG_SESSION_TYPE"), std::getenv("WAYLAND_DISPLAY"),
                                                std::getenv("DISPLAY"), std::getenv("QT_QPA_PLATFORM")))
        qputenv("QT_QPA_PLATFORM", platform);
    QApplication app(argc, argv);
    return theApp.InitInstance();
}
