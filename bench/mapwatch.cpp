// Starts a program on the X display and measures it from outside:
//   - the time from the start until a top-level window with the given title is mapped, taken from the X server's
//     MapNotify event (polling tools such as `xdotool search --sync` look only every half second);
//   - its peak resident memory (VmHWM) and its private anonymous memory (RssAnon), read just before it is stopped;
//   - optionally, over an idle stretch, the CPU time it used and how often its threads woke up (voluntary context
//     switches: each is one sleep, ended by one wake-up).
//
// nudgepost_bench_mapwatch [--title T] [--settle-ms N] [--idle-s N] [--timeout-ms N] -- program [args...]
// Prints one line: map_ms=... hwm_kb=... rss_kb=... anon_kb=... cpu_ms=... wakeups=... threads=...

#include <xcb/xcb.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <map>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {
using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

std::string Property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type) {
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, type, 0, 1024), nullptr);
    std::string value;
    if (reply && reply->type != XCB_ATOM_NONE)
        value.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                     static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    std::free(reply);
    return value;
}

bool ChildEnded(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == pid;
}

// What each thread of the process has used so far, by thread id.
struct ThreadFigures {
    long long cpuNs = 0;
    long long voluntarySwitches = 0;
};
using ProcessFigures = std::map<std::string, ThreadFigures>;

ProcessFigures ReadFigures(pid_t pid) {
    ProcessFigures figures;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir)
        return figures;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        ThreadFigures& f = figures[entry->d_name];
        std::ifstream sched(tasks + "/" + entry->d_name + "/schedstat");
        sched >> f.cpuNs;
        std::ifstream status(tasks + "/" + entry->d_name + "/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
                f.voluntarySwitches = std::atoll(line.c_str() + std::strlen("voluntary_ctxt_switches:"));
    }
    closedir(dir);
    return figures;
}

// What the threads used between two readings, thread by thread: a thread that ended in between (Qt's pooled
// threads end after half a minute of rest) takes its whole count with it and must not make the sum shrink.
ThreadFigures Used(const ProcessFigures& before, const ProcessFigures& after) {
    ThreadFigures used;
    for (const auto& [tid, now] : after) {
        const auto then = before.find(tid);
        used.cpuNs += now.cpuNs - (then == before.end() ? 0 : then->second.cpuNs);
        used.voluntarySwitches += now.voluntarySwitches - (then == before.end() ? 0 : then->second.voluntarySwitches);
    }
    return used;
}

long StatusKb(pid_t pid, const char* field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const std::size_t length = std::strlen(field);
    while (std::getline(status, line))
        if (line.compare(0, length, field) == 0 && line.size() > length && line[length] == ':')
            return std::atol(line.c_str() + length + 1);
    return -1;
}

void Stop(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (ChildEnded(pid))
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

int Usage(const char* self) {
    std::fprintf(stderr, "usage: %s [--title T] [--settle-ms N] [--idle-s N] [--timeout-ms N] -- program [args...]\n",
                 self);
    return 2;
}
} // namespace

int main(int argc, char** argv) {
    std::optional<std::string> title;
    int settleMs = 0;
    int idleS = 0;
    int timeoutMs = 20000;
    int first = 1;
    for (; first < argc; ++first) {
        const std::string arg = argv[first];
        if (arg == "--") {
            ++first;
            break;
        }
        if (first + 1 >= argc)
            return Usage(argv[0]);
        if (arg == "--title")
            title = argv[++first];
        else if (arg == "--settle-ms")
            settleMs = std::atoi(argv[++first]);
        else if (arg == "--idle-s")
            idleS = std::atoi(argv[++first]);
        else if (arg == "--timeout-ms")
            timeoutMs = std::atoi(argv[++first]);
        else
            return Usage(argv[0]);
    }
    if (first >= argc)
        return Usage(argv[0]);

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "mapwatch: cannot open the display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const std::uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &rootMask);
    const xcb_atom_t netWmName = Atom(c, "_NET_WM_NAME");
    const xcb_atom_t utf8 = Atom(c, "UTF8_STRING");
    // A round trip, so that the server watches the root before the program can map anything.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));

    auto titled = [&](xcb_window_t w) {
        std::string name = Property(c, w, netWmName, utf8);
        if (name.empty())
            name = Property(c, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING);
        return title && name == *title;
    };

    const Clock::time_point start = Clock::now();
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[first], nullptr, nullptr, argv + first, environ) != 0) {
        std::fprintf(stderr, "mapwatch: cannot start %s\n", argv[first]);
        return 1;
    }

    double mapMs = -1;
    if (title) {
        // Windows mapped before their title was set are watched for the title arriving later.
        std::vector<xcb_window_t> mappedUntitled;
        const std::uint32_t propertyMask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        while (mapMs < 0) {
            if (MillisecondsSince(start) > timeoutMs || ChildEnded(pid)) {
                std::fprintf(stderr, "mapwatch: no window titled \"%s\" was mapped\n", title->c_str());
                Stop(pid);
                return 1;
            }
            pollfd p{xcb_get_file_descriptor(c), POLLIN, 0};
            poll(&p, 1, 50);
            while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
                const std::uint8_t type = event->response_type & 0x7f;
                if (type == XCB_MAP_NOTIFY) {
                    const xcb_window_t w = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
                    if (titled(w)) {
                        mapMs = MillisecondsSince(start);
                    } else {
                        mappedUntitled.push_back(w);
                        xcb_change_window_attributes(c, w, XCB_CW_EVENT_MASK, &propertyMask);
                        xcb_flush(c);
                    }
                } else if (type == XCB_PROPERTY_NOTIFY) {
                    const xcb_window_t w = reinterpret_cast<xcb_property_notify_event_t*>(event)->window;
                    if (titled(w))
                        mapMs = MillisecondsSince(start);
                }
                std::free(event);
                if (mapMs >= 0)
                    break;
            }
        }
    }

    const auto settleUntil = start + std::chrono::milliseconds(settleMs);
    while (Clock::now() < settleUntil) {
        if (ChildEnded(pid)) {
            std::fprintf(stderr, "mapwatch: the program ended while settling\n");
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }

    double cpuMs = -1;
    long long wakeups = -1;
    if (idleS > 0) {
        const ProcessFigures before = ReadFigures(pid);
        std::this_thread::sleep_for(std::chrono::seconds(idleS));
        if (ChildEnded(pid)) {
            std::fprintf(stderr, "mapwatch: the program ended while idle\n");
            return 1;
        }
        const ThreadFigures used = Used(before, ReadFigures(pid));
        cpuMs = static_cast<double>(used.cpuNs) / 1e6;
        wakeups = used.voluntarySwitches;
    }

    const long hwm = StatusKb(pid, "VmHWM");
    const long rss = StatusKb(pid, "VmRSS");
    const long anon = StatusKb(pid, "RssAnon");
    const int threads = static_cast<int>(ReadFigures(pid).size());
    Stop(pid);
    xcb_disconnect(c);
    std::printf("map_ms=%.1f hwm_kb=%ld rss_kb=%ld anon_kb=%ld cpu_ms=%.2f wakeups=%lld threads=%d\n", mapMs, hwm, rss,
                anon, cpuMs, wakeups, threads);
    return 0;
}
