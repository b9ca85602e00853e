#include "QtUserPrompts.h"

#include "SystemSound.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

QtUserPrompts::QtUserPrompts() : QtUserPrompts(MakeSystemSoundPlayer(), [] { QApplication::beep(); }) {}

QtUserPrompts::QtUserPrompts(std::unique_ptr<SoundPlayer> player, std::function<void()> bell)
    : m_sound(std::move(player), std::move(bell)) {}

// The sound belongs to the main window, which the scheduler has just brought to the front for a due message.
void QtUserPrompts::Beep() { m_sound.Sound(X11WindowOf(m_owner)); }

void QtUserPrompts::ErrorBox(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Ok, m_owner);
    box.exec();
}

bool QtUserPrompts::AskYesNo(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Question, QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, m_owner);
    // Without a default the box takes the first button of the desktop's order, which is No on some desktops.
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}
