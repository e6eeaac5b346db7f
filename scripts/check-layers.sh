#!/usr/bin/env bash
# Fails when a file includes a layer above its own, or a window folder
# includes another window folder: the code flows one way, bytes and files ->
# imaging -> pdb -> model -> exchange -> the programs.
#
# Each folder of src/ (and its tests under tests/) has a rank; a file may
# include its own folder and folders of a lower rank only. The core folders
# (ranks 0 to 4) include no toolkit header either.
set -euo pipefail
cd "$(dirname "$0")/.."

rank() {
  case "$1" in
    io) echo 0 ;;
    imaging) echo 1 ;;
    pdb) echo 2 ;;
    model) echo 3 ;;
    exchange) echo 4 ;;
    platform) echo 5 ;;            # the toolkit's picture reader behind the core's seam
    cli | widgets) echo 6 ;;       # the tool; the widgets every window shares
    editor | splash) echo 7 ;;     # the two editor windows
    app) echo 8 ;;                 # the application that starts them
    gui | interop) echo 9 ;;       # end-to-end tests
    support) echo 10 ;;            # test support, which tests of any layer may include
    *) echo "" ;;
  esac
}

failures=0
report() {
  echo "layer check: $1" >&2
  failures=$((failures + 1))
}

while IFS= read -r file; do
  folder=$(cut -d/ -f2 <<<"$file")
  own=$(rank "$folder")
  if [ -z "$own" ]; then
    report "$file: the folder '$folder' has no layer; give it one in $0"
    continue
  fi
  while IFS=: read -r line target; do
    if [ "$own" -le 4 ] && [[ "$target" == \<Q* ]]; then
      report "$file:$line includes the toolkit ($target) in the core"
      continue
    fi
    [[ "$target" == \"*/* ]] || continue
    included=$(cut -d/ -f1 <<<"${target#\"}")
    [ "$included" = "$folder" ] && continue
    theirs=$(rank "$included")
    [ -z "$theirs" ] && continue  # a library's own header
    if [ "$included" = support ] && [[ "$file" == tests/* ]]; then continue; fi
    if [ "$theirs" -ge "$own" ]; then
      report "$file:$line includes \"${target#\"} from layer '$included', which is not below '$folder'"
    fi
  done < <(awk 'match($0, /^[ \t]*#[ \t]*include[ \t]*[<"][^>"]*[>"]/) {
                  t = substr($0, RSTART, RLENGTH); sub(/^[^<"]*/, "", t); print FNR ":" t }' "$file")
done < <(find src tests -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.inc' \) -not -path 'tests/data/*' | sort)

if [ "$failures" -gt 0 ]; then
  echo "layer check: $failures upward include(s)" >&2
  exit 1
fi
echo "layer check: every include points down"
