#include "MainWindowRig.h"

#include "TestHarness.h"
#include "TimeMath.h"

using namespace Win32Ui;

MainWindowRig::MainWindowRig(const std::wstring& keyName)
    : key(keyName), prompts([this] { ++beeps; }), now(std::time(nullptr)) {}

void MainWindowRig::Run(const std::vector<Body>& bodies, const char* file, int line) {
    RegistryProfileStore store(HKEY_CURRENT_USER, key.Path());
    ReminderServices services;
    services.store = &store;
    services.prompts = &prompts;
    services.clock = [this] { return now; };
    CMainDialog* running = nullptr;
    // Each body is expected only once the one before has run, so that windows a body expects come before it.
    std::function<void(std::size_t)> expectBody = [&](std::size_t i) {
        driver.Expect(
            L"Nudgepost",
            [&, i](HWND main) {
                bodies[i](main, *running);
                if (i + 1 < bodies.size())
                    expectBody(i + 1);
                else if (exitAfterLastBody && IsWindow(main))
                    Click(main, MainIds::kExit);
            },
            file, line);
    };
    if (!bodies.empty())
        expectBody(0);
    CMainDialog dialog(
        services, [this](HWND window) { prompts.SetOwner(window); },
        [this](HWND window, bool wanted) {
            attention.push_back(wanted);
            FlashTaskBarButton(window, wanted);
        });
    running = &dialog;
    dialog.DoModal();
    prompts.SetOwner(nullptr);
    driver.Done(file, line);
}

void MainWindowRig::StoreMessage(int index, const std::wstring& name, std::time_t when, bool everyDay) {
    const TimeMath::LocalParts local = TimeMath::Local(when);
    const std::wstring section = L"Messages";
    key.SetString(section, Numbered(L"MessageName", index), name);
    key.SetString(section, Numbered(L"MessageText", index), L"Text of " + name);
    key.SetDword(section, Numbered(L"MessageDay", index), local.day);
    key.SetDword(section, Numbered(L"MessageMonth", index), local.month);
    key.SetDword(section, Numbered(L"MessageYear", index), static_cast<std::int32_t>(local.year));
    key.SetDword(section, Numbered(L"MessageMinute", index), local.minute);
    key.SetDword(section, Numbered(L"MessageHour", index), local.hour);
    key.SetDword(section, Numbered(L"MessageShowTime", index), 0);
    key.SetDword(section, Numbered(L"MessageShowEveryTime", index), 0);
    key.SetDword(section, Numbered(L"MessageActive", index), 1);
    key.SetDword(section, Numbered(L"ShowEveryDay", index), everyDay ? 1 : 0);
}

void MainWindowRig::StoreCount(int count) {
    key.SetDword(L"Configuration", L"Number of messages", count);
    for (const wchar_t* option : {L"Activated messages", L"Tooltips", L"Show warnings"})
        key.SetDword(L"Configuration", option, 1);
    key.SetDword(L"Configuration", L"Show minimized", 0);
}

std::vector<std::wstring> ListTexts(HWND main) {
    HWND list = GetDlgItem(main, MainIds::kMessageList);
    std::vector<std::wstring> lines;
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        lines.push_back(text);
    }
    return lines;
}

namespace {
LPARAM LineCentre(HWND list, int index) {
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    return MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
}
} // namespace

void ClickLine(HWND main, int index) {
    HWND list = GetDlgItem(main, MainIds::kMessageList);
    const LPARAM at = LineCentre(list, index);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
}

void DoubleClickLine(HWND main, int index) {
    ClickLine(main, index);
    HWND list = GetDlgItem(main, MainIds::kMessageList);
    const LPARAM at = LineCentre(list, index);
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
}
