#pragma once

class QWidget;

// What the window manager is asked for a due message, by the freedesktop window-manager hints where the program
// runs on X; elsewhere the toolkit's own request or nothing.

// Puts the window on the workspace in view, so that it is restored where the person is working rather than where
// it was minimized. A window manager without workspaces, a window on every workspace, or a platform other than X
// is left alone.
void MoveToWorkspaceInView(QWidget* window);

// Asks for the person's attention to the window (its task-bar entry), or withdraws the request, including one the
// window manager made itself when it refused the window the foreground.
void RequestAttention(QWidget* window, bool wanted);
