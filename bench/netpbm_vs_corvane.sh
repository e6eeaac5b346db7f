#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Our tool against the netpbm pipeline that does the same work, by CPU time
# (user + system of every process, from /usr/bin/time), measured in one run
# on the same pictures with the two sides alternated round by round:
#   netpbm:  bmptopnm | pnmremap -mapfile=palmcolor8.map | pnmtopalm -depth 8
#            -scanline_compression -density 144 -transparent '#00ff00', per picture
#   corvane: corvane bitmap encode PICTURE --depth 8 -o OUT, or one corvane skin build
# Prints four ratios, each with the target it is held to:
#   1. one 102 x 46 picture at 8 bits: corvane / the pipeline            (at most 0.33)
#   2. corvane --version / the pipeline on that picture                  (at most 0.5)
#   3. corvane skin build of 35 photo-like pictures / the pipeline
#      run on each of them                                               (at most 0.025)
#   4. in process (corvane_bench): 8-bit reduce + encode of the
#      benchmark skin / the same with the plain 256-entry search         (at most 1/60)
# and, for reference, the 16-bit reduce + encode time.
#
# Usage: bench/netpbm_vs_corvane.sh [BUILD-FOLDER] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
rounds=${2:-5}
corvane=$build/corvane
bench=$build/corvane_bench
[ -x "$corvane" ] || { echo "netpbm_vs_corvane: no $corvane; build it or pass the build folder" >&2; exit 2; }
map=/usr/share/netpbm/palmcolor8.map
for tool in convert identify bmptopnm pnmremap pnmtopalm; do
  command -v "$tool" >/dev/null || { echo "netpbm_vs_corvane: $tool is missing (install netpbm and imagemagick)" >&2; exit 2; }
done
[ -x /usr/bin/time ] || { echo "netpbm_vs_corvane: /usr/bin/time is missing (install time)" >&2; exit 2; }
[ -r "$map" ] || { echo "netpbm_vs_corvane: $map is missing (install netpbm)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
corvane=$(realpath "$corvane")

# The bitmap set of a skin: its 35 element pictures at their own sizes,
# replaced by photo-like pictures (ImageMagick's plasma).
"$corvane" skin new --depth 8 -o "$work/default.pdb" >/dev/null
"$corvane" skin extract "$work/default.pdb" -o "$work/set" >/dev/null
seed=1
for picture in "$work"/set/*.bmp; do
  convert -seed "$seed" -size "$(identify -format %wx%h "$picture")" plasma: -type TrueColor "BMP3:$picture"
  seed=$((seed + 1))
done
convert -seed 99 -size 102x46 plasma: -type TrueColor "BMP3:$work/key.bmp"

netpbm_one() {  # picture
  bmptopnm "$1" 2>/dev/null | pnmremap -mapfile="$map" 2>/dev/null |
    pnmtopalm -depth 8 -scanline_compression -density 144 -transparent '#00ff00' >"$work/out.palm" 2>/dev/null
}
netpbm_set() { for picture in "$work"/set/*.bmp; do netpbm_one "$picture"; done; }
corvane_one() { "$corvane" bitmap encode "$1" --depth 8 -o "$work/out.bin"; }
corvane_version() { "$corvane" --version >/dev/null; }
corvane_set() { "$corvane" skin build "$work/set" --depth 8 -o "$work/out.pdb" >/dev/null; }
export -f netpbm_one netpbm_set corvane_one corvane_version corvane_set
export work map corvane

# CPU milliseconds of `times` runs of a function, children included.
cpu_ms() {  # times function [argument]
  /usr/bin/time -f "%U %S" -o "$work/time" bash -c 'for _ in $(seq '"$1"'); do '"$2"' "$1"; done' _ "${3:-}" >/dev/null
  tail -n 1 "$work/time" | awk '{ printf "%d", ($1 + $2) * 1000 }'

}

declare -A total
measure() {  # name times function [argument]
  total[$1]=$(( ${total[$1]:-0} + $(cpu_ms "$2" "$3" "${4:-}") ))
}
for _ in $(seq "$rounds"); do
  measure pipeline 40 netpbm_one "$work/key.bmp"
  measure encode 40 corvane_one "$work/key.bmp"
  measure version 40 corvane_version
  measure netpbm_set 1 netpbm_set
  measure skin_build 4 corvane_set
done

ratio() {  # label ours ours-runs theirs theirs-runs target
  awk -v label="$1" -v o="$2" -v on="$3" -v t="$4" -v tn="$5" -v target="$6" 'BEGIN {
    o /= on; t /= tn; if (t <= 0) t = 1
    printf "%-48s %9.2f ms / %9.2f ms = %.3f   (target %s)\n", label, o, t, o / t, target }'
}
n=$((rounds * 40))
echo "CPU per run, totals of $rounds alternated rounds; corvane: $corvane"
ratio "1. bitmap encode, 102 x 46 at 8 bits / netpbm" "${total[encode]}" "$n" "${total[pipeline]}" "$n" "0.33"
ratio "2. corvane --version / netpbm on that picture" "${total[version]}" "$n" "${total[pipeline]}" "$n" "0.5"
ratio "3. skin build of 35 pictures / netpbm on each" "${total[skin_build]}" "$((rounds * 4))" "${total[netpbm_set]}" "$rounds" "0.025"

if [ -x "$bench" ]; then
  "$bench" --benchmark_filter='BM_ReduceAndEncode/(8|16)$|BM_ReduceAndEncodeNaiveSearch8' \
    --benchmark_repetitions="$rounds" --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, '/_median"/ {
        gsub(/"/, "", $1); scale = $5 == "ns" ? 1e-6 : ($5 == "us" ? 1e-3 : ($5 == "s" ? 1e3 : 1)); cpu[$1] = $4 * scale }
      END {
        fast = cpu["BM_ReduceAndEncode/8_median"]; plain = cpu["BM_ReduceAndEncodeNaiveSearch8_median"]
        printf "%-48s %9.2f ms / %9.2f ms = 1/%.0f   (target 1/60)\n", "4. in process: 8-bit reduce+encode / plain search", fast, plain, plain / fast
        printf "%-48s %9.2f ms\n", "   16-bit reduce+encode", cpu["BM_ReduceAndEncode/16_median"] }'
else
  echo "4. in process: $bench is not built (needs libbenchmark-dev)"
fi
