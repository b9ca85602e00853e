// Saves the two hammer tables into one store, turn about, through the program's own save path, until it is
// killed. On standard output, "ready" tells the killer that the store is open and the saves begin, and one "s"
// follows every save that has returned.
//
// nudgepost_savehammer <store.conf> <first table: 0 or 1>

#include "HammerTables.h"
#include "ReminderModel.h"
#include "SettingsProfileStore.h"
#include "TestSupport.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <store.conf> <first table>\n", argv[0]);
        return 2;
    }
    SettingsProfileStore store(QString::fromLocal8Bit(argv[1]));
    RecordingPrompts prompts;
    ReminderModel state({&store, &prompts, {}, {}});
    state.AllocateTable();
    int table = std::atoi(argv[2]) == 0 ? 0 : 1;

    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    // A killer that never comes must not leave the hammer running for ever.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        Hammer::Fill(state, table);
        if (!state.SaveAll()) {
            std::fprintf(stderr, "save failed: %s\n", prompts.boxes.empty() ? "" : prompts.boxes[0].text.c_str());
            return 3;
        }
        std::fputc('s', stdout);
        std::fflush(stdout);
        table = 1 - table;
    }
    return 4;
}
