#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs the browser tests against build/web/ (scripts/build-web.sh) and the
# tool in build/release/. Installs playwright-core from the lock file when
# node_modules is missing or older than the lock; never downloads a browser:
# the tests drive Debian's /usr/bin/chromium.
set -euo pipefail
cd "$(dirname "$0")"
# Debian's nodejs comes without npm, other builds of Node.js with their own,
# which Debian's npm package would conflict with.
command -v npm >/dev/null || ../../scripts/ensure-packages.sh npm
export PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1
if ! cmp -s package-lock.json node_modules/.installed-lock 2>/dev/null; then
  npm ci --no-audit --no-fund --loglevel=error
  cp package-lock.json node_modules/.installed-lock
fi
# One file at a time: each starts its own server and browser, and two cores
# are all the machine has.
exec node --test --test-concurrency=1 page/
