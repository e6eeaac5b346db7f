#!/usr/bin/env bash
# Builds the Debian package corvane-desktop_VERSION_ARCH.deb into build/package
# from a release build, and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-packages.sh $(grep -v '^#' scripts/packages.txt)
scripts/quietly.sh cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++
scripts/quietly.sh cmake --build build/release -j "$(nproc)"
mkdir -p build/package
(cd build/package && ../../scripts/quietly.sh cpack -G DEB --config ../release/CPackConfig.cmake)
ls build/package/corvane-desktop_*.deb
