#!/usr/bin/env bash
# Fresh machine to first conversion: install, build, convert the shipped sample.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
./build/quorvex check samples/crs-sample-2.0.csv --year 2023
./build/quorvex convert samples/crs-sample-2.0.csv --year 2023 -o build/crs-sample-2.0.xml
xmllint --noout --schema schemas/crs-v2.0/CrsXML_v2.0.xsd build/crs-sample-2.0.xml
