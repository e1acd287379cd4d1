#!/usr/bin/env bash
# Screenshots of the real program on a virtual screen, driven as a user would: the start-up
# window, the open dialog with a typed path, the converted sample picture, the generator menu,
# the system menu with its skin list, the save options window, the save dialog, the error box of
# a save without a name and the maximised window (restored by a click on the top row of its
# button). Not a test: for looking at the window.
# With --desktop the tour runs under a window manager (openbox) and is taken twice, in the
# internal skin and then in "Nightfall" (chosen from the system menu); the second set's names
# begin with "nightfall-", and pictures taken while the skin changes are "switch-*".
# Usage: charvane-tour.sh PATH-TO-charvane OUTPUT-FOLDER [--desktop]
set -euo pipefail
source "$(dirname "$(realpath "$0")")/fresh-home.sh"

app=$(realpath "$1")
out=$(realpath "$2")
desktop=${3:-}
sample=$(realpath "$(dirname "$0")/../../assets/sample.jpg")
if [ "${CHARVANE_TOUR_INNER:-}" != 1 ]; then
    mkdir -p "$out"
    CHARVANE_TOUR_INNER=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

export LSAN_OPTIONS="suppressions=$(dirname "$(realpath "$0")")/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

source "$(dirname "$(realpath "$0")")/x-windows.sh"
wm=""
if [ "$desktop" = --desktop ]; then
    start_window_manager
fi
"$app" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; [ -z "$wm" ] || kill "$wm" 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
    main=$(xdotool search --onlyvisible --name '^Charvane 1\.2' 2>/dev/null | head -n 1 || true)
    [ -n "$main" ] && break
    sleep 0.2
done
[ -n "$main" ] || { echo "the window did not appear" >&2; exit 1; }
sleep 1

prefix=""
shot() { sleep "${2:-0.8}"; import -window root "$out/$prefix$1.png"; }
# Points in window coordinates: the client area starts at (4, 23) inside the frame.
click() { xdotool mousemove --window "$main" "$1" "$2" click 1; }
# The icon's click opens the system menu; its first item lists the skins.
system_menu() {
    click 12 12
    sleep 0.5
    xdotool key Down
    sleep 0.2
    xdotool key Right
}

tour() {
    shot 1-start
    click 109 285 # "Файл картинка"
    sleep 0.8
    xdotool type --delay 15 "$sample"
    shot 2-open-dialog
    xdotool key Return
    click 109 316 # "Преобразовать"
    shot 3-converted
    # The text pane with the focus and the mouse over it; then the mouse over a number field.
    click 491 293
    shot 3a-pane-focused
    xdotool mousemove --window "$main" 177 67
    shot 3b-number-hover
    click 42 38 # the generator button's arrow
    xdotool mousemove --window "$main" 80 75
    shot 4-generator-menu
    xdotool key Escape
    system_menu
    shot 5-system-menu
    xdotool key Escape
    sleep 0.2
    xdotool key Escape
    click 109 348 # "Сохранить"
    shot 6-save-options
    xdotool key Return # OK: the save dialog follows
    shot 7-save-dialog 1.2
    xdotool key Escape # no name: the error box
    shot 8-error-box 1.2
    xdotool key Return
    sleep 0.5
    # The maximise button, then the same button restores.
    eval "$(xdotool getwindowgeometry --shell "$main")"
    click $((WIDTH - 34)) 12
    shot 9-maximised 1.2
    # The restore button answers on its top row, the window's first.
    eval "$(xdotool getwindowgeometry --shell "$main")"
    click $((WIDTH - 34)) 1
    shot 9a-restored-by-top-row 1.2
}

tour
if [ -n "$wm" ]; then
    system_menu
    sleep 0.4
    xdotool key Return # "Nightfall", the first name
    # Pictures while the skin changes: no plain frame or face in between.
    for i in 1 2 3 4 5 6; do import -window root "$out/switch-$i.png"; done
    sleep 1
    prefix=nightfall-
    tour
fi
echo "screenshots in $out"
