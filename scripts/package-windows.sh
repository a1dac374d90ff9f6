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
log "Qt and QCustomPlot for Windows: $qt"

build=$top/build-windows
cmake --preset windows -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake"
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
cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$common/translations/"
cp packaging/windows/qt.conf packaging/windows/使用说明.txt "$common/"

# The licences of what the folder holds, and where the source of each part
# comes from: Zelmar and QCustomPlot (GPL-3.0-or-later), Qt (LGPL-3.0), the
# mingw runtime DLLs (GCC's runtime library exception; winpthreads under the
# MIT and BSD licences).
crlf() { printf '\xef\xbb\xbf'; sed 's/\r\?$/\r/' "$1"; }
licences=$common/许可证
mkdir "$licences"
crlf packaging/copyright >"$licences/Zelmar-版权.txt"
crlf /usr/share/common-licenses/GPL-3 >"$licences/GPL-3.txt"
crlf /usr/share/common-licenses/LGPL-3 >"$licences/LGPL-3.txt"
source_version() { # a Debian source package's version, from its .dsc kept with Qt
    sed -n 's/^Version: //p' "$qt/sources/$1"_*.dsc | head -n1
}
source_of() { dpkg-query -W -f='${source:Package} ${source:Version}' "$1"; }
for part in qt6-base qcustomplot; do
    [ -n "$(source_version $part)" ] || { log "no source package of $part in $qt/sources"; exit 1; }
done
{
    printf '\xef\xbb\xbf'
    sed 's/$/\r/' <<NOTE
源代码

这个文件夹里每一部分的源代码都可以取得：

  Zelmar（zelmar.exe、zelmar-analysis.exe、zelmar-replay.exe、zelmar-sim.exe）
    许可证：GNU GPL 第 3 版或更新版本（GPL-3.0-or-later），见 许可证\\GPL-3.txt
    源代码：Zelmar 项目的仓库，https://quorin.example/（版本 $version）

  QCustomPlot 2.1.0（libQCustomPlotQt6.dll，画图表）
    许可证：GNU GPL 第 3 版或更新版本，见 许可证\\GPL-3.txt
    源代码：Debian 的源代码包 qcustomplot $(source_version qcustomplot)

  Qt 6.4.2（Qt6Core.dll、Qt6Gui.dll、Qt6Widgets.dll、Qt6PrintSupport.dll，
  以及 platforms\\ 和 styles\\ 里的插件）
    许可证：GNU LGPL 第 3 版，见 许可证\\LGPL-3.txt 和 许可证\\GPL-3.txt
    源代码：Debian 的源代码包 qt6-base $(source_version qt6-base)，
            用 Zelmar 仓库里的 scripts/build-qt-windows.sh 为 Windows 编译

  libstdc++-6.dll、libgcc_s_seh-1.dll（GCC 的运行库：GPL-3 加运行库例外）
    源代码：Debian 的源代码包 $(source_of gcc-mingw-w64-x86-64-posix-runtime)
  libwinpthread-1.dll（MIT 和 BSD 许可证）
    源代码：Debian 的源代码包 $(source_of mingw-w64-x86-64-dev)

Debian 的源代码包在 https://deb.debian.org/debian/（bookworm），
例如：apt-get source qcustomplot=$(source_version qcustomplot)
NOTE
} >"$common/源代码.txt"

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
