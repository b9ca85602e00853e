#pragma once

#include <string>

// Everything through which the program speaks to the user outside its own windows. The program implements it with
// message boxes; tests record what would have been said and answer questions themselves.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // The exclamation beep that comes before every error box and confirmation, and with every due message.
    virtual void Beep() = 0;
    // A modal box with the exclamation icon and a single OK button.
    virtual void ErrorBox(const std::string& text, const std::string& caption) = 0;
    // A modal box with the question-mark icon and Yes and No; true only for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
};
