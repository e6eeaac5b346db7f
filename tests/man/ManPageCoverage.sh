#!/usr/bin/env bash
# Every command the README shows and every command `corvane --help` lists must
# be described in the corvane(1) page.
# Usage: ManPageCoverage.sh README.md corvane.1.gz CORVANE
set -euo pipefail
readme=$1 page=$2 tool=$3
text=$(zcat "$page" | sed 's/\\f[BIRP]//g')
missing=0
while read -r command; do
  if ! grep -qF -- "$command" <<<"$text"; then
    echo "corvane(1) does not describe '$command', which the README shows" >&2
    missing=1
  fi
done < <(grep -oE 'corvane (bitmap|skin|splash) [a-z]+' "$readme" | sort -u)
while read -r command; do
  if ! grep -qE -- "corvane $command( |$)" <<<"$text"; then
    echo "corvane(1) does not describe 'corvane $command', which 'corvane --help' lists" >&2
    missing=1
  fi
done < <("$tool" --help | sed -n '/^Commands:/,/^$/p' | awk 'NF >= 2 && $1 != "Commands:" {print $1}')
exit $missing
