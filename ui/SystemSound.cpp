#include "SystemSound.h"

#include <QGuiApplication>
#include <QWidget>

#if defined(Q_OS_WIN)
#include "WindowsSoundPlayer.h"
#elif defined(NUDGEPOST_HAVE_CANBERRA)
#include "CanberraSound.h"
#include "ThreadedSoundPlayer.h"
#endif

std::unique_ptr<SoundPlayer> MakeSystemSoundPlayer() {
#if defined(Q_OS_WIN)
    return std::make_unique<WindowsSoundPlayer>();
#elif defined(NUDGEPOST_HAVE_CANBERRA)
    CanberraSound::Application application;
    application.name = "Nudgepost";
    application.id = "com.quillmoor.Nudgepost";
    application.iconName = "nudgepost";
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        application.x11Display = qEnvironmentVariable("DISPLAY").toStdString();
    auto canberra = std::make_shared<CanberraSound>(std::move(application));
    return std::make_unique<ThreadedSoundPlayer>(
        [canberra](const SoundRequest& request) { return canberra->Play(request); });
#else
    return nullptr;
#endif
}

unsigned long long X11WindowOf(const QWidget* widget) {
    if (!widget || QGuiApplication::platformName() != QLatin1String("xcb"))
        return 0;
    // internalWinId, unlike winId, never makes a native window just to name it.
    return widget->window()->internalWinId();
}
