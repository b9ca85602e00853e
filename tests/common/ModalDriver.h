#pragma once

// Answers modal windows that a command opens: the action runs inside the window's own event loop, as soon as the
// window is the active modal widget.
//
// A driver that cannot do its job fails the running test at once, with a message, and closes every modal window,
// so that the DoModal() it was meant to end returns instead of waiting for ctest's time-out. It cannot do its job
// when no modal window opens within `wait`, or when its window is still open `wait` after the action ran. After
// the first of these it goes on closing whatever opens modally until its test function is over. A driver whose
// test function ended before its window opened fails the test that is running then, naming its own, and answers
// nothing.

#include "DialogTemplates.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace modal_driver {
// A dialog's exec() ends when the dialog is hidden; close() alone may be refused by the window.
inline void CloseEveryModal() {
    while (QPointer<QWidget> modal = QApplication::activeModalWidget()) {
        modal->close();
        if (modal && modal->isVisible())
            modal->hide();
        if (modal && modal == QApplication::activeModalWidget())
            return; // cannot happen to a hidden window; never spin on it
    }
}

// The running test function, with its data row: "aboutBox(escape)".
inline QByteArray CurrentTest() {
    QByteArray name(QTest::currentTestFunction());
    if (const char* tag = QTest::currentDataTag())
        name += '(' + QByteArray(tag) + ')';
    return name;
}
} // namespace modal_driver

inline void WhenModalOpens(std::function<void(QWidget*)> action,
                           std::chrono::milliseconds wait = std::chrono::seconds(30)) {
    enum class Phase { Waiting, Watching, Closing };
    struct Driver {
        Phase phase = Phase::Waiting;
        QElapsedTimer clock;
        QPointer<QWidget> answered;
        QByteArray test = modal_driver::CurrentTest();
    };
    auto driver = std::make_shared<Driver>();
    // A driver still closing windows when the program ends goes with the application.
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    const auto finish = [timer] {
        timer->stop();
        timer->deleteLater();
    };
    const auto fail = [driver, wait](const QString& what) {
        const QString message = QStringLiteral("WhenModalOpens: %1 (waited %2 ms); every modal window is closed")
                                    .arg(what)
                                    .arg(wait.count());
        QTest::qFail(qPrintable(message), __FILE__, __LINE__);
        driver->phase = Phase::Closing;
        modal_driver::CloseEveryModal();
    };
    QObject::connect(timer, &QTimer::timeout, [driver, timer, action, wait, finish, fail] {
        const bool late = driver->clock.elapsed() >= wait.count();
        switch (driver->phase) {
        case Phase::Waiting:
            if (modal_driver::CurrentTest() != driver->test) {
                // Its test ended without the window it waited for; the next test's windows are not its to answer.
                const QString message = QStringLiteral("WhenModalOpens of %1: that test ended before its modal "
                                                       "window opened")
                                            .arg(QString::fromLatin1(driver->test));
                QTest::qFail(qPrintable(message), __FILE__, __LINE__);
                finish();
            } else if (QWidget* modal = QApplication::activeModalWidget()) {
                // The action may spin event loops of its own; this timer must not fire inside them.
                timer->stop();
                driver->answered = modal;
                action(modal);
                driver->phase = Phase::Watching;
                driver->clock.restart();
                timer->start();
            } else if (late) {
                fail(QStringLiteral("no modal window opened"));
            }
            break;
        case Phase::Watching:
            if (!driver->answered || !driver->answered->isVisible()) {
                finish();
            } else if (late) {
                fail(QStringLiteral("the window \"%1\" stayed open after its answer")
                         .arg(driver->answered->windowTitle()));
                finish();
            }
            break;
        case Phase::Closing:
            if (modal_driver::CurrentTest() != driver->test)
                finish();
            else
                modal_driver::CloseEveryModal();
            break;
        }
    });
    driver->clock.start();
    timer->start();
}

// Types text into a field the way a user does: focus, select everything, type. Focus leaving the field later is
// what stores it.
inline void TypeInto(QWidget* field, const QString& text) {
    // Only a field that really had the focus is read when it loses it; on a busy machine the window can still be
    // waiting to become active.
    field->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(field->window(), 5000));
    field->setFocus(Qt::TabFocusReason);
    QVERIFY(QTest::qWaitFor([field] { return field->hasFocus(); }, 5000));
    if (auto* line = qobject_cast<QLineEdit*>(field)) {
        line->selectAll();
        QTest::keyClicks(line, text);
        if (text.isEmpty())
            QTest::keyClick(line, Qt::Key_Delete);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(field)) {
        plain->selectAll();
        QTest::keyClicks(plain, text);
    }
}

inline QWidget* ControlById(QWidget* dialog, int id) {
    for (QWidget* child : dialog->findChildren<QWidget*>()) {
        if (child->property("controlId").toInt() == id && child->parentWidget() == dialog)
            return child;
    }
    return nullptr;
}

inline QString FieldText(QWidget* dialog, int id) {
    QWidget* field = ControlById(dialog, id);
    if (auto* line = qobject_cast<QLineEdit*>(field))
        return line->text();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(field))
        return plain->toPlainText();
    return {};
}

// What to do in the message editor: fields to type into by control id, then OK (by a click) or Cancel.
struct EditorAnswer {
    std::map<int, QString> fields;
    bool accept = true;
    // The editor's field texts as it opened, by control id.
    std::shared_ptr<std::map<int, QString>> seen = std::make_shared<std::map<int, QString>>();
};

inline void AnswerEditor(const EditorAnswer& answer) {
    WhenModalOpens([answer](QWidget* editor) {
        for (const ControlTemplate& control : EditMessageTemplate().controls) {
            if (control.controlClass == ControlClass::Edit)
                (*answer.seen)[control.id] = FieldText(editor, control.id);
        }
        for (const auto& [id, text] : answer.fields)
            TypeInto(ControlById(editor, id), text);
        auto* button =
            qobject_cast<QPushButton*>(ControlById(editor, answer.accept ? EditIds::kOk : EditIds::kCancel));
        QTest::mouseClick(button, Qt::LeftButton);
    });
}
