// The Windows installer, as a user meets it, in a Wine prefix of its own: installed for the user, started,
// removed with the messages kept, installed again with start at sign-in, upgraded in place while the program runs,
// and refused when older than what is installed. The cases build on each other and run in this order.

#include "DialogTemplates.h"
#include "ModalDriver.h"
#include "RunningProgram.h"
#include "ScratchKey.h"
#include "TestHarness.h"
#include "Utf8.h"

#include <msi.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

using namespace Win32Ui;

namespace {
const wchar_t* const kUpgradeCode = L"{07ACBB73-7A64-4847-96E2-A0369EE73982}";
const wchar_t* const kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr DWORD kMsiexecLimitMs = 120000;

std::wstring Environment(const wchar_t* name) {
    wchar_t value[4096];
    const DWORD length = GetEnvironmentVariableW(name, value, 4096);
    return length == 0 || length >= 4096 ? std::wstring() : std::wstring(value, length);
}

// A path on the host reaches the Windows side through the drive that maps the host's root.
std::wstring FromHost(std::wstring path) {
    if (!path.empty() && path[0] == L'/')
        path = L"Z:" + path;
    for (wchar_t& c : path)
        c = c == L'/' ? L'\\' : c;
    return path;
}

const std::wstring& Msi() {
    static const std::wstring path = FromHost(Environment(L"NUDGEPOST_MSI"));
    return path;
}
const std::wstring& UpgradeMsi() {
    static const std::wstring path = FromHost(Environment(L"NUDGEPOST_UPGRADE_MSI"));
    return path;
}

std::wstring Folder(int id) {
    wchar_t path[MAX_PATH];
    return SUCCEEDED(SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : L"";
}
std::wstring InstallFolder() {
    return Folder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Nudgepost";
}
std::wstring InstalledExe() {
    return InstallFolder() + L"\\nudgepost.exe";
}
std::wstring Shortcut() {
    return Folder(CSIDL_PROGRAMS) + L"\\Nudgepost.lnk";
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string FileText(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The exit code of an msiexec started, once it has ended; STILL_ACTIVE when it had to be ended.
DWORD ExitCodeOf(PROCESS_INFORMATION& process) {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, kMsiexecLimitMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// msiexec with these arguments and a log; its exit code, or STILL_ACTIVE when it had to be ended.
DWORD Msiexec(const std::wstring& arguments, const std::wstring& log = L"") {
    std::wstring commandLine = L"msiexec.exe " + arguments;
    if (!log.empty())
        commandLine += L" /l*v \"" + log + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return GetLastError();
    return ExitCodeOf(process);
}

std::wstring LogFile(const wchar_t* name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name;
}

// A log of msiexec is UTF-16 or the system's code page, as the installer chooses; both read alike for plain
// English.
bool LogSays(const std::wstring& log, const std::string& text) {
    std::string content = FileText(log);
    std::string narrow;
    for (char c : content)
        if (c != '\0')
            narrow += c;
    return narrow.find(text) != std::string::npos;
}

// The installed products of the program's family, from the installer's own records.
std::vector<std::wstring> InstalledProducts() {
    std::vector<std::wstring> products;
    wchar_t code[39];
    for (DWORD i = 0; MsiEnumRelatedProductsW(kUpgradeCode, 0, i, code) == ERROR_SUCCESS; ++i)
        products.push_back(code);
    return products;
}

std::wstring RegistryString(HKEY root, const std::wstring& key, const wchar_t* name) {
    wchar_t value[2048];
    DWORD size = sizeof value;
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, value,
                     &size) != ERROR_SUCCESS)
        return L"<missing>";
    return value;
}

// The uninstall entry of a product: the system's own keeps it in the machine's part of the registry or the user's.
struct UninstallEntry {
    HKEY root = nullptr;
    std::wstring key;
    std::wstring Get(const wchar_t* name) const { return root ? RegistryString(root, key, name) : L"<no entry>"; }
};

UninstallEntry FindUninstallEntry(const std::wstring& product) {
    const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + product;
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        if (RegistryString(root, key, L"DisplayName") != L"<missing>")
            return {root, key};
    return {};
}

std::wstring RunValue() {
    return RegistryString(HKEY_CURRENT_USER, kRunKey, L"Nudgepost");
}

struct ShortcutInfo {
    std::wstring target;
    std::wstring icon;
};

// Reads a shell link as the Start menu does.
ShortcutInfo ReadShortcut(const std::wstring& path) {
    ShortcutInfo info;
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return info;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
            wchar_t text[MAX_PATH] = L"";
            if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0)))
                info.target = text;
            int index = 0;
            text[0] = L'\0';
            if (SUCCEEDED(link->GetIconLocation(text, MAX_PATH, &index)))
                info.icon = text;
        }
        file->Release();
    }
    link->Release();
    return info;
}

// A string of the executable's version resource, in the language block it carries.
std::wstring VersionString(const std::wstring& file, const wchar_t* name) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
    if (size == 0)
        return L"<no version resource>";
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data()))
        return L"<unreadable>";
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(data.data(), path.c_str(), &value, &length) || length == 0)
        return L"<missing>";
    return static_cast<const wchar_t*>(value);
}

// The program's store: the installed executable is nudgepost.exe. Emptied once, before the first case.
ScratchKey& Store() {
    static ScratchKey key(L"nudgepost");
    return key;
}
ScratchKey& emptiedFirst = Store();

struct Snapshot {
    std::map<std::wstring, ScratchKey::Value> configuration, messages;
    bool operator==(const Snapshot& other) const {
        return configuration.size() == other.configuration.size() && messages.size() == other.messages.size() &&
               std::equal(configuration.begin(), configuration.end(), other.configuration.begin(), Same) &&
               std::equal(messages.begin(), messages.end(), other.messages.begin(), Same);
    }
    static bool Same(const std::pair<const std::wstring, ScratchKey::Value>& a,
                     const std::pair<const std::wstring, ScratchKey::Value>& b) {
        return a.first == b.first && a.second.type == b.second.type && a.second.data == b.second.data;
    }
};
Snapshot TakeSnapshot() {
    return {Store().Values(L"Configuration"), Store().Values(L"Messages")};
}

// Starts the installed program, hands its main window to the check, and ends it through that window.
template <typename Check> void WithInstalledProgram(Check check) {
    Running running = StartProgram(InstalledExe());
    REQUIRE(running.Started());
    HWND main = WaitForWindow(running, L"Nudgepost");
    CHECK(main != nullptr);
    if (main) {
        check(main);
        PostMessageW(main, WM_CLOSE, 0, 0);
    }
    CHECK_EQ(WaitForExit(running), 0ul);
}

void WriteThreeMessages() {
    const wchar_t* const names[] = {L"Dentist", L"Call Anna", L"Backup"};
    for (int i = 0; i < 3; ++i) {
        Store().SetString(L"Messages", Numbered(L"MessageName", i), names[i]);
        Store().SetString(L"Messages", Numbered(L"MessageText", i), L"Do not forget.");
        Store().SetDword(L"Messages", Numbered(L"MessageDay", i), 12 + i);
        Store().SetDword(L"Messages", Numbered(L"MessageMonth", i), 3);
        Store().SetDword(L"Messages", Numbered(L"MessageYear", i), 2031);
        Store().SetDword(L"Messages", Numbered(L"MessageMinute", i), 30);
        Store().SetDword(L"Messages", Numbered(L"MessageHour", i), 9);
        Store().SetDword(L"Messages", Numbered(L"MessageShowTime", i), 1);
        Store().SetDword(L"Messages", Numbered(L"MessageShowEveryTime", i), 0);
        Store().SetDword(L"Messages", Numbered(L"MessageActive", i), 1);
        Store().SetDword(L"Messages", Numbered(L"ShowEveryDay", i), 0);
    }
    Store().SetDword(L"Configuration", L"Number of messages", 3);
}

BOOL CALLBACK FindBoxWithText(HWND window, LPARAM found) {
    wchar_t name[16] = L"";
    GetClassNameW(window, name, 16);
    // 0xFFFF is the id a message box gives its text.
    if (std::wstring(name) == L"#32770" && IsWindowVisible(window) && !WindowText(GetDlgItem(window, 0xFFFF)).empty())
        *reinterpret_cast<HWND*>(found) = window;
    return *reinterpret_cast<HWND*>(found) ? FALSE : TRUE;
}
HWND FindMessageBox() {
    HWND found = nullptr;
    EnumWindows(&FindBoxWithText, reinterpret_cast<LPARAM>(&found));
    return found;
}

struct ComSession {
    ComSession() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComSession() { CoUninitialize(); }
} com;
} // namespace

TEST_CASE(TheInstallersAreThere) {
    REQUIRE(Exists(Msi()));
    REQUIRE(Exists(UpgradeMsi()));
    REQUIRE(InstalledProducts().empty());
}

TEST_CASE(AnInstallForTheUserPutsTheProgramItsGuideAndItsShortcutInPlace) {
    REQUIRE(Msiexec(L"/i \"" + Msi() + L"\" /qn") == 0);
    CHECK(Exists(InstalledExe()));
    CHECK(Exists(InstallFolder() + L"\\README.TXT"));
    const ShortcutInfo shortcut = ReadShortcut(Shortcut());
    CHECK_EQ(shortcut.target, InstalledExe());
    CHECK(!shortcut.icon.empty());
    // Off unless asked for.
    CHECK_EQ(RunValue(), std::wstring(L"<missing>"));

    const auto products = InstalledProducts();
    REQUIRE(products.size() == 1u);
    const UninstallEntry entry = FindUninstallEntry(products[0]);
    CHECK_EQ(entry.Get(L"DisplayName"), std::wstring(L"Nudgepost"));
    CHECK_EQ(entry.Get(L"DisplayVersion"), Environment(L"NUDGEPOST_VERSION"));
    CHECK_EQ(entry.Get(L"Publisher"), std::wstring(L"Quillmoor"));
    CHECK(entry.Get(L"DisplayIcon").size() > 4);
    // In kilobytes; the program alone is over 100.
    CHECK(_wtoi(entry.Get(L"Size").c_str()) > 100);
    CHECK_EQ(entry.Get(L"InstallLocation"), InstallFolder() + L"\\");

    // The executable says the same version as the package it came in.
    CHECK_EQ(VersionString(InstalledExe(), L"FileVersion"), Environment(L"NUDGEPOST_VERSION"));
    CHECK_EQ(VersionString(InstalledExe(), L"ProductVersion"), Environment(L"NUDGEPOST_VERSION"));
    CHECK_EQ(VersionString(InstalledExe(), L"CompanyName"), std::wstring(L"Quillmoor"));
}

TEST_CASE(TheInstalledProgramStartsAndWritesItsFirstStore) {
    WithInstalledProgram([](HWND) {});
    const auto configuration = Store().Values(L"Configuration");
    CHECK_EQ(configuration.size(), 5u);
    CHECK(configuration.count(L"Number of messages") && configuration.at(L"Number of messages").IsDword(0));
}

TEST_CASE(AnUninstallRemovesTheProgramAndKeepsTheMessages) {
    WriteThreeMessages();
    const Snapshot before = TakeSnapshot();
    REQUIRE(Msiexec(L"/x \"" + Msi() + L"\" /qn") == 0);
    CHECK(!Exists(InstalledExe()));
    CHECK(!Exists(InstallFolder() + L"\\README.TXT"));
    CHECK(!Exists(InstallFolder()));
    CHECK(!Exists(Shortcut()));
    CHECK(InstalledProducts().empty());
    CHECK(TakeSnapshot() == before);
    CHECK_EQ(Store().Values(L"Messages").size(), 33u);
}

TEST_CASE(AnInstallWithStartAtSignInNamesTheInstalledProgramAndShowsTheKeptMessages) {
    const Snapshot before = TakeSnapshot();
    REQUIRE(Msiexec(L"/i \"" + Msi() + L"\" /qn AUTOSTART=1") == 0);
    CHECK_EQ(RunValue(), L"\"" + InstalledExe() + L"\"");
    WithInstalledProgram([](HWND main) {
        CHECK_EQ(SendDlgItemMessageW(main, MainIds::kMessageList, LB_GETCOUNT, 0, 0), 3);
    });
    CHECK(TakeSnapshot() == before);
}

TEST_CASE(AnUpgradeReplacesTheRunningProgramInPlaceAndKeepsWhatTheUserHas) {
    const Snapshot before = TakeSnapshot();
    Running running = StartProgram(InstalledExe());
    REQUIRE(running.Started());
    CHECK(WaitForWindow(running, L"Nudgepost") != nullptr);

    const std::wstring log = LogFile(L"nudgepost-upgrade.log");
    CHECK_EQ(Msiexec(L"/i \"" + UpgradeMsi() + L"\" /qn", log), 0ul);
    // Closed through its window by the installer, not killed.
    CHECK_EQ(WaitForExit(running), 0ul);
    CHECK(LogSays(log, "Nudgepost was running and has been closed."));

    const auto products = InstalledProducts();
    REQUIRE(products.size() == 1u);
    CHECK_EQ(FindUninstallEntry(products[0]).Get(L"DisplayVersion"), Environment(L"NUDGEPOST_UPGRADE_VERSION"));
    CHECK(FileText(InstallFolder() + L"\\README.TXT").find("Upgrade test build") != std::string::npos);
    CHECK(Exists(InstalledExe()));
    // Start at sign-in was on, and stays on.
    CHECK_EQ(RunValue(), L"\"" + InstalledExe() + L"\"");
    CHECK(TakeSnapshot() == before);
}

TEST_CASE(AnOlderVersionOverANewerOneIsRefused) {
    // With its basic user interface, as from a double-click, so that the refusal reaches the user in a box.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"msiexec.exe /i \"" + Msi() + L"\" /qb";
    REQUIRE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &process));
    HWND box = nullptr;
    const ULONGLONG until = GetTickCount64() + kMsiexecLimitMs;
    while (!box && GetTickCount64() < until && WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT)
        box = FindMessageBox();
    CHECK(box != nullptr);
    if (box) {
        CHECK_EQ(WindowText(GetDlgItem(box, 0xFFFF)),
                 std::wstring(L"A later version of Nudgepost is already installed. To go back to this version, "
                              L"uninstall the later one first; your messages stay."));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    const DWORD code = ExitCodeOf(process);
    CHECK(code != 0 && code != STILL_ACTIVE);

    const auto products = InstalledProducts();
    REQUIRE(products.size() == 1u);
    CHECK_EQ(FindUninstallEntry(products[0]).Get(L"DisplayVersion"), Environment(L"NUDGEPOST_UPGRADE_VERSION"));
    CHECK(FileText(InstallFolder() + L"\\README.TXT").find("Upgrade test build") != std::string::npos);
}

TEST_CASE(AnUninstallRemovesStartAtSignIn) {
    const Snapshot before = TakeSnapshot();
    REQUIRE(Msiexec(L"/x \"" + UpgradeMsi() + L"\" /qn") == 0);
    CHECK_EQ(RunValue(), std::wstring(L"<missing>"));
    CHECK(!Exists(InstallFolder()));
    CHECK(!Exists(Shortcut()));
    CHECK(InstalledProducts().empty());
    CHECK(TakeSnapshot() == before);
}
