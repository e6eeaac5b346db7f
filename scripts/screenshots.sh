#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Redraws the screenshots shown in the README and the manual (docs/screenshots/), on a
# virtual X display so the windows use the same fonts and style as on a desktop.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-packages.sh xvfb xauth
cmake --preset release >/dev/null
cmake --build build/release --target corvane_screenshots -j "$(nproc)" >/dev/null
mkdir -p docs/screenshots
xvfb-run -a -s "-screen 0 1280x1024x24" build/release/corvane_screenshots docs/screenshots
ls -l docs/screenshots
