#!/usr/bin/env bash
# Measured on the 2-core dev machine, best of 9, in one run each:
#   load 5:  JPEG 0.0124 s against djpeg 0.0313 s (0.40 x) and jp2a 0.0776 s; peak memory
#            3596 KiB against jp2a's 8912 KiB (0.40 x); bitmap 0.0027 s against dd 0.0078 s
#            (0.35 x); 200 JPEGs 0.187 s in one call against 0.457 s in 200 calls (2.45 x).
#   load 10: JPEG 0.29 x djpeg (CPU time 15.6 against 43.1 ms), bitmap 0.16 x dd, batch 9.6 x.
# Before (whole picture decoded, then drawn): JPEG 34.8 ms CPU and 42 648 KiB; a 5 x 3 bitmap
# 3.7 ms CPU against 1.6 ms now (FreeType, fontconfig and the shared C++ runtime not loaded).
# Times charvane-cli against the floors of what it does, all in one run on the same machine:
#   - a 4000 x 3000 JPEG (4:2:0) at --width 80 against djpeg's full decode to /dev/null, and its
#     peak memory against jp2a's (another text-art converter, timed too);
#   - a 4000 x 3000 24-bit bitmap at --width 80 against reading the whole file with dd bs=1M
#     (warm cache);
#   - 200 small JPEGs in one call against 200 calls one after another.
# Every figure is the best of RUNS runs, whole process against whole process.
#
#   bench/compare-cli.sh [RUNS]        (default 7)
#
# Targets: JPEG <= 0.65 x djpeg and peak memory <= 1.5 x jp2a's; bitmap <= 0.5 x dd; the batch
# >= 1.7 x faster than the separate calls (2 cores).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
source scripts/deps.sh
charvane_ensure_packages "${CHARVANE_BUILD_PACKAGES[@]}" jp2a libjpeg-turbo-progs imagemagick time

build=${CHARVANE_BENCH_BUILD:-build-rel}
if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCHARVANE_TESTS=OFF \
        -DCHARVANE_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target charvane-cli >/dev/null
cli="$build/cli/charvane-cli"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
jpeg="$work/big.jpg"
bitmap="$work/big.bmp"
/usr/bin/convert assets/sample.bmp -resize 4000x3000! -sampling-factor 2x2 -quality 90 "$jpeg"
/usr/bin/convert assets/sample.bmp -resize 4000x3000! -type TrueColor "BMP3:$bitmap"
mkdir "$work/small"
/usr/bin/convert assets/sample.bmp -resize 320x240! -quality 90 "$work/small/0.jpg"
for i in $(seq 1 199); do cp "$work/small/0.jpg" "$work/small/$i.jpg"; done
smalls=("$work"/small/*.jpg)

# Best wall time in seconds of a command over the runs, to the microsecond (/usr/bin/time
# rounds to 10 ms, less than what some of these take).
best_time() {
    local best="" t start
    for _ in $(seq "$runs"); do
        start=$EPOCHREALTIME
        "$@" >/dev/null
        t=$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN{printf "%.6f", b - a}')
        if [ -z "$best" ] || awk "BEGIN{exit !($t < $best)}"; then best=$t; fi
    done
    echo "$best"
}
# Smallest peak resident memory in KiB over three runs.
peak_kib() {
    local best="" m
    for _ in 1 2 3; do
        m=$({ /usr/bin/time -f '%M' "$@" >/dev/null; } 2>&1 | tail -1)
        if [ -z "$best" ] || [ "$m" -lt "$best" ]; then best=$m; fi
    done
    echo "$best"
}
each_call() {
    local f
    for f in "${smalls[@]}"; do "$cli" --width 80 "$f"; done
}

cat "$bitmap" "$jpeg" >/dev/null # warm cache
t_cli_jpeg=$(best_time "$cli" --width 80 "$jpeg")
t_djpeg=$(best_time djpeg -outfile /dev/null "$jpeg")
t_jp2a=$(best_time jp2a --width=80 "$jpeg")
t_cli_bmp=$(best_time "$cli" --width 80 "$bitmap")
t_dd=$(best_time dd if="$bitmap" of=/dev/null bs=1M status=none)
t_batch=$(best_time "$cli" --width 80 "${smalls[@]}")
t_each=$(best_time each_call)
mem_cli=$(peak_kib "$cli" --width 80 "$jpeg")
mem_jp2a=$(peak_kib jp2a --width=80 "$jpeg")

printf 'JPEG 4000x3000: charvane-cli %.4f s, djpeg %.4f s, jp2a %.4f s\n' "$t_cli_jpeg" "$t_djpeg" "$t_jp2a"
printf 'bitmap 4000x3000: charvane-cli %.4f s, dd %.4f s\n' "$t_cli_bmp" "$t_dd"
printf '200 JPEGs: one call %.4f s, 200 calls %.4f s\n' "$t_batch" "$t_each"
awk -v c="$t_cli_jpeg" -v d="$t_djpeg" -v j="$t_jp2a" -v b="$t_cli_bmp" -v dd="$t_dd" \
    -v one="$t_batch" -v many="$t_each" -v mc="$mem_cli" -v mj="$mem_jp2a" 'BEGIN {
    printf "JPEG / djpeg            %.2f  (target <= 0.65)\n", c / d
    printf "JPEG / jp2a             %.2f\n", c / j
    printf "peak memory %d KiB / jp2a %d KiB = %.2f  (target <= 1.5)\n", mc, mj, mc / mj
    printf "bitmap / dd             %.2f  (target <= 0.5)\n", b / dd
    printf "200 calls / one call    %.2f  (target >= 1.7)\n", many / one
}'
