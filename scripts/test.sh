#!/usr/bin/env bash
# Sets up, builds and runs every test; GL tests need a display, so the run sits under Xvfb;
# then the browser twin's build and its page tests in headless chromium.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
export SDL_AUDIODRIVER=dummy
xvfb-run -a -s "-screen 0 1280x720x24" ctest --test-dir build --output-on-failure -j2 "$@"
# The browser twin's page tests follow the whole suite (not a filtered run of it).
if [ $# -eq 0 ]; then bash scripts/test_web.sh; fi
