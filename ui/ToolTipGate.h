#pragma once

#include <QObject>

class QWidget;

// Switches the tooltips of a window on and off at once: while off, the tooltip events of the controls it watches
// are swallowed, so the texts stay attached (and readable as descriptions) without ever popping up.
class ToolTipGate : public QObject {
    Q_OBJECT
public:
    explicit ToolTipGate(QObject* parent = nullptr);

    void AddTool(QWidget* control, const QString& text);
    void SetActive(bool active);
    bool IsActive() const { return m_active; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_active = true;
};
