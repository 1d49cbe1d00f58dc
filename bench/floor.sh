#!/usr/bin/env bash
# Whole-process cost of a check and a conversion against what merely decoding and
# splitting (check) or decoding and parsing the output (conversion) costs on the
# same machine and file. Prints median CPU times of RUNS runs, the ratios and peak memory.
#   bash bench/floor.sh [BUILD_DIR]     (default: build; needs GenerateCrsCsv and RunOperation)
set -euo pipefail
BUILD=${1:-build}
RUNS=${RUNS:-5}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
"$BUILD/bench/GenerateCrsCsv" 19922944 "$WORK/check.csv"
"$BUILD/bench/GenerateCrsCsv" 7500000 "$WORK/convert.csv"

# Median CPU time (user + system, children included) in seconds of a command run
# RUNS times. CPU time rather than wall time, so that other work on the machine
# does not blur the ratios.
median() {
  for _ in $(seq "$RUNS"); do
    /usr/bin/time -f '%U %S' bash -c "$1 >/dev/null" 2>&1 | tail -1 | awk '{print $1 + $2}'
  done | sort -g | awk '{a[NR]=$1} END{print a[int((NR+1)/2)]}'
}
# Peak resident memory of one run, in MiB.
peak() { /usr/bin/time -f '%M' bash -c "$1 >/dev/null" 2>&1 | tail -1 | awk '{printf "%.1f", $1/1024}'; }

check_floor=$(median "iconv -f CP932 -t UTF-8 '$WORK/check.csv' | mawk -F, '{n+=NF} END{print n}'")
check=$(median "'$BUILD/bench/RunOperation' check '$WORK/check.csv' 2023")
"$BUILD/bench/RunOperation" convert "$WORK/convert.csv" "$WORK/out.xml" >/dev/null
convert_floor=$(median "iconv -f CP932 -t UTF-8 '$WORK/convert.csv' >/dev/null; xmllint --noout '$WORK/out.xml'")
convert=$(median "'$BUILD/bench/RunOperation' convert '$WORK/convert.csv' '$WORK/out.xml'")

printf 'check   %8d bytes: %.3f s CPU, floor %.3f s, ratio %.2f, peak %s MiB\n' \
  "$(stat -c %s "$WORK/check.csv")" "$check" "$check_floor" "$(echo "$check / $check_floor" | bc -l)" \
  "$(peak "'$BUILD/bench/RunOperation' check '$WORK/check.csv' 2023")"
printf 'convert %8d bytes: %.3f s CPU, floor %.3f s, ratio %.2f, peak %s MiB\n' \
  "$(stat -c %s "$WORK/convert.csv")" "$convert" "$convert_floor" "$(echo "$convert / $convert_floor" | bc -l)" \
  "$(peak "'$BUILD/bench/RunOperation' convert '$WORK/convert.csv' '$WORK/out.xml'")"

# A small file: the shipped sample, once and a thousand times in one process.
sample=$(dirname "$0")/../samples/crs-sample-2.0.csv
printf 'sample check, 1 in a process: %s s CPU\n' \
  "$(/usr/bin/time -f '%U %S' "$BUILD/bench/RunOperation" check "$sample" 2023 2>&1 >/dev/null | awk '{print $1+$2}')"
printf 'sample check, 1000 in a process: %s s CPU\n' \
  "$(/usr/bin/time -f '%U %S' "$BUILD/bench/RunOperation" repeat 1000 "$sample" 2023 2>&1 >/dev/null | awk '{print $1+$2}')"
