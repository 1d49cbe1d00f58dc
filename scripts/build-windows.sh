#!/usr/bin/env bash
# Cross-builds the Windows COM server (x86_64 and i686) with MinGW-w64 and runs
# its tests under Wine (x86_64 only: 32-bit programs cannot run on these hosts;
# the i686 library is checked for its exports and imports instead).
#
#   bash scripts/build-windows.sh            install packages, build, test
#   QUORVEX_SKIP_APT=1 bash scripts/build-windows.sh    skip the package step
#
# Xerces-C is built once per architecture from Debian's source package and kept
# in $BUILD_ROOT/xerces-<arch>; delete that folder to rebuild it.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD_ROOT=${BUILD_ROOT:-$ROOT/build-windows}
JOBS=$(nproc)
ARCHS="x86_64 i686"

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
APT="$SUDO apt-get -o DPkg::Lock::Timeout=900"

# shellcheck source=scripts/deb-src.sh
source "$ROOT/scripts/deb-src.sh"

install_packages() {
  enable_deb_src
  $APT update
  $APT install -y --no-install-recommends \
    cmake ninja-build dpkg-dev xz-utils locales binutils \
    mingw-w64 mingw-w64-tools wine64 wine libwine-dev
  # The help-string test runs under a Japanese locale (ANSI code page 932).
  if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
    $SUDO sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
  fi
}

# Static Xerces-C with the Windows transcoder, no network access.
build_xerces() {
  local arch=$1 prefix=$BUILD_ROOT/xerces-$1
  if [ -f "$prefix/.done" ]; then return; fi
  local src
  src=$(ls -d "$BUILD_ROOT"/src/xerces-c-*/ 2>/dev/null | head -1 || true)
  if [ -z "$src" ]; then
    mkdir -p "$BUILD_ROOT/src"
    (cd "$BUILD_ROOT/src" && apt-get source -qq xerces-c)
    src=$(ls -d "$BUILD_ROOT"/src/xerces-c-*/ | head -1)
  fi
  rm -rf "$BUILD_ROOT/xerces-build-$arch" "$prefix"
  cmake -S "$src" -B "$BUILD_ROOT/xerces-build-$arch" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" -DQUORVEX_WINDOWS_ARCH="$arch" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -Dtranscoder=windows -Dnetwork=OFF \
    -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
  cmake --build "$BUILD_ROOT/xerces-build-$arch" --target xerces-c -j"$JOBS" >/dev/null
  cmake -P "$BUILD_ROOT/xerces-build-$arch/src/cmake_install.cmake" >/dev/null
  touch "$prefix/.done"
}

# The tests are built for x86_64 only: 32-bit programs cannot run on these hosts.
build_quorvex() {
  local arch=$1 tests=(-DQUORVEX_BUILD_COM_TESTS=OFF)
  if [ "$arch" = x86_64 ]; then
    tests=(-DQUORVEX_BUILD_COM_TESTS=ON -DQUORVEX_WINEPREFIX="$BUILD_ROOT/wineprefix")
  fi
  cmake -S "$ROOT" -B "$BUILD_ROOT/$arch" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" -DQUORVEX_WINDOWS_ARCH="$arch" \
    -DQUORVEX_WINDOWS_PREFIX="$BUILD_ROOT/xerces-$arch" -DCMAKE_BUILD_TYPE=Release \
    -DQUORVEX_BUILD_TESTS=OFF -DQUORVEX_BUILD_BENCH=OFF -DQUORVEX_BUILD_CLI=OFF -DQUORVEX_INSTALL=OFF -DQUORVEX_WERROR=ON \
    -DQUORVEX_BUILD_MACOS_FRAMEWORK=OFF \
    "${tests[@]}" >/dev/null
  cmake --build "$BUILD_ROOT/$arch" -j"$JOBS"
}

# The library must export exactly the four COM entry points, undecorated, and
# import nothing but system libraries (the C++ runtime is linked in).
check_library() {
  local arch=$1 dll=$BUILD_ROOT/$1/com/Quorvex.dll dump
  dump=$(${arch}-w64-mingw32-objdump -p "$dll")
  local exports
  exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t&&/^[ \t]*\[/{print $NF} t&&/^$/{t=0}' <<<"$dump" | sort | tr '\n' ' ')
  if [ "$exports" != "DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer " ]; then
    echo "$arch: unexpected exports: $exports" >&2
    return 1
  fi
  local imports
  imports=$(awk '/DLL Name:/{print tolower($3)}' <<<"$dump" | sort -u)
  local dll_name
  for dll_name in $imports; do
    case $dll_name in
      kernel32.dll|user32.dll|advapi32.dll|ole32.dll|oleaut32.dll|shell32.dll|msvcrt.dll|api-ms-win-crt-*.dll) ;;
      *) echo "$arch: imports a non-system library: $dll_name" >&2; return 1 ;;
    esac
  done
  echo "$arch: exports $exports; imports $(echo $imports)"
}

if [ -z "${QUORVEX_SKIP_APT:-}" ]; then install_packages; fi
for arch in $ARCHS; do
  build_xerces "$arch"
  build_quorvex "$arch"
  check_library "$arch"
done

# The tests create the Wine prefix when it is missing and start and stop one
# wineserver for the whole run (a CTest fixture).
ctest --test-dir "$BUILD_ROOT/x86_64" --output-on-failure
