#!/usr/bin/env bash
# Switching skins from the main window's system menu on a virtual screen under a window manager
# (openbox), COUNT times (default 10), alternating between "Nightfall" and the internal skin:
# - after every switch the main window, and the save options window opened from "Сохранить",
#   look exactly as they did the first time they wore that skin (so nothing is left half
#   repainted), and the two skins look different;
# - the program ends on Alt+F4 with status 0, so a sanitizer build found no error and no leak
#   (beyond the system libraries' listed in lsan-suppressions.txt).
# Usage: skin-switch.sh PATH-TO-charvane [COUNT] [SCREENSHOT-FOLDER]
# With a screenshot folder, the screen after every switch is kept there.
# Exit 77 (skipped) without xvfb-run, xdotool, openbox or ImageMagick.
set -euo pipefail

app=$(realpath "$1")
count=${2:-10}
shots=${3:-}
if [ "${CHARVANE_SWITCH_INNER:-}" != 1 ]; then
    for tool in xvfb-run xdotool openbox import compare; do
        if ! command -v "$tool" >/dev/null; then
            echo "$tool missing: skin switching skipped"
            exit 77
        fi
    done
    [ -z "$shots" ] || mkdir -p "$shots"
    CHARVANE_SWITCH_INNER=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
export LSAN_OPTIONS="suppressions=$(dirname "$(realpath "$0")")/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

work=$(mktemp -d)
pid=""
wm=""
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null || true
    [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "skin switch: $*" >&2
    [ -n "$shots" ] && import -window root "$shots/switch-failure.png" 2>/dev/null || true
    [ -s "$work/stderr" ] && tail -n 30 "$work/stderr" >&2
    exit 1
}

source "$(dirname "$(realpath "$0")")/x-windows.sh"
# The window's picture, with the pointer away from it so that nothing shows a hot look.
snap() {
    xdotool mousemove 1270 1010
    sleep 0.6
    import -window "$1" "$2"
}
# Succeeds when the two pictures differ in at most a handful of pixels (a blinking caret).
alike() {
    local differ
    differ=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
    [ "${differ%%[!0-9]*}" -le 40 ] 2>/dev/null
}

# The icon's click opens the system menu; "Available skins" is its first item, and its names
# are sorted: "Nightfall", then the internal skin. (Alt+Space is the window manager's.)
choose_skin() {
    xdotool windowactivate --sync "$main" 2>/dev/null || true
    xdotool mousemove --window "$main" 12 12 click 1
    sleep 0.6
    xdotool key Down
    sleep 0.2
    xdotool key Right
    sleep 0.4
    if [ "$1" = 0 ]; then
        xdotool key Down
    fi
    xdotool key Return
    sleep 1
}

openbox >/dev/null 2>&1 &
wm=$!
for _ in $(seq 1 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
"$app" 2>"$work/stderr" &
pid=$!
main=$(wait_for_window '^Charvane 1\.2') || fail "the main window did not appear"
sleep 1

for i in $(seq 0 "$count"); do
    skin=$((i % 2)) # 0: the internal skin, 1: Nightfall
    if [ "$i" -gt 0 ]; then
        choose_skin "$skin"
        kill -0 "$pid" 2>/dev/null || fail "the program ended at switch $i"
    fi
    snap "$main" "$work/main-$i.png"
    xdotool mousemove --window "$main" 109 348 click 1 # "Сохранить"
    options=$(wait_for_second_window) || fail "no save options window at switch $i"
    sleep 0.5
    snap "$options" "$work/options-$i.png"
    [ -z "$shots" ] || import -window root "$shots/switch-$i.png"
    xdotool key Escape
    wait_for_no_second_window || fail "the save options window did not close at switch $i"
    if [ "$i" -ge 3 ]; then
        alike "$work/main-$i.png" "$work/main-$((2 - skin)).png" ||
            fail "switch $i: the main window looks different from the first time in that skin"
        alike "$work/options-$i.png" "$work/options-$((2 - skin)).png" ||
            fail "switch $i: the save options window looks different from the first time"
    fi
done
if alike "$work/main-0.png" "$work/main-1.png"; then
    fail "the skin did not change the main window"
fi

xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool key alt+F4
for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end on Alt+F4"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "skin switch: $count switches, both windows repainted alike each time, clean exit"
