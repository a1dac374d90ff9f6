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

# Another install may be running (in another terminal, or the system's
# updates). apt-get waits up to five minutes for dpkg's lock when told to; the
# lock of the package lists it does not wait for, so the update is tried
# again, for as long, while that lock is what stops it.
lock_wait=(-o DPkg::Lock::Timeout=300)
update_lists() {
    local waited=0 errors status
    errors="$(mktemp)"
    while true; do
        status=0
        "${as_root[@]}" apt-get "${lock_wait[@]}" update -qq 2>"$errors" || status=$?
        if [ "$status" -eq 0 ] || ! grep -q "Could not get lock" "$errors" || [ "$waited" -ge 300 ]; then
            break
        fi
        [ "$waited" -gt 0 ] || echo "Waiting for another install to finish..." >&2
        sleep 5
        waited=$((waited + 5))
    done
    cat "$errors" >&2
    rm -f "$errors"
    return "$status"
}
update_lists
"${as_root[@]}" apt-get "${lock_wait[@]}" install -y -qq --no-install-recommends "${missing[@]}"
