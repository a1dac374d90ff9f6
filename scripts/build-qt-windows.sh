#!/usr/bin/env bash
# Builds Qt 6.4.2 for 64-bit Windows (qtbase, with print support) and
# QCustomPlot 2.1.0 on it, from Debian's own source packages, cross-compiled
# with mingw-w64, into a cache outside the checkout:
#
#     ${XDG_CACHE_HOME:-$HOME/.cache}/zelmar/qt-6.4.2-print-mingw64
#
# A finished build is kept and reused: the script then only prints the prefix.
# The machine's apt set-up is left alone; the sources come through a private
# sources list under the cache.
#
#   scripts/build-qt-windows.sh            build (or reuse), print the prefix
#   ZELMAR_JOBS=4 scripts/build-qt-windows.sh
#
# On success the last line of output is the prefix; "$PREFIX/.zelmar-qtbase-done"
# marks a finished qtbase and "$PREFIX/.zelmar-qcustomplot-done" a finished
# QCustomPlot. The source packages are kept in "$PREFIX/sources" (the Windows
# packages name them in their source note).
set -euo pipefail

QT_VERSION=6.4.2
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CACHE="${XDG_CACHE_HOME:-$HOME/.cache}/zelmar"
PREFIX="$CACHE/qt-$QT_VERSION-print-mingw64"
WORK="$CACHE/qt-$QT_VERSION-print-mingw64-work"
QCP_VERSION=2.1.0
JOBS="${ZELMAR_JOBS:-2}"
BASE_STAMP="$PREFIX/.zelmar-qtbase-done"
QCP_STAMP="$PREFIX/.zelmar-qcustomplot-done"

log() { printf '[build-qt-windows] %s\n' "$*" >&2; }

if [ -f "$BASE_STAMP" ] && [ -f "$QCP_STAMP" ]; then
    log "reusing Qt $QT_VERSION for Windows in $PREFIX"
    echo "$PREFIX"
    exit 0
fi

# --- Packages -----------------------------------------------------------------
packages=(g++-mingw-w64-x86-64-posix mingw-w64-tools cmake ninja-build xz-utils patch
          qt6-base-dev qt6-base-dev-tools)
"$HERE/scripts/install-deps.sh" "${packages[@]}" >&2

# --- Sources, through a private sources list ---------------------------------
mkdir -p "$WORK/apt/lists/partial" "$WORK/apt/cache/archives/partial" "$WORK/src"
# The machine's mirror: from a deb822 list (containers, newer installs) or the
# one-line list a Debian 12 installer writes; either may be missing.
mirror=
if [ -r /etc/apt/sources.list.d/debian.sources ]; then
    mirror="$(sed -n 's/^URIs:[[:space:]]*//p' /etc/apt/sources.list.d/debian.sources | head -n1)"
fi
if [ -z "$mirror" ] && [ -r /etc/apt/sources.list ]; then
    mirror="$(awk '$1 == "deb" { print $2; exit }' /etc/apt/sources.list)"
fi
mirror="${mirror:-http://deb.debian.org/debian}"
echo "deb-src $mirror bookworm main" >"$WORK/apt/src.list"
apt_private=(-o Dir::Etc::SourceList="$WORK/apt/src.list" -o Dir::Etc::SourceParts=/dev/null
             -o Dir::State::Lists="$WORK/apt/lists" -o Dir::Cache="$WORK/apt/cache")

fetch_source() { # package, version, directory it unpacks to
    local pkg="$1" version="$2" dir="$3"
    if [ -d "$WORK/src/$dir" ]; then
        return
    fi
    if ! ls "$WORK/src/${pkg}_$version"*.orig.tar.* >/dev/null 2>&1; then
        if [ ! -f "$WORK/apt/.updated" ]; then
            apt-get "${apt_private[@]}" update -qq
            touch "$WORK/apt/.updated"
        fi
        (cd "$WORK/src" && apt-get "${apt_private[@]}" source --download-only "$pkg")
    fi
    local tarball
    tarball="$(ls "$WORK/src/${pkg}_$version"*.orig.tar.* | head -n1)"
    log "unpacking $(basename "$tarball")"
    (cd "$WORK/src" && tar xf "$tarball")
    # The source packages go with the prefix: the Windows downloads say
    # which ones their parts were built from.
    mkdir -p "$PREFIX/sources"
    (cd "$WORK/src" && cp "${pkg}_"*.dsc "$PREFIX/sources/")
    [ -d "$WORK/src/$dir" ] || { log "$tarball did not unpack to $dir"; exit 1; }
}

# The toolchain file is copied next to Qt: Qt's own toolchain file names it by
# its full path, so it must outlive any one checkout.
mkdir -p "$PREFIX"
cp "$HERE/cmake/mingw-w64-x86_64.cmake" "$PREFIX/mingw-w64-x86_64.cmake"

# Both sources are fetched before the long qtbase build, so that a missing one
# shows at once.
fetch_source qt6-base "$QT_VERSION" "qtbase-everywhere-src-$QT_VERSION"
QCP_SRC="$WORK/src/qcustomplot-$QCP_VERSION+dfsg1"
if [ ! -d "$QCP_SRC" ]; then
    fetch_source qcustomplot "$QCP_VERSION" "qcustomplot-$QCP_VERSION+dfsg1"
    # Debian's own patches: the Qt 6 fix of the header and the CMake build
    # that makes the QCustomPlotQt6 package, as Debian's Linux library has it.
    (cd "$QCP_SRC" && tar xJf "$(ls "$WORK/src/qcustomplot_$QCP_VERSION"*.debian.tar.xz | head -n1)" &&
        while read -r p; do patch -p1 <"debian/patches/$p"; done <debian/patches/series) ||
        { rm -rf "$QCP_SRC"; log "Debian's patches to QCustomPlot do not apply"; exit 1; }
fi

# --- qtbase -----------------------------------------------------------------
if [ ! -f "$BASE_STAMP" ]; then
    rm -rf "$WORK/build-qtbase"
    mkdir -p "$WORK/build-qtbase"
    log "configuring qtbase"
    (cd "$WORK/build-qtbase" &&
        "$WORK/src/qtbase-everywhere-src-$QT_VERSION/configure" -prefix "$PREFIX" -release -shared \
            -nomake examples -nomake tests -no-opengl -no-feature-sql -no-feature-network \
            -no-feature-dbus -no-feature-vulkan -no-feature-concurrent \
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

# --- QCustomPlot ----------------------------------------------------------------
# One qcustomplot.cpp and its header, built as a DLL by Debian's CMake file,
# which installs the same CMake package (QCustomPlotQt6::QCustomPlotQt6) as
# Debian's Linux library.
if [ ! -f "$QCP_STAMP" ]; then
    rm -rf "$WORK/build-qcustomplot"
    log "building QCustomPlot"
    "$PREFIX/bin/qt-cmake" -S "$QCP_SRC" -B "$WORK/build-qcustomplot" -G Ninja \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" -DUSE_QT_VERSION=6
    cmake --build "$WORK/build-qcustomplot" --parallel "$JOBS"
    cmake --install "$WORK/build-qcustomplot"
    date -u +%FT%TZ >"$QCP_STAMP"
    log "QCustomPlot installed"
fi

log "Qt $QT_VERSION for Windows is in $PREFIX"
echo "$PREFIX"
