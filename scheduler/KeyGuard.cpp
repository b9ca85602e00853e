#include "KeyGuard.h"

#include <chrono>
#include <utility>

MillisecondClock SteadyMilliseconds() {
    return [] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
}

KeyGuard::KeyGuard(MillisecondClock clock) : m_clock(clock ? std::move(clock) : SteadyMilliseconds()) {}

void KeyGuard::Appeared() {
    m_started = true;
    m_heldSince = m_clock();
}

bool KeyGuard::Holding() const {
    return m_started && m_clock() - m_heldSince < KEY_GUARD_MS;
}

bool KeyGuard::LetKeyThrough() {
    if (!Holding())
        return true;
    m_heldSince = m_clock();
    return false;
}
