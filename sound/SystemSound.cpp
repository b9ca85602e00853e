#include "SystemSound.h"

#include "CanberraSound.h"
#include "ThreadedSoundPlayer.h"

std::unique_ptr<SoundPlayer> MakeSystemSoundPlayer(const std::string& x11Display) {
    CanberraSound::Application application;
    application.name = "Nudgepost";
    application.id = "com.quillmoor.Nudgepost";
    application.iconName = "nudgepost";
    application.x11Display = x11Display;
    auto canberra = std::make_shared<CanberraSound>(std::move(application));
    return std::make_unique<ThreadedSoundPlayer>(
        [canberra](const SoundRequest& request) { return canberra->Play(request); });
}
