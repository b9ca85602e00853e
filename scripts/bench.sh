#!/usr/bin/env bash
# `make bench`: builds a release build with the benchmarks into build-bench/ and measures, side by side in one run
# (absolute times vary from machine to machine, the ratios much less):
#   1. LoadAll and SaveAll of 100 full entries through the QSettings store, each against its floor with plain
#      C++ streams, and one scheduler tick over 100 entries (Google Benchmark, medians of 5 repetitions);
#   2. start-up until the main window is mapped and peak resident memory, under Xvfb with 100 stored messages,
#      against a minimal Qt Widgets program (one empty QDialog), run alternately;
#   3. the idle cost of the program minimized with 100 messages none of them due: CPU time and wake-ups;
#   4. what each part of start-up adds, timed inside one process (nudgepost_bench_startup), against the same
#      process with Qt Widgets alone;
#   5. the cost of one exclamation sound on the GUI thread, with whatever sound system this machine offers.
# Prints the table and writes it, with the machine it ran on, to bench/RESULTS.md.
#   BENCH_RUNS          start-up runs of each program (default 10)
#   BENCH_IDLE_SECONDS  length of the idle measurement (default 60)
#   BENCH_BUILD_DIR     the release build folder (default build-bench)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BENCH_BUILD_DIR:-build-bench}
runs=${BENCH_RUNS:-10}
idle_seconds=${BENCH_IDLE_SECONDS:-60}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
results=bench/RESULTS.md

for tool in Xvfb awk dbus-daemon; do
    command -v "$tool" >/dev/null || { echo "bench: $tool is missing (scripts/install-deps.sh test installs it)" >&2; exit 1; }
done

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNUDGEPOST_BENCH=ON -DNUDGEPOST_TESTS=OFF
cmake --build "$build" -j "$jobs" --target nudgepost nudgepost_bench_store nudgepost_bench_makestore \
    nudgepost_bench_minimal nudgepost_bench_mapwatch nudgepost_bench_startup nudgepost_bench_startup_base
bin=$PWD/$build/bin

work=$(mktemp -d "${TMPDIR:-/tmp}/nudgepost-bench.XXXXXX")
xvfb_pid=
bus_pid=
cleanup() {
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    if [ -n "$bus_pid" ]; then kill "$bus_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=scripts/bench-lib.sh
. scripts/bench-lib.sh

# ---------------------------------------------------------------------------------------------------------------
echo "== 1. store and scheduler"
"$bin/nudgepost_bench_store" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$work/store.csv" --benchmark_out_format=csv
# Median real time in microseconds of one benchmark.
bm() { awk -F, -v name="\"$1_median\"" '$1 == name { t = $3; u = $5
        if (u == "ns") t /= 1000; else if (u == "ms") t *= 1000; else if (u == "s") t *= 1e6
        printf "%.2f", t }' "$work/store.csv"; }
load_us=$(bm BM_LoadAll_Settings)
load_floor_us=$(bm BM_LoadAll_Floor)
save_us=$(bm BM_SaveAll_Settings)
save_floor_us=$(bm BM_SaveAll_Floor)
save_synced_us=$(bm BM_SaveAll_FloorSynced)
tick_restored_us=$(bm BM_SchedulerTick/restored)
tick_minimized_us=$(bm BM_SchedulerTick/minimized_nothing_due)
"$bin/nudgepost_bench_makestore" "$work/size.conf" 100 0
store_bytes=$(stat -c %s "$work/size.conf")

# ---------------------------------------------------------------------------------------------------------------
echo "== 2. start-up and memory under Xvfb, $runs runs of each"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "bench: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(tr -d '\n' <"$work/display")"
export QT_QPA_PLATFORM=xcb XDG_SESSION_TYPE=x11
# A session bus of its own, as every desktop session has: Qt's integration connects to it in every program, and
# without one the bus library tries to start one for each program that asks.
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$work/bus-address" 4>"$work/bus-pid"
bus_pid=$(tr -d '\n' <"$work/bus-pid")
DBUS_SESSION_BUS_ADDRESS=$(tr -d '\n' <"$work/bus-address")
export DBUS_SESSION_BUS_ADDRESS
unset WAYLAND_DISPLAY

# One program copy: a fresh configuration home (the program allows one running copy per store), its own runtime
# and temporary folders. Prints mapwatch's line.
run_copy() { # <label> <show minimized or "-" for the minimal program> <mapwatch options...> -- <program args...>
    local home="$work/$1" minimized=$2
    shift 2
    mkdir -p "$home/config" "$home/runtime"
    chmod 700 "$home/runtime"
    if [ "$minimized" != "-" ]; then
        "$bin/nudgepost_bench_makestore" "$home/config/Quillmoor/nudgepost.conf" 100 "$minimized"
    fi
    XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/runtime" TMPDIR="$home/runtime" \
        "$bin/nudgepost_bench_mapwatch" "$@"
}

# Font caches and the page cache are warmed by one run of each that does not count.
run_copy warm-nudgepost 0 --title Nudgepost --settle-ms 1000 -- "$bin/nudgepost" >/dev/null
run_copy warm-minimal - --title Nudgepost --settle-ms 1000 -- "$bin/nudgepost_bench_minimal" >/dev/null
: >"$work/startup-nudgepost"
: >"$work/startup-minimal"
: >"$work/startup-label"
for i in $(seq "$runs"); do
    run_copy "nudgepost-$i" 0 --title Nudgepost --settle-ms 1000 -- "$bin/nudgepost" | tee -a "$work/startup-nudgepost"
    run_copy "minimal-$i" - --title Nudgepost --settle-ms 1000 -- "$bin/nudgepost_bench_minimal" |
        tee -a "$work/startup-minimal"
    # Context: the empty dialog never needs a font; with one line of text it reads the font configuration first.
    run_copy "label-$i" - --title Nudgepost --settle-ms 1000 -- "$bin/nudgepost_bench_minimal" --label |
        tee -a "$work/startup-label"
done
start_n=$(field map_ms <"$work/startup-nudgepost" | median)
start_m=$(field map_ms <"$work/startup-minimal" | median)
start_n_range=$(field map_ms <"$work/startup-nudgepost" | range)
start_m_range=$(field map_ms <"$work/startup-minimal" | range)
mem_n=$(field hwm_kb <"$work/startup-nudgepost" | median)
mem_m=$(field hwm_kb <"$work/startup-minimal" | median)
anon_n=$(field anon_kb <"$work/startup-nudgepost" | median)
anon_m=$(field anon_kb <"$work/startup-minimal" | median)
threads_n=$(field threads <"$work/startup-nudgepost" | median)
threads_m=$(field threads <"$work/startup-minimal" | median)
start_l=$(field map_ms <"$work/startup-label" | median)
mem_l=$(field hwm_kb <"$work/startup-label" | median)

# ---------------------------------------------------------------------------------------------------------------
echo "== 3. idle for $idle_seconds s, minimized, 100 messages none due (both programs at once)"
run_copy idle-nudgepost 1 --settle-ms 3000 --idle-s "$idle_seconds" -- "$bin/nudgepost" >"$work/idle-nudgepost.txt" &
idle_pid=$!
run_copy idle-minimal - --settle-ms 3000 --idle-s "$idle_seconds" -- "$bin/nudgepost_bench_minimal" --minimized \
    >"$work/idle-minimal.txt"
wait "$idle_pid"
cat "$work/idle-nudgepost.txt" "$work/idle-minimal.txt"
idle_cpu_n=$(field cpu_ms <"$work/idle-nudgepost.txt")
idle_cpu_m=$(field cpu_ms <"$work/idle-minimal.txt")
wake_n=$(calc "$(field wakeups <"$work/idle-nudgepost.txt") * 60 / $idle_seconds" 1)
wake_m=$(calc "$(field wakeups <"$work/idle-minimal.txt") * 60 / $idle_seconds" 1)

# ---------------------------------------------------------------------------------------------------------------
echo "== 4. start-up by parts, $runs runs of each"
: >"$work/parts"
: >"$work/parts-base"
: >"$work/parts-without-group-boxes"
for i in $(seq "$runs"); do
    mkdir -p "$work/parts-$i/config" "$work/parts-$i/runtime"
    chmod 700 "$work/parts-$i/runtime"
    "$bin/nudgepost_bench_makestore" "$work/parts-$i/config/Quillmoor/nudgepost.conf" 100 0
    XDG_CONFIG_HOME="$work/parts-$i/config" XDG_RUNTIME_DIR="$work/parts-$i/runtime" \
        "$bin/nudgepost_bench_startup" "$work/parts-$i/config/Quillmoor/nudgepost.conf" | tee -a "$work/parts"
    XDG_CONFIG_HOME="$work/parts-$i/config" XDG_RUNTIME_DIR="$work/parts-$i/runtime" \
        "$bin/nudgepost_bench_startup" "$work/parts-$i/config/Quillmoor/nudgepost.conf" --without-group-boxes |
        tee -a "$work/parts-without-group-boxes"
    XDG_CONFIG_HOME="$work/parts-$i/config" XDG_RUNTIME_DIR="$work/parts-$i/runtime" \
        "$bin/nudgepost_bench_startup_base" | tee -a "$work/parts-base"
done
# Median of one key of one part, in milliseconds or MiB; with a second file, the difference of the two medians.
part_ms() { local a; a=$(field "$1_ms" <"$2" | median)
    if [ $# -eq 3 ]; then a=$(calc "$a - $(field "$1_ms" <"$3" | median)" 2); fi; calc "$a" 2; }
part_mib() { local a; a=$(field "$1_kb" <"$2" | median)
    if [ $# -eq 3 ]; then a=$(calc "$a - $(field "$1_kb" <"$3" | median)" 0); fi; calc "$a / 1024" 2; }
parts_row() { # <label> <key> [<file of the runs without the part>]
    local label=$1 key=$2 b_ms="" b_mib=""
    shift 2
    if [ $# -eq 0 ] && grep -q "${key}_ms=" "$work/parts-base"; then
        b_ms="$(part_ms "$key" "$work/parts-base") ms"
        b_mib="$(part_mib "$key" "$work/parts-base") MiB"
    fi
    echo "| $label | $(part_ms "$key" "$work/parts" "$@") ms | $(part_mib "$key" "$work/parts" "$@") MiB | $b_ms | $b_mib |"
}

# ---------------------------------------------------------------------------------------------------------------
save_ratio=$(calc "$save_us / $save_floor_us" 1)
load_ratio=$(calc "$load_us / $load_floor_us" 0)
start_ratio=$(calc "$start_n / $start_m" 2)
mem_ratio=$(calc "$mem_n / $mem_m" 2)
qt_version=$(pkg-config --modversion Qt6Core 2>/dev/null || echo unknown)
cpu_model=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)

{
    echo "# Benchmark results"
    echo
    echo "Written by \`make bench\` (scripts/bench.sh); every ratio compares two figures measured side by side in the"
    echo "same run. Release build (-O3), store files in \`${TMPDIR:-/tmp}\`."
    echo
    echo "- Machine: $(nproc) CPUs, $cpu_model; kernel $(uname -r); Qt $qt_version; $(date -u '+%Y-%m-%d %H:%M UTC')"
    echo "- Store file of 100 full entries (names 199 bytes, texts 999 bytes): $store_bytes bytes"
    echo
    echo "| Measurement | Nudgepost | Floor / minimal Qt program | Ratio | Target | |"
    echo "|---|---:|---:|---:|---:|---|"
    echo "| LoadAll, 100 full entries, QSettings store vs stream read of the file | $load_us µs | $load_floor_us µs | ${load_ratio}× | – | |"
    echo "| SaveAll, 100 full entries, QSettings store vs stream write + rename | $save_us µs | $save_floor_us µs | ${save_ratio}× | – | |"
    echo "| (context) stream write + fdatasync + rename, as QSaveFile does | | $save_synced_us µs | $(calc "$save_us / $save_synced_us" 1)× | – | |"
    echo "| Scheduler tick, 100 entries, window restored | $tick_restored_us µs | | | – | |"
    echo "| Scheduler tick, 100 entries, minimized, nothing due | $tick_minimized_us µs | | | – | |"
    echo "| Start-up until the main window is mapped, median of $runs (range) | $start_n ms ($start_n_range) | $start_m ms ($start_m_range) | ${start_ratio}× | – | |"
    echo "| Peak resident memory (VmHWM), median of $runs | $(calc "$mem_n / 1024" 1) MiB | $(calc "$mem_m / 1024" 1) MiB | ${mem_ratio}× | – | |"
    echo "| (context) start-up against the minimal dialog with one line of text, median of $runs | $start_n ms | $start_l ms | $(calc "$start_n / $start_l" 2)× | ≤ 1.12× | $(verdict "$start_n / $start_l <= 1.12") |"
    echo "| (context) peak memory against the minimal dialog with one line of text | $(calc "$mem_n / 1024" 1) MiB | $(calc "$mem_l / 1024" 1) MiB | $(calc "$mem_n / $mem_l" 2)× | ≤ 1.12× | $(verdict "$mem_n / $mem_l <= 1.12") |"
    echo "| (context) private anonymous memory (RssAnon) at the same moment | $(calc "$anon_n / 1024" 1) MiB | $(calc "$anon_m / 1024" 1) MiB | $(calc "$anon_n / $anon_m" 2)× | – | |"
    echo "| Threads after start-up | $threads_n | $threads_m | | – | |"
    echo "| Idle CPU time in $idle_seconds s, minimized, 100 messages none due | $idle_cpu_n ms | $idle_cpu_m ms | | – | |"
    echo "| Idle wake-ups per minute (voluntary context switches, all threads) | $wake_n | $wake_m | | ≤ 7 | $(verdict "$wake_n <= 7") |"
    echo
    echo "Start-up is timed by \`nudgepost_bench_mapwatch\` from the moment it starts the program to the X server's"
    echo "MapNotify for the top-level window titled \"Nudgepost\"; peak memory is VmHWM read one second after the start,"
    echo "just before the program is stopped. Each copy runs with a fresh \`XDG_CONFIG_HOME\`, and all share one session"
    echo "bus started for the run, as the programs of a desktop session do. The empty dialog maps its"
    echo "window without ever reading the font configuration; the context rows compare against the same dialog with one"
    echo "line of text, which pays that cost before it can be sized, as every window that shows text does; the"
    echo "start-up and memory targets are set against it. SaveAll has no target: QSettings rewrites the whole file"
    echo "and syncs it, so the synced stream write is the floor it is read against."
    echo
    echo "## Start-up by parts"
    echo
    echo "Timed inside one process by \`nudgepost_bench_startup\` (bench/startup_parts.cpp), median of $runs runs with"
    echo "100 stored messages; memory is resident memory (VmRSS) added by the part. The right-hand columns are the same"
    echo "process built with Qt Widgets alone (\`nudgepost_bench_startup_base\`)."
    echo
    echo "| Part of start-up | Time | Memory | Time, Qt Widgets alone | Memory, Qt Widgets alone |"
    echo "|---|---:|---:|---:|---:|"
    parts_row "Libraries loaded, from exec until main() (memory: resident at main())" libraries
    parts_row "Application object, display connection, platform integration" application
    parts_row "First line of text laid out and drawn: the font configuration" text
    parts_row "Store read: QSettings parses the file, LoadAll checks 100 entries" store
    parts_row "Icon: every size decoded as the window system receives it" icon
    parts_row "Main window's controls, built and drawn once: dialog font, style" controls
    parts_row "of which the group boxes: the same, less a run built without them" controls \
        "$work/parts-without-group-boxes"
    parts_row "List filled with 100 lines, sorted, drawn once" list
    parts_row "(context) main window built, loaded, filled and exposed, after the parts above" window
    echo "| Peak resident memory (VmHWM) at the end | | $(field hwm_kb <"$work/parts" | median | xargs -I{} awk 'BEGIN { printf "%.1f", {} / 1024 }') MiB | | $(field hwm_kb <"$work/parts-base" | median | xargs -I{} awk 'BEGIN { printf "%.1f", {} / 1024 }') MiB |"
} >"$results"

# ---------------------------------------------------------------------------------------------------------------
echo "== 5. one exclamation sound on the GUI thread, 100 after the first"
cmake --build "$build" -j "$jobs" --target nudgepost_bench_sound
"$bin/nudgepost_bench_sound" 101 | tee "$work/sound.txt"
sound_first=$(field first_us <"$work/sound.txt")
sound_median=$(field median_us <"$work/sound.txt")
sound_max=$(field max_us <"$work/sound.txt")
sound_answer=$(field answer_ms <"$work/sound.txt")
sound_outcomes="$(field played <"$work/sound.txt") played, $(field silenced <"$work/sound.txt") silenced,\
 $(field unavailable <"$work/sound.txt") with no sound system (X bell)"
{
    echo
    echo "## The exclamation sound"
    echo
    echo "| Measurement | Nudgepost | Target | |"
    echo "|---|---:|---:|---|"
    echo "| One exclamation sound on the GUI thread: the call and the handling of its answer, median of 100 after the first | $sound_median µs | ≤ 1000 µs | $(verdict "$sound_median <= 1000") |"
    echo "| (context) the same, slowest of the 100 | $sound_max µs | – | |"
    echo "| (context) the first sound, which starts the sound thread | $sound_first µs | – | |"
    echo "| (context) from the call until the sound system's answer is handled, median | $sound_answer ms | – | |"
    echo
    echo "Outcomes of the 101 sounds: $sound_outcomes."
    echo "The sound library is loaded, and the sound system asked, on a thread of its own that starts with the first"
    echo "sound, so start-up and memory above include neither. Where no sound system answers, the answer rings the X"
    echo "bell, the path with the most work on the GUI thread."
} >>"$results"

echo
cat "$results"
