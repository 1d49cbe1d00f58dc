#!/usr/bin/env bash
# Configures and builds into BUILD_DIR (default: build). Extra arguments, and
# those in QUORVEX_CMAKE_ARGS, go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
# shellcheck disable=SC2086
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} ${QUORVEX_CMAKE_ARGS:-} "$@"
cmake --build "$BUILD_DIR" -j"$(nproc)"
