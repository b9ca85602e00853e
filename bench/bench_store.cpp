// Loading and saving a full table through the real QSettings store, each beside its floor: the same number of
// bytes read, or written and renamed into place, with plain C++ streams in the same folder. And one scheduler tick
// over a full table. scripts/bench.sh turns the medians into ratios.

#include "BenchEntries.h"
#include "MemoryProfileStore.h"
#include "ReminderModel.h"
#include "Scheduler.h"
#include "SettingsProfileStore.h"
#include "UserPrompts.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>

namespace {
class QuietPrompts : public UserPrompts {
public:
    void Beep() override {}
    void ErrorBox(const std::string& text, const std::string&) override {
        std::fprintf(stderr, "unexpected message: %s\n", text.c_str());
        std::abort();
    }
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
};

// One folder for the whole run, with a store of 100 full entries written by the program's own save.
struct Fixture {
    Fixture() {
        store = dir.filePath(QStringLiteral("nudgepost.conf")).toStdString();
        SettingsProfileStore settings(QString::fromStdString(store));
        QuietPrompts prompts;
        ReminderModel state({&settings, &prompts, {}, {}});
        state.AllocateTable();
        Bench::FillFullTable(state);
        if (!state.SaveAll())
            std::abort();
        std::ifstream in(store, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }

    QTemporaryDir dir;
    std::string store;
    std::string bytes;
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void BM_LoadAll_Settings(benchmark::State& run) {
    const Fixture& f = Shared();
    QuietPrompts prompts;
    for (auto _ : run) {
        // Opening the store parses the file: a start of the program reads it exactly so.
        SettingsProfileStore settings(QString::fromStdString(f.store));
        ReminderModel state({&settings, &prompts, {}, {}});
        state.AllocateTable();
        state.LoadAll();
        if (state.Count() != MESSAGE_TABLE_CAPACITY)
            run.SkipWithError("the table did not load whole");
        benchmark::DoNotOptimize(&state.Entry(0));
    }
    run.SetBytesProcessed(static_cast<std::int64_t>(run.iterations() * f.bytes.size()));
}

void BM_LoadAll_Floor(benchmark::State& run) {
    const Fixture& f = Shared();
    for (auto _ : run) {
        std::ifstream in(f.store, std::ios::binary | std::ios::ate);
        std::string content(static_cast<std::size_t>(in.tellg()), '\0');
        in.seekg(0);
        if (!in.read(content.data(), static_cast<std::streamsize>(content.size())) || content.size() != f.bytes.size())
            run.SkipWithError("short read");
        benchmark::DoNotOptimize(content.data());
    }
    run.SetBytesProcessed(static_cast<std::int64_t>(run.iterations() * f.bytes.size()));
}

void BM_SaveAll_Settings(benchmark::State& run) {
    const Fixture& f = Shared();
    const std::string path = f.Path("save.conf");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << f.bytes;
    }
    SettingsProfileStore settings(QString::fromStdString(path));
    QuietPrompts prompts;
    ReminderModel state({&settings, &prompts, {}, {}});
    state.AllocateTable();
    state.LoadAll();
    int day = 0;
    for (auto _ : run) {
        // One entry changed, as after an edit; SaveAll writes the whole table all the same.
        state.ScheduledEntry(0).m_nDay = 1 + (++day % 28);
        if (!state.SaveAll())
            run.SkipWithError("save failed");
    }
    run.SetBytesProcessed(static_cast<std::int64_t>(run.iterations() * f.bytes.size()));
}

void BM_SaveAll_Floor(benchmark::State& run) {
    const Fixture& f = Shared();
    const std::string temporary = f.Path("floor.conf.new");
    const std::string target = f.Path("floor.conf");
    for (auto _ : run) {
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            out.write(f.bytes.data(), static_cast<std::streamsize>(f.bytes.size()));
            if (!out.flush())
                run.SkipWithError("write failed");
        }
        if (std::rename(temporary.c_str(), target.c_str()) != 0)
            run.SkipWithError("rename failed");
    }
    run.SetBytesProcessed(static_cast<std::int64_t>(run.iterations() * f.bytes.size()));
}

// Not a floor the target is measured against: what syncing the data to disk before the rename adds, as QSaveFile
// does, so that the table can tell the cost of durability from the cost of QSettings.
void BM_SaveAll_FloorSynced(benchmark::State& run) {
    const Fixture& f = Shared();
    const std::string temporary = f.Path("synced.conf.new");
    const std::string target = f.Path("synced.conf");
    for (auto _ : run) {
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            out.write(f.bytes.data(), static_cast<std::streamsize>(f.bytes.size()));
            if (!out.flush())
                run.SkipWithError("write failed");
        }
        const int fd = ::open(temporary.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || ::fdatasync(fd) != 0)
            run.SkipWithError("sync failed");
        if (fd >= 0)
            ::close(fd);
        if (std::rename(temporary.c_str(), target.c_str()) != 0)
            run.SkipWithError("rename failed");
    }
    run.SetBytesProcessed(static_cast<std::int64_t>(run.iterations() * f.bytes.size()));
}

class BenchHost : public SchedulerHost {
public:
    explicit BenchHost(bool minimized) : m_minimized(minimized) {}
    bool IsMainWindowMinimized() override { return m_minimized; }
    void RestoreMainWindow() override {}
    void MinimizeMainWindow() override {}
    void BringMainWindowToFront() override {}
    void RunDisplayDialog(const MessageEntry&) override { ++displays; }
    int displays = 0;

private:
    bool m_minimized;
};

// 100 entries, half of them every-day with a time of day still to come, half dated in 2030: the showing pass
// looks at every one and shows none.
void BM_SchedulerTick(benchmark::State& run, bool minimized) {
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 4;
    local.tm_mday = 20;
    local.tm_hour = 0;
    local.tm_min = 0;
    local.tm_sec = 30;
    local.tm_isdst = -1;
    const std::time_t now = std::mktime(&local);

    QuietPrompts prompts;
    MemoryProfileStore store;
    ReminderModel state({&store, &prompts, [now] { return now; }, {}});
    state.AllocateTable();
    for (int i = 0; i < MESSAGE_TABLE_CAPACITY; ++i) {
        MessageEntry e = Bench::FullEntry(i, i % 2 == 0);
        if (e.m_bEveryDay)
            e.m_nHour = 1 + i % 23;
        state.AppendEntry(e);
    }
    BenchHost host(minimized);
    for (auto _ : run)
        Scheduler(state).OnTimer(host, SCHEDULER_TIMER_ID);
    if (host.displays != 0)
        run.SkipWithError("something was due");
}
} // namespace

BENCHMARK(BM_LoadAll_Settings)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadAll_Floor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveAll_Settings)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveAll_Floor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveAll_FloorSynced)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SchedulerTick, restored, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SchedulerTick, minimized_nothing_due, true)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
