#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs a command with its output held back: nothing on success, all of it
# (and the command) on failure, so a failed build says why.
set -uo pipefail
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$@" >"$log" 2>&1
status=$?
if [ "$status" -ne 0 ]; then
  cat "$log" >&2
  echo "failed ($status): $*" >&2
fi
exit "$status"
