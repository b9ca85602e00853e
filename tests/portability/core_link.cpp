// A program that calls into every toolkit-free library: loading and saving through the in-memory store, one
// scheduler tick, the schedule texts, the checks of an edited message and the field conversions.

#include "IntParse.h"
#include "MemoryProfileStore.h"
#include "MessageValidation.h"
#include "ReminderModel.h"
#include "ScheduleText.h"
#include "Scheduler.h"
#include "UserPrompts.h"

#include <cstdio>

namespace {
class PrintingPrompts : public UserPrompts {
public:
    void Beep() override {}
    void ErrorBox(const std::string& text, const std::string&) override { std::printf("%s\n", text.c_str()); }
    bool AskYesNo(const std::string&, const std::string&) override { return true; }
};

class MinimizedHost : public SchedulerHost {
public:
    bool IsMainWindowMinimized() override { return true; }
    void RestoreMainWindow() override {}
    void MinimizeMainWindow() override {}
    void BringMainWindowToFront() override {}
    void RunDisplayDialog(const MessageEntry& entry) override { std::printf("%s\n", FormatScheduleLine(entry).c_str()); }
};
} // namespace

int main() {
    MemoryProfileStore store;
    PrintingPrompts prompts;
    ReminderModel state({&store, &prompts, {}, {}});
    state.AllocateTable();
    state.LoadAll();
    MessageEntry entry = state.MakeNewEntry();
    entry.m_nMinute = ParseDialogInt(" 30 ");
    if (const auto error = FindValidationError(entry))
        std::printf("%s\n", error->c_str());
    state.AppendEntry(entry);
    MinimizedHost host;
    Scheduler(state).OnTimer(host, SCHEDULER_TIMER_ID);
    std::printf("%s\n", FormatClockLine(state.Now()).c_str());
    return state.SaveAll() ? 0 : 1;
}
