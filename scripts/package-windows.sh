#!/usr/bin/env bash
# Makes the two Windows downloads in the top folder, from Debian's packages
# and source packages alone:
#
#   zelmar-<version>-win64.zip    one folder, Zelmar\, to unzip anywhere and run
#   zelmar-<version>-setup.exe    an installer with Chinese pages (/S: silent)
#
# Installs what is missing, builds Qt for Windows once (scripts/build-qt-windows.sh,
# kept in ~/.cache/zelmar), builds Zelmar with the "windows" preset, and then
# checks both files under wine on Xvfb (tests/windows/check-windows-package.sh):
# screenshots land in build-windows/screenshots/. ZELMAR_SKIP_CHECKS=1 leaves
# the checks out.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
started=$(date +%s)

log() { printf '[package-windows] %s\n' "$*"; }

packages=(g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64 cmake ninja-build libfmt-dev nlohmann-json3-dev
          qt6-base-dev qt6-base-dev-tools qt6-translations-l10n librsvg2-bin icoutils nsis unzip python3
          wine wine64 xvfb xauth xdotool imagemagick fonts-arphic-uming)
scripts/install-deps.sh "${packages[@]}"

qt=$(nice scripts/build-qt-windows.sh | tail -n1)
qt_done=$(date +%s)
chart=ON
[ -f "$qt/.zelmar-qtcharts-done" ] || chart=OFF
log "Qt for Windows: $qt (Qt Charts: $chart)"

build=$top/build-windows
cmake --preset windows -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" -DZELMAR_SIM_CHART=$chart
nice cmake --build --preset windows

version=$(sed -n 's/^project(Zelmar VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { log "no version in CMakeLists.txt"; exit 1; }

# --- The folder the programs need -------------------------------------------
stage=$build/stage
rm -rf "$stage"
common=$stage/common
mkdir -p "$common/platforms" "$common/styles" "$common/translations"
# (Qt's project set-up puts every program in the top of the build folder.)
cp "$build/zelmar.exe" "$build/zelmar-analysis.exe" "$build/zelmar-replay.exe" "$build/zelmar-sim.exe" "$common/"
cp "$qt/plugins/platforms/qwindows.dll" "$common/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$common/styles/"
# zelmar-sim draws its chart on Qt's offscreen platform.
[ "$chart" = OFF ] || cp "$qt/plugins/platforms/qoffscreen.dll" "$common/platforms/"
cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$common/translations/"
cp packaging/windows/qt.conf packaging/windows/使用说明.txt "$common/"

# The DLLs every program and plugin loads, found among Qt's and the posix
# mingw runtime's; Windows' own DLLs are left to Windows.
dll_dirs=("$qt/bin" "$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")"
          /usr/x86_64-w64-mingw32/lib)
pending=("$common"/*.exe "$common"/platforms/*.dll "$common"/styles/*.dll)
while [ ${#pending[@]} -gt 0 ]; do
    file=${pending[0]}
    pending=("${pending[@]:1}")
    for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
        [ -e "$common/$dll" ] && continue
        for dir in "${dll_dirs[@]}"; do
            if [ -f "$dir/$dll" ]; then
                cp "$dir/$dll" "$common/"
                pending+=("$common/$dll")
                break
            fi
        done
    done
done
x86_64-w64-mingw32-strip --strip-unneeded "$common"/*.exe "$common"/*.dll "$common"/*/*.dll

# Portable: the example rules beside the programs, which makes the folder
# the rule folder. Installed: the examples in examples\, copied into
# %LOCALAPPDATA%\Zelmar at the first start.
portable=$stage/Zelmar
cp -r "$common" "$portable"
cp examples/winText.txt examples/lostText.txt "$portable/"
installed=$stage/installed
cp -r "$common" "$installed"
mkdir "$installed/examples"
cp examples/winText.txt examples/lostText.txt "$installed/examples/"

zip_file=$top/zelmar-$version-win64.zip
rm -f "$zip_file"
# Made with Python's zipfile, which marks the names as UTF-8 (Info-ZIP here
# does not), so that Windows shows 使用说明.txt and not its bytes in GBK.
python3 - "$stage" Zelmar "$zip_file" <<'PY'
import os, sys, zipfile
stage, folder, target = sys.argv[1:]
with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for root, dirs, files in os.walk(os.path.join(stage, folder)):
        dirs.sort()
        z.write(root, os.path.relpath(root, stage))
        for name in sorted(files):
            path = os.path.join(root, name)
            z.write(path, os.path.relpath(path, stage))
PY

# --- The installer ------------------------------------------------------------
files_nsh=$stage/files.nsh
: >"$files_nsh"
(cd "$installed" && find . -type f | sort) | while read -r f; do
    printf 'Delete "$INSTDIR\\%s"\n' "$(printf '%s' "${f#./}" | tr / '\\')" >>"$files_nsh"
done
(cd "$installed" && find . -mindepth 1 -type d | sort -r) | while read -r d; do
    printf 'RMDir "$INSTDIR\\%s"\n' "$(printf '%s' "${d#./}" | tr / '\\')" >>"$files_nsh"
done
licence=$stage/licence.txt
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' packaging/copyright; } >"$licence"
setup_file=$top/zelmar-$version-setup.exe
size_kb=$(du -sk "$installed" | cut -f1)
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSOURCE="$installed" -DFILES="$files_nsh" \
    -DICON="$build/windows/zelmar.ico" -DLICENSE="$licence" -DOUTFILE="$setup_file" -DSIZE_KB="$size_kb" \
    packaging/windows/installer.nsi
built=$(date +%s)

log "$(basename "$zip_file"): $(du -h "$zip_file" | cut -f1)"
log "$(basename "$setup_file"): $(du -h "$setup_file" | cut -f1)"
log "Qt: $((qt_done - started)) s; Zelmar and both files: $((built - qt_done)) s"

if [ "${ZELMAR_SKIP_CHECKS:-}" != 1 ]; then
    tests/windows/check-windows-package.sh "$zip_file" "$setup_file" "$build"
    log "checks: $(($(date +%s) - built)) s"
fi
