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
source "$(dirname "$(realpath "$0")")/fresh-home.sh"
source "$(dirname "$(realpath "$0")")/x-windows.sh"

app=$(realpath "$1")
count=${2:-10}
shots=${3:-}
[ -z "$shots" ] || mkdir -p "$shots"
on_virtual_screen "skin switching" xvfb-run xdotool xprop openbox import compare -- "$@"
begin_run

fail() {
    echo "skin switch: $*" >&2
    [ -n "$shots" ] && import -window root "$shots/switch-failure.png" 2>/dev/null || true
    [ -s "$work/stderr" ] && tail -n 30 "$work/stderr" >&2
    exit 1
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

start_window_manager
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

end_with_alt_f4
echo "skin switch: $count switches, both windows repainted alike each time, clean exit"
