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
# The engines run one after the other; CORVANE_PARALLEL=1 runs them side by
# side, each on its own files one at a time (most of a page test is waiting
# on a browser, but on a loaded 2-core machine the waits grow towards the
# tests' time limits). Each engine's report is printed whole once it has
# finished.
# Each engine's browser is started once for all its files where the tests
# can connect to a running one (Chromium, Firefox; browser-host.mjs), each
# file then working in a private context of it.
run_engine() {
  local engine=$1 files started host endpoint=
  files=(page/*.test.mjs)
  echo "== page tests in $engine: ${#files[@]} files"
  started=$SECONDS
  local status=0
  CORVANE_ENGINE=$engine node page/browser-host.mjs >"$logs/$engine.host" 2>&1 &
  host=$!
  until grep -qE '^(ws://|none$)' "$logs/$engine.host"; do
    if ! kill -0 "$host" 2>/dev/null; then
      echo "the $engine browser did not start:" && cat "$logs/$engine.host"
      return 1
    fi
    sleep 0.2
  done
  endpoint=$(grep -m1 '^ws://' "$logs/$engine.host" || true)
  CORVANE_ENGINE=$engine CORVANE_BROWSER=$endpoint node --test --test-concurrency=1 "${files[@]}" || status=$?
  kill -TERM "$host" 2>/dev/null || true
  wait "$host" || true
  echo "== page tests in $engine: $((SECONDS - started)) s"
  return $status
}

engines=(${CORVANE_ENGINES:-chromium firefox webkit})
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
started=$SECONDS
pids=()
for engine in "${engines[@]}"; do
  if [ -z "${CORVANE_PARALLEL:-}" ]; then
    run_engine "$engine" >"$logs/$engine" 2>&1 && echo 0 >"$logs/$engine.status" || echo 1 >"$logs/$engine.status"
  else
    ( run_engine "$engine" >"$logs/$engine" 2>&1 && echo 0 >"$logs/$engine.status" || echo 1 >"$logs/$engine.status" ) &
    pids+=($!)
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || true; done
failed=()
for engine in "${engines[@]}"; do
  cat "$logs/$engine"
  [ "$(cat "$logs/$engine.status" 2>/dev/null)" = 0 ] || failed+=("$engine")
done
echo "== page tests in ${engines[*]}: $((SECONDS - started)) s in all"
if [ ${#failed[@]} -gt 0 ]; then
  echo "page tests failed in: ${failed[*]}" >&2
  exit 1
fi
