#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Our error diffusion against the peers a skin maker could reduce pictures
# with, on the same pictures in one run: three photographs and five gradients
# (bench/dither.py draws and scales them), reduced to the phone's palette
# (8 bits) and to 5-6-5 (16 bits) by
#   exact:      corvane bitmap encode --dither none (the nearest colour; for scale)
#   corvane:    corvane bitmap encode --dither diffusion
#   netpbm:     pnmremap -floyd -mapfile=palmcolor8.map; at 16 bits on each
#               channel with its 32 or 64 levels (the same as remapping to all
#               65536 colours, whose nearest colour is found channel by channel)
#   magick:     convert -dither FloydSteinberg -remap MAP (all 65536 colours at 16 bits)
#   liq:        libimagequant's remap to the palette as fixed colours, dithering
#               at full strength (bench/liq_remap.c, built here); 256 colours at
#               most, so 8 bits only
# For each: the mean CIEDE2000 between original and reduction after a Gaussian
# blur of one pixel (bench/dither.py), averaged over the set, and the CPU time
# (user + system, /usr/bin/time) of reducing the whole set ROUNDS times, each
# tool reading and writing its own files. Goal: corvane's error at most the
# lowest peer's at both depths, its CPU at most netpbm's.
#
# With a third argument, also writes the manual's picture there: crops of a
# photograph and the sky at 8 bits and of the button face at 16 bits, each as
# painted, reduced to the nearest colours and diffused.
#
# Usage: bench/dither.sh [BUILD-FOLDER] [ROUNDS] [FIGURE.png]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
rounds=${2:-3}
figure=${3:-}
corvane=$build/corvane
python=/usr/bin/python3  # Debian's, where python3-skimage is
map8=/usr/share/netpbm/palmcolor8.map
[ -x "$corvane" ] || { echo "dither: no $corvane; build it or pass the build folder" >&2; exit 2; }
scripts/ensure-packages.sh @test @bench
for tool in pnmremap pamchannel pamcut pamtopnm rgb3toppm ppmtoppm bc cc pkg-config; do
  command -v "$tool" >/dev/null || { echo "dither: $tool is missing (install netpbm and gcc)" >&2; exit 2; }
done
[ -x /usr/bin/convert ] || { echo "dither: /usr/bin/convert is missing (install imagemagick)" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "dither: /usr/bin/time is missing (install time)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
corvane=$(realpath "$corvane")
cc -O2 -o "$work/liq_remap" bench/liq_remap.c $(pkg-config --cflags --libs imagequant)
read -r -a pictures <<<"$("$python" bench/dither.py pictures "$work")"
ppmtoppm <"$map8" >"$work/palm8.ppm"
for p in "${pictures[@]}"; do  # the channels netpbm remaps one by one at 16 bits
  for c in 0 1 2; do pamchannel -infile="$work/$p.ppm" -tupletype=GRAYSCALE "$c" | pamtopnm >"$work/$p.$c.pgm"; done
done
export work corvane

# One method's reduction of picture $1 at depth $2 into $work/$1.$2.METHOD.ppm.
exact() { "$corvane" bitmap encode "$work/$1.ppm" --depth "$2" --dither none -o "$work/$1.$2.bin" &&
  "$corvane" bitmap decode "$work/$1.$2.bin" -o "$work/$1.$2.exact.ppm" >/dev/null 2>&1; }
corvane() { "$corvane" bitmap encode "$work/$1.ppm" --depth "$2" --dither diffusion -o "$work/$1.$2.bin"; }
netpbm() {
  if [ "$2" = 8 ]; then
    pnmremap -floyd -mapfile="$work/palm8.ppm" "$work/$1.ppm" >"$work/$1.8.netpbm.ppm" 2>/dev/null
  else
    for c in 0 1 2; do
      pnmremap -floyd -mapfile="$work/levels$([ "$c" = 1 ] && echo 6 || echo 5).pgm" "$work/$1.$c.pgm" >"$work/$1.16.$c.pgm" 2>/dev/null
    done
    rgb3toppm "$work/$1.16.0.pgm" "$work/$1.16.1.pgm" "$work/$1.16.2.pgm" >"$work/$1.16.netpbm.ppm"
  fi
}
magick() {
  local map=$work/palm8.ppm
  [ "$2" = 16 ] && map=$work/map565.ppm
  /usr/bin/convert "$work/$1.ppm" -dither FloydSteinberg -remap "$map" "$work/$1.$2.magick.ppm"
}
liq() { "$work/liq_remap" "$work/palm8.ppm" "$work/$1.ppm" "$work/$1.8.liq.ppm"; }
export -f corvane netpbm magick liq

# The CPU seconds of `rounds` passes of the method over the whole set.
cpu() {  # method depth
  /usr/bin/time -f "%U %S" -o "$work/time" bash -c '
    for ((r = 0; r < '"$rounds"'; r++)); do for p in '"${pictures[*]}"'; do '"$1"' "$p" '"$2"'; done; done'
  awk '{ printf "%.2f", $1 + $2 }' "$work/time"
}

# The set's mean error of the method's reductions.
error() {  # method depth
  local sum=0
  for p in "${pictures[@]}"; do
    [ "$1" = corvane ] && "$corvane" bitmap decode "$work/$p.$2.bin" -o "$work/$p.$2.corvane.ppm" >/dev/null 2>&1
    sum=$(echo "$sum + $("$python" bench/dither.py error "$work/$p.ppm" "$work/$p.$2.$1.ppm")" | bc -l)
  done
  echo "$sum / ${#pictures[@]}" | bc -l | awk '{ printf "%.3f", $1 }'
}

echo "pictures: ${pictures[*]} (320 x 240); CPU: $rounds passes over the set"
printf '| %-8s | %-14s | %-12s | %-15s | %-12s |\n' method "8-bit error" "8-bit CPU s" "16-bit error" "16-bit CPU s"
printf '|%s|%s|%s|%s|%s|\n' ---------- ---------------- -------------- ----------------- --------------
declare -A err time
for method in exact corvane netpbm magick liq; do
  for depth in 8 16; do
    if [ "$method" = liq ] && [ "$depth" = 16 ]; then err[$method$depth]=-; time[$method$depth]=-; continue; fi
    for p in "${pictures[@]}"; do "$method" "$p" "$depth"; done
    [ "$method" = exact ] && time[$method$depth]=- || time[$method$depth]=$(cpu "$method" "$depth")
    err[$method$depth]=$(error "$method" "$depth")
  done
  printf '| %-8s | %-14s | %-12s | %-15s | %-12s |\n' "$method" "${err[${method}8]}" "${time[${method}8]}" \
    "${err[${method}16]}" "${time[${method}16]}"
done

for depth in 8 16; do
  lowest=$(for m in netpbm magick liq; do echo "${err[$m$depth]}"; done | grep -v '^-$' | sort -g | head -1)
  verdict=$(echo "${err[corvane$depth]} <= $lowest" | bc -l)
  echo "$depth bits: corvane's error ${err[corvane$depth]} against the lowest peer's $lowest: $([ "$verdict" = 1 ] && echo met || echo NOT met)"
  verdict=$(echo "${time[corvane$depth]} <= ${time[netpbm$depth]}" | bc -l)
  echo "$depth bits: corvane's CPU ${time[corvane$depth]} s against netpbm's ${time[netpbm$depth]} s: $([ "$verdict" = 1 ] && echo met || echo NOT met)"
done

if [ -n "$figure" ]; then
  rows=()
  for crop in "coffee 8 60 40" "sky 8 0 0" "face 16 0 60"; do
    read -r p depth left top <<<"$crop"
    pamcut -left "$left" -top "$top" -width 200 -height 100 "$work/$p.ppm" >"$work/crop.ppm"
    for dither in none diffusion; do
      "$corvane" bitmap encode "$work/crop.ppm" --depth "$depth" --dither "$dither" -o "$work/crop.bin"
      "$corvane" bitmap decode "$work/crop.bin" -o "$work/crop.$p.$dither.ppm" >/dev/null 2>&1
    done
    cp "$work/crop.ppm" "$work/crop.$p.ppm"
    rows+=("$work/crop.$p.ppm,$work/crop.$p.none.ppm,$work/crop.$p.diffusion.ppm")
  done
  "$python" bench/dither.py figure "$figure" "${rows[@]}"
  echo "wrote $figure"
fi
