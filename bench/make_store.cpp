// Writes a store the way the program writes it, for the start-up and idle measurements:
//   nudgepost_bench_makestore <store.conf> <messages> <show minimized: 0 or 1>

#include "BenchEntries.h"
#include "ReminderModel.h"
#include "SettingsProfileStore.h"
#include "UserPrompts.h"

#include <cstdio>
#include <cstdlib>

namespace {
class StderrPrompts : public UserPrompts {
public:
    void Beep() override {}
    void ErrorBox(const std::string& text, const std::string&) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
};
} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <store.conf> <messages> <show minimized>\n", argv[0]);
        return 2;
    }
    SettingsProfileStore store(QString::fromLocal8Bit(argv[1]));
    StderrPrompts prompts;
    ReminderModel state({&store, &prompts, {}, {}});
    state.AllocateTable();
    Bench::FillFullTable(state, std::atoi(argv[2]));
    state.SetOption(Option::ShowMinimized, std::atoi(argv[3]) != 0 ? 1 : 0);
    return state.SaveAll() ? 0 : 1;
}
