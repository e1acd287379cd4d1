#!/usr/bin/env bash
# Installs what is missing, builds, and starts Charvane. Without a display it converts the
# bundled sample picture with charvane-cli instead and says how to get the window.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
charvane_ensure_packages "${CHARVANE_BUILD_PACKAGES[@]}" "${CHARVANE_RUN_PACKAGES[@]}"

build=build
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCHARVANE_TESTS=OFF \
    -DCHARVANE_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

app="$build/app/charvane"
cli="$build/cli/charvane-cli"
sample="assets/sample.bmp"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$app" ]; then
    exec "$app" "$@"
fi
"$cli" "$sample"
echo
if [ ! -x "$app" ]; then
    echo "This was charvane-cli on $sample; the window is not part of this build yet."
else
    echo "No display: this was charvane-cli on $sample."
    echo "For the window, run ./run.sh on a desktop, or: xvfb-run -s '-screen 0 1280x1024x24' ./run.sh"
fi
