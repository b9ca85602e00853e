#pragma once

#include "WindowsHeaders.h"

#include <string>

namespace Win32Ui {

// Keeps one copy of the program per store: two copies would overwrite each other's saves. The first copy holds a
// named mutex in the session's namespace, named after the store's key; a later copy finds it taken, brings the
// first copy's window to the front (its open modal window, when it has one) and ends.
class SingleInstance {
public:
    enum class Role { Primary, Secondary, Unguarded };

    explicit SingleInstance(const std::wstring& keyPath);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Role Claim();
    // From a later copy: restores the first copy's main window if it is minimized and brings its foremost window to
    // the front. False when the first copy has no window yet to bring.
    bool ActivatePrimary();
    // The first copy's main window, found from any process of the session (an installer about to replace the
    // program, say); null when no copy runs or it has no window yet.
    HWND PrimaryWindow() const;

    // The name of the mutex; registry keys are compared without regard to case, so the name is too.
    static std::wstring MutexNameFor(const std::wstring& keyPath);

private:
    std::wstring m_name;
    HANDLE m_mutex = nullptr;
    // Holds the thread of the first copy's windows, for a later copy to find them by.
    HANDLE m_shared = nullptr;
};

} // namespace Win32Ui
