#!/usr/bin/env bash
# Installs every Debian package that building, testing and running tarvik needs (the ssh
# server only so that the test of render_video.sh --sshlogin has a machine to log in to;
# glslang-tools for the test that holds every program to the reference GLSL compiler;
# emscripten, chromium and nodejs for the browser twin's build and its page tests).
# Runs `apt-get update` once, only when something is missing; uses sudo when not root.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ccache
  libsdl2-dev libglew-dev libstb-dev libmpg123-dev libkissfft-dev libmp3lame-dev
  libsndfile1-dev libsamplerate0-dev libx11-dev
  libgtest-dev xvfb xauth fonts-dejavu-core glslang-tools
  libgl1-mesa-dri mesa-utils
  ffmpeg parallel imagemagick
  rsync openssh-client openssh-server
  libcli11-dev
  clang libclang-rt-14-dev
  emscripten chromium nodejs
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
echo "setup: installing ${missing[*]}"
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
