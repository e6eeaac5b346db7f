#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Inputs a second of each libFuzzer harness, each run for SECONDS over a
# copy of its corpus (libFuzzer adds what it finds to the folder it is
# given), with the options the corpus replay uses. Builds nothing: give it
# the folder of a CORVANE_FUZZ build. A harness that stops early (a crash,
# a leak, an allocation over its limit) is reported with its rate so far
# and fails the script. Two rates: libFuzzer's own (inputs per second of
# the clock), meaningful per core on an idle machine only, and inputs per
# second of the harness's CPU time, which other work on the machine
# changes far less; the load average is printed first. SEED fixes
# libFuzzer's random choices, so two builds can be compared on the same walk.
#
# Usage: [SEED=N] bench/fuzz-throughput.sh [BUILD-FOLDER [SECONDS]]   (build/asan, 10)
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/asan}
seconds=${2:-10}
shopt -s nullglob
harnesses=("$build"/fuzz_*)
[ ${#harnesses[@]} -gt 0 ] || { echo "fuzz-throughput: no fuzz_* harness in $build (configure with -DCORVANE_FUZZ=ON)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -x /usr/bin/time ] || { echo "fuzz-throughput: /usr/bin/time is missing (install time)" >&2; exit 2; }
read -r options < fuzz/libfuzzer.options

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-22s %10s %14s %12s %s\n' harness "inputs/s" "inputs/CPU s" inputs outcome
failed=0
for harness in "${harnesses[@]}"; do
  [ -x "$harness" ] || continue
  name=$(basename "$harness")
  corpus="$work/$name"
  mkdir "$corpus"
  [ -d "fuzz/corpus/${name#fuzz_}" ] && cp "fuzz/corpus/${name#fuzz_}"/* "$corpus"/ 2>/dev/null
  # shellcheck disable=SC2086  # the options are separate words
  /usr/bin/time -f '%U %S' -o "$work/cpu" \
    "$harness" $options -seed="${SEED:-0}" -max_total_time="$seconds" -print_final_stats=1 "$corpus" >"$work/log" 2>&1
  status=$?
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/log")
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
  if [ -z "$rate" ]; then  # stopped before its final statistics: the last progress line
    rate=$(grep -o 'exec/s: [0-9]*' "$work/log" | tail -1 | cut -d' ' -f2)
    runs=$(grep -o '^#[0-9]*' "$work/log" | tail -1 | tr -d '#')
  fi
  perCpu=$(awk -v n="${runs:-0}" '{t = $1 + $2} END {if (t > 0) printf "%.0f", n / t; else print "?"}' "$work/cpu")
  outcome=ok
  if [ "$status" -ne 0 ]; then
    outcome="stopped: $(grep -m1 -o 'ERROR: [^(]*\|out-of-memory[^)]*\|malloc([^)]*)' "$work/log" || echo "exit $status")"
    failed=1
  fi
  printf '%-22s %10s %14s %12s %s\n' "$name" "${rate:-?}" "$perCpu" "${runs:-?}" "$outcome"
done
exit $failed
