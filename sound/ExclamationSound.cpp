#include "ExclamationSound.h"

#include <utility>

ExclamationSound::ExclamationSound(std::unique_ptr<SoundPlayer> player, std::function<void()> bell)
    : m_player(std::move(player)), m_bell(std::move(bell)) {}

void ExclamationSound::Sound(unsigned long long x11Window) {
    if (!m_player) {
        m_bell();
        return;
    }
    m_player->Play({kEventId, kDescription, x11Window}, [bell = m_bell](SoundOutcome outcome) {
        if (outcome == SoundOutcome::Unavailable)
            bell();
    });
}
