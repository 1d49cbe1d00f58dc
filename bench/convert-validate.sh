#!/usr/bin/env bash
# What validating the XML before writing adds to `quorvex convert`: median CPU
# time (user + system) and wall time of RUNS runs with and without
# --no-validate on a generated CSV file of BYTES (default 7,500,000: an 18.7 MB
# message), and the peak memory of each.
#   bash bench/convert-validate.sh [BUILD_DIR] [BYTES]     (needs quorvex and GenerateCrsCsv)
set -euo pipefail
BUILD=${1:-build}
BYTES=${2:-7500000}
RUNS=${RUNS:-5}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
"$BUILD/bench/GenerateCrsCsv" "$BYTES" "$WORK/in.csv"

median() { sort -g | awk '{a[NR]=$1} END{print a[int((NR+1)/2)]}'; }
for option in "" --no-validate; do
  times=$(for _ in $(seq "$RUNS"); do
    /usr/bin/time -f '%U %S %e' "$BUILD/quorvex" convert "$WORK/in.csv" --year 2023 -o "$WORK/out.xml" $option \
      2>&1 >/dev/null | tail -1
  done)
  peak=$(/usr/bin/time -f '%M' "$BUILD/quorvex" convert "$WORK/in.csv" --year 2023 -o "$WORK/out.xml" $option \
    2>&1 >/dev/null | tail -1)
  printf 'convert %-14s %d bytes -> %d bytes: %.3f s CPU, %.3f s wall, peak %.1f MiB\n' "${option:-(validated)}" \
    "$(stat -c %s "$WORK/in.csv")" "$(stat -c %s "$WORK/out.xml")" \
    "$(awk '{print $1 + $2}' <<<"$times" | median)" "$(awk '{print $3}' <<<"$times" | median)" \
    "$(echo "$peak / 1024" | bc -l)"
done
