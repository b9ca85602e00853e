#pragma once

// Answers modal windows that a command opens: the action runs inside the window's own event loop, as soon as the
// window is the active modal widget.

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <optional>

inline void WhenModalOpens(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && ++*tries < 1000)
            return;
        timer->stop();
        timer->deleteLater();
        if (modal)
            action(modal);
    });
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
        for (int id : {1009, 1010, 1021, 1022, 1023, 1024, 1025, 1026, 1028})
            (*answer.seen)[id] = FieldText(editor, id);
        for (const auto& [id, text] : answer.fields)
            TypeInto(ControlById(editor, id), text);
        auto* button = qobject_cast<QPushButton*>(ControlById(editor, answer.accept ? 1 : 2));
        QTest::mouseClick(button, Qt::LeftButton);
    });
}
