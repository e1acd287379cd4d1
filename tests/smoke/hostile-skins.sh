#!/usr/bin/env bash
# Hostile skins chosen from the system menu on a virtual screen under openbox. The program is
# copied into a scratch prefix whose skin folder holds Nightfall and four hostile skins made by
# hostile_skins: a damaged container, a decompression bomb, a ring of parent classes and a skin
# without a form section. After choosing each one:
# - the program still runs and its system menu opens (an error box, if any, is closed first);
# - the internal skin can be chosen back from that menu, and the main window then looks as it
#   did at start.
# Usage: hostile-skins.sh PATH-TO-charvane PATH-TO-hostile_skins [SCREENSHOT-FOLDER]
# Exit 77 (skipped) without xvfb-run, xdotool, openbox or ImageMagick.
set -euo pipefail

app=$(realpath "$1")
generator=$(realpath "$2")
shots=${3:-}
if [ "${CHARVANE_HOSTILE_INNER:-}" != 1 ]; then
    for tool in xvfb-run xdotool xprop openbox import compare; do
        if ! command -v "$tool" >/dev/null; then
            echo "$tool missing: hostile skins on screen skipped"
            exit 77
        fi
    done
    [ -z "$shots" ] || mkdir -p "$shots"
    CHARVANE_HOSTILE_INNER=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
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
    echo "hostile skins: $*" >&2
    [ -n "$shots" ] && import -window root "$shots/hostile-failure.png" 2>/dev/null || true
    [ -n "$shots" ] && cp "$work"/*.png "$shots/" 2>/dev/null || true
    [ -s "$work/stderr" ] && tail -n 30 "$work/stderr" >&2
    exit 1
}

# The skins the menu lists, sorted as it sorts them (ignoring case); the internal skin is last.
hostile=(bomb-640MiB cut-in-options no-form-section parent-ring-2000)
mkdir -p "$work/bin" "$work/share/charvane/skins"
cp "$app" "$work/bin/charvane"
cp "$(dirname "$app")/../share/charvane/skins/Nightfall.asz" "$work/share/charvane/skins/"
"$generator" "$work/share/charvane/skins" "${hostile[@]}" >/dev/null
listed=(bomb-640MiB cut-in-options Nightfall no-form-section parent-ring-2000 internal)

source "$(dirname "$(realpath "$0")")/x-windows.sh"
snap() {
    xdotool mousemove 1270 1010
    sleep 0.6
    import -window "$1" "$2"
}
alike() {
    local differ
    differ=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
    [ "${differ%%[!0-9]*}" -le 40 ] 2>/dev/null
}

# Opens the system menu from the caption icon; fails when no menu window shows within 10 s.
# A click that lands while the previous menu is still going away is tried once more.
open_system_menu() {
    sleep 0.5
    xdotool windowactivate --sync "$main" 2>/dev/null || true
    xdotool mousemove --window "$main" 12 12 click 1
    wait_for_second_window >/dev/null && return 0
    xdotool mousemove --window "$main" 12 12 click 1
    wait_for_second_window >/dev/null
}

# Chooses the INDEXth name of "Available skins", the system menu's first item.
choose_listed() {
    open_system_menu || return 1
    sleep 0.4
    xdotool key Down
    sleep 0.2
    xdotool key Right
    sleep 0.4
    for _ in $(seq 1 "$1"); do
        xdotool key Down
        sleep 0.1
    done
    xdotool key Return
    sleep 1
}

# Closes an error box the choice brought up, keeping a picture of it.
close_error_box() {
    local box
    if box=$(wait_for_second_window); then
        [ -z "$shots" ] || import -window root "$shots/hostile-$1-error.png"
        xdotool windowactivate --sync "$box" 2>/dev/null || true
        xdotool key Return
        wait_for_no_second_window || fail "$1: the error box did not close"
    fi
}

openbox >/dev/null 2>&1 &
wm=$!
for _ in $(seq 1 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
"$work/bin/charvane" 2>"$work/stderr" &
pid=$!
main=$(wait_for_window '^Charvane 1\.2') || fail "the main window did not appear"
sleep 1
snap "$main" "$work/start.png"
internal=$((${#listed[@]} - 1))

for name in "${hostile[@]}"; do
    index=0
    while [ "${listed[$index]}" != "$name" ]; do index=$((index + 1)); done
    started=$(date +%s%N)
    choose_listed "$index" || fail "$name: the system menu did not open to choose it"
    close_error_box "$name"
    kill -0 "$pid" 2>/dev/null || fail "$name: the program ended"
    echo "hostile skins: $name chosen, answered after $((($(date +%s%N) - started) / 1000000)) ms"
    [ -z "$shots" ] || import -window root "$shots/hostile-$name.png"
    open_system_menu || fail "$name: the system menu no longer opens"
    xdotool key Escape
    wait_for_no_second_window || fail "$name: the system menu did not close"
    choose_listed "$internal" || fail "$name: the system menu did not open to choose back"
    close_error_box "$name-back"
    snap "$main" "$work/back.png"
    alike "$work/start.png" "$work/back.png" ||
        fail "$name: the internal skin chosen back does not look as it did at start"
done

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
echo "hostile skins: ${#hostile[@]} chosen, each left the system menu working and the internal skin back"
