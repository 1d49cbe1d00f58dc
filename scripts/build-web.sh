#!/usr/bin/env bash
# Builds the browser page: the engine compiled to WebAssembly with Emscripten,
# a small binding and the page, into build-web/site/. Then its tests: the module
# under Node against the native tool (TOOL, default build/quorvex) and the page
# in headless Chromium.
#
#   bash scripts/build-web.sh                 install packages, build, test
#   QUORVEX_SKIP_APT=1 bash scripts/build-web.sh   skip the package step
#   QUORVEX_WEB_NO_TESTS=1 ...                build only
#
# Xerces-C is built once from Debian's source package and kept in
# $BUILD_ROOT/xerces; delete that folder to rebuild it.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD_ROOT=${BUILD_ROOT:-$ROOT/build-web}
JOBS=$(nproc)
TOOL=${TOOL:-$ROOT/build/quorvex}
GENERATOR=${GENERATOR:-$ROOT/build/bench/GenerateCrsCsv}

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
APT="$SUDO apt-get -o DPkg::Lock::Timeout=900"
# emcc's optimizer loads Debian's acorn, which a node from elsewhere does not find.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
# WebAssembly's own exceptions: with Emscripten's JavaScript ones every call
# that may throw goes out to JavaScript and back, which made the check a sixth
# slower and the module a fifth larger. Browsers have had them since 2021-22.
WASM_EXCEPTIONS=-fwasm-exceptions

# shellcheck source=scripts/deb-src.sh
source "$ROOT/scripts/deb-src.sh"

install_packages() {
  enable_deb_src
  $APT update
  $APT install -y --no-install-recommends \
    cmake ninja-build dpkg-dev xz-utils python3 gzip emscripten nodejs chromium python3-websocket
}

# Static Xerces-C: no network, no threads, GNU iconv transcoder (the one that
# can make a Shift_JIS converter under Emscripten's C library), no ICU. Built
# with the engine's exception model (both sides of a throw must agree), at -Os:
# the check spends little time in it. The marker keeps the flags it was built
# with, so a change of them builds it again.
XERCES_FLAGS="$WASM_EXCEPTIONS"
build_xerces() {
  local prefix=$BUILD_ROOT/xerces
  if [ -f "$prefix/.done" ] && [ "$(cat "$prefix/.done")" = "$XERCES_FLAGS" ]; then return; fi
  local src
  src=$(ls -d "$BUILD_ROOT"/src/xerces-c-*/ 2>/dev/null | head -1 || true)
  if [ -z "$src" ]; then
    mkdir -p "$BUILD_ROOT/src"
    (cd "$BUILD_ROOT/src" && apt-get source -qq xerces-c)
    src=$(ls -d "$BUILD_ROOT"/src/xerces-c-*/ | head -1)
  fi
  rm -rf "$BUILD_ROOT/xerces-build" "$prefix"
  emcmake cmake -S "$src" -B "$BUILD_ROOT/xerces-build" -G Ninja \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_SHARED_LIBS=OFF -Dnetwork=OFF -Dthreads=OFF \
    -Dtranscoder=gnuiconv -Dmessage-loader=inmemory -DCMAKE_DISABLE_FIND_PACKAGE_ICU=ON \
    -DCMAKE_CXX_FLAGS="$XERCES_FLAGS" -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
  cmake --build "$BUILD_ROOT/xerces-build" --target xerces-c -j"$JOBS" >/dev/null
  cmake -P "$BUILD_ROOT/xerces-build/src/cmake_install.cmake" >/dev/null
  printf '%s' "$XERCES_FLAGS" >"$prefix/.done"
}

# The engine at -O3 (at -Os the check takes twice as long) and the binding in
# web/, then the page's files.
build_site() {
  emcmake cmake -S "$ROOT" -B "$BUILD_ROOT/engine" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O3 -DNDEBUG" -DCMAKE_CXX_FLAGS="$WASM_EXCEPTIONS" \
    -DCMAKE_EXE_LINKER_FLAGS="$WASM_EXCEPTIONS" -DCMAKE_PREFIX_PATH="$BUILD_ROOT/xerces" \
    -DCMAKE_FIND_ROOT_PATH="$BUILD_ROOT/xerces" -DPython3_EXECUTABLE="$(command -v python3)" \
    -DQUORVEX_BUILD_TESTS=OFF -DQUORVEX_BUILD_BENCH=OFF -DQUORVEX_BUILD_CLI=OFF -DQUORVEX_INSTALL=OFF \
    -DQUORVEX_BUILD_MACOS_FRAMEWORK=OFF -DQUORVEX_BUILD_WEB=ON -DQUORVEX_WERROR=ON >/dev/null
  cmake --build "$BUILD_ROOT/engine" --target quorvex_web -j"$JOBS"
  local site=$BUILD_ROOT/site
  mkdir -p "$site"
  cp "$BUILD_ROOT/engine/web/quorvex.js" "$BUILD_ROOT/engine/web/quorvex.wasm" "$site/"
  cp web/index.html web/quorvex-api.js web/page.js web/page.css "$site/"
  local wasm=$site/quorvex.wasm
  echo "quorvex.wasm: $(stat -c %s "$wasm") bytes, $(gzip -9c "$wasm" | wc -c) gzipped"
}

run_tests() {
  local program
  for program in "$TOOL" "$GENERATOR"; do
    [ -x "$program" ] || { echo "$program is missing: build it first (scripts/build.sh)" >&2; return 1; }
  done
  node web/tests/compare-native.mjs "$BUILD_ROOT/site" "$TOOL" "$GENERATOR"
  /usr/bin/python3 web/tests/page-in-chromium.py "$BUILD_ROOT/site" "$TOOL"
}

if [ -z "${QUORVEX_SKIP_APT:-}" ]; then install_packages; fi
build_xerces
build_site
if [ -z "${QUORVEX_WEB_NO_TESTS:-}" ]; then run_tests; fi
