#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Puts the page beside the core in OUT (default build/web): the page's files,
# the application icons in the sizes the manifest names, and the service
# worker with the list of every file to keep offline and a cache name that
# changes whenever any of them does. Runs after the core is built into OUT.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/web}
mkdir -p "$out/js" "$out/icons"
cp web/style.css web/manifest.webmanifest "$out/"
cp web/js/*.js "$out/js/"
# Every module of the page and the core, asked for at once with the page:
# found one import at a time, each level waited for the one before it (five
# levels, the core after them all).
preloads=$( (cd web && ls js/*.js) | grep -vx js/main.js | sed 's|.*|  <link rel="modulepreload" href="&">|'
  echo '  <link rel="modulepreload" href="corvane-core.js">'
  echo '  <link rel="preload" href="corvane-core.wasm" as="fetch" type="application/wasm" crossorigin>')
awk -v links="$preloads" '/<script type="module" src="js\/main.js">/ { print links } { print }' web/index.html > "$out/index.html"
for size in 32 128 256; do cp "src/resources/app-icon-$size.png" "$out/icons/"; done
# The user manual, which "?", F1 and the messages that name it open.
# Its pictures stay beside it, as in docs/.
mkdir -p "$out/manual" "$out/screenshots"
cp docs/manual/* "$out/manual/"
cp docs/screenshots/*.png "$out/screenshots/"
# The licences the About box links: the page's own, and those of the libraries
# the core links, from the Debian packages the libraries are built from.
mkdir -p "$out/licenses"
cp LICENSE "$out/licenses/GPL-3.0-or-later.txt"
for library in zlib:zlib1g-dev libspng:libspng-dev libjpeg-turbo:libjpeg62-turbo-dev \
               minizip:libminizip-dev pugixml:libpugixml-dev; do
  cp "/usr/share/doc/${library#*:}/copyright" "$out/licenses/${library%%:*}.txt"
done
# The largest drawn icon, enlarged for the sizes browsers ask of an installable page.
for size in 192 512; do
  convert src/resources/app-icon-256.png -filter Lanczos -resize "${size}x${size}" -strip "$out/icons/app-icon-$size.png"
done

# Every file the page needs, relative to OUT; "./" is the page itself.
files=$(cd "$out" && find . -type f ! -name sw.js ! -name '*.map' | sed 's|^\./||' | LC_ALL=C sort)
version=$(cd "$out" && sha256sum $files | sha256sum | cut -c1-16)
list=$(printf '"./"'; for f in $files; do printf ', "%s"' "$f"; done)
sed -e "s|@VERSION@|$version|" -e "s|/\* @FILES@ \*/|$list|" web/sw.js > "$out/sw.js"
