// The program killed in the middle of its saves: run by killed-saves.sh, which starts the program and kills it
// with SIGKILL when asked. On a store of 100 long messages, each of four commands (Delete, Clear all, an edit and
// an option click) is run once to its end, which gives the state after it and how long its save takes, and then
// again and again, each time killed at another moment spread over that time after the key that starts it. Every
// kill is followed by a start of the program, whose store must hold, value by value, the state before the command
// or the state after it, with no box. Exits with the number of starts that found anything else.
//
// To killed-saves.sh one request a line on standard output, one answer a line on standard input:
//   start  -> started      the program is started
//   kill   -> killed       the program is killed with SIGKILL, and reaped
//   wait   -> exited N     the program has ended by itself
// Everything else it prints is passed on to the log.

#include "DialogTemplates.h"
#include "ScratchKey.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>

namespace {
// The store of the program's copy that killed-saves.sh starts, "NudgepostKilledSaves.exe".
const wchar_t* const kKeyName = L"NudgepostKilledSaves";
constexpr int kKillsPerCommand = 14;
constexpr DWORD kLimitMs = 10000;
// A start of the program under Wine, on a machine busy with other builds, has been seen to take longer than the
// other steps' limit; waiting longer for it costs nothing when it comes at once.
constexpr DWORD kStartLimitMs = 30000;

std::string Ask(const char* request) {
    std::printf("%s\n", request);
    std::fflush(stdout);
    char answer[128] = {};
    if (!std::fgets(answer, sizeof answer, stdin))
        return {};
    std::string text(answer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

template <class... Args> void Log(const char* format, Args... args) {
    std::fprintf(stderr, format, args...);
    std::fflush(stderr);
}

double Now() {
    LARGE_INTEGER counter;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HWND VisibleWindow(const wchar_t* title) {
    HWND window = FindWindowW(L"#32770", title);
    return window && IsWindowVisible(window) ? window : nullptr;
}

// Why a start did not reach the command, for the log.
const char* WhyNotUp(HWND main, bool errorBox) {
    if (errorBox)
        return "it showed an error box";
    return main ? "its list could not be brought to the command" : "its window did not come in time";
}

// The program's main window, once it is up and idle; null when an error box comes instead, or nothing in time.
HWND WaitForMainWindow(bool& errorBox) {
    errorBox = false;
    const ULONGLONG until = GetTickCount64() + kStartLimitMs;
    while (GetTickCount64() < until) {
        if (VisibleWindow(L"Error")) {
            errorBox = true;
            return nullptr;
        }
        if (HWND main = VisibleWindow(L"Nudgepost")) {
            DWORD_PTR result = 0;
            if (SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kLimitMs, &result))
                return main;
        }
        Sleep(5);
    }
    return nullptr;
}

// A killed program's windows go once the Wine server has noticed its end; only then may the next copy start, or
// it would find the killed one's mutex and hand over to it.
bool WaitUntilGone() {
    const ULONGLONG until = GetTickCount64() + kLimitMs;
    while (FindWindowW(L"#32770", L"Nudgepost") || FindWindowW(L"#32770", L"Error")) {
        if (GetTickCount64() > until)
            return false;
        Sleep(5);
    }
    return true;
}

// 100 messages as long as the store keeps them, confirmations off so that Delete and Clear all save at once.
void FillStore(ScratchKey& key) {
    key.Clear();
    key.SetDword(L"Configuration", L"Number of messages", 100);
    key.SetDword(L"Configuration", L"Activated messages", 1);
    key.SetDword(L"Configuration", L"Tooltips", 1);
    key.SetDword(L"Configuration", L"Show warnings", 0);
    key.SetDword(L"Configuration", L"Show minimized", 0);
    for (int i = 0; i < 100; ++i) {
        std::wstring name = L"Message " + std::to_wstring(i) + L" ";
        name.resize(199, L'n');
        std::wstring text = L"Text of message " + std::to_wstring(i) + L", written out to the full length. ";
        text.resize(999, L't');
        key.SetString(L"Messages", Numbered(L"MessageName", i), name);
        key.SetString(L"Messages", Numbered(L"MessageText", i), text);
        key.SetDword(L"Messages", Numbered(L"MessageDay", i), 1 + i % 28);
        key.SetDword(L"Messages", Numbered(L"MessageMonth", i), 1 + i % 12);
        key.SetDword(L"Messages", Numbered(L"MessageYear", i), 2030);
        key.SetDword(L"Messages", Numbered(L"MessageMinute", i), (i * 7) % 60);
        key.SetDword(L"Messages", Numbered(L"MessageHour", i), i % 24);
        key.SetDword(L"Messages", Numbered(L"MessageShowTime", i), i % 5);
        key.SetDword(L"Messages", Numbered(L"MessageShowEveryTime", i), i % 3 == 0 ? 15 : 0);
        key.SetDword(L"Messages", Numbered(L"MessageActive", i), 1);
        key.SetDword(L"Messages", Numbered(L"ShowEveryDay", i), 0);
    }
}

struct Sections {
    std::map<std::wstring, ScratchKey::Value> configuration;
    std::map<std::wstring, ScratchKey::Value> messages;
    bool operator==(const Sections&) const = default;
};

Sections SectionsOf(const ScratchKey& key) {
    return {key.Values(L"Configuration"), key.Values(L"Messages")};
}

struct Command {
    const char* name;
    // Everything up to the key that starts the save; false when the program did not get that far.
    std::function<bool(HWND main)> prepare;
    // The key itself, posted so that this process goes on at once.
    std::function<void(HWND main)> start;
};

HWND g_editor = nullptr;

bool MarkLine(HWND main) {
    return SendDlgItemMessageW(main, MainIds::kMessageList, LB_SETCURSEL, 10, 0) == 10;
}

const Command kCommands[] = {
    {"Delete", MarkLine,
     [](HWND main) { PostMessageW(main, WM_COMMAND, MAKEWPARAM(MainIds::kDeleteMarked, BN_CLICKED), 0); }},
    {"Clear all", [](HWND) { return true; },
     [](HWND main) { PostMessageW(main, WM_COMMAND, MAKEWPARAM(MainIds::kClearAll, BN_CLICKED), 0); }},
    {"Edit",
     [](HWND main) {
         if (!MarkLine(main))
             return false;
         PostMessageW(main, WM_COMMAND, MAKEWPARAM(MainIds::kEditMarked, BN_CLICKED), 0);
         const ULONGLONG until = GetTickCount64() + kLimitMs;
         g_editor = nullptr;
         while (!g_editor && GetTickCount64() < until) {
             HWND candidate = FindWindowExW(nullptr, nullptr, L"#32770", nullptr);
             for (; candidate; candidate = FindWindowExW(nullptr, candidate, L"#32770", nullptr)) {
                 if (candidate != main && IsWindowVisible(candidate) && GetDlgItem(candidate, EditIds::kText))
                     g_editor = candidate;
             }
             Sleep(5);
         }
         if (!g_editor)
             return false;
         HWND name = GetDlgItem(g_editor, EditIds::kName);
         SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"An edited message"));
         SendMessageW(g_editor, WM_COMMAND, MAKEWPARAM(EditIds::kName, EN_KILLFOCUS), reinterpret_cast<LPARAM>(name));
         return true;
     },
     [](HWND) { PostMessageW(g_editor, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }},
    {"Option click", [](HWND) { return true; },
     [](HWND main) { PostMessageW(GetDlgItem(main, MainIds::kShowTooltips), BM_CLICK, 0, 0); }},
};

struct Counts {
    int before = 0;
    int after = 0;
    int other = 0;
    int journalFound = 0;
};
} // namespace

int main() {
    ScratchKey key(kKeyName);
    FillStore(key);
    const Sections before = SectionsOf(key);
    Counts total;
    int failures = 0;
    for (const Command& command : kCommands) {
        // Run to its end: the state after, and how long from the key until the store holds it.
        FillStore(key);
        if (!WaitUntilGone() || Ask("start") != "started")
            return 100;
        bool errorBox = false;
        HWND main = WaitForMainWindow(errorBox);
        if (!main || !command.prepare(main)) {
            Log("%s: the program did not come up for the run to the end: %s\n", command.name,
                WhyNotUp(main, errorBox));
            Ask("kill");
            return 100;
        }
        // The save runs from the moment its journal appears until it is gone again. (A build without the journal
        // shows none: its save is taken to run from the key until the sections have changed.)
        const double keyPressed = Now();
        command.start(main);
        double saveStart = -1;
        double saveEnd = -1;
        while (Now() - keyPressed < kLimitMs && saveEnd < 0) {
            const bool journal = key.HasSection(L"Journal");
            if (journal && saveStart < 0)
                saveStart = Now() - keyPressed;
            else if (!journal && saveStart >= 0)
                saveEnd = Now() - keyPressed;
            // A short save can come and go between two looks: then its settings have changed all at once.
            else if (saveStart < 0 && !(key.Values(L"Configuration") == before.configuration))
                saveStart = saveEnd = Now() - keyPressed;
            else if (saveStart < 0 && Now() - keyPressed > 1000 && !(SectionsOf(key) == before))
                saveStart = 0, saveEnd = Now() - keyPressed;
        }
        DWORD_PTR idle = 0;
        SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kLimitMs, &idle);
        const Sections after = SectionsOf(key);
        PostMessageW(main, WM_CLOSE, 0, 0);
        Ask("wait");
        if (saveEnd < 0 || after == before) {
            Log("%s: the run to the end never saved\n", command.name);
            return 100;
        }
        // The kills are spread evenly from the key to well after the save: from one start to the next the save
        // comes earlier or later, by as much again as it took on a busy machine, and the kills must still fall
        // on both sides of it and inside it.
        const double first = 0;
        const double last = saveEnd * 1.5 + 20;
        Log("%s: the save ran from %.1f to %.1f ms after the key; kills from %.1f to %.1f ms\n", command.name,
            saveStart, saveEnd, first, last);

        Counts counts;
        int kills = 0;
        // Kills spread evenly from `from` to `to`; false when the program could not be brought to the command.
        const auto killSpread = [&](double from, double to, int count) {
            for (int kill = 0; kill < count; ++kill) {
                const double delay = from + (to - from) * kill / (count - 1);
                ++kills;
                FillStore(key);
                if (!WaitUntilGone() || Ask("start") != "started")
                    return false;
                main = WaitForMainWindow(errorBox);
                if (!main || !command.prepare(main)) {
                    Log("%s: the program did not come up before kill %d: %s\n", command.name, kills,
                        WhyNotUp(main, errorBox));
                    Ask("kill");
                    return false;
                }
                const double pressed = Now();
                command.start(main);
                while (Now() - pressed < delay) {
                }
                Ask("kill");
                counts.journalFound += key.HasSection(L"Journal") ? 1 : 0;

                // The next start, as the user would start the program again.
                if (!WaitUntilGone() || Ask("start") != "started")
                    return false;
                HWND next = WaitForMainWindow(errorBox);
                const Sections found = SectionsOf(key);
                const bool journalLeft = key.HasSection(L"Journal");
                if (next && !journalLeft && found == before) {
                    ++counts.before;
                } else if (next && !journalLeft && found == after) {
                    ++counts.after;
                } else {
                    ++counts.other;
                    Log("%s, kill %d at %.1f ms: the next start %s\n", command.name, kills, delay,
                        errorBox      ? "showed an error box"
                        : !next       ? "never showed its window"
                        : journalLeft ? "left the journal behind"
                                      : "found neither the state before nor the state after");
                }
                if (next) {
                    PostMessageW(next, WM_CLOSE, 0, 0);
                    Ask("wait");
                } else {
                    Ask("kill");
                }
            }
            return true;
        };
        if (!killSpread(first, last, kKillsPerCommand))
            return 100;
        // On a busy machine the save can come much earlier or later than it did in the run to the end: more kills
        // where a side was missed, before the save or after it.
        for (int extra = 0; extra < 3 && (counts.before == 0 || counts.after == 0); ++extra) {
            const bool early = counts.before == 0;
            if (!killSpread(early ? 0 : saveEnd, early ? saveStart : last * 2, 4))
                return 100;
        }
        Log("%s: %d kills, before %d, after %d, other %d (a journal was there at %d of the kills)\n", command.name,
            kills, counts.before, counts.after, counts.other, counts.journalFound);
        total.before += counts.before;
        total.after += counts.after;
        total.other += counts.other;
        total.journalFound += counts.journalFound;
        // Kills on both sides of the moment the save takes effect, or they did not fall inside it.
        if (counts.before == 0 || counts.after == 0) {
            Log("%s: the kills did not fall on both sides of the save\n", command.name);
            ++failures;
        }
    }
    Log("all commands: %d kills, before %d, after %d, other %d\n", total.before + total.after + total.other,
        total.before, total.after, total.other);
    return total.other + failures;
}
