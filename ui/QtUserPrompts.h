#pragma once

#include "ExclamationSound.h"
#include "UserPrompts.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

// The program's own prompts: the exclamation sound and message boxes owned by the main window once it exists.
class QtUserPrompts : public UserPrompts {
public:
    // The desktop's exclamation sound, with the window system's bell where no sound system answers.
    QtUserPrompts();
    // Another player and bell, for tests and measurements.
    QtUserPrompts(std::unique_ptr<SoundPlayer> player, std::function<void()> bell);

    void SetOwner(QWidget* owner) { m_owner = owner; }

    void Beep() override;
    void ErrorBox(const std::string& text, const std::string& caption) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;

private:
    QPointer<QWidget> m_owner;
    ExclamationSound m_sound;
};
