# Sourced by compare_frames.sh and compare_bench.sh: builds a tree's tarvik-render and assets,
# keeps a reference commit built in its own git worktree under ${TMPDIR:-/tmp} (reused once
# built, so several checkouts share it), and runs GL programs under Xvfb when there is no display.

# Builds the renderer and the generated music and pack of the checkout at $1; quiet unless it fails.
build_tree() {
  local log
  log=$(mktemp)
  if ! (cd "$1" && export CCACHE_BASEDIR="$(pwd)" CCACHE_NOHASHDIR=true &&
        cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
        cmake --build build -j2 --target tarvik-render assets) >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    echo "build of $1 failed" >&2
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
}

# Prints the folder of a built worktree of commit $1; a lock keeps two callers from building it at once.
ref_worktree() {
  local sha dir
  sha=$(git rev-parse --verify --quiet "$1^{commit}") || { echo "unknown commit: $1" >&2; return 1; }
  dir="${TMPDIR:-/tmp}/tarvik-ref-${sha:0:12}"
  (
    flock 9
    if [ ! -e "$dir/.git" ]; then
      git worktree prune
      git worktree add --detach "$dir" "$sha" >/dev/null 2>&1 || { echo "cannot add worktree $dir" >&2; exit 1; }
    fi
    if [ ! -x "$dir/build/tarvik-render" ] || [ ! -f "$dir/data.vx" ] || [ ! -f "$dir/music/tarvik.mp3" ]; then
      echo "building reference ${sha:0:12} in $dir" >&2
      build_tree "$dir"
    fi
  ) 9>"$dir.lock" || return 1
  echo "$dir"
}

run_gl() {
  if [ -n "${DISPLAY:-}" ]; then SDL_AUDIODRIVER=dummy "$@"
  else SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1280x720x24" "$@"; fi
}
