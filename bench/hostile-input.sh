#!/usr/bin/env bash
# Peak memory and time of the tool on hostile skin files, through
# /usr/bin/time -v:
#   one-bitmap-2048x8174  35 entries sharing one 16-bit 2048 x 8174 bitmap
#                         (4.2 MB: a bitmap above the readable 4096 x 4096)
#   one-bitmap-4096x4000  35 entries sharing one 16-bit 4096 x 4096 bitmap,
#                         the largest that is read
#   35-bitmaps-4096x3500  35 different 8-bit 4096 x 3500 bitmaps (62 MB)
#   35-overlapping        35 different 16-bit 4096 x 4070 bitmaps in 4 MB: their
#                         headers side by side, each one's data running over
#                         the later headers into one shared run of zero flags,
#                         so each is checked over its full 4070 rows
# and on a 2 GB sparse file, each through 'skin info' and 'skin extract'.
# Targets: under 256 MB and 2 s for every run.
#
# Usage: bench/hostile-input.sh [PATH-TO-corvane]
set -euo pipefail
cd "$(dirname "$0")/.."
corvane=${1:-build/release/corvane}
[ -x "$corvane" ] || { echo "hostile-input: no built corvane at $corvane" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "hostile-input: /usr/bin/time is missing (install time)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -n "${KEEP:-}" ] && trap - EXIT && echo "files kept in $work"

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

printf '%-24s %-8s %10s %9s %s\n' file command "peak MB" "seconds" exit
for file in one-bitmap-2048x8174 one-bitmap-4096x4000 35-bitmaps-4096x3500 35-overlapping sparse-2GB; do
  for command in info extract; do
    args=("skin" "$command" "$work/$file.pdb")
    [ "$command" = extract ] && args+=("-o" "$work/out-$file")
    set +e
    /usr/bin/time -v -o "$work/time.txt" "$corvane" "${args[@]}" >/dev/null 2>"$work/err.txt"
    status=$?
    set -e
    peak=$(awk -F': ' '/Maximum resident set size/ {printf "%.1f", $2 / 1024}' "$work/time.txt")
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {n = split($2, t, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + t[i]; printf "%.2f", s}' "$work/time.txt")
    printf '%-24s %-8s %10s %9s %s\n' "$file" "$command" "$peak" "$wall" "$status"
  done
done
