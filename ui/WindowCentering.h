#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

class QWidget;

// Where a window of the given frame size goes: centred on the owner's frame, or on the work area when there is no
// visible owner, then moved as far as needed to lie inside the work area.
QPoint CenteredTopLeft(const QSize& frameSize, const std::optional<QRect>& ownerFrame, const QRect& workArea);
// Centres dialog's frame over owner's frame (or the screen's work area when owner is null, hidden or minimized),
// inside the work area. Called before the first show, it places the window for an estimated frame and places it
// again once it is shown and framed.
void CenterWindow(QWidget* dialog, QWidget* owner);
