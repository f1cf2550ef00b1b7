#!/usr/bin/env bash
# Sets up, builds and runs every test; GL tests need a display, so the run sits under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
export SDL_AUDIODRIVER=dummy
xvfb-run -a -s "-screen 0 1280x720x24" ctest --test-dir build --output-on-failure -j2 "$@"
