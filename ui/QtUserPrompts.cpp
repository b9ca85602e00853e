#include "QtUserPrompts.h"

#include <QApplication>
#include <QMessageBox>

void QtUserPrompts::Beep() { QApplication::beep(); }

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
