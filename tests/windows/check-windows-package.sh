#!/usr/bin/env bash
# Checks the two Windows downloads under wine on Xvfb:
#   tests/windows/check-windows-package.sh zelmar-<v>-win64.zip zelmar-<v>-setup.exe build-windows
#
# Portable: the zip is unpacked into C:\百家乐 工具\ of a fresh wine prefix and
# zelmar.exe started from there with only that folder's DLLs (Qt's own
# folders are not there to be found). Installed: setup.exe /S into another
# fresh prefix; the Start-menu entry and the registration must be there,
# zelmar.exe must have copied the example rules into %LOCALAPPDATA%\Zelmar,
# and after the uninstaller has run the program is gone and the rule files
# are not.
#
# In each case zelmar.exe must show the example rules in its grids, also when
# the portable rule files start with a UTF-8 byte-order mark: a probe
# (packaging/windows/GridProbePlugin.cpp, a Qt generic plugin put into the
# folder for that one run, named with -plugin, and taken out again) prints
# what the grids hold.
# Screenshots of the window, and of it after a click on 赢, and of
# zelmar-analysis before and after a run are written to
# <build>/screenshots/ for a person to look at. The run must have drawn its
# curves on the chart tab, and its charts are exported through the save
# dialog; zelmar-sim --plot must write its chart into a folder with a
# Chinese name. The charts go to the screenshots too.
set -euo pipefail

zip=$(realpath "$1")
setup=$(realpath "$2")
build=$(realpath "$3")
top=$(cd "$(dirname "$0")/../.." && pwd)
probe=$build/packaging/windows/zelmar_grid_probe.dll
shots=$build/screenshots
mkdir -p "$shots"

fail() { echo "FAIL: $*" >&2; exit 1; }
ok() { echo "ok: $*"; }

scratch=$(mktemp -d)
chmod 755 "$scratch"
xvfb_pid=
cleanup() {
    for prefix in "$scratch"/prefix-*; do
        [ -d "$prefix" ] && "$top/cmake/wine-run.sh" "$prefix" --stop
    done
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

owner=root
[ "$(id -u)" -eq 0 ] && owner=nobody:nogroup || owner=$(id -u)

# An X server of our own; -displayfd says when it is ready.
mkfifo "$scratch/display"
Xvfb -displayfd 8 -screen 0 1280x900x24 -nolisten tcp 8>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r display <"$scratch/display"
export ZELMAR_WINE_DISPLAY=":$display"
export DISPLAY=":$display"

wine_in() { # prefix, program and arguments
    local prefix=$1
    shift
    "$top/cmake/wine-run.sh" "$prefix" "$@"
}
new_prefix() { # name; prints the prefix
    local prefix=$scratch/prefix-$1
    wine_in "$prefix" cmd /c exit >/dev/null 2>&1
    # As on a Chinese Windows, 宋体 (SimSun) is there: wine draws it with
    # the Song face of fonts-arphic-uming. The installer's pages ask for it.
    for name in 宋体 SimSun; do
        wine_in "$prefix" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$name" /d 'AR PL UMing CN' /f \
            >/dev/null 2>&1
    done
    echo "$prefix"
}
unix_path() { # prefix, Windows path on drive C:
    local rest=${2#C:\\}
    echo "$1/drive_c/${rest//\\//}"
}

# The probe's view of the grids, against the example rules.
expected=$scratch/grids.expected
{
    printf 'grdWin %s\n' "$(cat "$top/examples/winText.txt")"
    sed 's/\r$//; s/^/grdLost /' "$top/examples/lostText.txt"
    echo
} | sed '/^$/d' >"$expected"
probe_grids() { # prefix, Windows folder of the program, name[, program, its caption]
    local prefix=$1 folder=$2 name=$3 program=${4:-zelmar} caption=${5:-Zelmar V1.0版}
    local dir
    dir=$(unix_path "$prefix" "$folder")
    mkdir -p "$dir/generic"
    cp "$probe" "$dir/generic/"
    chown -R "$owner" "$dir/generic"
    # (wine keeps Linux's QT_QPA_* variables from Windows programs, so the
    # plugin is named on the command line; the time limit only ends a hang)
    timeout 300 "$top/cmake/wine-run.sh" "$prefix" "$folder\\$program.exe" -plugin zelmarprobe \
        >"$scratch/$name.grids" 2>"$scratch/$name.err" || true
    rm -rf "$dir/generic"
    tr -d '\r' <"$scratch/$name.grids" | diff -u <(echo "window $caption"; cat "$expected") - \
        || fail "$name: the grids of $program do not show the example rules ($(cat "$scratch/$name.err"))"
    ok "$name: the grids of $program show the example rules"
}

# The window on the screen, and again after a click on 赢. A picture is
# taken once the window is there and the screen has stopped changing.
steady_shot() { # file
    local previous=$scratch/previous.png
    import -window root "$previous"
    for _ in $(seq 1 100); do
        import -window root "$1"
        if cmp -s <(convert "$previous" rgb:-) <(convert "$1" rgb:-); then
            return 0
        fi
        cp "$1" "$previous"
    done
    fail "the screen never settled"
}
screenshots() { # prefix, Windows folder of zelmar.exe, name
    local prefix=$1 folder=$2 name=$3
    "$top/cmake/wine-run.sh" "$prefix" "$folder\\zelmar.exe" >"$scratch/$name.out" 2>&1 &
    local app=$! # wine-run.sh execs wine: this is zelmar.exe's own process
    local window
    window=$(timeout 300 xdotool search --sync --onlyvisible --name 'Zelmar' | head -n1)
    [ -n "$window" ] || fail "$name: no window appeared"
    steady_shot "$shots/$name.png"
    # 赢 lies 48 px in and 64 px down in the client area, 97 x 65 px, under
    # the menu bar.
    xdotool mousemove --window "$window" 96 120 click 1
    steady_shot "$shots/$name-after-win.png"
    cmp -s "$shots/$name.png" "$shots/$name-after-win.png" && fail "$name: a click on 赢 changed nothing"
    kill "$app"
    wait "$app" || true
    ok "$name: screenshots in $shots/$name.png and $name-after-win.png"
}
# How many pixels of the picture, or of its part WxH+X+Y, have a colour, give
# or take antialiasing. The pixels of that colour are marked first, so that
# nothing else (black text above all) is counted with them.
colour_pixels() { # picture, colour[, geometry]
    local crop=()
    [ -z "${3:-}" ] || crop=(-crop "$3" +repage)
    convert "$1" "${crop[@]}" -fuzz 6% -fill 'rgb(255,0,255)' -opaque "$2" -fuzz 0 \
        -fill black +opaque 'rgb(255,0,255)' -fill white -opaque 'rgb(255,0,255)' \
        -format '%[fx:round(w*h*mean)]' info:
}
# A round's loss curve, simulated (190,40,40), and worked out exactly: a dark
# dashed line (30,30,30).
loss_pixels() { colour_pixels "$1" 'rgb(190,40,40)' "${2:-}"; }
exact_pixels() { colour_pixels "$1" 'rgb(30,30,30)' "${2:-}"; }
# zelmar-analysis on the rules beside zelmar.exe: its window, then a run of the
# simulator started with F5, which must fill the window with its figures and
# draw the loss curve on the chart tab (the right part of the window, under
# its tabs); then 导出图表 PNG… in the bottom right corner, whose save
# dialog offers zelmar-图表.png in the user's folder.
start_analysis() { # prefix, Windows folder of zelmar-analysis.exe, name; sets app, window and plot
    "$top/cmake/wine-run.sh" "$1" "$2\\zelmar-analysis.exe" >"$scratch/$3.out" 2>&1 &
    app=$!
    window=$(timeout 300 xdotool search --sync --onlyvisible --name 'Zelmar 策略分析' | head -n1)
    [ -n "$window" ] || fail "$3: no window appeared"
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$window")"
    plot=$((WIDTH * 55 / 100))x$((HEIGHT - 140))+$((X + WIDTH * 45 / 100))+$((Y + 100))
}
stop_analysis() {
    kill "$app"
    wait "$app" || true
}
export_charts() { # prefix, name: 导出图表 into $shots/<name>-exported.png
    local prefix=$1 name=$2 home
    home=$(unix_path "$prefix" 'C:\users')/$( [ "$(id -u)" -eq 0 ] && echo nobody || id -un)
    rm -f "$home/zelmar-图表.png"
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove --window "$window" $((WIDTH - 60)) $((HEIGHT - 20)) click 1
    local dialog
    dialog=$(timeout 120 xdotool search --sync --onlyvisible --name '导出图表' | head -n1)
    [ -n "$dialog" ] || fail "$name: 导出图表 PNG… opened no dialog"
    sleep 1
    xdotool windowfocus --sync "$dialog" key Return
    for _ in $(seq 1 60); do
        [ -s "$home/zelmar-图表.png" ] && break
        sleep 1
    done
    [ -s "$home/zelmar-图表.png" ] || fail "$name: the charts were not exported"
    cp "$home/zelmar-图表.png" "$shots/$name-exported.png"
}
analysis_screenshots() { # prefix, Windows folder of zelmar-analysis.exe, name
    local prefix=$1 folder=$2 name=$3 app window plot drawn
    start_analysis "$prefix" "$folder" "$name"
    steady_shot "$shots/$name.png"
    xdotool windowfocus --sync "$window" key F5
    steady_shot "$shots/$name-run.png"
    cmp -s "$shots/$name.png" "$shots/$name-run.png" && fail "$name: F5 started no run"
    drawn=$(loss_pixels "$shots/$name-run.png" "$plot")
    [ "$drawn" -ge 100 ] || fail "$name: the chart tab shows no loss curve ($drawn pixels of its colour in $plot)"
    ok "$name: the run drew its loss curve on the chart tab ($drawn pixels)"
    export_charts "$prefix" "$name"
    drawn=$(loss_pixels "$shots/$name-exported.png")
    [ "$drawn" -ge 100 ] || fail "$name: the exported charts show no loss curve ($drawn pixels)"
    ok "$name: 导出图表 wrote the charts ($(identify -format '%wx%h' "$shots/$name-exported.png"), $drawn pixels of the curve)"
    stop_analysis
    ok "$name: screenshots in $shots/$name.png, $name-run.png and $name-exported.png"
}
# The same with 方法 精确和模拟 (kept by the window between runs, here set in
# its registry key): the round is worked out exactly, then simulated, and the
# exact curve is drawn over the simulated one, on the screen and in the
# exported charts. `simulated` is a simulated run's export, to compare with.
analysis_exact() { # prefix, Windows folder of zelmar-analysis.exe, name, simulated
    local prefix=$1 folder=$2 name=$3 simulated=$4 app window plot before=0 exact=0 drawn=0
    wine_in "$prefix" reg add 'HKCU\Software\Zelmar\zelmar-analysis\run' /v method /t REG_DWORD /d 2 /f \
        >/dev/null 2>&1 || fail "$name: the method could not be set in the registry"
    start_analysis "$prefix" "$folder" "$name"
    steady_shot "$shots/$name.png"
    before=$(exact_pixels "$shots/$name.png" "$plot")
    xdotool windowfocus --sync "$window" key F5
    # The exact curve comes with the end of the run.
    for _ in $(seq 1 300); do
        import -window root "$shots/$name-run.png"
        exact=$(( $(exact_pixels "$shots/$name-run.png" "$plot") - before ))
        drawn=$(loss_pixels "$shots/$name-run.png" "$plot")
        [ "$exact" -ge 100 ] && [ "$drawn" -ge 100 ] && break
        sleep 1
    done
    [ "$exact" -ge 100 ] || fail "$name: no exact curve on the chart tab ($exact more dark pixels in $plot)"
    [ "$drawn" -ge 100 ] || fail "$name: no simulated curve beside the exact one ($drawn pixels)"
    steady_shot "$shots/$name-run.png"
    ok "$name: the exact curve ($exact pixels) over the simulated one ($drawn pixels) on the chart tab"
    export_charts "$prefix" "$name"
    exact=$(( $(exact_pixels "$shots/$name-exported.png") - $(exact_pixels "$simulated") ))
    [ "$exact" -ge 100 ] || fail "$name: the exported charts show no exact curve ($exact more dark pixels than $simulated)"
    ok "$name: 导出图表 drew the exact curve too ($exact more dark pixels than the simulated run's charts)"
    # The 结果 tab, the second one over the charts, with its column of exact
    # figures: for a person to look at.
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove --window "$window" $((WIDTH * 48 / 100)) 111 click 1
    steady_shot "$shots/$name-table.png"
    stop_analysis
    ok "$name: screenshots in $shots/$name.png, $name-run.png, $name-exported.png and $name-table.png"
}

# --- Portable -----------------------------------------------------------------
prefix=$(new_prefix portable)
tools='C:\百家乐 工具'
unzip -q "$zip" -d "$(unix_path "$prefix" "$tools")"
chown -R "$owner" "$(unix_path "$prefix" "$tools")"
folder="$tools\\Zelmar"
dir=$(unix_path "$prefix" "$folder")
for f in zelmar.exe zelmar-analysis.exe zelmar-replay.exe zelmar-sim.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll \
    libQCustomPlotQt6.dll platforms/qwindows.dll translations/qtbase_zh_CN.qm \
    winText.txt lostText.txt 使用说明.txt 源代码.txt 许可证/GPL-3.txt 许可证/LGPL-3.txt 许可证/Zelmar-版权.txt; do
    [ -f "$dir/$f" ] || fail "the zip lacks $f"
done
ls "$dir"/styles/*.dll >/dev/null 2>&1 || fail "the zip has no style plugin"
[ ! -e "$dir/Qt6Charts.dll" ] || fail "the zip holds Qt6Charts.dll"
grep -q "qcustomplot 2.1.0" "$dir/源代码.txt" && grep -q "qt6-base 6.4.2" "$dir/源代码.txt" \
    || fail "源代码.txt does not name the source packages: $(cat "$dir/源代码.txt")"
ok "the zip holds the programs, Qt's DLLs and plugins, the translations, the example rules and the licences"

probe_grids "$prefix" "$folder" portable
wine_in "$prefix" "$folder\\zelmar-replay.exe" WWWW >"$scratch/replay.out"
grep -q "本局已经结束" "$scratch/replay.out" || fail "zelmar-replay did not play a round: $(cat "$scratch/replay.out")"
ok "zelmar-replay plays a round on the rules beside it"
# zelmar-sim --plot into a folder with a Chinese name.
charts='C:\图表 输出'
mkdir -p "$(unix_path "$prefix" "$charts")"
chown "$owner" "$(unix_path "$prefix" "$charts")"
wine_in "$prefix" "$folder\\zelmar-sim.exe" run --rules "$folder" --rounds 20000 --seed 3 \
    --plot "$charts\\百家乐 图表.png" --plot-size 1000x640 >"$scratch/sim.out" 2>&1 \
    || fail "zelmar-sim run --plot failed: $(cat "$scratch/sim.out")"
plotted=$(unix_path "$prefix" "$charts")/百家乐\ 图表.png
[ "$(identify -format '%m %wx%h' "$plotted")" = "PNG 1000x640" ] \
    || fail "zelmar-sim --plot wrote no 1000x640 PNG: $(identify "$plotted" 2>&1)"
cp "$plotted" "$shots/sim-plot.png"
drawn=$(loss_pixels "$plotted")
[ "$drawn" -ge 100 ] || fail "the chart of zelmar-sim --plot shows no loss curve ($drawn pixels)"
ok "zelmar-sim --plot drew its chart into $charts ($drawn pixels of the loss curve): $shots/sim-plot.png"
screenshots "$prefix" "$folder" portable
probe_grids "$prefix" "$folder" analysis-portable zelmar-analysis 'Zelmar 策略分析'
analysis_screenshots "$prefix" "$folder" analysis-portable
analysis_exact "$prefix" "$folder" analysis-exact "$shots/analysis-portable-exported.png"
cmp -s "$top/examples/winText.txt" "$dir/winText.txt" || fail "the portable rule file changed"
# Rule files as Notepad saves them with "UTF-8 with BOM": the same rules.
for f in winText.txt lostText.txt; do
    { printf '\xEF\xBB\xBF'; cat "$top/examples/$f"; } >"$dir/$f"
done
chown "$owner" "$dir/winText.txt" "$dir/lostText.txt"
probe_grids "$prefix" "$folder" portable-bom
for f in winText.txt lostText.txt; do
    cp "$top/examples/$f" "$dir/$f"
done
chown "$owner" "$dir/winText.txt" "$dir/lostText.txt"

# --- Installed ----------------------------------------------------------------
prefix=$(new_prefix installed)
cp "$setup" "$prefix/drive_c/setup.exe"
chown "$owner" "$prefix/drive_c/setup.exe"
# The first page, for a person to see it is Chinese; then closed unused.
"$top/cmake/wine-run.sh" "$prefix" 'C:\setup.exe' >/dev/null 2>&1 &
installer=$!
[ -n "$(timeout 300 xdotool search --sync --onlyvisible --name 'Zelmar' | head -n1)" ] || fail "no installer window"
steady_shot "$shots/installer-welcome.png"
kill "$installer"
wait "$installer" || true
ok "installer: first page in $shots/installer-welcome.png"
wine_in "$prefix" 'C:\setup.exe' /S
program='C:\Program Files\Zelmar'
installed=$(unix_path "$prefix" "$program")
[ -f "$installed/zelmar.exe" ] || fail "setup.exe /S installed no zelmar.exe"
[ -f "$installed/examples/winText.txt" ] || fail "the installation has no example rules"
[ ! -e "$installed/winText.txt" ] || fail "the installation put rule files beside the program"
menu=$prefix/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Zelmar
[ -f "$menu/Zelmar.lnk" ] && [ -f "$menu/Zelmar 策略分析.lnk" ] || fail "no Start-menu entries: $(ls "$menu" | tr "\n" " ")"
wine_in "$prefix" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelmar' /v DisplayName \
    | grep -q Zelmar || fail "not registered under Add/Remove Programs"
ok "setup.exe /S: Program Files, the Start menu and Add/Remove Programs"

probe_grids "$prefix" "$program" installed
probe_grids "$prefix" "$program" analysis-installed zelmar-analysis 'Zelmar 策略分析'
data=$prefix/drive_c/users/$( [ "$(id -u)" -eq 0 ] && echo nobody || id -un)/AppData/Local/Zelmar
cmp -s "$top/examples/winText.txt" "$data/winText.txt" && cmp -s "$top/examples/lostText.txt" "$data/lostText.txt" \
    || fail "the example rules are not in %LOCALAPPDATA%\\Zelmar"
ok "the installed program copied the example rules into %LOCALAPPDATA%\\Zelmar"
screenshots "$prefix" "$program" installed

# The user's own rules, then the uninstaller, run in place (_?=) so that it
# ends when it is done instead of handing over to a copy of itself. _?= must
# come last and unquoted, which only a batch file can give it.
printf '1,2,3' >"$data/winText.txt"
printf '"%s\\uninstall.exe" /S _?=%s\r\n' "$program" "$program" >"$prefix/drive_c/uninstall-zelmar.cmd"
chown "$owner" "$prefix/drive_c/uninstall-zelmar.cmd"
wine_in "$prefix" cmd /c 'C:\uninstall-zelmar.cmd' >"$scratch/uninstall.out" 2>&1 || fail "the uninstaller failed: $(cat "$scratch/uninstall.out")"
[ ! -e "$installed/zelmar.exe" ] || fail "the uninstaller left zelmar.exe: $(ls "$installed" | tr "\n" " ")"
[ ! -e "$menu/Zelmar.lnk" ] && [ ! -e "$menu/Zelmar 策略分析.lnk" ] || fail "the uninstaller left a Start-menu entry"
! wine_in "$prefix" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelmar' >/dev/null 2>&1 \
    || fail "the uninstaller left its registration"
[ "$(cat "$data/winText.txt")" = "1,2,3" ] && cmp -s "$top/examples/lostText.txt" "$data/lostText.txt" \
    || fail "the uninstaller touched the user's rule files"
ok "uninstalled: the program is gone, the user's rule files are not"
