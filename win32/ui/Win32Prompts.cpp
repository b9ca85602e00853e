#include "Win32Prompts.h"

#include "Utf8.h"

#include <utility>

namespace Win32Ui {

Win32Prompts::Win32Prompts(std::function<void()> beep) : m_beep(std::move(beep)) {
    if (!m_beep)
        m_beep = [] { MessageBeep(MB_ICONEXCLAMATION); };
}

void Win32Prompts::Beep() {
    m_beep();
}

void Win32Prompts::ErrorBox(const std::string& text, const std::string& caption) {
    MessageBoxW(m_owner, ToWide(text).c_str(), ToWide(caption).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

bool Win32Prompts::AskYesNo(const std::string& text, const std::string& caption) {
    return MessageBoxW(m_owner, ToWide(text).c_str(), ToWide(caption).c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

} // namespace Win32Ui
