#!/bin/sh
# Runs a window test on Qt's xcb platform under a virtual X server with a window manager, where windows get real
# frames with title bars, unlike on the offscreen platform.
#   usage: run_framed.sh TEST-PROGRAM [TEST-FUNCTION...]
set -eu
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" sh -c '
    openbox >/dev/null 2>&1 &
    wm=$!
    trap "kill $wm 2>/dev/null || true" EXIT
    # The window manager announces itself on the root window once it manages windows.
    tries=0
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
        tries=$((tries + 1))
        [ "$tries" -lt 100 ] || { echo "no window manager came up" >&2; exit 1; }
        sleep 0.1
    done
    QT_QPA_PLATFORM=xcb "$@"
' run_framed "$@"
