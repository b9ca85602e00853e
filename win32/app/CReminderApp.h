#pragma once

#include <string>

namespace Win32Ui {

// The application: points the store at the program's key, keeps to one copy per store, runs the main window for
// the whole run and ends the program when it closes.
class CReminderApp {
public:
    // Returns the process's exit code.
    int InitInstance();

    // The program's key under HKEY_CURRENT_USER, named after the executable's file name.
    static std::wstring KeyPath();
};

} // namespace Win32Ui
