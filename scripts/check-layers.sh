#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Fails when a file includes a layer above its own, or a window folder
# includes another window folder: the code flows one way, bytes and files ->
# imaging -> pdb -> model -> exchange -> the programs.
#
# Each folder of src/ (and its tests under tests/) has a rank; a file may
# include its own folder and folders of a lower rank only, whether it writes
# "folder/file.h" or <folder/file.h>. An include that climbs with "../"
# would slip past the ranks, so none is allowed: every project include names
# its folder. The toolkit's headers belong to the folders that draw windows
# or stand in for the core's seams, and to the window tests; nowhere else.
#
# One awk pass over every file: the whole check takes milliseconds.
set -euo pipefail
cd "$(dirname "$0")/.."

find src tests bench fuzz -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.inc' \) -not -path 'tests/data/*' -print0 |
  sort -z | xargs -0 awk '
BEGIN {
  split("io:0 imaging:1 pdb:2 model:3 exchange:4 " \
        "platform:5 " \
        "cli:6 web:6 widgets:6 fuzz:6 " \
        "editor:7 splash:7 " \
        "app:8 " \
        "gui:9 interop:9 bench:9 " \
        "support:10", pairs, " ")
  # platform: the toolkit behind the core seams; cli, web, widgets: the tool,
  # the bindings of the browser edition and what every window shares; editor,
  # splash: the two windows, which never include each other; app: what starts
  # them; gui, interop, bench: end to end; support: test support, which the
  # tests of any layer may include.
  for (i in pairs) { split(pairs[i], kv, ":"); rank[kv[1]] = kv[2] + 0 }
  split("platform widgets editor splash app gui", names, " ")
  for (i in names) toolkit[names[i]] = 1
  failures = 0
}
function report(message) { print "layer check: " message > "/dev/stderr"; failures++ }
FNR == 1 {
  n = split(FILENAME, part, "/")
  top = part[1]
  folder = (top == "src" || top == "tests") ? part[2] : top
  if (!(folder in rank)) report(FILENAME ": the folder \047" folder "\047 has no layer; give it one in scripts/check-layers.sh")
}
/^[ \t]*#[ \t]*include[ \t]*[<"]/ {
  if (!match($0, /[<"][^>"]*[>"]/)) next
  written = substr($0, RSTART, RLENGTH)
  target = substr(written, 2, RLENGTH - 2)
  where = FILENAME ":" FNR
  if (target ~ /(^|\/)\.\.?\//) {
    report(where " includes " written " through a relative path; name the folder (\"folder/file.h\")")
    next
  }
  if (target ~ /^Q[A-Za-z0-9]*(\/|$)/ || target ~ /^q[a-z0-9_]*\.h$/) {
    if (!(folder in toolkit)) report(where " includes the toolkit (" written ") outside the window and platform folders")
    next
  }
  if (index(target, "/") == 0) next
  included = substr(target, 1, index(target, "/") - 1)
  if (!(included in rank) || included == folder || !(folder in rank)) next  # another library, or its own folder
  if (included == "support" && top == "tests") next
  if (rank[included] >= rank[folder])
    report(where " includes " written " from layer \047" included "\047, which is not below \047" folder "\047")
}
END {
  if (failures > 0) { print "layer check: " failures " include(s) break the layers" > "/dev/stderr"; exit 1 }
  print "layer check: every include points down"
}' || exit 1
