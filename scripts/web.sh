#!/usr/bin/env bash
# Builds the browser twin into build-web/ and serves it on http://127.0.0.1:8080/.
# build-web/ is a static folder any web host serves as it is: the page (index.html, tarvik.js),
# the module (tarvik-web.js, tarvik-web.wasm), the pack (data.vx) and the music
# (music/tarvik.mp3), both made by the desktop build's generators as for the demo.
# --build-only stops after the build.
set -euo pipefail
cd "$(dirname "$0")/.."
build_only=0
for arg in "$@"; do
  case "$arg" in
    --build-only) build_only=1 ;;
    *) echo "web.sh: unknown option $arg (the only one is --build-only)" >&2; exit 2 ;;
  esac
done
bash scripts/setup.sh
export CCACHE_BASEDIR="$(pwd)" CCACHE_NOHASHDIR=true
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target assets
# Debian's emscripten finds its optimiser's JavaScript modules only through NODE_PATH.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-web -j"$(nproc)"
mkdir -p build-web/music
cp data.vx build-web/data.vx
cp music/tarvik.mp3 build-web/music/tarvik.mp3
echo "web.sh: built build-web/ ($(du -sh build-web/tarvik-web.wasm | cut -f1) of wasm)"
[ "$build_only" -eq 1 ] && exit 0
echo "web.sh: serving the demo on http://127.0.0.1:8080/ (Ctrl-C ends it)"
exec python3 -m http.server --bind 127.0.0.1 --directory build-web 8080
