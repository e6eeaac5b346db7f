#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Opens our layered images in the programs skin makers paint in and checks
# they look as we say: Krita reads our .ora and .psd and GIMP our .psd (its
# Debian build has no OpenRaster plug-in), each exports what it shows to PNG,
# which must equal our merged image pixel for pixel. Then Krita saves our
# files again, and GIMP our .psd, as a user's no-op save would, and the tool
# builds a skin from what each wrote, which must hold the same pixels as the
# skin we started from.
#
# Not part of the tests: it installs Krita, GIMP and Xvfb with apt-get when
# they are missing, and takes minutes. Usage: scripts/check-painters.sh [BUILD]
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
tool=$PWD/$build/corvane
[ -x "$tool" ] || { echo "no tool at $tool: build the target corvane first" >&2; exit 2; }

missing=()
for program in krita:krita gimp:gimp xvfb-run:xvfb compare:imagemagick unzip:unzip xauth:xauth; do
  command -v "${program%%:*}" >/dev/null || missing+=("${program##*:}")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null || { apt-get update >/dev/null && apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null; } ||
    { echo "cannot install ${missing[*]}" >&2; exit 2; }
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
check() {  # NAME COMMAND...: one line per check
  local name=$1
  shift
  if "$@" >>"$work/log" 2>&1; then
    echo "PASS $name"
    passed=$((passed + 1))
  else
    echo "FAIL $name (see the log below)"
    failed=$((failed + 1))
  fi
}
same_pixels() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }
krita_export() { timeout 600 xvfb-run -a krita "$1" --export --export-filename "$2" && [ -s "$2" ]; }
gimp_export() {
  timeout 600 gimp -i -d -f -b "(let* ((image (car (gimp-file-load RUN-NONINTERACTIVE \"$1\" \"$1\")))
      (layer (car (gimp-image-merge-visible-layers image CLIP-TO-IMAGE))))
    (gimp-file-save RUN-NONINTERACTIVE image layer \"$2\" \"$2\") (gimp-image-delete image))" -b "(gimp-quit 0)" &&
    [ -s "$2" ]
}
# GIMP saves our file again as it is, layers and groups kept.
gimp_resave() {
  timeout 600 gimp -i -d -f -b "(let* ((image (car (gimp-file-load RUN-NONINTERACTIVE \"$1\" \"$1\")))
      (layer (car (gimp-image-get-active-drawable image))))
    (gimp-file-save RUN-NONINTERACTIVE image layer \"$2\" \"$2\") (gimp-image-delete image))" -b "(gimp-quit 0)" &&
    [ -s "$2" ]
}
# Built back from a layered file without a word on a missing or unknown
# layer (so the program kept every layer), the skin's pictures as the original's.
same_skin() {  # ORIGINAL.pdb LAYERED DEPTH
  local back=$work/back-$(basename "$2").pdb
  "$tool" skin build "$2" --depth "$3" -o "$back" 2>"$work/warnings" && cat "$work/warnings" && [ ! -s "$work/warnings" ] &&
    rm -rf "$work/a" "$work/b" && "$tool" skin extract "$1" -o "$work/a" >/dev/null &&
    "$tool" skin extract "$back" -o "$work/b" >/dev/null && diff -r "$work/a" "$work/b"
}

cd "$work"
# The default skin with a key painted over, so a file that lost its layers
# cannot pass for the skin it came from.
"$tool" skin new --depth 16 -o default.pdb >/dev/null
"$tool" skin extract default.pdb -o set >/dev/null
convert set/5.bmp -fill '#c03080' -draw 'rectangle 20,10 60,30' BMP3:set/5.bmp
for depth in 16 8; do
  skin=painted-$depth.pdb
  "$tool" skin build set --depth $depth -o "$skin" >/dev/null
  "$tool" skin extract "$skin" -o "skin-$depth.ora" >/dev/null
  "$tool" skin extract "$skin" -o "skin-$depth.psd" >/dev/null
  unzip -p "skin-$depth.ora" mergedimage.png >"merged-$depth.png"

  check "Krita shows our .ora at $depth bits as our merged image" \
    eval 'krita_export skin-$depth.ora krita-ora-$depth.png && same_pixels merged-$depth.png krita-ora-$depth.png'
  check "Krita shows our .psd at $depth bits as our merged image" \
    eval 'krita_export skin-$depth.psd krita-psd-$depth.png && same_pixels merged-$depth.png krita-psd-$depth.png'
  check "GIMP shows our .psd at $depth bits as our merged image" \
    eval 'gimp_export $PWD/skin-$depth.psd $PWD/gimp-psd-$depth.png && same_pixels merged-$depth.png gimp-psd-$depth.png'
  check "Krita saves our .ora at $depth bits again and it builds the same skin" \
    eval 'krita_export skin-$depth.ora krita-$depth.ora && same_skin $skin krita-$depth.ora $depth'
  check "Krita saves our .psd at $depth bits again and it builds the same skin" \
    eval 'krita_export skin-$depth.psd krita-$depth.psd && same_skin $skin krita-$depth.psd $depth'
  check "GIMP saves our .psd at $depth bits again and it builds the same skin" \
    eval 'gimp_resave $PWD/skin-$depth.psd $PWD/gimp-$depth.psd && same_skin $skin gimp-$depth.psd $depth'
done

if [ "$failed" -gt 0 ]; then
  echo "---- log"
  cat "$work/log"
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
