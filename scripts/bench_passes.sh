#!/usr/bin/env bash
# Builds and runs the post-pass benchmark under Xvfb: one line per pass, milliseconds per draw
# at the low-quality render size. Arguments go to the program: [draws] [quality 0..2].
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${BUILD_DIR:-build}"
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$BUILD_DIR" -j2 --target bench_passes
xvfb-run -a -s "-screen 0 1280x720x24" "$BUILD_DIR/bench_passes" "$@"
