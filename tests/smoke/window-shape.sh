#!/usr/bin/env bash
# A window region becomes the host window's shape on a real X server: the demo window gets round
# corners of radius 12 for a few seconds, then the region is cleared. While it is shaped the
# server reports a bounding shape and the black desktop shows through the cut corner; afterwards
# the window is square again and its frame covers that corner.
# Usage: window-shape.sh PATH-TO-charvane-windemo [SCREENSHOT-FOLDER]
# Exit 77 (skipped) when there is no xvfb-run, xdotool, xwininfo or ImageMagick.
set -uo pipefail
source "$(dirname "$(realpath "$0")")/fresh-home.sh"

demo=$1
shots=${2:-}
if [ "${CHARVANE_SHAPE_INNER:-}" != 1 ]; then
    for tool in xvfb-run xdotool xwininfo import convert; do
        command -v $tool >/dev/null || { echo "$tool missing: shape run skipped"; exit 77; }
    done
    # -br: a black desktop, so what shows through a cut is known.
    CHARVANE_SHAPE_INNER=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -br" bash "$0" "$@"
fi

fail() {
    echo "window-shape: $*" >&2
    [ -n "$shots" ] && import -window root "$shots/shape-failure.png" 2>/dev/null
    kill -9 "$pid" 2>/dev/null
    exit 1
}

# The colour of one screen pixel as "r,g,b".
pixel() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
        sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}

export LSAN_OPTIONS="suppressions=$(dirname "$(realpath "$0")")/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
"$demo" --round 12 4000 --quit-after 8000 &
pid=$!
for _ in $(seq 1 100); do
    id=$(xdotool search --onlyvisible --name '^Charvane' 2>/dev/null | head -n 1)
    [ -n "$id" ] && break
    sleep 0.1
done
[ -n "$id" ] || fail "the demo window did not appear"
sleep 0.7
eval "$(xdotool getwindowgeometry --shell "$id")"
[ -n "$shots" ] && import -window root "$shots/shape-round.png"

xwininfo -id "$id" -shape | grep -q 'Window shape extents' ||
    fail "the server reports no bounding shape"
[ "$(pixel "$X" "$Y")" = "0,0,0" ] || fail "the top-left corner is not cut: $(pixel "$X" "$Y")"
[ "$(pixel $((X + WIDTH - 1)) $((Y + HEIGHT - 1)))" = "0,0,0" ] ||
    fail "the bottom-right corner is not cut"
[ "$(pixel $((X + 12)) $((Y + 1)))" != "0,0,0" ] || fail "the frame beside the corner is missing"

# The region is cleared after 4 s: the window is whole again.
sleep 4
[ -n "$shots" ] && import -window root "$shots/shape-square.png"
[ "$(pixel "$X" "$Y")" != "0,0,0" ] || fail "the corner stays cut after the region is cleared"
xwininfo -id "$id" -shape | grep -q 'No window shape defined' ||
    fail "the server still reports a shape after the region is cleared"

wait "$pid" || fail "the demo ended with $?"
echo "window-shape: all good"
