#!/usr/bin/env bash
# What the filing history costs: recording a message of some 17,800 accounts,
# and validating such a message with and without a history that holds MESSAGES
# of them (default 10, some 178,000 records), the structural check on opening
# included. Prints median wall times of RUNS runs, peak memory and the file size.
#   bash bench/history.sh [BUILD_DIR]     (default: build; needs GenerateCrsCsv and the tool)
set -euo pipefail
BUILD=${1:-build}
RUNS=${RUNS:-5}
MESSAGES=${MESSAGES:-10}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
Q=$BUILD/quorvex
"$BUILD/bench/GenerateCrsCsv" 7500000 "$WORK/accounts.csv"
"$Q" convert "$WORK/accounts.csv" --year 2023 -o "$WORK/message.xml" >/dev/null
first=JP2023JPCN8000000000001001  # the generator's MessageRefId, prefix of its DocRefIds

median() {  # wall seconds of a command, the median of RUNS runs
  for _ in $(seq "$RUNS"); do
    /usr/bin/time -f '%e' bash -c "$1 >/dev/null 2>&1" 2>&1 | tail -1
  done | sort -g | awk '{a[NR]=$1} END{print a[int((NR+1)/2)]}'
}
peak() { /usr/bin/time -f '%M' bash -c "$1 >/dev/null 2>&1" 2>&1 | tail -1 | awk '{printf "%.1f", $1/1024}'; }

for i in $(seq "$MESSAGES"); do
  sed "s/$first/JP2023JPCN8000000000$(printf %06d "$i")/g" "$WORK/message.xml" > "$WORK/filed-$i.xml"
  "$Q" history add "$WORK/filed-$i.xml" --history "$WORK/history.sqlite3" >/dev/null
done
records=$(grep -o '<stf:DocRefId>' "$WORK/message.xml" | wc -l)
add=$(median "rm -f '$WORK/one.sqlite3'; '$Q' history add '$WORK/message.xml' --history '$WORK/one.sqlite3'")
plain=$(median "XDG_DATA_HOME=$WORK/none '$Q' validate '$WORK/message.xml'")
against=$(median "'$Q' validate '$WORK/message.xml' --history '$WORK/history.sqlite3'")
list=$(median "'$Q' history list --history '$WORK/history.sqlite3'")
echo "message: $records records; history: $MESSAGES messages, $(du -k "$WORK/history.sqlite3" | cut -f1) KiB"
echo "history add (new file):            ${add} s, peak $(peak "rm -f '$WORK/one.sqlite3'; '$Q' history add '$WORK/message.xml' --history '$WORK/one.sqlite3'") MiB"
echo "validate without a history:        ${plain} s"
echo "validate against the history:      ${against} s, peak $(peak "'$Q' validate '$WORK/message.xml' --history '$WORK/history.sqlite3'") MiB"
echo "history list (open and check only): ${list} s"
