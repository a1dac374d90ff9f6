#!/usr/bin/env bash
# Installs what is missing, builds the programs in release mode with
# Debian's hardening flags and makes the Debian package. The package is
# left in the top folder: apt install ./zelmar_<version>_amd64.deb as root
# (or with sudo).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake --preset package \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build --preset package
rm -f build-package/zelmar_*.deb
cpack --preset package
deb=$(ls build-package/zelmar_*.deb)
cp "$deb" .
echo "Package: $(pwd)/$(basename "$deb")"
