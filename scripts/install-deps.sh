#!/usr/bin/env bash
# Installs every Debian package the build, the tests, the benchmarks and the fuzz targets need
# (chromium renders the tool's HTML report in its test, with a Japanese font for its messages).
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends \
  build-essential cmake pkg-config \
  libxerces-c-dev libicu-dev libsqlite3-dev \
  libgtest-dev libgmock-dev libbenchmark-dev \
  libcli11-dev nlohmann-json3-dev \
  libxml2-utils python3 bc time mawk \
  clang libclang-rt-dev libc++-dev libc++abi-dev googletest chromium fonts-ipafont \
  gobjc++ gobjc libgnustep-base-dev gnustep-make
