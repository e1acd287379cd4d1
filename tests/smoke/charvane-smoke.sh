#!/usr/bin/env bash
# Smoke run of the real program on a virtual screen: the main window appears (found by its
# caption), pressing "Преобразовать" with no picture shows the "Division by zero." error box,
# the box is dismissed, the window closes with Alt+F4 and the program exits with status 0.
# Usage: charvane-smoke.sh PATH-TO-charvane [SCREENSHOT-FOLDER]
# Exit 77 (skipped) when there is no xvfb-run or xdotool.
set -euo pipefail
source "$(dirname "$(realpath "$0")")/fresh-home.sh"

app=$1
shots=${2:-}
if [ "${CHARVANE_SMOKE_INNER:-}" != 1 ]; then
    if ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
        echo "xvfb-run or xdotool missing: smoke run skipped"
        exit 77
    fi
    CHARVANE_SMOKE_INNER=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

fail() {
    echo "smoke: $*" >&2
    [ -n "$shots" ] && import -window root "$shots/smoke-failure.png" 2>/dev/null || true
    kill -9 "$pid" 2>/dev/null || true
    exit 1
}
source "$(dirname "$(realpath "$0")")/x-windows.sh"

# A sanitizer build reports what system libraries keep until exit; that is not ours to fix.
export LSAN_OPTIONS="suppressions=$(dirname "$(realpath "$0")")/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
"$app" &
pid=$!

main=$(wait_for_window '^Charvane 1\.2') || fail "the main window did not appear"
sleep 0.5
[ -n "$shots" ] && import -window root "$shots/smoke-start.png"

# "Преобразовать": the second big button of the left panel; client origin is (4, 23) inside
# the sizeable frame.
click_in "$main" 109 316
box=$(wait_for_window '^charvane$') || fail "no error box after converting without a picture"
sleep 0.3
[ -n "$shots" ] && import -window root "$shots/smoke-error-box.png"
eval "$(xdotool getwindowgeometry --shell "$box")"
xdotool mousemove --window "$box" $((WIDTH / 2)) 10 key Return
wait_for_no_window '^charvane$' || fail "the error box did not close on Enter"

kill -0 "$pid" 2>/dev/null || fail "the program ended after the error box"
xdotool mousemove --window "$main" 300 10 key alt+F4
for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
kill -0 "$pid" 2>/dev/null && fail "the program did not quit on Alt+F4"
wait "$pid" || fail "the program exited with status $?"
echo "smoke: window, error box and clean exit all fine"
