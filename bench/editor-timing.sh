#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Times the editor's start (process start to the start dialog painted) and
# Open (skin file bytes to both previews recomposed and handed to the screen),
# on a virtual display. Targets: start under 300 ms, open under 20 ms.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-packages.sh xvfb xauth
cmake --preset release >/dev/null
cmake --build build/release --target corvane corvane_timing -j "$(nproc)" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work"
chmod 700 "$work"
for depth in 8 16; do
  build/release/corvane skin new --depth "$depth" -o "$work/skin$depth.pdb" >/dev/null
done
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "
  build/release/corvane_timing start >/dev/null   # warm the file cache once
  echo 'start, median of 10:'
  for i in 1 2 3 4 5 6 7 8 9 10; do build/release/corvane_timing start; done | sort -t' ' -k5 -n | sed -n '5p'
  echo '8-bit skin:'; build/release/corvane_timing open '$work/skin8.pdb' 50
  echo '16-bit skin:'; build/release/corvane_timing open '$work/skin16.pdb' 50"
