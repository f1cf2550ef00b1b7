#!/usr/bin/env bash
# The offline renderer's costs, as figures (a benchmark, not a test): the wall time of a still
# at 5 s and at 255 s (16x16 with a 16x16 render target, so drawing costs next to nothing; 60 fps,
# so every earlier frame is simulated) and their ratio, with
# earlier frames advanced on the CPU (the default) and rendered undrawn (--simulate full), and
# the export speed in frames per second of a 320x180 low-quality video.
# usage: scripts/bench_capture.sh [program] (default ./build/tarvik-render); runs from the repo root.
set -euo pipefail
cd "$(dirname "$0")/.."
program="${1:-./build/tarvik-render}"
[ -x "$program" ] || { echo "bench_capture: cannot find $program" >&2; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=dummy
run() {
  if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 1280x720x24" "$@"; fi
}

# "wall cpu" seconds of one still (start-up included; cpu = user + system, steadier than wall
# time on a busy machine), the run with the least cpu time of $3.
still_seconds() {
  local best="" figures
  for ((i = 0; i < $3; i++)); do
    figures=$( { TIMEFORMAT='%R %U %S'; time run "$program" --time "$1" --size 16x16 --render 16 \
      --simulate "$2" --out "$work/still.png" > /dev/null 2>&1; } 2>&1 | awk '{ printf "%.2f %.2f", $1, $2 + $3 }')
    best=$(awk -v a="$best" -v b="$figures" 'BEGIN { split(a, x); split(b, y); print (a == "" || y[2] < x[2]) ? b : a }')
  done
  echo "$best"
}

for path in cpu full; do
  runs=3
  [ "$path" = full ] && runs=1  # one run: the full path renders every earlier frame undrawn, which is slow
  read -r early_wall early_cpu < <(still_seconds 5 "$path" "$runs")
  read -r late_wall late_cpu < <(still_seconds 255 "$path" "$runs")
  echo "simulation $path: still at 5 s: ${early_wall} s wall, ${early_cpu} s cpu; at 255 s: ${late_wall} s wall, ${late_cpu} s cpu"
  awk -v a="$early_wall" -v b="$late_wall" -v c="$early_cpu" -v d="$late_cpu" -v p="$path" \
    'BEGIN { printf "simulation %s: ratio 255 s / 5 s: %.2f wall, %.2f cpu\n", p, b / a, d / c }'
done

# The renderer's own progress line times the drawn and encoded frames, without start-up.
run "$program" --from 10 --to 11 --fps 30 --size 320x180 --quality low --out "$work/clip.mp4" \
  2> "$work/progress.txt" > /dev/null
fps=$(tail -n 1 "$work/progress.txt" | sed -n 's/.*), \([0-9.]*\) fps.*/\1/p')
echo "export 320x180 low, 30 frames at 30 fps to .mp4: $fps frames per second"
