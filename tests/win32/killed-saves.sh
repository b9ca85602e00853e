#!/bin/bash
# Runs the killed-saves driver under Wine and serves its requests: killed-saves.sh PREFIX DRIVER PROGRAM. The
# driver (killedsaves.cpp) asks on its standard output for the program to be started, killed with SIGKILL or waited
# for, one request a line, and reads the answer on its standard input; whatever else it prints is passed on. The
# program runs as a copy named NudgepostKilledSaves.exe, so that its store is a key of its own. Without a display
# it starts a virtual one for the run, as wine-run.sh does.
set -u
prefix=$1
driver=$2
program=$3
if [ -z "${DISPLAY:-}" ]; then
    command -v xvfb-run >/dev/null 2>&1 || { echo "no DISPLAY and no xvfb-run (Debian package xvfb)" >&2; exit 1; }
    mkdir -p "$prefix"
    exec 9>"$prefix.lock"
    flock 9
    status=0
    xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@" || status=$?
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    exit $status
fi
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d "${TMPDIR:-/tmp}/nudgepost-killed-saves.XXXXXX")
cp "$program" "$work/NudgepostKilledSaves.exe"
pid=
coproc DRIVER { exec wine "$driver"; }
driver_pid=$DRIVER_PID
exec 3<&"${DRIVER[0]}" 4>&"${DRIVER[1]}"
kills=0
while IFS= read -r line <&3; do
    line=${line%$'\r'}
    case $line in
    start)
        wine "$work/NudgepostKilledSaves.exe" </dev/null >/dev/null 2>&1 &
        pid=$!
        echo started >&4
        ;;
    kill)
        kill -KILL "$pid" 2>/dev/null && kills=$((kills + 1))
        wait "$pid" 2>/dev/null
        echo killed >&4
        ;;
    wait)
        status=0
        wait "$pid" || status=$?
        echo "exited $status" >&4
        ;;
    *)
        echo "$line"
        ;;
    esac
done
status=0
wait "$driver_pid" || status=$?
if [ -n "$pid" ]; then kill -KILL "$pid" 2>/dev/null || true; fi
rm -rf "$work"
echo "$kills SIGKILLs sent; the driver ended with status $status"
exit $status
