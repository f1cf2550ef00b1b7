#!/usr/bin/env bash
# Builds the browser twin and runs its page tests in Debian's chromium, headless, through
# playwright-core (pinned by web/package-lock.json; it downloads no browser). The desktop build
# comes first: the page's stills are compared with tarvik-render's, which needs a display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/web.sh --build-only
npm ci --prefix web --no-audit --no-fund --loglevel=error
export SDL_AUDIODRIVER=dummy
xvfb-run -a -s "-screen 0 1280x720x24" node tests/web/page_test.mjs
