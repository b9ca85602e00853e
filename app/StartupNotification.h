#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QWidget;

// The desktop's start-up notification on X: a launcher announces each start it makes (the busy cursor, a
// "Starting..." entry in the task bar) and hands the program an id in DESKTOP_STARTUP_ID; the program says when
// the start is complete. Qt does that for the first window a copy shows. A second start only brings the running
// copy forward and ends, so it hands its id over, and the running copy says it in its place.
namespace StartupNotification {
// Whether text may serve as a start-up id: ids arrive from other processes, and one is sent back into every
// client's event queue.
bool IsUsableId(const QString& id);

// The message that tells that the start with this id is complete.
QByteArray RemoveMessage(const QString& id);

// On X, for the window about to be raised for the starts with these ids: marks the window with the newest id
// (_NET_STARTUP_ID, by which the window manager judges the activation as the user's own) before it is raised.
// Elsewhere, or without a window, nothing.
void MarkWindow(QWidget* window, const QStringList& ids);

// On X, tells that the starts with these ids are complete; elsewhere nothing.
void Complete(QWidget* window, const QStringList& ids);
} // namespace StartupNotification
