#!/usr/bin/env bash
# Installs, on Debian 12, the packages Zelmar needs to build, run and test,
# or the packages named on the command line. Only missing packages are
# installed; as root directly, otherwise via sudo.
set -euo pipefail

packages=("$@")
[ ${#packages[@]} -gt 0 ] || packages=(
    build-essential cmake g++ pkg-config git
    qt6-base-dev libgl-dev qt6-translations-l10n
    libqcustomplot-dev libqcustomplot2.1-qt6
    fonts-arphic-uming
    libgtest-dev libbenchmark-dev
    libfmt-dev nlohmann-json3-dev
    clang libclang-rt-14-dev llvm-14
    xvfb xauth
    librsvg2-bin file dpkg-dev
    lintian desktop-file-utils appstream
    g++-mingw-w64-x86-64-posix mingw-w64-tools googletest ninja-build
    wine wine64 nsis icoutils zip unzip python3
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "All packages are installed."
    exit 0
fi

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Please run as root or install sudo." >&2; exit 1; }
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
