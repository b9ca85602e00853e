#!/bin/sh
# Runs one Windows test program under Wine: wine-run.sh PREFIX PROGRAM [ARGUMENTS...]. With --boot in place of the
# program it makes the Wine prefix, which the other tests share. Without a display it starts a virtual one for the
# run; `make test` gives all Windows tests one display.
set -eu
prefix=$1
shift
if ! command -v wine >/dev/null 2>&1; then
    echo "wine is not installed: run scripts/install-deps.sh (Debian packages wine and wine64)" >&2
    exit 1
fi
if [ -z "${DISPLAY:-}" ]; then
    command -v xvfb-run >/dev/null 2>&1 || { echo "no DISPLAY and no xvfb-run (Debian package xvfb)" >&2; exit 1; }
    exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$prefix" "$@"
fi
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
# No offer to download the .NET and HTML engines, a dialog that nobody would answer.
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$1" = "--boot" ]; then
    mkdir -p "$prefix"
    wine wineboot -i
    wineserver -w
    # Debian's Wine leaves its own fonts out of a new prefix, so the system's dialog face would come from whatever
    # fontconfig offers; Windows has them, and so should the windows under test.
    if [ -d /usr/share/wine/fonts ]; then
        cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
    exit 0
fi
exec wine "$@"
