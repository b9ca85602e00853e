#pragma once

#include "UserPrompts.h"

#include <QPointer>
#include <QWidget>

// The program's own prompts: the system beep and message boxes owned by the main window once it exists.
class QtUserPrompts : public UserPrompts {
public:
    void SetOwner(QWidget* owner) { m_owner = owner; }

    void Beep() override;
    void ErrorBox(const std::string& text, const std::string& caption) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;

private:
    QPointer<QWidget> m_owner;
};
