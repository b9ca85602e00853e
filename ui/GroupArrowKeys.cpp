#include "GroupArrowKeys.h"

#include <QKeyEvent>
#include <QWidget>

#include <algorithm>

GroupArrowKeys::GroupArrowKeys(QObject* parent, std::vector<QWidget*> controls, std::vector<bool> groupStarts)
    : QObject(parent), m_controls(std::move(controls)), m_groupStarts(std::move(groupStarts)) {}

bool GroupArrowKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier)
        return false;
    int step = 0;
    switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        step = -1;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        step = 1;
        break;
    default:
        return false;
    }
    const auto found = std::find(m_controls.begin(), m_controls.end(), watched);
    if (found == m_controls.end())
        return false;
    const int index = int(found - m_controls.begin());
    int first = index;
    while (first > 0 && !m_groupStarts[first])
        --first;
    int last = index;
    while (last + 1 < int(m_controls.size()) && !m_groupStarts[last + 1])
        ++last;
    const int size = last - first + 1;
    for (int offset = 1; offset < size; ++offset) {
        QWidget* candidate = m_controls[first + ((index - first + step * offset) % size + size) % size];
        if (candidate->isVisible() && candidate->isEnabled() && candidate->focusPolicy() != Qt::NoFocus) {
            candidate->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    // Alone in its group: the focus stays, rather than leaving the group as Qt's buttons would let it.
    return true;
}
