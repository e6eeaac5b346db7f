#!/usr/bin/env bash
# What one run of the tool costs against peers doing the same work, by
# processor time of the whole process (user + system), pair by pair, the two
# sides alternated (bench/cpu_pairs.c), medians over the pairs:
#   1. corvane --version / a C program linking the same picture libraries
#      that does nothing (bench/startup_floor.c)                          (at most 1.5)
#   2. corvane bitmap encode of one 102 x 46 picture at 8 bits / the netpbm
#      pipeline bmptopnm | pnmremap | pnmtopalm -depth 8                  (at most 0.25)
#   3. corvane thumbnail SKIN.pdb OUT.png --size N / gdk-pixbuf-thumbnailer
#      -s N on a PNG of the same 320 x 320 screen, for an 8- and a 16-bit
#      skin at 128 and 256 pixels                                         (at most 0.8)
# Prints the machine's load average before and after: the figures of a
# loaded machine are a run's, not the program's.
#
# Usage: bench/startup_vs_peers.sh [BUILD-FOLDER] [PAIRS]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
pairs=${2:-30}
corvane=$build/corvane
[ -x "$corvane" ] || { echo "startup_vs_peers: no $corvane; build it or pass the build folder" >&2; exit 2; }
map=/usr/share/netpbm/palmcolor8.map
for tool in cc pkg-config convert bmptopnm pnmremap pnmtopalm gdk-pixbuf-thumbnailer; do
  command -v "$tool" >/dev/null ||
    { echo "startup_vs_peers: $tool is missing (install g++, netpbm, imagemagick, libgdk-pixbuf2.0-bin)" >&2; exit 2; }
done
[ -r "$map" ] || { echo "startup_vs_peers: $map is missing (install netpbm)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
corvane=$(realpath "$corvane")

cc -O2 -o "$work/cpu_pairs" bench/cpu_pairs.c
# Linked whether or not a symbol is used, as the tool links them.
# shellcheck disable=SC2046
cc -O2 -o "$work/floor" bench/startup_floor.c -Wl,--no-as-needed \
  $(pkg-config --cflags --libs spng zlib libturbojpeg libjpeg)

convert -seed 99 -size 102x46 plasma: -type TrueColor "BMP3:$work/key.bmp"
cat >"$work/netpbm.sh" <<EOF
bmptopnm "$work/key.bmp" 2>/dev/null | pnmremap -mapfile="$map" 2>/dev/null |
  pnmtopalm -depth 8 -scanline_compression -density 144 -transparent '#00ff00' >"$work/out.palm"
EOF
# The skins, and each one's screen as a PNG as an ordinary program writes it:
# the tool's full-size thumbnail, compressed again by ImageMagick.
for depth in 8 16; do
  "$corvane" skin new --depth "$depth" -o "$work/skin$depth.pdb" >/dev/null
  "$corvane" thumbnail "$work/skin$depth.pdb" "$work/raw$depth.png" --size 320
  convert "$work/raw$depth.png" -strip "$work/screen$depth.png"
done

load() { cut -d' ' -f1-3 /proc/loadavg; }
echo "corvane: $corvane; $pairs pairs a row; load average before: $(load)"
printf '%-52s %9s %9s %7s  %s\n' "" "ours ms" "peer ms" "ratio" "target"
row() {  # label target command-a... -- command-b...
  local label=$1 target=$2
  shift 2
  read -r ours theirs ratio < <("$work/cpu_pairs" "$pairs" "$@")
  printf '%-52s %9s %9s %7s  %s\n' "$label" "$ours" "$theirs" "$ratio" "at most $target"
}
row "1. corvane --version / C program, same libraries" 1.5 "$corvane" --version -- "$work/floor"
row "2. bitmap encode 102 x 46, 8 bits / netpbm" 0.25 \
  "$corvane" bitmap encode "$work/key.bmp" --depth 8 -o "$work/out.bin" -- sh "$work/netpbm.sh"
for size in 128 256; do
  for depth in 8 16; do
    row "3. thumbnail $size, $depth-bit skin / gdk-pixbuf on PNG" 0.8 \
      "$corvane" thumbnail "$work/skin$depth.pdb" "$work/ours.png" --size "$size" -- \
      gdk-pixbuf-thumbnailer -s "$size" "$work/screen$depth.png" "$work/theirs.png"
  done
done
echo "load average after: $(load)"
