#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the two Debian packages, corvane_VERSION_ARCH.deb (the command-line
# tool) and corvane-desktop_VERSION_ARCH.deb (the editor), into build/package
# from a release build, and prints their paths, the tool's first. Each
# carries the machine-readable copyright file and a changelog in
# /usr/share/doc/PACKAGE (cmake/Package.cmake).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-packages.sh @run @package
scripts/quietly.sh cmake --preset release
scripts/quietly.sh cmake --build --preset release -j "$(nproc)"
mkdir -p build/package
rm -f build/package/corvane_*.deb build/package/corvane-desktop_*.deb
(cd build/package && ../../scripts/quietly.sh cpack -G DEB --config ../release/CPackConfig.cmake)
for name in corvane corvane-desktop; do ls build/package/"$name"_*.deb; done
