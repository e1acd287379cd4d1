# Finding and clicking the program's windows on the virtual screen, for the smoke scripts that
# source this file. They set pid (the program's process) and, once it is found, main (the main
# window's id). Window coordinates are the program's pixels: with CHARVANE_SCALE=N the program
# shows each as N x N pixels of the screen.

scale=${CHARVANE_SCALE:-1}

# Prints the id of the first visible window whose name matches, waiting up to 30 s; fails at
# once when the program has ended.
wait_for_window() {
    local id
    for _ in $(seq 1 150); do
        kill -0 "$pid" 2>/dev/null || return 1
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.2
    done
    return 1
}

wait_for_no_window() {
    for _ in $(seq 1 150); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    return 1
}

# Prints the id of a visible window of the program other than the main window (its names are
# not ASCII, which xdotool's search cannot always match), waiting up to 10 s.
wait_for_second_window() {
    local id
    for _ in $(seq 1 50); do
        id=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -v -x "$main" | head -n 1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.2
    done
    return 1
}

wait_for_no_second_window() {
    for _ in $(seq 1 50); do
        xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -q -v -x "$main" || return 0
        sleep 0.2
    done
    return 1
}

# Clicks at a point of a window (window coordinates); with no window manager the keyboard
# follows the pointer, so keys pressed afterwards reach that window.
click_in() {
    xdotool mousemove --window "$1" $(($2 * scale)) $(($3 * scale)) click 1
}

# The rest serves the scripts that drive the program under a window manager. Each defines
# fail MESSAGE, which the helpers call.

# Runs the calling script again on a virtual screen (1280 x 1024, N times larger with
# CHARVANE_SCALE=N) once the tools it names are there; exits 77 (skipped) when one is missing.
# Usage: on_virtual_screen WHAT TOOL... -- SCRIPT-ARGUMENT...
on_virtual_screen() {
    local what=$1
    shift
    if [ "${CHARVANE_ON_SCREEN:-}" = 1 ]; then
        return 0
    fi
    while [ "$1" != -- ]; do
        if ! command -v "$1" >/dev/null; then
            echo "$1 missing: $what skipped"
            exit 77
        fi
        shift
    done
    shift
    CHARVANE_ON_SCREEN=1 exec xvfb-run -a -s "-screen 0 $((1280 * scale))x$((1024 * scale))x24" \
        bash "$0" "$@"
}

# Begins a run: a scratch folder ($work); at exit the program ($pid) and the window manager ($wm)
# are ended and the folder goes. A sanitizer build reports what system libraries keep until
# exit; that is not ours to fix, so those reports are suppressed.
begin_run() {
    local here
    here=$(dirname "$(realpath "${BASH_SOURCE[0]}")")
    export LSAN_OPTIONS="suppressions=$here/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
    work=$(mktemp -d)
    pid=""
    wm=""
    trap end_run EXIT
}
end_run() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null || true
    [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
    rm -rf "$work"
}

# Starts openbox and waits until it says it runs.
start_window_manager() {
    openbox >/dev/null 2>&1 &
    wm=$!
    for _ in $(seq 1 50); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
}

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

# Closes the main window with Alt+F4 and expects the program to end within 10 s with status 0
# (so a sanitizer build found no error and no leak).
end_with_alt_f4() {
    xdotool windowactivate --sync "$main" 2>/dev/null || true
    xdotool key alt+F4
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "the program did not end on Alt+F4"
    local status=0
    wait "$pid" || status=$?
    pid=""
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
}
