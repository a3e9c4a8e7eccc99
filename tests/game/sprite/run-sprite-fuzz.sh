#!/bin/sh
# Runs the sprite loader's fuzz target for a bounded time (default 60 s) in
# its own clang build folder (build-fuzz/ beside the sources), seeded with
# the content kit's valid and damaged sprite files.
#   tests/game/sprite/run-sprite-fuzz.sh [seconds]
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/../../.." && pwd)
build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBRAMBLE_FUZZ=ON -DBRAMBLE_BENCH=OFF >/dev/null
cmake --build "$build" -j 3 --target sprite_fuzz sprite_seeds
corpus="$build/sprite-corpus"
mkdir -p "$corpus"
"$build/tests/game/sprite/sprite_seeds" "$corpus"
"$build/tests/game/sprite/sprite_fuzz" "$corpus" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1
