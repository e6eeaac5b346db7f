#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the browser edition into build/web/: the core and its bindings as
# corvane-core.wasm with its loader corvane-core.js (emscripten, release
# optimisation, through ccache when there is one), then the page's own files
# through web/build.sh when the page has one. With --tests it also builds
# the core's codec tests for Node (build/web-cmake/corvane-codec-tests.js).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/web
# Debian's emscripten runs its optimiser under the system's Node, which finds
# the optimiser's modules only here.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

mkdir -p "$out"
emcmake cmake --preset web -DCORVANE_WEB_OUTPUT="$out" "${launcher[@]}" >/dev/null
targets=(all)
[ "${1:-}" = --tests ] && targets+=(corvane-codec-tests)
cmake --build --preset web -j "$(nproc)" --target "${targets[@]}"
if [ -x web/build.sh ]; then
  web/build.sh "$out"
fi
