#pragma once

// The application object: points the settings at the program's key, runs the main window for the whole run and
// ends the program when it closes.
class CReminderApp {
public:
    // Runs the program inside an existing QApplication; returns the process's exit code.
    int InitInstance();
};
