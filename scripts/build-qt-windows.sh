#!/usr/bin/env bash
# Builds Qt 6.4.2 for 64-bit Windows (qtbase, and Qt Charts when it builds
# without OpenGL) from Debian's own source packages, cross-compiled with
# mingw-w64, into a cache outside the checkout:
#
#     ${XDG_CACHE_HOME:-$HOME/.cache}/zelmar/qt-6.4.2-mingw64
#
# A finished build is kept and reused: the script then only prints the prefix.
# The machine's apt set-up is left alone; the sources come through a private
# sources list under the cache.
#
#   scripts/build-qt-windows.sh            build (or reuse), print the prefix
#   ZELMAR_JOBS=4 scripts/build-qt-windows.sh
#
# On success the last line of output is the prefix; "$PREFIX/.zelmar-qtbase-done"
# marks a finished qtbase, "$PREFIX/.zelmar-qtcharts-done" a finished Qt Charts
# and "$PREFIX/.zelmar-qtcharts-skipped" a Qt Charts that could not be built.
set -euo pipefail

QT_VERSION=6.4.2
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CACHE="${XDG_CACHE_HOME:-$HOME/.cache}/zelmar"
PREFIX="$CACHE/qt-$QT_VERSION-mingw64"
WORK="$CACHE/qt-$QT_VERSION-mingw64-work"
JOBS="${ZELMAR_JOBS:-2}"
BASE_STAMP="$PREFIX/.zelmar-qtbase-done"
CHARTS_DONE="$PREFIX/.zelmar-qtcharts-done"
CHARTS_SKIPPED="$PREFIX/.zelmar-qtcharts-skipped"

log() { printf '[build-qt-windows] %s\n' "$*" >&2; }

if [ -f "$BASE_STAMP" ] && { [ -f "$CHARTS_DONE" ] || [ -f "$CHARTS_SKIPPED" ]; }; then
    log "reusing Qt $QT_VERSION for Windows in $PREFIX"
    echo "$PREFIX"
    exit 0
fi

# --- Packages -----------------------------------------------------------------
packages=(g++-mingw-w64-x86-64-posix mingw-w64-tools cmake ninja-build xz-utils
          qt6-base-dev qt6-base-dev-tools)
"$HERE/scripts/install-deps.sh" "${packages[@]}" >&2

# --- Sources, through a private sources list ---------------------------------
mkdir -p "$WORK/apt/lists/partial" "$WORK/apt/cache/archives/partial" "$WORK/src"
mirror="$(sed -n 's/^URIs:[[:space:]]*//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n1)"
if [ -z "$mirror" ]; then
    mirror="$(awk '$1 == "deb" { print $2; exit }' /etc/apt/sources.list 2>/dev/null || true)"
fi
mirror="${mirror:-http://deb.debian.org/debian}"
echo "deb-src $mirror bookworm main" >"$WORK/apt/src.list"
apt_private=(-o Dir::Etc::SourceList="$WORK/apt/src.list" -o Dir::Etc::SourceParts=/dev/null
             -o Dir::State::Lists="$WORK/apt/lists" -o Dir::Cache="$WORK/apt/cache")

fetch_source() { # package, directory it unpacks to; fails when it cannot
    local pkg="$1" dir="$2"
    if [ -d "$WORK/src/$dir" ]; then
        return
    fi
    if ! ls "$WORK/src/${pkg}_$QT_VERSION"*.orig.tar.xz >/dev/null 2>&1; then
        if [ ! -f "$WORK/apt/.updated" ]; then
            apt-get "${apt_private[@]}" update -qq
            touch "$WORK/apt/.updated"
        fi
        (cd "$WORK/src" && apt-get "${apt_private[@]}" source --download-only "$pkg") || return 1
    fi
    local tarball
    tarball="$(ls "$WORK/src/${pkg}_$QT_VERSION"*.orig.tar.xz | head -n1)"
    log "unpacking $(basename "$tarball")"
    (cd "$WORK/src" && tar xJf "$tarball")
    [ -d "$WORK/src/$dir" ] || { log "$tarball did not unpack to $dir"; exit 1; }
}

# The toolchain file is copied next to Qt: Qt's own toolchain file names it by
# its full path, so it must outlive any one checkout.
mkdir -p "$PREFIX"
cp "$HERE/cmake/mingw-w64-x86_64.cmake" "$PREFIX/mingw-w64-x86_64.cmake"

# --- qtbase -----------------------------------------------------------------
if [ ! -f "$BASE_STAMP" ]; then
    fetch_source qt6-base "qtbase-everywhere-src-$QT_VERSION"
    rm -rf "$WORK/build-qtbase"
    mkdir -p "$WORK/build-qtbase"
    log "configuring qtbase"
    (cd "$WORK/build-qtbase" &&
        "$WORK/src/qtbase-everywhere-src-$QT_VERSION/configure" -prefix "$PREFIX" -release -shared \
            -nomake examples -nomake tests -no-opengl -no-feature-sql -no-feature-network \
            -no-feature-dbus -no-feature-printsupport -no-feature-vulkan -no-feature-concurrent \
            -no-feature-xml -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre \
            -- -DCMAKE_TOOLCHAIN_FILE="$PREFIX/mingw-w64-x86_64.cmake" -DQT_HOST_PATH=/usr \
            -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake -DFEATURE_tabletevent=OFF \
            -G Ninja)
    log "building qtbase with $JOBS jobs"
    cmake --build "$WORK/build-qtbase" --parallel "$JOBS"
    cmake --install "$WORK/build-qtbase"
    date -u +%FT%TZ >"$BASE_STAMP"
    log "qtbase installed"
fi

# --- Qt Charts (optional) ----------------------------------------------------
# Sources that cannot be fetched now are tried again on the next run; a
# build that fails is not tried again.
if [ ! -f "$CHARTS_DONE" ] && [ ! -f "$CHARTS_SKIPPED" ]; then
    if ! fetch_source qt6-charts "qtcharts-everywhere-src-$QT_VERSION"; then
        log "the sources of Qt Charts could not be fetched: this Windows build goes without the simulator's chart"
    else
        rm -rf "$WORK/build-qtcharts"
        log "configuring and building Qt Charts"
        if "$PREFIX/bin/qt-cmake" -S "$WORK/src/qtcharts-everywhere-src-$QT_VERSION" \
                -B "$WORK/build-qtcharts" -G Ninja -DCMAKE_BUILD_TYPE=Release \
                -DCMAKE_INSTALL_PREFIX="$PREFIX" &&
            cmake --build "$WORK/build-qtcharts" --parallel "$JOBS" &&
            cmake --install "$WORK/build-qtcharts"; then
            date -u +%FT%TZ >"$CHARTS_DONE"
            log "Qt Charts installed"
        else
            echo "Qt Charts did not build for Windows; see $WORK/build-qtcharts" >"$CHARTS_SKIPPED"
            log "Qt Charts did not build: Windows builds go without the simulator's chart"
        fi
    fi
fi

log "Qt $QT_VERSION for Windows is in $PREFIX"
echo "$PREFIX"
