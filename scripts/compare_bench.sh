#!/usr/bin/env bash
# Frame benchmark of a reference commit and of this checkout's ./build, back to back on the same
# machine: both tables, then per part the ratio of wall time per frame (new / reference), the
# mean of those ratios and the ratio of the mean wall times (a benchmark, not a test).
# usage: scripts/compare_bench.sh REF_COMMIT [tarvik-render options]
#        (--quality low and --size 320x180 unless named; e.g. add --frames 3)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ref_build.sh
[ $# -ge 1 ] || { echo "usage: scripts/compare_bench.sh REF_COMMIT [tarvik-render options]" >&2; exit 2; }
ref_dir=$(ref_worktree "$1")
shift
build_tree "$(pwd)"
# The defaults apply only where the caller did not name the option (the renderer takes each once).
options=("$@")
[[ " $* " == *" --quality "* ]] || options+=(--quality low)
[[ " $* " == *" --size "* ]] || options+=(--size 320x180)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

bench() {  # checkout folder, table file: keeps the table from its header line on
  (cd "$1" && run_gl ./build/tarvik-render --bench "${options[@]}") >"$2.out" 2>&1 || true
  sed -n '/^pass (GPU ms)/,$p' "$2.out" >"$2"
  [ -s "$2" ] || { tail -n 5 "$2.out" >&2; echo "no benchmark table from $1" >&2; exit 1; }
}
bench "$ref_dir" "$work/ref"
bench "$(pwd)" "$work/new"
echo "reference ($ref_dir):"; cat "$work/ref"
echo "working tree:"; cat "$work/new"
# Each build's wall / frame row is what it prints: the reference commit's bench printed the mean
# over the frames, today's prints the median and, under it, the mean. The ratios are given both
# as printed and mean against mean, the like-for-like figure.
awk '/^wall \/ frame/ { for (i = 4; i <= NF; i++) { w[FILENAME, i - 3] = $i; m[FILENAME, i - 3] = $i } n = NF - 3; row = FNR }
  FNR == row + 2 && $1 == "mean" { for (i = 2; i <= NF; i++) m[FILENAME, i - 1] = $i }
  function report(title, v,    i, r, sum, mr, mn) {
    printf "%-18s", title
    for (i = 1; i <= n; i++) {
      r = v[ARGV[2], i] / v[ARGV[1], i]; sum += r
      mr += v[ARGV[1], i]; mn += v[ARGV[2], i]
      printf " %9.3f", r
    }
    printf "\n  mean of part ratios %.3f; mean wall / frame: reference %.2f ms, new %.2f ms, ratio %.3f\n",
      sum / n, mr / n, mn / n, mn / mr
  }
  END {
    report("wall new / ref", w)
    report("means new / ref", m)
  }' "$work/ref" "$work/new"
