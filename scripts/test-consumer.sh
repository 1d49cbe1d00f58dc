#!/usr/bin/env bash
# Installs Quorvex into scratch prefixes, static and shared, and builds the
# consumer program in tests/consumer against each installed tree, once through
# the CMake package and once through pkg-config; every build must pass the
# shipped sample. The shared tree also runs the Python ctypes example.
# BUILD_DIR names an existing static build to install (default: build);
# without it one is configured here.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD/${CONSUMER_DIR:-build-consumer}
SAMPLE=$PWD/samples/crs-sample-2.0.csv
STATIC_BUILD=${BUILD_DIR:-build}
JOBS=$(nproc)
rm -rf "$ROOT"
mkdir -p "$ROOT"

expect_pass() {  # the program's output for the sample must be "S_OK <count>"
  local output
  output=$("$@")
  echo "  $output"
  [[ $output =~ ^S_OK\ [1-9][0-9]*$ ]] || { echo "unexpected result from $*" >&2; exit 1; }
}

for kind in static shared; do
  prefix=$ROOT/$kind/prefix
  if [ "$kind" = static ] && [ -f "$STATIC_BUILD/CMakeCache.txt" ] &&
     grep -q '^BUILD_SHARED_LIBS:BOOL=OFF' "$STATIC_BUILD/CMakeCache.txt"; then
    build=$STATIC_BUILD
  else
    build=$ROOT/$kind/build
    shared=OFF; [ "$kind" = shared ] && shared=ON
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=$shared \
      -DQUORVEX_BUILD_TESTS=OFF -DQUORVEX_BUILD_BENCH=OFF >/dev/null
  fi
  cmake --build "$build" -j"$JOBS" --target quorvex quorvex_cli
  cmake --install "$build" --prefix "$prefix" >/dev/null

  echo "== $kind: installed tree"
  for wanted in include/CLCCsvConvDataCRS.h include/quorvex.h include/CLCFilingHistory.h include/quorvex_history.h \
                lib/cmake/Quorvex/QuorvexConfig.cmake \
                lib/cmake/Quorvex/QuorvexConfigVersion.cmake lib/pkgconfig/quorvex.pc bin/quorvex; do
    [ -e "$prefix/$wanted" ] || { echo "missing $wanted" >&2; exit 1; }
  done
  # Only the public headers are installed.
  for header in "$prefix"/include/*; do
    case ${header##*/} in
      CLCCsvConvDataCRS.h | CLCCsvConvResultCRS.h | CLCErrorDescription.h | CLCLocalTime.h | \
      CLCValidationResult.h | CLCRecordOrigin.h | CLCFilingHistory.h | quorvex.h | quorvex_export.h | \
      quorvex_history.h) ;;
      *) echo "private header installed: $header" >&2; exit 1 ;;
    esac
  done
  "$prefix/bin/quorvex" check "$SAMPLE" --year 2023 >/dev/null

  echo "== $kind: CMake package"
  cmake -S tests/consumer -B "$ROOT/$kind/cmake" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
  cmake --build "$ROOT/$kind/cmake" -j"$JOBS" >/dev/null
  expect_pass "$ROOT/$kind/cmake/consumer" 2023 "$SAMPLE"

  echo "== $kind: pkg-config"
  export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
  static_flag=""; [ "$kind" = static ] && static_flag=--static
  # shellcheck disable=SC2046
  c++ -std=c++17 tests/consumer/main.cpp -o "$ROOT/$kind/pkgconfig-consumer" \
    $(pkg-config --cflags quorvex) $(pkg-config $static_flag --libs quorvex) -Wl,-rpath,"$prefix/lib"
  expect_pass "$ROOT/$kind/pkgconfig-consumer" 2023 "$SAMPLE"
  # shellcheck disable=SC2046
  cc tests/consumer/check.c -o "$ROOT/$kind/c-consumer" \
    $(pkg-config --cflags quorvex) $(pkg-config $static_flag --libs quorvex) -Wl,-rpath,"$prefix/lib"
  expect_pass "$ROOT/$kind/c-consumer" 2023 "$SAMPLE"
  unset PKG_CONFIG_PATH

  if [ "$kind" = shared ]; then
    echo "== shared: Python ctypes"
    expect_pass python3 tests/consumer/check.py "$prefix/lib/libquorvex.so.1" 2023 "$SAMPLE"
  fi
done
echo "consumer tests passed"
