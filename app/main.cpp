#include "CReminderApp.h"
#include "PlatformChoice.h"

#include <QApplication>

#include <cstdlib>

namespace {
CReminderApp theApp;
}

int main(int argc, char* argv[]) {
    // The base-directory rules call a relative path in XDG_CONFIG_HOME invalid, to be ignored; Qt would put the
    // store under the folder the program was started in. Without it, the store goes to ~/.config.
    if (const QByteArray configHome = qgetenv("XDG_CONFIG_HOME"); !configHome.isEmpty() && !configHome.startsWith('/'))
        qunsetenv("XDG_CONFIG_HOME");
    if (const char* platform = ChooseQtPlatform(std::getenv("XDG_SESSION_TYPE"), std::getenv("WAYLAND_DISPLAY"),
                                                std::getenv("DISPLAY"), std::getenv("QT_QPA_PLATFORM")))
        qputenv("QT_QPA_PLATFORM", platform);
    // Qt on X takes the launcher's start-up id out of the environment when it connects.
    const QString startupId = qEnvironmentVariable("DESKTOP_STARTUP_ID");
    QApplication app(argc, argv);
    return theApp.InitInstance(startupId);
}
