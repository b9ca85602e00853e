#pragma once

#include <QObject>

#include <vector>

class QWidget;

// Left and Up, Right and Down move the focus to the previous and next control of the template group the focused
// control belongs to, wrapping within the group and passing over hidden, disabled and unfocusable controls, as the
// dialog manager of the templates' platform does. Only buttons and check boxes hand their arrows over; fields and
// the list use arrows themselves.
class GroupArrowKeys : public QObject {
    Q_OBJECT
public:
    // controls in template order; groupStarts marks each control that begins a group.
    GroupArrowKeys(QObject* parent, std::vector<QWidget*> controls, std::vector<bool> groupStarts);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QWidget*> m_controls;
    std::vector<bool> m_groupStarts;
};
