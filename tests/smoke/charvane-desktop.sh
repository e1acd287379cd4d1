#!/usr/bin/env bash
# The real program among the desktop's windows on a virtual screen, first under a window manager
# (openbox), then with none:
# - the main window opens centred and unframed by the window manager, also when the window
#   manager starts with it or after it, and dragging its bottom-right corner makes it larger;
# - its caption moves it, its buttons and a double click maximise and restore it, minimise puts
#   it in the task bar, from where it comes back (with no window manager it stays on the
#   screen), and the close button ends the program;
# - with the save options window open, a click on the main window leaves the options window in
#   front and active (the window manager knows it is modal for the main window), and Alt+F4
#   does not end the program;
# - with no window manager, after a save (options window, save dialog, error box) the keyboard
#   is back at the main window: Alt+F4 ends the program;
# - SIGTERM and SIGINT end the program within a second, with a modal window open, status 0.
# With CHARVANE_SCALE=N (1 to 3) the program shows every pixel as N x N: the virtual screen is
# N times larger, and every position and size below stays in the program's own pixels.
# Usage: charvane-desktop.sh PATH-TO-charvane [SCREENSHOT-FOLDER]
# Exit 77 (skipped) without xvfb-run, xdotool, xprop or openbox.
set -euo pipefail
source "$(dirname "$(realpath "$0")")/fresh-home.sh"

app=$1
shots=${2:-}
if [ "${CHARVANE_DESKTOP_INNER:-}" != 1 ]; then
    for tool in xvfb-run xdotool xprop xwininfo openbox; do
        if ! command -v "$tool" >/dev/null; then
            echo "$tool missing: desktop run skipped"
            exit 77
        fi
    done
    n=${CHARVANE_SCALE:-1}
    CHARVANE_DESKTOP_INNER=1 exec xvfb-run -a -s "-screen 0 $((1280 * n))x$((1024 * n))x24" \
        bash "$0" "$@"
fi
export LSAN_OPTIONS="suppressions=$(dirname "$(realpath "$0")")/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

pid=""
wm=""
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null || true
    [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
    rm -f "$errors"
}
trap cleanup EXIT

errors=$(mktemp)
fail() {
    echo "desktop: $*" >&2
    tail -n 40 "$errors" >&2
    [ -n "$shots" ] && import -window root "$shots/desktop-failure.png" 2>/dev/null || true
    exit 1
}
source "$(dirname "$(realpath "$0")")/x-windows.sh"
shot() { [ -z "$shots" ] || import -window root "$shots/desktop-$1.png"; }

# Succeeds when the program has ended within $1 tenths of a second with status 0.
ends_within() {
    for _ in $(seq 1 "$1"); do
        if ! kill -0 "$pid" 2>/dev/null; then
            local status=0
            wait "$pid" || status=$?
            pid=""
            [ "$status" -eq 0 ] || fail "the program exited with status $status"
            return 0
        fi
        sleep 0.1
    done
    return 1
}
# After a termination signal: the windows go within a second; the process may take longer to
# exit in a sanitizer build (the leak check at exit), but not more than a few seconds.
ends_on_signal() {
    kill "-$1" "$pid"
    local gone=""
    for _ in $(seq 1 10); do
        sleep 0.1
        if ! xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; then
            gone=1
            break
        fi
    done
    [ -n "$gone" ] || fail "SIG$1 did not end the program within a second"
    ends_within 50 || fail "the program did not exit after SIG$1"
}
start_program() {
    # Every start as the first: nothing remembered from the run before (in the fresh home only).
    rm -rf "${CHARVANE_FRESH_HOME:?}/config/charvane"
    "$app" 2>"$errors" &
    pid=$!
    main=$(wait_for_window '^Charvane 1\.2') || fail "the main window did not appear"
    sleep 0.5
}
# X, Y, WIDTH and HEIGHT of a window, in the program's pixels.
geometry() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    X=$((X / scale)) Y=$((Y / scale)) WIDTH=$((WIDTH / scale)) HEIGHT=$((HEIGHT / scale))
}
# Drags from a point of a window (window coordinates) by dx, dy in a few steps.
drag() {
    xdotool mousemove --window "$1" $(($2 * scale)) $(($3 * scale)) mousedown 1
    sleep 0.2
    for _ in 1 2 3 4; do
        xdotool mousemove_relative -- $(($4 * scale / 4)) $(($5 * scale / 4))
        sleep 0.1
    done
    xdotool mouseup 1
    sleep 0.5
}
open_save_options() {
    click_in "$main" 109 348 # "Сохранить"
    options=$(wait_for_second_window) || fail "no save options window"
    sleep 0.3
}
wait_for_window_manager() {
    for _ in $(seq 1 50); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    sleep 0.5
}
# The main window in the middle of the screen, with no frame of the window manager's around it.
check_centred() {
    geometry "$main"
    local dx=$((X - (1280 - WIDTH) / 2)) dy=$((Y - (1024 - HEIGHT) / 2))
    [ ${dx#-} -le 2 ] && [ ${dy#-} -le 2 ] || fail "$1: the window is at $X, $Y, not centred"
    if xprop -id "$main" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '= [1-9]'; then
        fail "$1: the window manager framed the window"
    fi
}
# After a click on the main window: the modal window $1 is still above it and active.
in_front() {
    local above
    above=$(xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | tr ' ' '\n' | grep '^0x' |
        while read -r id; do printf '%d\n' "$id"; done | grep -x -e "$main" -e "$1" | tail -n 1)
    [ "$above" = "$1" ] || fail "a click on the main window put it over $2"
    [ "$(xdotool getactivewindow)" = "$1" ] || fail "$2 lost the activation"
}
# Checks the corner drag and returns with the window larger by about 100 x 60.
check_resize() {
    geometry "$main"
    local w=$WIDTH h=$HEIGHT
    drag "$main" $((w - 2)) $((h - 2)) 100 60
    geometry "$main"
    [ $((WIDTH - w)) -ge 90 ] && [ $((HEIGHT - h)) -ge 50 ] ||
        fail "$1: dragging the corner gave $WIDTH x $HEIGHT from $w x $h"
}

# The caption and its buttons (20 pixels each, from the right inside the 4-pixel border: close,
# maximise, minimise), used as a hand would: the window manager moves the window by its caption
# and has the first press of a double click there.
wm_state() { xprop -id "$main" WM_STATE 2>/dev/null | sed -n 's/.*window state: //p'; }
wait_state() {
    for _ in $(seq 1 30); do
        [ "$(wm_state)" = "$1" ] && return 0
        sleep 0.1
    done
    return 1
}
caption_button() {
    geometry "$main"
    click_in "$main" $((WIDTH - 14 - 20 * $1)) 12
    sleep 0.6
}
double_click_caption() {
    xdotool mousemove --window "$main" $((200 * scale)) $((12 * scale)) mousedown 1 sleep 0.08 mouseup 1 sleep 0.12 \
        mousedown 1 sleep 0.08 mouseup 1
    sleep 0.6
}
check_maximised() {
    geometry "$main"
    [ "$WIDTH" -ge 1270 ] && [ "$HEIGHT" -ge 1014 ] || fail "$1 gave $WIDTH x $HEIGHT"
}
check_back_at() {
    geometry "$main"
    [ "$X,$Y,$WIDTH,$HEIGHT" = "$1" ] || fail "$2: the window is at $X,$Y $WIDTH x $HEIGHT, not $1"
}
check_caption() {
    geometry "$main"
    local x=$X
    drag "$main" 300 12 80 40
    geometry "$main"
    [ $((X - x)) -ge 70 ] || fail "$1: dragging the caption moved the window from $x to $X"
    local normal="$X,$Y,$WIDTH,$HEIGHT"
    caption_button 1
    check_maximised "$1: the maximise button"
    caption_button 1
    check_back_at "$normal" "$1: the restore button"
    double_click_caption
    check_maximised "$1: a double click on the caption"
    double_click_caption
    check_back_at "$normal" "$1: a second double click"
}

# ---- under a window manager ----
# Both start at the same moment, as in a session: the window manager may take the window over
# while it is being placed, which must not move it.
openbox &
wm=$!
start_program
wait_for_window_manager
check_centred "with a window manager starting with the program"
check_resize "with a window manager"
shot resized
check_caption "with a window manager"
caption_button 2 # minimise: into the task bar, not gone
wait_state Iconic || fail "the minimise button did not iconify the window"
xdotool windowactivate "$main" 2>/dev/null || true # the task bar's click
wait_state Normal || fail "the window did not come back from the task bar"
sleep 0.5
shot restored

click_in "$main" 109 316 # "Преобразовать" without a picture: the error box
box=$(wait_for_window '^charvane$') || fail "no error box"
click_in "$main" 600 400
sleep 0.5
in_front "$box" "the error box"
xdotool key Return
wait_for_no_window '^charvane$' || fail "the error box did not close on Enter"

open_save_options
xprop -id "$options" WM_TRANSIENT_FOR | grep -qi "$(printf '0x%x' "$main")" ||
    fail "the options window does not belong to the main window"
xprop -id "$options" _NET_WM_STATE | grep -q _NET_WM_STATE_MODAL ||
    fail "the options window is not modal to the window manager"
click_in "$main" 600 400 # the text pane
sleep 0.5
shot modal-after-click
in_front "$options" "the options window"
xdotool key alt+F4
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "Alt+F4 ended the program with the options window open"
wait_for_no_second_window || fail "Alt+F4 did not close the options window"

caption_button 0 # close
ends_within 50 || fail "the close button did not end the program"

start_program
open_save_options
ends_on_signal TERM
kill "$wm" 2>/dev/null || true
wait "$wm" 2>/dev/null || true
wm=""
sleep 0.5

# ---- no window manager ----
start_program
check_resize "without a window manager"
check_caption "without a window manager"
# Nothing can iconify a window here: it stays, and works (the maximise button answers).
caption_button 2
xwininfo -id "$main" | grep -q IsViewable || fail "minimising without a window manager lost it"
caption_button 1
check_maximised "maximising after a minimise without a window manager"
caption_button 1
open_save_options
xdotool key Return # OK: the save dialog follows
sleep 1
xdotool key Escape # no name chosen: the empty name fails to save
box=$(wait_for_window '^charvane$') || fail "no error box after saving without a name"
xdotool key Return
wait_for_no_window '^charvane$' || fail "the error box did not close on Enter"
sleep 0.3
shot no-wm-after-save
xdotool key alt+F4
ends_within 50 || fail "after a save the keyboard did not reach the main window"

# A window manager arriving after the window has shown leaves it where it is, unframed.
start_program
openbox &
wm=$!
wait_for_window_manager
check_centred "with a window manager starting after the program"
open_save_options
ends_on_signal INT
echo "desktop: centred, resizable, caption and its buttons work, modal windows in front, keyboard back, signals end it"
