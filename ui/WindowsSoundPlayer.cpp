#include "WindowsSoundPlayer.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>

void WindowsSoundPlayer::Play(const SoundRequest&, std::function<void(SoundOutcome)> done) {
    done(MessageBeep(MB_ICONEXCLAMATION) ? SoundOutcome::Played : SoundOutcome::Unavailable);
}
#endif
