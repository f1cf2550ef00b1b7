#!/usr/bin/env bash
# Renders a span of the demo as one video in parallel segments. Every frame depends only on its
# number on the frame grid (frame j at j / F), so the span is cut into N runs of whole frames,
# each rendered by its own tarvik-render process through GNU parallel (-j: processes on this
# machine; --sshlogin: other machines that hold the same checkout at the same path and have
# built it, on a disk shared with this one or on their own). The video segments are joined with
# ffmpeg's concat demuxer without re-encoding and the sound of the whole span is muxed once.
# The output appears under its name only when complete; the work folder lives under $TMPDIR.
#
# usage: scripts/render_video.sh [--segments N] [-j JOBS] [--sshlogin LIST] [--program PATH]
#            --from T0 --to T1 --out NAME.mp4|NAME.mkv [--fps F] [--size WxH]
#            [--quality low|medium|high] [--render N]
# The video holds the grid frames from the first at or after T0 to the last before T1, exactly
# those of `tarvik-render --from T0 --to T1` in one run. Ctrl-C (status 130) or SIGTERM (143) stops it at any step and
# removes what it made, here and on the other machines.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
# One segment, run by parallel on whichever machine it picked, from the checkout's root.
if [ "${1:-}" = "--run-segment" ]; then
  shift
  cd "$root"
  mkdir -p "$(dirname "${@: -1}")"
  # The renderer's start-up messages on stdout are of no use here; its errors go to stderr. It
  # needs no display (without one it draws through SDL's offscreen driver).
  exec "$@" > /dev/null
fi

fail() { echo "render_video: $*" >&2; exit "${stop_status:-1}"; }
usage() { sed -n '/^# usage:/,/^[^#]/p' "$0" | sed '$d; s/^# \{0,1\}//'; }

segments=""
jobs="$(nproc)"
sshlogin=""
program=""
from="" to="" out="" fps=60
render_args=()
while [ $# -gt 0 ]; do
  case "$1" in -h|--help) usage; exit 0 ;; esac
  [ $# -ge 2 ] || fail "missing value for $1"
  case "$1" in
    --segments) segments="$2" ;;
    -j|--jobs) jobs="$2" ;;
    --sshlogin) sshlogin="$2" ;;
    --program) program="$2" ;;
    --from) from="$2" ;;
    --to) to="$2" ;;
    --out) out="$2" ;;
    --fps) fps="$2"; render_args+=("$1" "$2") ;;
    --size|--quality|--render) render_args+=("$1" "$2") ;;
    *) fail "unknown option $1" ;;
  esac
  shift 2
done
[ -n "$from" ] && [ -n "$to" ] && [ -n "$out" ] || fail "--from, --to and --out are required"
case "$out" in
  *.mp4) ext=mp4; sound_codec=(-c:a aac -b:a 192k -movflags +faststart -f mp4) ;;
  *.mkv) ext=mkv; sound_codec=(-c:a flac -f matroska) ;;
  *) fail "--out must end in .mp4 or .mkv" ;;
esac
command -v ffmpeg >/dev/null || fail "cannot find the ffmpeg program (install the Debian package ffmpeg)"
command -v parallel >/dev/null || fail "cannot find GNU parallel (install the Debian package parallel)"
case "$jobs" in ''|*[!0-9]*|0) fail "bad value for -j: $jobs (a count of 1 or more)" ;; esac
[ -z "$segments" ] && segments="$jobs"
case "$segments" in ''|*[!0-9]*|0) fail "bad value for --segments: $segments (a count of 1 or more)" ;; esac

# The output path is resolved before the script moves to the checkout's root.
out_dir="$(cd "$(dirname "$out")" && pwd)" || fail "cannot write to $out"
out="$out_dir/$(basename "$out")"
[ ! -d "$out" ] || fail "--out $out is an existing folder, not a video file name"
if [ -n "$program" ]; then
  [ -x "$program" ] || fail "cannot find $program"
  program="$(cd "$(dirname "$program")" && pwd)/$(basename "$program")"
fi
cd "$root"
[ -n "$program" ] || program="$root/build/tarvik-render"
[ -x "$program" ] || fail "cannot find $program (build it, or name another with --program)"

# The span's first grid frame and its frame count, by tarvik-render's own rule: the first frame
# at or after a time, with the same small tolerance for binary rounding.
read -r first count < <(awk -v a="$from" -v b="$to" -v f="$fps" '
  function at_or_after(x,  n, c) { n = x * f - 1e-6; c = int(n); if (c < n) c++; return c }
  BEGIN { j0 = at_or_after(a); print j0, at_or_after(b) - j0 }')
[ "$count" -ge 1 ] || fail "the span from --from to --to holds no frame"
# More segments than frames would be empty, and more renderers on this machine than its cores
# only share the cores while each holds its own memory.
cap() {  # name, value, limit, why
  if [ "$2" -gt "$3" ]; then echo "render_video: $1 $2 capped at $3 ($4)" >&2; echo "$3"; else echo "$2"; fi
}
segments=$(cap --segments "$segments" "$count" "the span holds $count frames")
[ -n "$sshlogin" ] || jobs=$(cap -j "$jobs" "$(nproc)" "this machine's cores")
frame_time() { awk -v k="$1" -v f="$fps" 'BEGIN { printf "%.17g\n", k / f }'; }

work="$(mktemp -d "${TMPDIR:-/tmp}/render_video.XXXXXX")"
partial="$out.part"
# The other machines keep their copies of the segments until the end: on a disk shared with
# this one their copy is the only one, so they are removed only once the video is joined.
remove_remote_work() {
  [ -n "$sshlogin" ] || return 0
  parallel --will-cite --nonall --sshlogin "$sshlogin" rm -rf "$work" > /dev/null 2>&1 || true
}
# Each long step runs in a process group of its own and the script waits for it in the
# background: bash runs a trap only once a foreground child has ended, and drops Ctrl-C when
# that child handled it itself, so a stop would otherwise read as the step's own failure. The
# wait is short naps, since bash runs traps between commands and a stop that lands just as a
# long wait begins can wait with it.
run_step() {
  setsid "$@" <&0 &  # an explicit stdin: a background command would read /dev/null
  local step=$!
  while kill -0 "$step" 2> /dev/null; do sleep 0.1; done
  wait "$step"
}
# The step is found as the shell's background job: a stop can land before run_step has noted
# its pid, and before the step leads its own group (it is then signalled by its pid). It is
# signalled again until it is gone (parallel ends its jobs on a TERM; KILL after 5 s).
stop_step() {
  local step signal=TERM tries=0
  step=$(jobs -p | tail -n 1)
  [ -n "$step" ] || return 0
  while kill -0 "$step" 2> /dev/null; do
    kill -"$signal" -- "-$step" 2> /dev/null || kill -"$signal" "$step" 2> /dev/null || true
    sleep 0.1
    tries=$((tries + 1))
    [ "$tries" -lt 50 ] || signal=KILL
  done
  wait "$step" 2> /dev/null || true
}
cleanup() { stop_step; remove_remote_work; rm -rf "$work" "$partial"; }
trap cleanup EXIT
trap 'stop_status=130; exit 130' INT
trap 'stop_status=143; exit 143' TERM
trap 'stop_status=129; exit 129' HUP

# One row per segment: its start, its end and its file (the same absolute path on every machine).
table="$work/segments"
: > "$table"
for ((i = 0; i < segments; i++)); do
  a=$((first + i * count / segments))
  b=$((first + (i + 1) * count / segments))
  name="segment_$(printf '%04d' "$i").$ext"
  printf '%s\t%s\t%s\n' "$(frame_time "$a")" "$(frame_time "$b")" "$work/$name" >> "$table"
  echo "file '$name'" >> "$work/list.txt"
done

parallel_args=(--will-cite --halt now,fail=1 -j "$jobs" --colsep '\t')
[ -t 2 ] && parallel_args+=(--bar)
# Remote segments are rendered from the same checkout path into the same work path and copied
# back here (rsync leaves a file that is already here, on a shared disk, as it is).
[ -n "$sshlogin" ] && parallel_args+=(--sshlogin "$sshlogin" --return {3})
start=$(date +%s)
echo "render_video: $count frames in $segments segments, ${sshlogin:-$jobs at a time}" >&2
run_step parallel "${parallel_args[@]}" bash "$root/scripts/render_video.sh" --run-segment "$program" --from {1} --to {2} \
  "${render_args[@]}" --no-sound --quiet --out {3} < "$table" || fail "a segment failed"

run_step "$program" --from "$(frame_time "$first")" --to "$(frame_time $((first + count)))" --fps "$fps" \
  --out "$work/sound.wav" > /dev/null || fail "could not write the sound"
run_step ffmpeg -hide_banner -nostdin -loglevel error -y -f concat -safe 0 -i "$work/list.txt" -i "$work/sound.wav" \
  -map 0:v:0 -map 1:a:0 -c:v copy "${sound_codec[@]}" "$partial" || fail "ffmpeg could not join the segments"
mv "$partial" "$out"
echo "render_video: wrote $out in $(($(date +%s) - start)) s" >&2
