#!/usr/bin/env bash
# Sets up, builds and plays the demo from the repo root (its working directory).
# Arguments go to the demo: "windowed", "mode=low|medium|high".
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec ./build/tarvik "$@"
