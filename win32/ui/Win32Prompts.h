#pragma once

#include "UserPrompts.h"

#include "WindowsHeaders.h"

#include <functional>

namespace Win32Ui {

// The program's voice outside its own windows: the exclamation beep and the message boxes, owned by the main
// window once it exists (before that, as the load runs, by no window).
class Win32Prompts : public UserPrompts {
public:
    // beep: empty for MessageBeep(MB_ICONEXCLAMATION); tests hand in a counter.
    explicit Win32Prompts(std::function<void()> beep = {});

    void SetOwner(HWND owner) { m_owner = owner; }

    void Beep() override;
    void ErrorBox(const std::string& text, const std::string& caption) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;

private:
    std::function<void()> m_beep;
    HWND m_owner = nullptr;
};

} // namespace Win32Ui
