#!/usr/bin/env bash
# Frame benchmark of a reference commit and of this checkout's ./build, back to back on the same
# machine: both tables, then per part the ratio of wall time per frame (new / reference), the
# mean of those ratios and the ratio of the mean wall times (a benchmark, not a test).
# usage: scripts/compare_bench.sh REF_COMMIT [--rounds N] [tarvik-render options]
#        (--quality low and --size 320x180 unless named; e.g. add --frames 3)
# --rounds N runs the two builds N times in turn and keeps, per build and part, the fastest
# round: a shared machine only ever adds time, and alternating spreads its slow spells over both.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ref_build.sh
[ $# -ge 1 ] || { echo "usage: scripts/compare_bench.sh REF_COMMIT [tarvik-render options]" >&2; exit 2; }
ref_dir=$(ref_worktree "$1")
shift
rounds=1
if [ "${1:-}" = "--rounds" ]; then
  [[ "${2:-}" =~ ^[1-9][0-9]*$ ]] || { echo "--rounds needs a whole number of at least 1" >&2; exit 2; }
  rounds=$2
  shift 2
fi
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
for round in $(seq "$rounds"); do
  bench "$ref_dir" "$work/ref.$round"
  bench "$(pwd)" "$work/new.$round"
done
echo "reference ($ref_dir), round 1:"; cat "$work/ref.1"
echo "working tree, round 1:"; cat "$work/new.1"
# Each build's wall / frame row is what it prints: the reference commit's bench printed the mean
# over the frames, today's prints the median and, under it, the mean. The ratios are given both
# as printed and mean against mean, the like-for-like figure, each from the fastest round.
awk '/^wall \/ frame/ { n = NF - 3; row = FNR; for (i = 4; i <= NF; i++) w[FILENAME, i - 3] = m[FILENAME, i - 3] = $i }
  FNR == row + 2 && $1 == "mean" { for (i = 2; i <= NF; i++) m[FILENAME, i - 1] = $i }
  function fastest(v, build, i,    f, best) {
    for (f = 1; f < ARGC; f++)
      if ((ARGV[f] ~ ("/" build "\\.")) && (best == "" || v[ARGV[f], i] + 0 < best + 0)) best = v[ARGV[f], i]
    return best
  }
  function report(title, v,    i, r, sum, mr, mn, old, now) {
    printf "%-18s", title
    for (i = 1; i <= n; i++) {
      old = fastest(v, "ref", i); now = fastest(v, "new", i)
      r = now / old; sum += r; mr += old; mn += now
      printf " %9.3f", r
    }
    printf "\n  mean of part ratios %.3f; mean wall / frame: reference %.2f ms, new %.2f ms, ratio %.3f\n",
      sum / n, mr / n, mn / n, mn / mr
  }
  END {
    report("wall new / ref", w)
    report("means new / ref", m)
  }' "$work"/ref.* "$work"/new.*
