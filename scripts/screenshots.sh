#!/usr/bin/env bash
# Starts the program under a virtual X server on a prepared temporary store and saves pictures of its four
# windows into docs/screenshots/: the main window, the editor, a due message and the About box; then, on a second
# store, the display window for a dated message repeated every 15 minutes and for a message with a long text.
#   usage: scripts/screenshots.sh [PROGRAM] [OUTDIR]
# Needs xvfb, openbox, xdotool and imagemagick (scripts/install-deps.sh test installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/bin/nudgepost}")
outdir=${2:-docs/screenshots}
mkdir -p "$outdir"

work=$(mktemp -d)
disp=":$(( 60 + RANDOM % 30 ))"
cleanup() { kill "${app:-}" "${wm:-}" "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

# A store with a few messages; "Stand-up meeting" is due every day from midnight, so it pops up as soon as the
# main window is minimized.
mkdir -p "$work/config/Quillmoor"
cat > "$work/config/Quillmoor/nudgepost.conf" <<'CONF'
[Configuration]
Number%20of%20messages=4
Activated%20messages=1
Tooltips=1
Show%20warnings=1
Show%20minimized=0

[Messages]
MessageName0=Call the dentist
MessageText0=Ask for an appointment next week.\r\nBring the insurance card.
MessageDay0=14
MessageMonth0=12
MessageYear0=2026
MessageMinute0=30
MessageHour0=8
MessageShowTime0=2
MessageShowEveryTime0=0
MessageActive0=1
ShowEveryDay0=0
MessageName1=Water the plants
MessageText1=The ones on the balcony too.
MessageDay1=12
MessageMonth1=12
MessageYear1=2026
MessageMinute1=30
MessageHour1=18
MessageShowTime1=3
MessageShowEveryTime1=0
MessageActive1=1
ShowEveryDay1=0
MessageName2=Stand-up meeting
MessageText2=Daily sync in room 4.\r\nBring the status report.
MessageDay2=1
MessageMonth2=1
MessageYear2=2026
MessageMinute2=0
MessageHour2=0
MessageShowTime2=0
MessageShowEveryTime2=15
MessageActive2=1
ShowEveryDay2=1
MessageName3=Renew passport
MessageText3=Forms are in the top drawer.
MessageDay3=3
MessageMonth3=3
MessageYear3=2027
MessageMinute3=0
MessageHour3=10
MessageShowTime3=30
MessageShowEveryTime3=0
MessageActive3=0
ShowEveryDay3=0
CONF

Xvfb "$disp" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 & xvfb=$!
export DISPLAY=$disp
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 & wm=$!
sleep 1

XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb "$program" >/dev/null 2>&1 & app=$!
main=$(xdotool search --sync --onlyvisible --name '^Nudgepost$' | head -n 1)
sleep 1

shoot() { # window-id file
    import -window "$1" -frame "$outdir/$2"
    echo "saved $outdir/$2"
}

# Clicks a point of the main window given in dialog units; the base units follow from the client width.
click_dialog_units() { # x y
    eval "$(xdotool getwindowgeometry --shell "$main")"
    local bx=$(( (WIDTH * 4 + 158) / 317 )) by=$(( (HEIGHT * 8 + 118) / 236 ))
    xdotool mousemove --window "$main" $(( $1 * bx / 4 )) $(( $2 * by / 8 )) click 1
}

click_dialog_units 40 50 # the first line of the list
sleep 0.5
shoot "$main" main.png

click_dialog_units 150 102 # "Edit marked message ..."
editor=$(xdotool search --sync --onlyvisible --name '^Edit message$' | head -n 1)
sleep 0.5
shoot "$editor" editor.png
xdotool windowactivate --sync "$editor" key Escape
sleep 0.5

click_dialog_units 270 207 # "About ..."
about=$(xdotool search --sync --onlyvisible --name '^About$' | head -n 1)
sleep 0.5
shoot "$about" about.png
xdotool windowactivate --sync "$about" key Escape
sleep 0.5

click_dialog_units 105 207 # "Minimize": the first tick after it shows the due message
message=$(timeout 30 xdotool search --sync --onlyvisible --name '^Stand-up meeting$' | head -n 1)
sleep 1
shoot "$message" message.png
xdotool windowactivate --sync "$message" key Escape
kill "$app"
wait "$app" 2>/dev/null || true

# Two messages due today from midnight, on a store that starts minimized, so the first tick shows them one after
# the other: a dated one that repeats every 15 minutes and one with as long a text as the editor takes.
mkdir -p "$work/config2/Quillmoor"
cat > "$work/config2/Quillmoor/nudgepost.conf" <<CONF
[Configuration]
Number%20of%20messages=2
Activated%20messages=1
Tooltips=1
Show%20warnings=1
Show%20minimized=1

[Messages]
MessageName0=Stretch break
MessageText0=Stand up, roll the shoulders, look out of the window.
MessageDay0=$(date +%-d)
MessageMonth0=$(date +%-m)
MessageYear0=$(date +%Y)
MessageMinute0=0
MessageHour0=0
MessageShowTime0=0
MessageShowEveryTime0=15
MessageActive0=1
ShowEveryDay0=0
MessageName1=Before the trip
MessageText1=Pack the charger, the passport and the tickets. Ask the neighbours to water the plants and to empty the letter box.\\r\\nSwitch off the heating in every room but the bathroom.
MessageDay1=$(date +%-d)
MessageMonth1=$(date +%-m)
MessageYear1=$(date +%Y)
MessageMinute1=0
MessageHour1=0
MessageShowTime1=0
MessageShowEveryTime1=0
MessageActive1=1
ShowEveryDay1=0
CONF

XDG_CONFIG_HOME="$work/config2" QT_QPA_PLATFORM=xcb "$program" >/dev/null 2>&1 & app=$!
dated=$(timeout 30 xdotool search --sync --onlyvisible --name '^Stretch break$' | head -n 1)
sleep 1
shoot "$dated" message-dated.png
xdotool windowactivate --sync "$dated" key Escape
long=$(timeout 30 xdotool search --sync --onlyvisible --name '^Before the trip$' | head -n 1)
sleep 1
shoot "$long" message-long.png
