#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the browser edition into build/web/: the core and its bindings as
# corvane-core.wasm with its loader corvane-core.js (emscripten, release
# optimisation, through ccache when there is one), then the page's own files
# through web/build.sh when the page has one. With --tests it also builds
# the core's codec tests for Node (build/web-cmake/corvane-codec-tests.js).
#
# The module decodes pictures with the libraries the desktop links, built
# here from Debian's own sources: the same source versions as the desktop's
# development packages, fetched once by apt-get from the Debian mirror this
# machine already uses, through a private source list under build/web-deps/
# (the machine's apt setup is never touched), and kept there, so a later
# build, clean or not, needs no network.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/web
deps=$root/build/web-deps
prefix=$deps/prefix
# Debian's emscripten runs its optimiser under the system's Node, which finds
# the optimiser's modules only here.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

# ---- the picture libraries, from Debian's sources -------------------------------
# Each: the source package, and the desktop's development package whose
# source version it must be.
libraries=(zlib:zlib1g-dev minizip:libminizip-dev libspng:libspng-dev
           libjpeg-turbo:libturbojpeg0-dev pugixml:libpugixml-dev)

source_version() {
  dpkg-query -W -f='${source:Version}' "$1" 2>/dev/null ||
    { echo "build-web.sh: $1 is not installed (scripts/packages.txt)" >&2; exit 1; }
}

# deb-src lines for the Debian archives the machine's own lists name, in
# either format (one-line .list files and deb822 .sources files).
debian_sources() {
  local file
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    awk '$1 == "deb" { $1 = "deb-src"; sub(/ \[[^]]*\]/, ""); print }' "$file"
  done
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    # A stanza ends at a blank line; each of its suites is one deb-src line.
    awk 'function flush() {
           if (types ~ /(^| )deb( |$)/ && enabled != "no")
             for (i = 1; i <= nsuites; i++) print "deb-src " uris " " suites[i] " " comps
           types = uris = comps = enabled = ""; nsuites = 0 }
         /^#/ { next }
         /^[[:space:]]*$/ { flush(); next }
         { key = tolower($1); sub(/:$/, "", key); $1 = ""; sub(/^ /, "") }
         key == "types" { types = $0 } key == "uris" { uris = $0 } key == "components" { comps = $0 }
         key == "enabled" { enabled = tolower($0) }
         key == "suites" { nsuites = split($0, suites, " ") }
         END { flush() }' "$file"
  done
}

# The release's own archives only: a third party's repository has no Debian sources.
# An array, so that a folder whose name has a space stays one word.
apt_options=(-o "Dir::Etc::SourceList=$deps/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
  -o "Dir::State::Lists=$deps/apt/lists" -o "Dir::Cache=$deps/apt/cache" -o APT::Sandbox::User=root)

fetch_sources() {
  local wanted=("$@")
  mkdir -p "$deps/apt/lists/partial" "$deps/apt/cache/archives/partial" "$deps/sources"
  local codename
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  debian_sources | awk -v release="$codename" '$3 == release || index($3, release "-") == 1' \
    | grep -E 'debian' | sort -u >"$deps/apt/sources.list"
  [ -s "$deps/apt/sources.list" ] || { echo "build-web.sh: no Debian archive for $codename in /etc/apt" >&2; exit 1; }
  apt-get "${apt_options[@]}" -q update >/dev/null
  (cd "$deps/sources" && apt-get "${apt_options[@]}" -q source --download-only "${wanted[@]}" >/dev/null)
}

# The unpacked source of a package, with Debian's patches applied.
unpacked() {
  local package=$1 version=$2 upstream=${2#*:}
  local dsc=$deps/sources/${package}_${upstream}.dsc dir=$deps/src/$package-$upstream
  if [ ! -d "$dir" ]; then
    mkdir -p "$deps/src"
    rm -rf "$dir.partial"
    # apt-get checked the files against the archive's signed index.
    dpkg-source --no-check -x "$dsc" "$dir.partial" >/dev/null
    mv "$dir.partial" "$dir"
  fi
  echo "$dir"
}

cmake_library() {
  local name=$1 source=$2
  shift 2
  rm -rf "$deps/build/$name"
  # The checks that run a test program run it under Node, as ./test runs
  # the tests: emcmake's default passes an option today's Node refuses, and
  # the loader fetches the module through a fetch() that cannot read files;
  # every such check then gives Node's exit code (libjpeg-turbo took 9 for
  # the size of size_t).
  emcmake cmake --no-warn-unused-cli -S "$source" -B "$deps/build/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node);--no-experimental-fetch" \
    -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" "${launcher[@]}" "$@" >/dev/null
}

build_library() {
  local package=$1 source=$2
  case $package in
    zlib)
      cmake_library zlib "$root/cmake/web-deps/zlib" -DZLIB_SOURCE="$source"
      cmake --build "$deps/build/zlib" -j2 >/dev/null
      cmake --install "$deps/build/zlib" >/dev/null ;;
    minizip)
      # Its own build is autotools: the same sources through a small CMake file.
      cmake_library minizip "$root/cmake/web-deps/minizip" -DMINIZIP_SOURCE="$source" -DZLIB_INCLUDE_DIR="$prefix/include"
      cmake --build "$deps/build/minizip" -j2 >/dev/null
      cmake --install "$deps/build/minizip" >/dev/null ;;
    libspng)
      # As Debian builds it: without the architecture-specific filters.
      # (Its CMake file fails without the shared target; only the static one is built.)
      cmake_library libspng "$source" -DENABLE_OPT=OFF -DBUILD_EXAMPLES=OFF \
        -DZLIB_INCLUDE_DIR="$prefix/include" -DZLIB_LIBRARY="$prefix/lib/libz.a"
      cmake --build "$deps/build/libspng" -j2 --target spng_static >/dev/null
      install -D -m644 "$deps/build/libspng/libspng_static.a" "$prefix/lib/libspng.a"
      install -m644 "$source/spng/spng.h" "$prefix/include/" ;;
    libjpeg-turbo)
      # WebAssembly has no x86 or Arm vector code: the portable C paths.
      cmake_library libjpeg-turbo "$source" -DWITH_SIMD=0 -DENABLE_SHARED=0 -DENABLE_STATIC=1 \
        -DWITH_TURBOJPEG=1 -DWITH_JAVA=0
      # The TurboJPEG archive holds the libjpeg API as well, compiled from the
      # same files: the libjpeg archive would be every one of them again.
      cmake --build "$deps/build/libjpeg-turbo" -j2 --target turbojpeg-static >/dev/null
      install -D -m644 "$deps/build/libjpeg-turbo/libturbojpeg.a" "$prefix/lib/libturbojpeg.a"
      install -m644 "$source/jpeglib.h" "$source/jmorecfg.h" "$source/jerror.h" "$source/turbojpeg.h" \
        "$deps/build/libjpeg-turbo/jconfig.h" "$prefix/include/" ;;
    pugixml)
      cmake_library pugixml "$source" -DBUILD_SHARED_LIBS=OFF -DPUGIXML_BUILD_TESTS=OFF
      cmake --build "$deps/build/pugixml" -j2 >/dev/null
      install -D -m644 "$deps/build/pugixml/libpugixml.a" "$prefix/lib/libpugixml.a"
      install -m644 "$source/src/pugixml.hpp" "$source/src/pugiconfig.hpp" "$prefix/include/" ;;
  esac
}

build_libraries() {
  local entry package version missing=()
  for entry in "${libraries[@]}"; do
    package=${entry%%:*}
    version=$(source_version "${entry#*:}")
    [ -f "$deps/sources/${package}_${version#*:}.dsc" ] || missing+=("$package=$version")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "== fetching Debian's sources: ${missing[*]}"
    fetch_sources "${missing[@]}"
  fi
  mkdir -p "$prefix/include" "$prefix/lib"
  for entry in "${libraries[@]}"; do
    package=${entry%%:*}
    version=$(source_version "${entry#*:}")
    # Built once per source version.
    local stamp=$prefix/built/$package-${version#*:}
    [ -f "$stamp" ] && continue
    echo "== building $package $version for WebAssembly"
    build_library "$package" "$(unpacked "$package" "$version")"
    mkdir -p "$prefix/built" && touch "$stamp"
  done
}

build_libraries

mkdir -p "$out"
emcmake cmake --preset web -DCORVANE_WEB_OUTPUT="$out" -DCORVANE_WEB_DEPS="$prefix" "${launcher[@]}" >/dev/null
targets=(all)
[ "${1:-}" = --tests ] && targets+=(corvane-codec-tests)
cmake --build --preset web -j "$(nproc)" --target "${targets[@]}"
if [ -x web/build.sh ]; then
  web/build.sh "$out"
fi
