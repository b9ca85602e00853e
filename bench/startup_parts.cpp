// Where start-up goes: the parts of the program's start-up, timed one after another inside one process in the
// order the program meets them, each with the resident memory it adds.
//
//   nudgepost_bench_startup <store.conf> [--without-group-boxes]
//
// The process starts itself again and hands the copy the moment it did so, which the copy takes away from the
// moment its main() is reached: that is the time the dynamic loader spends on the libraries, and the memory
// resident at main() is theirs. nudgepost_bench_startup_base, built from this file with Qt Widgets alone, stops
// after the first line of text: the yardstick for what the program's own libraries add.
//
// The parts after the application object are measured on their own before the main window is built: the first
// line of text drawn (the font configuration, which the minimal dialog with one line of text pays too), the store
// read, the icon as the window system receives it, the main window's controls (the dialog font and the style;
// "--without-group-boxes" builds them without the group boxes, whose cost is the difference between the two
// runs), and the list filled with every stored message. Last comes the main window itself, built and shown until
// the X server exposes it; what it still costs after the parts above have warmed their caches is the rest.
// Prints one line of key=value pairs (milliseconds, kibibytes).

#include <QApplication>
#include <QLabel>
#include <QWindow>

#ifndef NUDGEPOST_BENCH_BASE
#include "AppIcon.h"
#include "CMainDialog.h"
#include "DialogBuilder.h"
#include "MessageList.h"
#include "SettingsProfileStore.h"
#include "UserPrompts.h"

#include <QDialog>
#include <QListView>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <time.h>

extern char** environ;

namespace {
constexpr const char* kSpawnedAt = "NUDGEPOST_BENCH_SPAWNED_NS";

long long MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

long StatusKb(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t length = std::strlen(key);
    while (std::getline(status, line)) {
        if (line.compare(0, length, key) == 0 && line.size() > length && line[length] == ':')
            return std::strtol(line.c_str() + length + 1, nullptr, 10);
    }
    return 0;
}

// One part: the time since the last mark and the resident memory added since then.
class Marks {
public:
    explicit Marks(long long startNs) : m_lastNs(startNs) {}
    void Mark(const char* part) {
        const long long now = MonotonicNs();
        const long rss = StatusKb("VmRSS");
        std::printf("%s_ms=%.2f %s_kb=%ld ", part, static_cast<double>(now - m_lastNs) / 1e6, part, rss - m_lastKb);
        m_lastNs = MonotonicNs();
        m_lastKb = StatusKb("VmRSS");
    }

private:
    long long m_lastNs;
    long m_lastKb = 0;
};

int Parent(char** argv) {
    const std::string spawnedAt = std::string(kSpawnedAt) + "=" + std::to_string(MonotonicNs());
    putenv(const_cast<char*>(spawnedAt.c_str()));
    pid_t pid = 0;
    if (posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv, environ) != 0) {
        std::perror("posix_spawn");
        return 1;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

#ifndef NUDGEPOST_BENCH_BASE
class SilentPrompts : public UserPrompts {
public:
    void Beep() override {}
    void ErrorBox(const std::string& text, const std::string&) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
};

// Builds the main window's controls from a template and draws them once, off the screen.
void BuildAndDraw(const DialogTemplate& tpl) {
    QDialog dialog;
    BuildDialog(&dialog, tpl);
    dialog.grab();
}

// Ends the modal run of a dialog as soon as the X server has exposed its window.
class ExposeWatch : public QObject {
public:
    explicit ExposeWatch(QDialog* dialog) : m_dialog(dialog) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && watched == m_dialog->windowHandle() && m_dialog->windowHandle()->isExposed())
            QMetaObject::invokeMethod(m_dialog, [this] { m_dialog->done(0); }, Qt::QueuedConnection);
        return false;
    }

private:
    QDialog* m_dialog;
};
#endif
} // namespace

int main(int argc, char** argv) {
    const char* spawnedAt = std::getenv(kSpawnedAt);
    if (!spawnedAt)
        return Parent(argv);
    Marks marks(std::atoll(spawnedAt));
    marks.Mark("libraries");

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quillmoor"));
    marks.Mark("application");
    {
        // What the minimal dialog with one line of text pays too: the font configuration, read when text is first
        // laid out and drawn.
        QLabel label(QStringLiteral("Nudgepost"));
        label.grab();
    }
    marks.Mark("text");
#ifndef NUDGEPOST_BENCH_BASE
    const bool withoutGroupBoxes = argc == 3 && std::strcmp(argv[2], "--without-group-boxes") == 0;
    if (argc != 2 && !withoutGroupBoxes) {
        std::fprintf(stderr, "usage: %s <store.conf> [--without-group-boxes]\n", argv[0]);
        return 2;
    }
    const QString storeFile = QString::fromLocal8Bit(argv[1]);
    SilentPrompts prompts;
    DialogTemplate controls = MainDialogTemplate();
    if (withoutGroupBoxes) {
        std::erase_if(controls.controls,
                      [](const ControlTemplate& control) { return (control.style & Style::GroupBox) != 0; });
    }
    {
        SettingsProfileStore store(storeFile);
        ReminderModel state({&store, &prompts, {}, {}});
        state.AllocateTable();
        state.LoadAll();
        marks.Mark("store");

        const QIcon icon = AppIcon();
        for (const QSize& size : icon.availableSizes())
            [[maybe_unused]] const QImage image = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        marks.Mark("icon");

        BuildAndDraw(controls);
        marks.Mark("controls");

        QListView list;
        list.setUniformItemSizes(true);
        auto* lines = new MessageListModel(&list);
        list.setModel(lines);
        // The state column at its tab stop, as the main window sets it.
        const int tabStop =
            DialogUnitsToPixels(QSize(MainIds::kListTabStop, 0), BaseUnitsForFont(DialogFont(controls))).width();
        auto* delegate = new MessageListDelegate(tabStop, list.font(), &list);
        list.setItemDelegate(delegate);
        for (int i = 0; i < state.Count(); ++i) {
            const std::string line = FormatListLine(state.Entry(i));
            delegate->Fit(QString::fromStdString(line), list.font());
            lines->AddLine(line, state.Entry(i).m_szName);
        }
        list.resize(500, 200);
        list.grab();
        marks.Mark("list");
    }

    {
        SettingsProfileStore store(storeFile);
        ReminderServices services;
        services.store = &store;
        services.prompts = &prompts;
        CMainDialog dialog(services);
        ExposeWatch watch(&dialog);
        app.installEventFilter(&watch);
        dialog.DoModal();
        app.removeEventFilter(&watch);
        marks.Mark("window");
    }
#endif
    std::printf("hwm_kb=%ld\n", StatusKb("VmHWM"));
    return 0;
}
