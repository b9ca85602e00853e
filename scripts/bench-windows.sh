#!/usr/bin/env bash
# `make bench`, the Windows program: under Wine on a virtual display, side by side in one run,
#   - start-up of nudgepost.exe with 100 stored messages until its main window is mapped, against a minimal Win32
#     dialog program with one line of text built the same way (bench/windows), run alternately;
#   - the size of nudgepost.exe;
#   - SaveAll of 100 full messages through the registry store, journal included (bench/windows/save_store.cpp).
# Appends its table to bench/RESULTS.md, which scripts/bench.sh has just written.
#   BENCH_RUNS               start-up runs of each program (default 10)
#   BENCH_BUILD_DIR          the Linux release build that holds the map watcher (default build-bench)
#   BENCH_WINDOWS_BUILD_DIR  the Windows build (default build-windows)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${BENCH_RUNS:-10}
build=${BENCH_BUILD_DIR:-build-bench}
winbuild=${BENCH_WINDOWS_BUILD_DIR:-build-windows}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
results=bench/RESULTS.md

for tool in Xvfb wine wineserver awk; do
    command -v "$tool" >/dev/null || { echo "bench: $tool is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
done

cmake -S . -B "$winbuild" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DNUDGEPOST_QT=OFF -DNUDGEPOST_BENCH=ON >/dev/null
cmake --build "$winbuild" -j "$jobs" --target nudgepost nudgepost_bench_minimal_win32 nudgepost_bench_save_win32
if [ ! -x "$build/bin/nudgepost_bench_mapwatch" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNUDGEPOST_BENCH=ON -DNUDGEPOST_TESTS=OFF >/dev/null
    cmake --build "$build" -j "$jobs" --target nudgepost_bench_mapwatch
fi
mapwatch=$PWD/$build/bin/nudgepost_bench_mapwatch

work=$(mktemp -d "${TMPDIR:-/tmp}/nudgepost-bench-windows.XXXXXX")
xvfb_pid=
cleanup() {
    WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=scripts/bench-lib.sh
. scripts/bench-lib.sh

echo "== Windows program: start-up under Wine, $runs runs of each"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "bench: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(tr -d '\n' <"$work/display")"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# One server for the whole run, as on a desktop where Wine is already up; both programs are timed alike.
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot -i </dev/null >/dev/null 2>&1
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true

# 100 messages as large as the table holds, dated in 2030 so that none is due, as the Linux benchmark stores them.
{
    echo "REGEDIT4"
    echo
    echo "[HKEY_CURRENT_USER\\Software\\Quillmoor\\nudgepost\\Configuration]"
    echo "\"Number of messages\"=dword:00000064"
    for option in "Activated messages" "Tooltips" "Show warnings"; do echo "\"$option\"=dword:00000001"; done
    echo "\"Show minimized\"=dword:00000000"
    echo
    echo "[HKEY_CURRENT_USER\\Software\\Quillmoor\\nudgepost\\Messages]"
    awk 'function pad(s, n, c) { while (length(s) < n) s = s c; return s }
         function dword(v) { return sprintf("dword:%08x", v) }
         BEGIN { for (i = 0; i < 100; i++) {
             printf "\"MessageName%d\"=\"%s\"\n", i, pad("Message " i " ", 199, "n")
             printf "\"MessageText%d\"=\"%s\"\n", i, pad("Text of message " i ", written out to the full length. ", 999, "t")
             printf "\"MessageDay%d\"=%s\n", i, dword(1 + i % 28)
             printf "\"MessageMonth%d\"=%s\n", i, dword(1 + i % 12)
             printf "\"MessageYear%d\"=%s\n", i, dword(2030)
             printf "\"MessageMinute%d\"=%s\n", i, dword((i * 7) % 60)
             printf "\"MessageHour%d\"=%s\n", i, dword(i % 24)
             printf "\"MessageShowTime%d\"=%s\n", i, dword(i % 5)
             printf "\"MessageShowEveryTime%d\"=%s\n", i, dword(i % 3 == 0 ? 15 : 0)
             printf "\"MessageActive%d\"=%s\n", i, dword(1)
             printf "\"ShowEveryDay%d\"=%s\n", i, dword(0) } }'
} >"$work/store.reg"
wine regedit /S "$work/store.reg" </dev/null >/dev/null 2>&1
cp "$winbuild/bin/nudgepost.exe" "$winbuild/bin/nudgepost_bench_minimal_win32.exe" "$work/"

watch() { # <program>: prints mapwatch's line
    "$mapwatch" --title Nudgepost --settle-ms 500 -- wine "$work/$1"
}
# Wine's caches and the page cache are warmed by one run of each that does not count.
watch nudgepost.exe >/dev/null
watch nudgepost_bench_minimal_win32.exe >/dev/null
: >"$work/nudgepost"
: >"$work/minimal"
for _ in $(seq "$runs"); do
    watch nudgepost.exe | tee -a "$work/nudgepost"
    watch nudgepost_bench_minimal_win32.exe | tee -a "$work/minimal"
done
# The store must still hold the 100 messages: a run that had repaired or emptied it would have timed less work.
stored=$(wine reg query 'HKCU\Software\Quillmoor\nudgepost\Configuration' /v 'Number of messages' 2>/dev/null |
    awk '/REG_DWORD/ { print $NF }' | tr -d '\r')
[ "$((stored))" = "100" ] || { echo "bench: the store holds $stored messages, not 100" >&2; exit 1; }

# The save, 30 times in one process after one that does not count, three processes.
: >"$work/save"
for _ in 1 2 3; do wine "$winbuild/bin/nudgepost_bench_save_win32.exe" 30 | tr -d '\r' >>"$work/save"; done
save_ms=$(field save_ms <"$work/save" | median)
save_range=$(field save_ms <"$work/save" | range)

start_n=$(field map_ms <"$work/nudgepost" | median)
start_m=$(field map_ms <"$work/minimal" | median)
range_n=$(field map_ms <"$work/nudgepost" | range)
range_m=$(field map_ms <"$work/minimal" | range)
ratio=$(calc "$start_n / $start_m")
size=$(stat -c %s "$winbuild/bin/nudgepost.exe")
size_minimal=$(stat -c %s "$winbuild/bin/nudgepost_bench_minimal_win32.exe")

{
    echo
    echo "## The Windows program, under Wine"
    echo
    echo "Wine $(wine --version 2>/dev/null | sed 's/^wine-//'), on Xvfb, one Wine server for the run; $runs runs of each,"
    echo "alternately, after one of each that does not count."
    echo
    echo "| Measurement | nudgepost.exe | Minimal dialog | Ratio | Target | |"
    echo "|---|---:|---:|---:|---:|---|"
    echo "| Start-up with 100 stored messages until the main window is mapped, median (range) | $start_n ms ($range_n) | $start_m ms ($range_m) | $ratio× | ≤ 1.10× | $(verdict "$ratio <= 1.10") |"
    echo "| Size of the executable | $(calc "$size / 1024" 0) KiB | $(calc "$size_minimal / 1024" 0) KiB | | ≤ 1024 KiB | $(verdict "$size <= 1048576") |"
    echo "| SaveAll of 100 full messages through the registry store and its journal, median of 90 (range) | $save_ms ms ($save_range) | | | – | |"
    echo
    echo "Both are built by the Windows build (MinGW-w64, MinSizeRel, static runtime, the same manifest and icon);"
    echo "the minimal dialog (bench/windows/minimal_dialog.cpp) is one dialog titled \"Nudgepost\" with one line of text,"
    echo "made by the same template builder in the same dialog font. Start-up is timed by \`nudgepost_bench_mapwatch\`"
    echo "from the start of \`wine\` to the X server's MapNotify for the window titled \"Nudgepost\"; the store is in the"
    echo "run's own Wine prefix."
} >>"$results"
tail -n 15 "$results"
