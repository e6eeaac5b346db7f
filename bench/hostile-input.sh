#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Peak memory and CPU time of the tool on hostile files, through
# /usr/bin/time -v. Skin files, each through 'skin info' and 'skin extract':
#   one-bitmap-2048x8174  35 entries sharing one 16-bit 2048 x 8174 bitmap
#                         (4.2 MB: a bitmap above the readable 4096 x 4096)
#   one-bitmap-4096x4000  35 entries sharing one 16-bit 4096 x 4096 bitmap,
#                         the largest that is read
#   35-bitmaps-4096x3500  35 different 8-bit 4096 x 3500 bitmaps (62 MB)
#   35-overlapping        35 different 16-bit 4096 x 4070 bitmaps in 4 MB: their
#                         headers side by side, each one's data running over
#                         the later headers into one shared run of zero flags,
#                         so each is checked over its full 4070 rows
#   sparse-2GB            a 2 GB sparse file
# Pictures, each through the commands that read one ('bitmap encode',
# 'skin background', 'skin dialpad', and 'skin build' of a set of 35):
#   png-iccp-bomb, png-ztxt-bomb, png-itxt-bomb
#                         a 320 x 240 PNG with a 1 MB iCCP, zTXt or iTXt
#                         chunk that inflates to 1 GiB
#   png-wide, png-wide-interlaced
#                         67,108,864 x 1 pixels, 16-bit RGBA (0.5 MB)
#   png-wide-header-only  the same size declared, no pixel data
#   jpeg-8000-progressive-444, jpeg-8000-progressive-420, jpeg-8000-baseline
#                         8000 x 8000 JPEGs, made by cjpeg
#   ppm-padded            a 4096 x 4000 P6 padded to 262,143,997 bytes; also
#                         read from a pipe
# and splash files through 'thumbnail --size 1024': splash-jpeg-2048-progressive
# (the largest welcome picture the thumbnail decodes, a progressive 2048 x
# 2048 JPEG of noise) and splash-jpeg-8000-progressive (the 4:4:4 one above,
# refused unread).
# Layered files through 'skin build FILE --depth 16': OpenRaster archives of
# 2 million empty layers or groups (23 KB, a 16 MB stack.xml), 400,000 empty
# layers, a million, 100,000 and 1,000 layers sharing one 1 x 1 PNG, one
# 8000 x 8000 layer of 16-bit or 8-bit RGBA or 1-bit grey (and one of no
# element's name, which import leaves out with a notice), a 5000 x 5000
# layer, an 8000 x 8000 merged image, a 100 MB stored PNG layer, a layer
# at x="nan" or x="-1e40", and 250 MB of which import reads 13 small layers
# (the rest a stored merged image); Photoshop files of one 8191 x 8191 layer
# without channel data (108 bytes), an 8190 x 8190 header and nothing more,
# an 8192 x 8192 merged image (3 MB packed), 1,001 layer records, and one
# small layer after 250 MB of image resources.
#
# Target: under 256 MB and 2 s of CPU for every run; a row over either is
# marked, and the script then exits with 1 after the whole table.
#
# Usage: bench/hostile-input.sh [PATH-TO-corvane]   (KEEP=1 keeps the files;
#        ONLY=layered makes and runs the layered files alone)
set -euo pipefail
cd "$(dirname "$0")/.."
corvane=${1:-build/release/corvane}
[ -x "$corvane" ] || { echo "hostile-input: no built corvane at $corvane" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "hostile-input: /usr/bin/time is missing (install time)" >&2; exit 2; }
command -v cjpeg >/dev/null || { echo "hostile-input: cjpeg is missing (scripts/ensure-packages.sh libjpeg-turbo-progs)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -n "${KEEP:-}" ] && trap - EXIT && echo "files kept in $work"

if [ "${ONLY:-}" != layered ]; then
python3 - "$work" <<'PY'
import struct, sys
work = sys.argv[1]
IDS = [1200, 1201, 1202, 1203, 1204] + list(range(1301, 1313)) + list(range(1320, 1332)) + [1350, 1351, 9038, 9039, 9040, 9064]

def bitmap(width, height, depth):
    """A version-3 bitmap, scan-line compressed, every row the same colour."""
    row = width * 2 if depth == 16 else (width + 1) & ~1
    groups = (row + 7) // 8
    body = bytearray()
    for g in range(groups):  # first row: every byte written, value 0x11
        count = min(8, row - 8 * g)
        body.append((0xFF00 >> count) & 0xFF)
        body += b"\x11" * count
    body += b"\x00" * (groups * (height - 1))  # every later row repeats the one above
    n = 4 + len(body)
    header = struct.pack(">HHHBBBBBBBBHII", width, height, row, 0xA4 if depth == 16 else 0xA0, 0,
                         depth, 3, 24, 1 if depth == 16 else 0, 0, 0, 144, 0, 0)
    return header + struct.pack(">I", n) + bytes(body)

def database(resources_for_ids):
    """resources_for_ids: list of (id, index into resources); resources: list of bytes."""
    ids, resources = resources_for_ids
    start = 78 + 10 * len(ids) + 2
    offsets, at = [], start
    for r in resources:
        offsets.append(at)
        at += len(r)
    out = bytearray(b"hostile".ljust(32, b"\x00"))
    out += struct.pack(">HHII", 1, 0, 0, 0) + b"\x00" * 16 + b"Skn7TSkn" + b"\x00" * 8
    out += struct.pack(">H", len(ids))
    for rid, which in ids:
        out += b"Tbmp" + struct.pack(">HI", rid, offsets[which])
    out += b"\x00\x00"
    for r in resources:
        out += r
    return bytes(out)

def write(name, data):
    with open(f"{work}/{name}.pdb", "wb") as f:
        f.write(data)

write("one-bitmap-2048x8174", database(([(i, 0) for i in IDS], [bitmap(2048, 8174, 16)])))
write("one-bitmap-4096x4000", database(([(i, 0) for i in IDS], [bitmap(4096, 4000, 16)])))
write("35-bitmaps-4096x3500", database(([(i, n) for n, i in enumerate(IDS)], [bitmap(4096, 3500, 8)] * 35)))
def overlapping(width, height):
    row = width * 2
    data = row // 8 * height + 64 * len(IDS)
    headers = b"".join(struct.pack(">HHHBBBBBBBBHII", width, height, row, 0xA4, 0, 16, 3, 24, 1, 0, 0, 144, 0, 0) +
                       struct.pack(">I", 4 + data) for _ in IDS)
    start = 78 + 10 * len(IDS) + 2
    out = bytearray(b"overlap".ljust(32, b"\x00"))
    out += struct.pack(">HHII", 1, 0, 0, 0) + b"\x00" * 16 + b"Skn7TSkn" + b"\x00" * 8 + struct.pack(">H", len(IDS))
    for n, i in enumerate(IDS):
        out += b"Tbmp" + struct.pack(">HI", i, start + 28 * n)
    return bytes(out + b"\x00\x00" + headers + b"\x00" * (data + 64))

write("35-overlapping", overlapping(4096, 4070))
with open(f"{work}/sparse-2GB.pdb", "wb") as f:
    f.truncate(2 << 30)
PY

python3 - "$work" <<'PY'
import struct, sys, zlib
work = sys.argv[1]

def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

def deflated_zeros(size, step=1 << 20):
    """zlib data of `size` zero bytes, made a mebibyte at a time."""
    z, out, block = zlib.compressobj(9), [], bytes(step)
    for _ in range(size // step):
        out.append(z.compress(block))
    out.append(z.compress(bytes(size % step)))
    out.append(z.flush())
    return b"".join(out)

def png(width, height, depth, colour, idat, extra=b"", interlace=0):
    ihdr = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, interlace)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + extra + idat + chunk(b"IEND", b"")

def write(name, data):
    with open(f"{work}/{name}", "wb") as f:
        f.write(data)

# A plain 320 x 240 RGB picture behind a chunk of 1 MB inflating to 1 GiB.
pixels = chunk(b"IDAT", zlib.compress(bytes((1 + 320 * 3) * 240), 9))
bomb = deflated_zeros(1 << 30)
write("png-iccp-bomb.png", png(320, 240, 8, 2, pixels, chunk(b"iCCP", b"profile\0\0" + bomb)))
write("png-ztxt-bomb.png", png(320, 240, 8, 2, pixels, chunk(b"zTXt", b"Comment\0\0" + bomb)))
write("png-itxt-bomb.png", png(320, 240, 8, 2, pixels, chunk(b"iTXt", b"Comment\0\1\0\0\0" + bomb)))

# 67,108,864 x 1 at 16-bit RGBA: 512 MiB of rows. Interlaced, the one row is
# the passes 1, 2, 4 and 6 (every 8th pixel, the 4th of every 8, every 4th
# from the 2nd, every 2nd from the 1st), each with its filter byte.
wide = 1 << 26
write("png-wide.png", png(wide, 1, 16, 6, chunk(b"IDAT", deflated_zeros(1 + wide * 8))))
passes = [wide // 8, wide // 8, wide // 4, wide // 2]
write("png-wide-interlaced.png",
      png(wide, 1, 16, 6, chunk(b"IDAT", deflated_zeros(sum(1 + w * 8 for w in passes))), interlace=1))
write("png-wide-header-only.png", png(wide, 1, 16, 6, chunk(b"IDAT", zlib.compress(b""))))

# 4096 x 4000 P6 (49 MB of pixels) padded to 262,143,997 bytes.
header = b"P6\n4096 4000\n255\n"
with open(f"{work}/ppm-padded.ppm", "wb") as f:
    f.write(header)
    f.write(bytes(range(256)) * (4096 * 4000 * 3 // 256))
    f.truncate(262143997)
PY

# 8000 x 8000 pictures of a smooth gradient (192 MB as a PPM, made on the fly).
gradient() {
  python3 -c '
import sys
w = h = int(sys.argv[1])
row = bytes((x * 255 // w) for x in range(w) for _ in range(3))
out = sys.stdout.buffer
out.write(b"P6\n%d %d\n255\n" % (w, h))
for _ in range(h): out.write(row)' "$1"
}
noise() {
  python3 -c '
import os, sys
w = h = int(sys.argv[1])
sys.stdout.buffer.write(b"P6\n%d %d\n255\n" % (w, h) + os.urandom(w * h * 3))' "$1"
}
gradient 8000 | cjpeg -progressive -sample 1x1 -quality 90 >"$work/jpeg-8000-progressive-444.jpg"
gradient 8000 | cjpeg -progressive -sample 2x2 -quality 90 >"$work/jpeg-8000-progressive-420.jpg"
gradient 8000 | cjpeg -sample 1x1 -quality 90 >"$work/jpeg-8000-baseline.jpg"
noise 2048 | cjpeg -progressive -sample 1x1 -quality 100 >"$work/noise-2048-progressive.jpg"

# Splash files around a welcome JPEG (and a small goodbye one), as the reader takes them.
python3 - "$work" tests/data/splash/baseline-320x320.jpg <<'PY'
import struct, sys
work = sys.argv[1]
goodbye = open(sys.argv[2], "rb").read()
for size, picture in (("2048", "noise-2048-progressive"), ("8000", "jpeg-8000-progressive-444")):
    welcome = open(f"{work}/{picture}.jpg", "rb").read()
    head = b"hostile".ljust(32, b"\0") + struct.pack(">HHII", 1, 0, 0, 0) + bytes(16) + b"spl3TSkn" + bytes(8)
    head += struct.pack(">H", 2) + b"jpeg" + struct.pack(">HI", 6852, 100)
    head += b"jpeg" + struct.pack(">HI", 6863, 100 + len(welcome)) + bytes(2)
    with open(f"{work}/splash-jpeg-{size}-progressive.pdb", "wb") as f:
        f.write(head + welcome + goodbye)
PY

fi

# Layered files for 'skin build': OpenRaster archives and Photoshop files.
python3 - "$work" <<'PY'
import struct, sys, zipfile, zlib
work = sys.argv[1]

def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

def png(width, height, depth, colour, rows=None, level=9, step=1 << 20):
    """rows: the bytes of one filtered row, repeated; None: the header alone."""
    ihdr = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, 0)
    idat = b""
    if rows is not None:
        z, out = zlib.compressobj(level), []
        per = max(1, step // len(rows))
        for at in range(0, height, per):
            out.append(z.compress(rows * min(per, height - at)))
        out.append(z.flush())
        idat = chunk(b"IDAT", b"".join(out))
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + idat + chunk(b"IEND", b"")

def ora(name, stack, entries=(), compress=zipfile.ZIP_DEFLATED):
    with zipfile.ZipFile(f"{work}/{name}.ora", "w") as z:
        z.writestr(zipfile.ZipInfo("mimetype"), "image/openraster", compress_type=zipfile.ZIP_STORED)
        z.writestr("stack.xml", stack, compress_type=zipfile.ZIP_DEFLATED)
        for entry, data in entries:
            z.writestr(entry, data, compress_type=compress)

def stack(inside, w=320, h=320):
    return f'<image w="{w}" h="{h}"><stack>{inside}</stack></image>'

# Layers named "star" are an element's, which import takes and must read;
# unnamed ones it leaves out when they cannot be read.

one = png(1, 1, 8, 6, b"\0\0\0\0\0")
ora("ora-2M-empty-layers", stack("<layer/>" * 2000000))
ora("ora-2M-empty-groups", stack("<stack/>" * 2000000))
ora("ora-400k-empty-layers", stack("<layer/>" * 400000))
ora("ora-1M-layers-one-png", stack('<layer src="a.png"/>' * 1000000), [("a.png", one)])
ora("ora-100k-layers-one-png", stack('<layer src="a.png"/>' * 100000), [("a.png", one)])
ora("ora-1000-layers-one-png", stack('<layer src="a.png"/>' * 1000), [("a.png", one)])
ora("ora-8000-rgba16", stack('<layer name="star" src="a.png"/>'), [("a.png", png(8000, 8000, 16, 6, bytes(1 + 8000 * 8)))])
ora("ora-8000-rgba8", stack('<layer name="star" src="a.png"/>'), [("a.png", png(8000, 8000, 8, 6, bytes(1 + 8000 * 4)))])
ora("ora-8000-grey1", stack('<layer name="star" src="a.png"/>'), [("a.png", png(8000, 8000, 1, 0, bytes(1 + 1000)))])
ora("ora-8000-rgba8-unnamed", stack('<layer src="a.png"/>'), [("a.png", png(8000, 8000, 8, 6, bytes(1 + 8000 * 4)))])
ora("ora-5000-rgba8", stack('<layer name="star" src="a.png"/>'), [("a.png", png(5000, 5000, 8, 6, bytes(1 + 5000 * 4)))])
ora("ora-8000-merged", stack(""), [("mergedimage.png", png(8000, 8000, 8, 6, bytes(1 + 8000 * 4)))])
ora("ora-100MB-stored-png", stack('<layer name="star" src="a.png"/>'),
    [("a.png", png(5000, 5000, 8, 6, bytes(1 + 5000 * 4), level=0))], compress=zipfile.ZIP_STORED)
ora("ora-x-nan", stack('<layer x="nan"/>'))
ora("ora-x-minus-1e40", stack('<layer x="-1e40"/>'))
# 250 MB that import never reads: the layers of all 35 elements, small, and
# a stored merged image of noise-free bytes (mapped, only the layers count).
elements = ["0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "star", "#pressed", "titlebar"]
small = png(20, 20, 8, 6, b"\0" + bytes([200, 10, 10, 255]) * 20)
ora("ora-250MB-small-layers", stack("".join(f'<layer name="{e}" src="data/{i}.png"/>' for i, e in enumerate(elements))),
    [(f"data/{i}.png", small) for i in range(len(elements))] + [("mergedimage.png", bytes(250 << 20))],
    compress=zipfile.ZIP_STORED)

def psd(width, height, records=b"", count=0, data=b"", merged=b"", resources=b""):
    info = struct.pack(">h", count) + records + data
    info += b"\0" * (len(info) % 2)
    layers = struct.pack(">I", len(info) + 8) + struct.pack(">I", len(info)) + info + struct.pack(">I", 0)
    head = b"8BPS" + struct.pack(">H", 1) + bytes(6) + struct.pack(">HIIHH", 3, height, width, 8, 3)
    return head + struct.pack(">II", 0, len(resources)) + resources + layers + merged

def record(w, h, channels=()):
    extra = struct.pack(">II", 0, 0) + b"\1" + b"5\0\0"  # named after an element, so import takes it
    out = struct.pack(">iiiiH", 0, 0, h, w, len(channels))
    for cid, length in channels:
        out += struct.pack(">hI", cid, length)
    return out + b"8BIMnorm" + bytes([255, 0, 0, 0]) + struct.pack(">I", len(extra)) + extra

def write(name, data):
    with open(f"{work}/{name}.psd", "wb") as f:
        f.write(data)

write("psd-8191-layer-no-channels", psd(1, 1, record(8191, 8191), 1, merged=bytes(2 + 3)))
write("psd-8190-header-only", psd(8190, 8190, merged=bytes(2)))
row = struct.pack(">bB", -127, 0) * 64  # 8192 zeros packed
counts = struct.pack(">H", len(row)) * (8192 * 3)
write("psd-8192-merged", psd(8192, 8192, merged=struct.pack(">H", 1) + counts + row * (8192 * 3)))
write("psd-1001-records", psd(1, 1, record(0, 0) * 1001, 1001, merged=bytes(2 + 3)))
# 250 MB of image resources before one small layer: passed over by their length.
plane = struct.pack(">H", 0) + bytes([120]) * (20 * 20)
write("psd-250MB-resources", psd(320, 320, record(20, 20, [(c, len(plane)) for c in (-1, 0, 1, 2)]), 1, plane * 4,
                                 struct.pack(">H", 0) + bytes(3 * 320 * 320), resources=bytes(250 << 20)))
PY

over=0
declare -a overRows=()
row() {  # case, command words...: one table row
  local name=$1 shown=$2
  shift 2
  set +e
  /usr/bin/time -v -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt"
  local status=$?
  set -e
  local peak cpu outcome mark=""
  peak=$(awk -F': ' '/Maximum resident set size/ {printf "%.0f", $2 / 1024}' "$work/time.txt")
  cpu=$(awk -F': ' '/User time/ {u = $2} /System time/ {s = $2} END {printf "%.2f", u + s}' "$work/time.txt")
  outcome="$status"
  # The message's first words, without the temporary folder, the picture's
  # name before its reason, or the list of files a build could not load.
  [ "$status" -ne 0 ] && outcome="$status $(head -1 "$work/err.txt" | sed -E "s|^corvane: ||; s|$work/||g;
    s|^[^ ]+: ||; s|cannot read '[^']*' as a picture: ||; s|^nothing written: '[^']*' cannot be read: ||; s|(could not be imported) from .*|\1|" | cut -c1-48)"
  if [ "$peak" -gt 256 ] || awk -v c="$cpu" 'BEGIN {exit !(c > 2)}'; then
    mark=" OVER"
    over=$((over + 1))
    overRows+=("$name / $shown")
  fi
  printf '%-28s %-18s %-50s %7s %7s%s\n' "$name" "$shown" "$outcome" "$peak" "$cpu" "$mark"
}

printf '%-28s %-18s %-50s %7s %7s\n' case command outcome "peak MB" "CPU s"
if [ "${ONLY:-}" != layered ]; then
# A skin to rework and a bitmap set to build from: the built-in default's.
"$corvane" skin new --depth 16 -o "$work/skin.pdb" >/dev/null
"$corvane" skin extract "$work/skin.pdb" -o "$work/set" >/dev/null

for file in one-bitmap-2048x8174 one-bitmap-4096x4000 35-bitmaps-4096x3500 35-overlapping sparse-2GB; do
  row "$file" "skin info" "$corvane" skin info "$work/$file.pdb"
  row "$file" "skin extract" "$corvane" skin extract "$work/$file.pdb" -o "$work/out-$file"
done
for picture in png-iccp-bomb.png png-ztxt-bomb.png png-itxt-bomb.png png-wide.png png-wide-interlaced.png \
               png-wide-header-only.png jpeg-8000-progressive-444.jpg jpeg-8000-progressive-420.jpg \
               jpeg-8000-baseline.jpg ppm-padded.ppm; do
  name=${picture%.*}
  in="$work/$picture"
  rm -rf "$work/set-$name" && cp -r "$work/set" "$work/set-$name"
  for element in "$work/set-$name"/*.bmp; do ln -f "$in" "$element"; done
  row "$name" "bitmap encode" "$corvane" bitmap encode "$in" --depth 16 -o "$work/out.res"
  row "$name" "skin background" "$corvane" skin background "$work/skin.pdb" "$in" -o "$work/out.pdb"
  row "$name" "skin dialpad" "$corvane" skin dialpad "$work/skin.pdb" "$in" "$in" -o "$work/out.pdb"
  row "$name" "skin build (35)" "$corvane" skin build "$work/set-$name" --depth 16 -o "$work/out.pdb"
  rm -rf "$work/set-$name"
done
row ppm-padded "bitmap encode -" sh -c '"$1" bitmap encode - --depth 16 -o "$2" < "$3"' sh "$corvane" "$work/out.res" "$work/ppm-padded.ppm"
row ppm-padded "encode from pipe" sh -c 'cat "$3" | "$1" bitmap encode - --depth 16 -o "$2"' sh "$corvane" "$work/out.res" "$work/ppm-padded.ppm"
for size in 2048 8000; do
  row "splash-jpeg-$size-progressive" "thumbnail" "$corvane" thumbnail --size 1024 "$work/splash-jpeg-$size-progressive.pdb" "$work/out.png"
done
fi

echo
echo "layered files through 'skin build FILE --depth 16':"
for file in ora-2M-empty-layers ora-2M-empty-groups ora-400k-empty-layers ora-1M-layers-one-png \
            ora-100k-layers-one-png ora-1000-layers-one-png ora-8000-rgba16 ora-8000-rgba8 ora-8000-grey1 \
            ora-8000-rgba8-unnamed ora-5000-rgba8 ora-8000-merged ora-100MB-stored-png ora-x-nan ora-x-minus-1e40 ora-250MB-small-layers; do
  row "$file" "skin build" "$corvane" skin build "$work/$file.ora" --depth 16 -o "$work/out.pdb"
done
for file in psd-8191-layer-no-channels psd-8190-header-only psd-8192-merged psd-1001-records psd-250MB-resources; do
  row "$file" "skin build" "$corvane" skin build "$work/$file.psd" --depth 16 -o "$work/out.pdb"
done

if [ "$over" -gt 0 ]; then
  echo "hostile-input: $over runs over 256 MB or 2 s of CPU:" >&2
  printf '  %s\n' "${overRows[@]}" >&2
  exit 1
fi
echo "hostile-input: every run under 256 MB and 2 s of CPU"
