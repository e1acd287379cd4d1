#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
charvane_ensure_packages "${CHARVANE_BUILD_PACKAGES[@]}" "${CHARVANE_TEST_PACKAGES[@]}"

build=build-test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCHARVANE_SANITIZE=ON \
    -DCHARVANE_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"
