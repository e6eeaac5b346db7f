#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Gives every tracked source, script, style sheet and page file that lacks
# them the two lines naming its copyright and licence (reuse annotate, in the
# form of .reuse/templates/corvane.jinja2). Files that have them are left
# alone; files that cannot carry a comment belong in .reuse/dep5. Run it
# after adding files (git add them first), then `reuse lint`.
set -euo pipefail
cd "$(dirname "$0")/.."
tag='SPDX-License''-Identifier:'  # split, so this script is not taken for a licence line
annotate() {  # STYLE FILE...
  local style=$1; shift
  [ $# -gt 0 ] || return 0
  reuse annotate --template corvane --copyright "The Corvane Desktop developers" --year 2026 \
    --license GPL-3.0-or-later --no-replace --style "$style" "$@" >/dev/null
}
lacking() { git ls-files -z -- "$@" | xargs -0 -r grep -L -e "$tag" --; }

mapfile -t c < <(lacking '*.c' '*.cpp' '*.h' '*.inc' '*.js' '*.mjs')
mapfile -t css < <(lacking '*.css')
mapfile -t html < <(lacking '*.html')
# Programs without a suffix, by their #! line (test, run, .ci/run).
programs() {
  git ls-files -- ':!tests/data' ':!fuzz/corpus' | grep -v '\.[A-Za-z0-9]*$' |
    while read -r f; do [ "$(head -c2 "$f")" != '#!' ] || echo "$f"; done
}
# Scripts, CMake files, the lists with # comments and those programs.
mapfile -t hash < <(lacking '*.sh' '*.cmake' 'CMakeLists.txt' '*/CMakeLists.txt' .gitignore \
  scripts/packages.txt fuzz/coverage-ignorelist.txt $(programs))
annotate c "${c[@]}"
annotate css "${css[@]}"
annotate html "${html[@]}"
annotate python "${hash[@]}"
echo "annotated $(( ${#c[@]} + ${#css[@]} + ${#html[@]} + ${#hash[@]} )) files"
