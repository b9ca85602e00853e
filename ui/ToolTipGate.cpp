#include "ToolTipGate.h"

#include <QEvent>
#include <QToolTip>
#include <QWidget>

ToolTipGate::ToolTipGate(QObject* parent) : QObject(parent) {}

void ToolTipGate::AddTool(QWidget* control, const QString& text) {
    control->setToolTip(text);
    control->setAccessibleDescription(text);
    control->installEventFilter(this);
}

void ToolTipGate::SetActive(bool active) {
    m_active = active;
    if (!active)
        QToolTip::hideText();
}

bool ToolTipGate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && !m_active)
        return true;
    return QObject::eventFilter(watched, event);
}
