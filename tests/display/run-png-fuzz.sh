#!/bin/sh
# Runs the PNG fuzz target for a bounded time (default 60 s) in its own
# clang build folder: build-fuzz/ beside the sources.
#   tests/display/run-png-fuzz.sh [seconds]
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBRAMBLE_FUZZ=ON -DBRAMBLE_BENCH=OFF >/dev/null
cmake --build "$build" -j 3 --target display_png_fuzz display_png_seeds
corpus="$build/png-corpus"
mkdir -p "$corpus"
"$build/tests/display/display_png_seeds" "$corpus"
"$build/tests/display/display_png_fuzz" "$corpus" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1
