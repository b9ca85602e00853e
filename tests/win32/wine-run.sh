#!/bin/sh
# Runs one Windows test program under Wine: wine-run.sh PREFIX PROGRAM [ARGUMENTS...]. With --boot in place of the
# program it makes the Wine prefix, which the other tests share, and starts the server they share; --shutdown ends
# that server. Without a display it starts a virtual one for the run; `make test` gives all Windows tests one.
set -eu
prefix=$1
shift
if ! command -v wine >/dev/null 2>&1; then
    echo "wine is not installed: run scripts/install-deps.sh (Debian packages wine and wine64)" >&2
    exit 1
fi
export WINEPREFIX="$prefix"
if [ -z "${DISPLAY:-}" ]; then
    command -v xvfb-run >/dev/null 2>&1 || { echo "no DISPLAY and no xvfb-run (Debian package xvfb)" >&2; exit 1; }
    # Wine's server outlives its programs for a moment and keeps the display it started with; a run on a display
    # of its own therefore has the prefix to itself and ends the server with it.
    mkdir -p "$prefix"
    exec 9>"$prefix.lock"
    flock 9
    status=0
    xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$prefix" "$@" || status=$?
    wineserver -k 2>/dev/null || true
    exit $status
fi
export WINEDEBUG=-all
# No offer to download the .NET and HTML engines, a dialog that nobody would answer.
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$1" = "--shutdown" ]; then
    wineserver -k 2>/dev/null || true
    exit 0
fi
if [ "$1" = "--boot" ]; then
    mkdir -p "$prefix"
    # One server for all the tests of a run, so that each test does not wait for Wine to start afresh; --shutdown
    # ends it. It must not hold the test's output open, or the run would wait for it.
    # Nor may Wine's own background programs, which wineboot starts and the server keeps.
    wineserver -p </dev/null >/dev/null 2>&1
    wine wineboot -i </dev/null >/dev/null 2>&1
    # Without a window manager Wine waits up to two seconds for one to take each window; unmanaged windows are
    # shown at once.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
    # Debian's Wine leaves its own fonts out of a new prefix, so the system's dialog face would come from whatever
    # fontconfig offers; Windows has them, and so should the windows under test.
    if [ -d /usr/share/wine/fonts ]; then
        cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
    exit 0
fi
exec wine "$@"
