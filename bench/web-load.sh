#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The browser edition's weight and start-up: the gzip sizes of the core and
# the page as a static host would send them, and the time from navigation to
# an editor that takes clicks, first visit and later visits (service worker
# cache), in headless Chromium. Build first: scripts/build-web.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
site=build/web
[ -f "$site/corvane-core.wasm" ] || { echo "no $site/corvane-core.wasm: run scripts/build-web.sh" >&2; exit 1; }
[ -d tests/web/node_modules/playwright-core ] || (cd tests/web && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)

gz() { cat "$@" | gzip -9 | wc -c; }
kib() { awk -v b="$1" 'BEGIN { printf "%.1f KiB", b / 1024 }'; }
wasm=$(stat -c %s "$site/corvane-core.wasm")
page_files=$(cd "$site" && find . -type f ! -name 'corvane-core.*' ! -path './icons/*' | sort)
echo "core  corvane-core.wasm   $(kib "$wasm") ($(kib "$(gz "$site/corvane-core.wasm")") gzip)"
echo "core  corvane-core.js     $(kib "$(stat -c %s "$site/corvane-core.js")") ($(kib "$(gz "$site/corvane-core.js")") gzip)"
echo "page  HTML, CSS, JS, manifest, worker: $(kib "$(cd "$site" && cat $page_files | wc -c)") ($(kib "$(cd "$site" && gz $page_files)") gzip)"
echo "icons $(kib "$(cat "$site"/icons/* | wc -c)") (PNG, not compressed further)"
node bench/web-load.mjs "${1:-7}"
