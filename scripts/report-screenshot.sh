#!/usr/bin/env bash
# Renders the HTML report of samples/crs-mistakes-2.0.csv in headless Chromium
# for the README, in English and in Japanese (needs a Japanese font).
#   bash scripts/report-screenshot.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fc-list :lang=ja | grep -q . || { echo "no Japanese font installed (fonts-ipafont)" >&2; exit 1; }
for lang in en ja; do
  suffix=$([ "$lang" = en ] && echo "" || echo "-ja")
  "$BUILD/quorvex" check samples/crs-mistakes-2.0.csv --year 2023 --lang "$lang" --html "$WORK/report.html" || true
  chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --user-data-dir="$WORK/profile" \
    --window-size=1000,1250 --screenshot="$PWD/docs/report-mistakes$suffix.png" "file://$WORK/report.html" 2>/dev/null
done
