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
source "$(dirname "$(realpath "$0")")/fresh-home.sh"
source "$(dirname "$(realpath "$0")")/x-windows.sh"

app=$(realpath "$1")
generator=$(realpath "$2")
shots=${3:-}
[ -z "$shots" ] || mkdir -p "$shots"
on_virtual_screen "hostile skins on screen" xvfb-run xdotool xprop openbox import compare -- "$@"
begin_run

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
    menus=$(other_windows)
    xdotool key Return
}

# The program's visible windows other than the main window, one id a line.
other_windows() {
    xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -v -x "$main" || true
}

# Waits, for at most 30 s, until the program has answered the choice just made: an error box
# comes up (closed here, keeping a picture of it), or the menus are gone and the main window
# looks like EXPECTED, or (with no EXPECTED) looks different from BEFORE and holds still. A
# refused skin leaves the window as it was, so only its box ends the wait. Fails when none of
# these comes (the program hangs, or a box is missed).
# Usage: await_answer NAME BEFORE [EXPECTED]
await_answer() {
    local name=$1 before=$2 expected=${3:-} last="" now box deadline=$((SECONDS + 30)) i=0
    xdotool mousemove 1270 1010
    while [ "$SECONDS" -lt "$deadline" ]; do
        box=$(other_windows | grep -v -x -F "$menus" | head -n 1 || true)
        if [ -n "$box" ]; then
            sleep 0.3
            [ -z "$shots" ] || import -window root "$shots/hostile-$name-error.png"
            xdotool windowactivate --sync "$box" 2>/dev/null || true
            xdotool key Return
            wait_for_no_second_window || fail "$name: the error box did not close"
            return 0
        fi
        if [ -z "$(other_windows)" ]; then
            i=$((i + 1))
            now="$work/now-$i.png"
            import -window "$main" "$now"
            if [ -n "$expected" ]; then
                alike "$now" "$expected" && return 0
            elif ! alike "$now" "$before"; then
                [ -n "$last" ] && alike "$now" "$last" && return 0
                last=$now
            fi
        fi
        sleep 0.2
    done
    fail "$name: no answer within 30 s (no error box, no new look)"
}

start_window_manager
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
    await_answer "$name" "$work/start.png"
    kill -0 "$pid" 2>/dev/null || fail "$name: the program ended"
    echo "hostile skins: $name chosen, answered after $((($(date +%s%N) - started) / 1000000)) ms"
    [ -z "$shots" ] || import -window root "$shots/hostile-$name.png"
    open_system_menu || fail "$name: the system menu no longer opens"
    xdotool key Escape
    wait_for_no_second_window || fail "$name: the system menu did not close"
    choose_listed "$internal" || fail "$name: the system menu did not open to choose back"
    await_answer "$name-back" "" "$work/start.png"
    snap "$main" "$work/back.png"
    alike "$work/start.png" "$work/back.png" ||
        fail "$name: the internal skin chosen back does not look as it did at start"
done

end_with_alt_f4
echo "hostile skins: ${#hostile[@]} chosen, each left the system menu working and the internal skin back"
