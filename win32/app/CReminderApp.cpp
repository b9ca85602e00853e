#include "CReminderApp.h"

#include "ApplicationName.h"
#include "CMainDialog.h"
#include "RegistryProfileStore.h"
#include "SingleInstance.h"
#include "Utf8.h"
#include "Win32Prompts.h"

#include <commctrl.h>
#include <objbase.h>

namespace Win32Ui {

std::wstring CReminderApp::KeyPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::wstring fileName = slash == std::wstring::npos ? path : path.substr(slash + 1);
    return RegistryProfileStore::KeyPathFor(ToWide(kOrganizationName), ToWide(ApplicationNameFor(ToUtf8(fileName))));
}

int CReminderApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES;
    InitCommonControlsEx(&controls);
    // The accessibility service that names the fields for screen readers is a COM object.
    const bool com = SUCCEEDED(CoInitialize(nullptr));

    const std::wstring keyPath = KeyPath();
    SingleInstance instance(keyPath);
    if (instance.Claim() == SingleInstance::Role::Secondary) {
        instance.ActivatePrimary();
    } else {
        RegistryProfileStore store(HKEY_CURRENT_USER, keyPath);
        Win32Prompts prompts;
        ReminderServices services;
        services.store = &store;
        services.prompts = &prompts;
        CMainDialog dialog(services, [&prompts](HWND window) { prompts.SetOwner(window); });
        dialog.DoModal();
    }
    if (com)
        CoUninitialize();
    return 0;
}

} // namespace Win32Ui
