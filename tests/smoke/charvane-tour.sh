#!/usr/bin/env bash
# Screenshots of the real program on a virtual screen, driven as a user would: the start-up
# window, the open dialog with a typed path, the converted sample picture, the generator menu
# and the save options window. Not a test: for looking at the window.
# Usage: charvane-tour.sh PATH-TO-charvane OUTPUT-FOLDER
set -euo pipefail

app=$(realpath "$1")
out=$(realpath "$2")
sample=$(realpath "$(dirname "$0")/../../assets/sample.jpg")
if [ "${CHARVANE_TOUR_INNER:-}" != 1 ]; then
    mkdir -p "$out"
    CHARVANE_TOUR_INNER=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

"$app" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
    main=$(xdotool search --onlyvisible --name '^Charvane 1\.2' 2>/dev/null | head -n 1 || true)
    [ -n "$main" ] && break
    sleep 0.2
done
[ -n "$main" ] || { echo "the window did not appear" >&2; exit 1; }
sleep 1

shot() { sleep "${2:-0.8}"; import -window root "$out/$1.png"; }
# Points in window coordinates: the client area starts at (4, 23) inside the frame.
click() { xdotool mousemove --window "$main" "$1" "$2" click 1; }

shot 1-start
click 109 285 # "Файл картинка"
xdotool type --delay 15 "$sample"
shot 2-open-dialog
xdotool key Return
click 109 316 # "Преобразовать"
shot 3-converted
click 42 38 # the generator button's arrow
xdotool mousemove --window "$main" 80 75
shot 4-generator-menu
xdotool key Escape
click 109 348 # "Сохранить"
shot 5-save-options
xdotool key Escape
echo "screenshots in $out"
