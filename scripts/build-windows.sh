#!/usr/bin/env bash
# Builds the game for 64-bit Windows and its zip, WINDOWS_DIR/kraxelbrett-VERSION-windows-x64.zip:
# the libraries once, then the game, cross-compiled with MinGW-w64. The die is drawn by the
# generator of the native build in NATIVE_BUILD_DIR.
# Usage: build-windows.sh NATIVE_BUILD_DIR WINDOWS_DIR
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
native=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
jobs=${JOBS:-2}

JOBS=$jobs "$root/scripts/build-windows-libraries.sh" "$out/libraries"

if [ ! -f "$out/game/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$out/game" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_FIND_ROOT_PATH="$out/libraries/prefix" -DCMAKE_BUILD_TYPE=Release \
    -DSFML_STATIC_LIBRARIES=TRUE -DKRAXELBRETT_TESTS=OFF \
    -DKRAXELBRETT_MAKE_DICE="$native/make_dice" >"$out/configure.log" ||
    { cat "$out/configure.log"; exit 1; }
fi
cmake --build "$out/game" -j "$jobs"

rm -rf "$out/zip"
(cd "$out/game" && cpack -B "$out/zip" >"$out/cpack.log") || { cat "$out/cpack.log"; exit 1; }
mv "$out"/zip/*.zip "$out/"
rm -rf "$out/zip"
ls "$out"/kraxelbrett-*-windows-x64.zip
