#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the Debian packages named on the command line that are missing;
# @GROUP names the packages of one group of scripts/packages.txt, @all of
# every group. Runs apt-get update only when something has to be installed.
set -euo pipefail
list="$(dirname "$0")/packages.txt"
group() {  # the packages under [NAME] in the list, or under every heading for "all"
  awk -v want="$1" '/^\[.*\]$/ { name = substr($0, 2, length($0) - 2); next }
                    /^[^#]/ && NF && (want == "all" || name == want) { print $1 }' "$list"
}
wanted=()
for word in "$@"; do
  if [[ $word == @* ]]; then
    mapfile -t members < <(group "${word#@}")
    [ ${#members[@]} -gt 0 ] || { echo "ensure-packages: no group '${word#@}' in $list" >&2; exit 2; }
    wanted+=("${members[@]}")
  else
    wanted+=("$word")
  fi
done
missing=()
for pkg in $(printf '%s\n' "${wanted[@]}" | sort -u); do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
