#pragma once

#include <QString>

// The application object: points the settings at the program's key, runs the main window for the whole run and
// ends the program when it closes.
class CReminderApp {
public:
    // Runs the program inside an existing QApplication; returns the process's exit code. startupId: the launcher's
    // start-up id from DESKTOP_STARTUP_ID, read before the QApplication was made (Qt on X takes it out of the
    // environment), or empty.
    int InitInstance(const QString& startupId = {});

    // The application name, which names the store: the executable's file name without its last extension, on
    // every system, so that one file name gives one name everywhere ("nudge.post.exe" is "nudge.post").
    static QString ApplicationNameFor(const QString& executablePath);
};
