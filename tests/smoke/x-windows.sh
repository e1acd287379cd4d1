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
