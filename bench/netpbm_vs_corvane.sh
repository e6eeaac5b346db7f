#!/usr/bin/env bash
# Times the two ways of turning pictures into 8-bit Palm bitmap resources, in
# one run on the same pictures:
#   netpbm:  bmptopnm | pnmremap -mapfile=palmcolor8.map | pnmtopalm -depth 8
#            -scanline_compression -density 144 -transparent '#00ff00', once per picture
#   corvane: corvane bitmap encode PICTURE --depth 8 -o OUT, once per picture
# on the 35 pictures of a skin (photo-like, at the elements' sizes) and on one
# 320 x 320 photo, and prints the ratio.
#
# Usage: bench/netpbm_vs_corvane.sh [PATH-TO-corvane] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."

corvane=${1:-}
if [ -z "$corvane" ]; then
  for candidate in build/release/corvane build/corvane; do
    if [ -x "$candidate" ]; then corvane=$candidate; break; fi
  done
fi
if [ -z "$corvane" ] || [ ! -x "$corvane" ]; then
  echo "netpbm_vs_corvane: no built corvane found; pass its path as the first argument" >&2
  exit 2
fi
rounds=${2:-3}
map=/usr/share/netpbm/palmcolor8.map
for tool in convert bmptopnm pnmremap pnmtopalm; do
  command -v "$tool" >/dev/null || { echo "netpbm_vs_corvane: $tool is missing (install netpbm and imagemagick)" >&2; exit 2; }
done
[ -r "$map" ] || { echo "netpbm_vs_corvane: $map is missing (install netpbm)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The 35 skin pictures: 24 key labels and 2 dial-button faces of 102 x 46, five
# speed-dial states of 156 x 32, the edge strip, the arrow, title and event bar.
sizes=()
for _ in $(seq 26); do sizes+=(102x46); done
for _ in $(seq 5); do sizes+=(156x32); done
sizes+=(320x8 18x10 320x30 320x30)

mkdir -p "$work/skin" "$work/photo" "$work/out"
seed=1
for size in "${sizes[@]}"; do
  convert -seed "$seed" -size "$size" plasma: -type TrueColor "BMP3:$work/skin/$(printf %02d "$seed").bmp"
  seed=$((seed + 1))
done
convert -seed 99 -size 320x320 plasma: -type TrueColor "BMP3:$work/photo/photo.bmp"

now() { date +%s%N; }

netpbm_encode() {  # folder
  for picture in "$1"/*.bmp; do
    bmptopnm "$picture" 2>/dev/null | pnmremap -mapfile="$map" 2>/dev/null |
      pnmtopalm -depth 8 -scanline_compression -density 144 -transparent '#00ff00' \
        >"$work/out/$(basename "$picture").palm" 2>/dev/null
  done
}

corvane_encode() {  # folder
  for picture in "$1"/*.bmp; do
    "$corvane" bitmap encode "$picture" --depth 8 -o "$work/out/$(basename "$picture").bin"
  done
}

# Milliseconds of the best of the rounds.
best_ms() {  # function folder
  local best=
  for _ in $(seq "$rounds"); do
    local start end
    start=$(now)
    "$1" "$2"
    end=$(now)
    local ms=$(((end - start) / 1000000))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

report() {  # label netpbm-ms corvane-ms
  awk -v label="$1" -v n="$2" -v c="$3" 'BEGIN {
    if (c < 1) c = 1
    printf "%-28s netpbm %6d ms   corvane %6d ms   ratio %.1f\n", label, n, c, n / c }'
}

echo "best of $rounds rounds; corvane: $corvane"
skin_netpbm=$(best_ms netpbm_encode "$work/skin")
skin_corvane=$(best_ms corvane_encode "$work/skin")
report "35 skin pictures" "$skin_netpbm" "$skin_corvane"
photo_netpbm=$(best_ms netpbm_encode "$work/photo")
photo_corvane=$(best_ms corvane_encode "$work/photo")
report "one 320 x 320 photo" "$photo_netpbm" "$photo_corvane"
