#!/usr/bin/env bash
# Sets up the packages, then configures and builds everything into ./build
# (the demo, the offline renderer, the generators, the tests, ./music/tarvik.mp3 and ./data.vx).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# The compiler cache keys paths inside the clone relative to it, so another clone of the
# repository (CI's fresh one) reuses what this one compiled.
export CCACHE_BASEDIR="$(pwd)" CCACHE_NOHASHDIR=true
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
