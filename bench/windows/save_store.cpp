// The Windows program's save: SaveAll of 100 full messages (names of 199 bytes, texts of 999) through the
// registry store, as every command that changes the list runs it, timed inside one process under Wine. The store
// is a key of its own under HKEY_CURRENT_USER\Software\Quillmoor, removed at the end. Prints one line per save,
// "save_ms=<milliseconds>", after one save that does not count.
//
// nudgepost_bench_save_win32 [saves]      (default 30)

#include "BenchEntries.h"
#include "RegistryProfileStore.h"
#include "UserPrompts.h"

#include <cstdio>
#include <cstdlib>

using namespace Win32Ui;

namespace {
class SilentPrompts : public UserPrompts {
public:
    void Beep() override {}
    void ErrorBox(const std::string& text, const std::string&) override {
        std::fprintf(stderr, "error box: %s\n", text.c_str());
        failed = true;
    }
    bool AskYesNo(const std::string&, const std::string&) override { return true; }
    bool failed = false;
};

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}
} // namespace

int main(int argc, char** argv) {
    const int saves = argc > 1 ? std::atoi(argv[1]) : 30;
    const std::wstring keyPath = L"Software\\Quillmoor\\nudgepost-bench-save";
    RegDeleteTreeW(HKEY_CURRENT_USER, keyPath.c_str());
    int status = 0;
    {
        RegistryProfileStore store(HKEY_CURRENT_USER, keyPath);
        SilentPrompts prompts;
        ReminderServices services;
        services.store = &store;
        services.prompts = &prompts;
        ReminderModel model(services);
        model.AllocateTable();
        model.LoadAll();
        for (int save = 0; save <= saves && !prompts.failed; ++save) {
            // Every value changes from one save to the next, as after a Delete at the top of the list.
            model.ClearEntries();
            for (int i = 0; i < MESSAGE_TABLE_CAPACITY; ++i)
                model.AppendEntry(Bench::FullEntry(i + save % 2, save % 2 == 1));
            LARGE_INTEGER start;
            LARGE_INTEGER end;
            QueryPerformanceCounter(&start);
            const bool saved = model.SaveAll();
            QueryPerformanceCounter(&end);
            if (!saved) {
                status = 1;
                break;
            }
            if (save > 0)
                std::printf("save_ms=%.3f\n", Milliseconds(start, end));
        }
        status = prompts.failed ? 1 : status;
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, keyPath.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, keyPath.c_str());
    return status;
}
