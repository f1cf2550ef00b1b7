#!/usr/bin/env bash
# Picture check: renders the same stills (two or more per part, 320x180, medium quality) with the
# tarvik-render of a reference commit and of this checkout's ./build, and prints per still the PSNR
# and the largest channel difference (0-255) from ImageMagick's `compare`, then the worst still.
# Exit status 1 when any still is under 45 dB. STILLS="T1,T2,..." replaces the song times.
# usage: scripts/compare_frames.sh REF_COMMIT [OUT_DIR]   (OUT_DIR keeps ref/ and new/ stills)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ref_build.sh
[ $# -ge 1 ] || { echo "usage: scripts/compare_frames.sh REF_COMMIT [OUT_DIR]" >&2; exit 2; }
times="${STILLS:-6,15,30,45,60,72,85,100,115,135,160,180,194,196.5,200,212,225,245,254,258}"
ref_dir=$(ref_worktree "$1")
build_tree "$(pwd)"
out="${2:-$(mktemp -d)}"
mkdir -p "$out/ref" "$out/new"
out=$(cd "$out" && pwd)

render_stills() {  # checkout folder, output folder
  (cd "$1" && run_gl ./build/tarvik-render --time "$times" --size 320x180 --quality medium \
    --quiet --out "$2") >"$2/render.log" 2>&1 || { tail -n 5 "$2/render.log" >&2; exit 1; }
}
render_stills "$ref_dir" "$out/ref"
render_stills "$(pwd)" "$out/new"

# compare writes "PSNR" as a number or "inf", and "PAE" as "quantum (fraction)".
printf '%-20s %8s %10s\n' still "PSNR dB" "max diff"
worst="" worst_psnr=inf failed=0
for ref in "$out"/ref/frame_*.png; do
  name=$(basename "$ref")
  new="$out/new/$name"
  [ -f "$new" ] || { echo "$name: missing from the working tree's stills"; failed=1; continue; }
  psnr=$(compare -metric PSNR "$ref" "$new" null: 2>&1 >/dev/null || true)
  pae=$(compare -metric PAE "$ref" "$new" null: 2>&1 >/dev/null || true)
  diff=$(awk -v p="$pae" 'BEGIN { if (match(p, /\(([0-9.e+-]+)\)/)) printf "%d", substr(p, RSTART + 1, RLENGTH - 2) * 255 + 0.5; else print p }')
  frame=${name#frame_}; frame=${frame%.png}
  label=$(awk -v f="$frame" 'BEGIN { printf "%s (%.2f s)", f + 0, f / 60 }')
  printf '%-20s %8s %10s\n' "$label" "$psnr" "$diff"
  if awk -v p="$psnr" -v w="$worst_psnr" 'BEGIN { exit !(p != "inf" && (w == "inf" || p + 0 < w + 0)) }'; then
    worst_psnr=$psnr worst=$label
  fi
  awk -v p="$psnr" 'BEGIN { exit !(p != "inf" && p + 0 < 45) }' && failed=1
done
echo "worst still: ${worst:-none (all identical)} ${worst:+at $worst_psnr dB}; stills in $out"
exit "$failed"
