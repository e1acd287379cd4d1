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

# The sanitizers' heap writes every block it hands out, which hides what the memory tests
# measure; a plain build of just those runs them, and a skip there is a failure.
plain=build-test-plain
cmake -S . -B "$plain" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCHARVANE_SANITIZE=OFF \
    -DCHARVANE_BENCH=OFF >/dev/null
cmake --build "$plain" -j "$(nproc)" --target test_memory
if ! "$plain/tests/test_memory" | tee "$plain/test_memory.log" ||
    grep -q SKIPPED "$plain/test_memory.log"; then
    echo "test_memory failed or skipped a case in the plain build"
    exit 1
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"
