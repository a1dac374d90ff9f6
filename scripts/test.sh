#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the normal
# build, the Windows build of the libraries and tools with their tests under
# wine (and the replay tool checked against the Linux one), the Debian
# package checked unpacked, the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, and bounded fuzz runs.
# Any failure or sanitizer report fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

step() { echo; echo "==== $* ===="; }

step "normal build and tests"
cmake --preset default
cmake --build --preset default
ctest --preset default

step "Windows build (mingw-w64): libraries, tools and their tests under wine"
cmake --preset windows-core
cmake --build --preset windows-core
windows_core="build-windows-core/百家乐 测试"
stop_wine() { cmake/wine-run.sh "$PWD/$windows_core/wineprefix" --stop; }
trap stop_wine EXIT
ctest --preset windows-core

step "the same zelmar-replay answers on Linux and on Windows"
tests/windows/compare-replay.py build/tools/zelmar-replay "$windows_core/tools/zelmar-replay.exe"
stop_wine

step "Debian package, checked without installing it"
scripts/package.sh
tests/package/check-package.sh build-package/zelmar_*_amd64.deb build/tests/package/libzelmar_grid_probe.so

step "sanitizer build and tests"
cmake --preset asan
cmake --build --preset asan
ctest --preset asan

step "fuzzing, ${ZELMAR_FUZZ_SECONDS:-60} s per target"
cmake --preset fuzz -DZELMAR_FUZZ_SECONDS="${ZELMAR_FUZZ_SECONDS:-60}"
cmake --build --preset fuzz
ctest --preset fuzz
