// The installer's own step, run before it replaces or removes the program: a copy of Nudgepost that still runs
// would keep its executable open, and the installer would leave the old and the new program half and half. The
// running copy is asked to close through its window, as the user would close it; everything it holds is saved
// already, so nothing is lost.

#include "SingleInstance.h"
#include "WindowsHeaders.h"

#include <msi.h>
#include <msiquery.h>

#include <string>

using namespace Win32Ui;

namespace {
// The store of the installed program: its file name is nudgepost.exe.
const wchar_t* const kInstalledKeyPath = L"Software\\Quillmoor\\nudgepost";
constexpr DWORD kCloseLimitMs = 10000;

int Say(MSIHANDLE install, INSTALLMESSAGE kind, const std::wstring& text) {
    PMSIHANDLE record = MsiCreateRecord(1);
    MsiRecordSetStringW(record, 0, text.c_str());
    return MsiProcessMessage(install, kind, record);
}

// Posts the close to the main window and waits for the process to end; a modal window the user has open (an
// edit in progress, a due message) keeps it running until that window is closed.
bool CloseAndWait(HWND main) {
    DWORD processId = 0;
    GetWindowThreadProcessId(main, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    PostMessageW(main, WM_CLOSE, 0, 0);
    if (!process)
        return false;
    const bool ended = WaitForSingleObject(process, kCloseLimitMs) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}
} // namespace

extern "C" __declspec(dllexport) UINT __stdcall CloseRunningCopy(MSIHANDLE install) {
    SingleInstance guard(kInstalledKeyPath);
    HWND main = guard.PrimaryWindow();
    if (!main)
        return ERROR_SUCCESS;
    // Without a user interface the answer is 0, and Setup goes on.
    const int answer = Say(install, static_cast<INSTALLMESSAGE>(INSTALLMESSAGE_USER | MB_OKCANCEL | MB_ICONINFORMATION),
                           L"Nudgepost is running. Setup will close it now; your messages are kept.\n"
                           L"Choose Cancel to leave it running and stop Setup.");
    if (answer == IDCANCEL)
        return ERROR_INSTALL_USEREXIT;
    for (;;) {
        if (CloseAndWait(main)) {
            Say(install, INSTALLMESSAGE_INFO, L"Nudgepost was running and has been closed.");
            return ERROR_SUCCESS;
        }
        const int retry = Say(install,
                              static_cast<INSTALLMESSAGE>(INSTALLMESSAGE_USER | MB_RETRYCANCEL | MB_ICONWARNING),
                              L"Nudgepost is still running: a window of it is open. Close Nudgepost, then choose "
                              L"Retry.");
        if (retry != IDRETRY) {
            Say(install, INSTALLMESSAGE_INFO, L"Nudgepost is still running; Setup stopped without changing it.");
            return retry == IDCANCEL ? ERROR_INSTALL_USEREXIT : ERROR_INSTALL_FAILURE;
        }
        main = guard.PrimaryWindow();
        if (!main)
            return ERROR_SUCCESS;
    }
}
