#!/usr/bin/env bash
# Renders stills across the demo, three per part (at a sixth, the half and five sixths of it),
# in one tarvik-render run, and joins them with ImageMagick's montage into one contact sheet,
# each still labelled with its song time and its part. The parts are read from the part table's
# one source, timeline/demo_parts.cpp.
#
# usage: scripts/contact_sheet.sh [OUT]
#   OUT: the sheet, in any format montage writes (default docs/contact_sheet.jpg, the one the
#   README shows). TARVIK_RENDER names another tarvik-render than build/tarvik-render.
set -euo pipefail

case "${1:-}" in -h|--help) sed -n '/^# usage:/,/^[^#]/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;; esac
fail() { echo "contact_sheet: $*" >&2; exit 1; }
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/docs/contact_sheet.jpg}"
out_dir="$(cd "$(dirname "$out")" && pwd)" || fail "cannot write to $out"
out="$out_dir/$(basename "$out")"
program="${TARVIK_RENDER:-$root/build/tarvik-render}"
[ -x "$program" ] || fail "cannot find $program (build it first)"
command -v montage > /dev/null || fail "cannot find montage (install the Debian package imagemagick)"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
fps=60
demo_end=259

work="$(mktemp -d "${TMPDIR:-/tmp}/contact_sheet.XXXXXX")"
trap 'rm -rf "$work"' EXIT

# One row per still: song time (tenths of a second), its frame on the 60 fps grid, its part.
awk -v fps="$fps" -v end="$demo_end" -F'"' '/^ *addDemoPart\(timeline,/ {
    split($1, number, /[(,] */); from = number[3] + 0; to = (number[4] + 0 < end) ? number[4] + 0 : end
    for (i = 1; i <= 5; i += 2) {
      t = int((from + (to - from) * i / 6) * 10 + 0.5) / 10
      printf "%.1f\t%06d\t%s\n", t, int(t * fps + 1e-6), $2
    }
  }' "$root/timeline/demo_parts.cpp" > "$work/stills"
[ -s "$work/stills" ] || fail "found no part in timeline/demo_parts.cpp"

cd "$root"
times="$(cut -f1 "$work/stills" | paste -sd, -)"
"$program" --time "$times" --fps "$fps" --size 256x144 --quality low --render 320 --out "$work" --quiet \
  > /dev/null || fail "tarvik-render could not render the stills"

labelled=()
while IFS=$'\t' read -r t frame part; do
  label="$(awk -v t="$t" 'BEGIN { printf "%d:%04.1f", int(t / 60), t - 60 * int(t / 60) }')  $part"
  labelled+=(-label "$label" "$work/frame_$frame.png")
done < "$work/stills"
montage -font "$font" -pointsize 11 -background '#101010' -fill '#d8d8d8' "${labelled[@]}" \
  -tile 6x -geometry 256x144+3+3 -quality 82 "$out" || fail "montage could not write $out"
echo "contact_sheet: wrote $out" >&2
