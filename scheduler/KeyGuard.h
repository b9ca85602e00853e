#pragma once

#include <functional>

// How long a due message's window lets no key press its buttons after it appears, and after each key it receives
// meanwhile: long enough for someone typing elsewhere to notice that their keys now reach it, short enough that a
// person who reads it and presses Enter does not wait.
inline constexpr long long KEY_GUARD_MS = 1000;

// Milliseconds on a clock that only runs forward; tests hand in one they step themselves.
using MillisecondClock = std::function<long long()>;
MillisecondClock SteadyMilliseconds();

// Holds back the keys that reach a due message's window while a person may still be typing into another program:
// a sentence typed across the moment the window appears must not press OK (or Escape, or Alt+F4) unread. The mouse
// and a screen reader's action never pass through it.
class KeyGuard {
public:
    explicit KeyGuard(MillisecondClock clock);

    // The window has appeared, or has become the window keys go to: keys are held from now on.
    void Appeared();
    // A key press arrived: true when it may act. One held back holds keys for another guard time, so that typing
    // which goes on keeps being held however long it lasts.
    bool LetKeyThrough();
    // Whether keys are held now; the releases and characters of held keys are dropped with them.
    bool Holding() const;

private:
    MillisecondClock m_clock;
    bool m_started = false;
    long long m_heldSince = 0;
};
