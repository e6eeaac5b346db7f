#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs the browser tests against build/web/ (scripts/build-web.sh) and the
# tool in build/release/, once in each engine: Debian's Chromium
# (playwright-core), Firefox ESR (puppeteer-core over WebDriver BiDi) and
# WebKitGTK (selenium-webdriver and WebKitWebDriver under Xvfb).
# CORVANE_ENGINES picks some of them. Installs the drivers from the lock file
# when node_modules is missing or older than the lock; never downloads a
# browser. Says how long each engine took; fails when any engine's run fails,
# after running the others.
set -euo pipefail
cd "$(dirname "$0")"
# Debian's nodejs comes without npm, other builds of Node.js with their own,
# which Debian's npm package would conflict with.
command -v npm >/dev/null || ../../scripts/ensure-packages.sh npm
export PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 PUPPETEER_SKIP_DOWNLOAD=1
if ! cmp -s package-lock.json node_modules/.installed-lock 2>/dev/null; then
  npm ci --no-audit --no-fund --loglevel=error
  cp package-lock.json node_modules/.installed-lock
fi
failed=()
for engine in ${CORVANE_ENGINES:-chromium firefox webkit}; do
  # Files still written against playwright-core alone run in Chromium only;
  # the rest go through driver.mjs, in every engine.
  if [ "$engine" = chromium ]; then
    files=(page/*.test.mjs)
  else
    mapfile -t files < <(grep -l "from './driver.mjs'" page/*.test.mjs)
  fi
  echo "== page tests in $engine: ${#files[@]} files"
  started=$SECONDS
  # One file at a time: each starts its own server and browser, and two
  # cores are all the machine has.
  CORVANE_ENGINE=$engine node --test --test-concurrency=1 "${files[@]}" || failed+=("$engine")
  echo "== page tests in $engine: $((SECONDS - started)) s"
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "page tests failed in: ${failed[*]}" >&2
  exit 1
fi
