#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The browser edition's weight and start-up against its peer, the page as it
# was before it decoded pictures with the desktop's libraries (commit 5daec5c,
# built once into a temporary worktree under build/bench-base): the gzip size
# of each core, and the time from navigation to an editor that takes clicks,
# first visit and later visits (service worker cache), in headless Chromium,
# both measured in the same run. Build the page first: scripts/build-web.sh.
# RUNS (default 7) visits of each kind per page.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
base_commit=5daec5c
base=build/bench-base
site=build/web
[ -f "$site/corvane-core.wasm" ] || { echo "no $site/corvane-core.wasm: run scripts/build-web.sh" >&2; exit 1; }
[ -d tests/web/node_modules/playwright-core ] || (cd tests/web && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
if [ ! -f "$base/build/web/corvane-core.wasm" ]; then
  [ -d "$base" ] || git worktree add -q --detach "$base" "$base_commit"
  (cd "$base" && CCACHE_BASEDIR=$root/$base scripts/build-web.sh >/dev/null)
fi

gz() { gzip -9c "$1" | wc -c; }
kib() { awk -v b="$1" 'BEGIN { printf "%.0f KiB", b / 1024 }'; }
echo "| page | corvane-core.wasm | gzip | first visit, median | later visits, median |"
echo "|---|---|---|---|---|"
for which in "before ($base_commit):$base/build/web" "now:$site"; do
  folder=${which#*:}
  wasm=$folder/corvane-core.wasm
  times=$(node bench/web-load.mjs "${RUNS:-7}" "$folder")
  echo "| ${which%%:*} | $(kib "$(stat -c %s "$wasm")") | $(kib "$(gz "$wasm")") | $times |"
done
