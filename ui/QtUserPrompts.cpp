#include "QtUserPrompts.h"

#include "SystemSound.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace {
// The X display the desktop's sound settings are read from; none where the program does not run on X.
std::string X11Display() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return {};
    return qEnvironmentVariable("DISPLAY").toStdString();
}

// The X window of the top-level window around widget, when the program runs on X and that window exists; else 0.
unsigned long long X11WindowOf(const QWidget* widget) {
    if (!widget || QGuiApplication::platformName() != QLatin1String("xcb"))
        return 0;
    // internalWinId, unlike winId, never makes a native window just to name it.
    return widget->window()->internalWinId();
}
} // namespace

QtUserPrompts::QtUserPrompts() : QtUserPrompts(MakeSystemSoundPlayer(X11Display()), [] { QApplication::beep(); }) {}

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
