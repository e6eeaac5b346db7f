#!/usr/bin/env bash
# Times the editor's start (process start to the start dialog painted) and
# Open (skin file bytes to both previews recomposed and handed to the screen),
# on a virtual display. Targets: start under 300 ms, open under 20 ms.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-packages.sh xvfb xauth
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release --target corvane corvane_timing -j "$(nproc)" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build/release/corvane skin new --depth 16 -o "$work/skin.pdb" >/dev/null
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "
  build/release/corvane_timing start >/dev/null   # warm the file cache once
  echo 'start, median of 10:'
  for i in 1 2 3 4 5 6 7 8 9 10; do build/release/corvane_timing start; done | sort -t' ' -k5 -n | sed -n '5p'
  build/release/corvane_timing open '$work/skin.pdb' 50"
