#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Every command the README shows and every subcommand `corvane --help` leads
# to must be described in the corvane(1) page.
# Usage: ManPageCoverage.sh README.md corvane.1.gz CORVANE
set -euo pipefail
readme=$1 page=$2 tool=$3
text=$(zcat "$page" | sed 's/\\f[BIRP]//g')
missing=0
require() {  # COMMAND WHERE
  if ! grep -qE -- "$1( |$)" <<<"$text"; then
    echo "corvane(1) does not describe '$1', which $2 shows" >&2
    missing=1
  fi
}
# The names under "Subcommands:" in a help text.
subcommands() { sed -n '/^Subcommands:/,/^$/p' | sed -n 's/^  \([a-z][a-z]*\) .*/\1/p'; }

while read -r command; do require "$command" "the README"; done \
  < <(grep -oE 'corvane (bitmap|skin|splash) [a-z]+|corvane thumbnail' "$readme" | sort -u)
commands=$("$tool" --help | subcommands)
[ -n "$commands" ] || { echo "'corvane --help' lists no commands" >&2; exit 1; }
for command in $commands; do
  subs=$("$tool" "$command" --help | subcommands)
  [ -n "$subs" ] || require "corvane $command" "'corvane --help'"
  for sub in $subs; do require "corvane $command $sub" "'corvane $command --help'"; done
done
exit $missing
