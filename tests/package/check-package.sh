#!/usr/bin/env bash
# Checks the Debian package without installing it:
#   tests/package/check-package.sh zelmar_<version>_amd64.deb libzelmar_grid_probe.so
# lintian, desktop-file-validate and appstreamcli judge the package and its
# desktop files. Then the package is unpacked into a scratch folder, its bin
# is made read-only, and the unpacked programs run as a user who may not
# write there (nobody when this runs as root, who may write anywhere), with
# HOME and XDG_DATA_HOME in the scratch folder, as an installed program
# runs: zelmar-replay must copy the example rules into the data folder and
# play a round on them (also when run by a user who may write into bin), or,
# when the data folder cannot be made, say so and go on; zelmar and
# zelmar-analysis, on the offscreen platform, must come up under their
# captions and show the example rules in their grids (read by a probe loaded
# with LD_PRELOAD; the programs have no test hook).
set -euo pipefail

deb=$(realpath "$1")
probe=$(realpath "$2")
fail() { echo "FAIL: $*" >&2; exit 1; }
ok() { echo "ok: $*"; }

scratch=$(mktemp -d)
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT
chmod 755 "$scratch"

if [ "$(id -u)" -eq 0 ]; then
    user=65534
    as_user() { setpriv --reuid="$user" --regid="$user" --clear-groups "$@"; }
else
    user=$(id -u)
    as_user() { "$@"; }
fi

# lintian leaves a temporary file behind: keep it in the scratch folder.
TMPDIR=$scratch lintian --fail-on error --display-level '>=warning' "$deb" || fail "lintian reports errors"
ok "lintian: no errors"

root=$scratch/root
dpkg-deb -x "$deb" "$root"
programs=(zelmar zelmar-analysis)
for program in "${programs[@]}"; do
    desktop-file-validate "$root/usr/share/applications/$program.desktop" || fail "desktop-file-validate $program"
done
ok "desktop-file-validate"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml || fail "appstreamcli validate"
for program in "${programs[@]}"; do
    for size in 32 48 64 128 256; do
        file "$root/usr/share/icons/hicolor/${size}x${size}/apps/$program.png" | grep -q "PNG image data, $size x $size" \
            || fail "no $size px icon for $program"
    done
done
examples=$root/usr/share/zelmar/examples
if [ ! -s "$examples/winText.txt" ] || [ ! -s "$examples/lostText.txt" ]; then fail "no example rules in the package"; fi
ok "icons at every size, example rules"

bin=$root/usr/bin
chmod a-w "$bin"
if as_user test -w "$bin"; then fail "the unpacked bin is writable for uid $user"; fi
cp "$probe" "$scratch/probe.so"
chmod 644 "$scratch/probe.so"
cd "$scratch"

# A fresh user: HOME, runtime folder and data folder of their own.
new_home() {
    mkdir -p "$scratch/$1/run"
    chmod 700 "$scratch/$1/run"
    [ "$(id -u)" -ne 0 ] || chown -R "$user:$user" "$scratch/$1"
    echo "$scratch/$1"
}
run_as_user() { # home, data folder, program and arguments
    local home=$1 data=$2
    shift 2
    as_user env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$home" XDG_DATA_HOME="$data" \
        XDG_RUNTIME_DIR="$home/run" "$@"
}
bin_untouched() {
    if [ -e "$bin/winText.txt" ] || [ -e "$bin/lostText.txt" ]; then fail "rule files were made in the program's folder"; fi
}
same_as_examples() { # data folder
    cmp -s "$examples/winText.txt" "$1/winText.txt" && cmp -s "$examples/lostText.txt" "$1/lostText.txt"
}

# zelmar-replay, first start of a new user.
home=$(new_home replay)
run_as_user "$home" "$home/data" "$bin/zelmar-replay" WWWW >"$scratch/replay.out" 2>"$scratch/replay.err" \
    || fail "zelmar-replay exited with $?: $(cat "$scratch/replay.err")"
[ ! -s "$scratch/replay.err" ] || fail "zelmar-replay reported: $(cat "$scratch/replay.err")"
same_as_examples "$home/data/zelmar" || fail "the example rules were not copied into $home/data/zelmar"
bin_untouched
run_as_user "$home" "$home/data" "$bin/zelmar-replay" --rules "$examples" WWWW >"$scratch/examples.out"
cmp -s "$scratch/replay.out" "$scratch/examples.out" || fail "the round differs from one on the example rules"
grep -q "本局已经结束" "$scratch/replay.out" || fail "the recorded round did not play to its end: $(cat "$scratch/replay.out")"
ok "zelmar-replay copied the example rules into the data folder and played a round on them"

# Even a user who may write into bin (root, when the tests run as root) gets
# the data folder: an installed program's folder is the package's.
home=$(new_home writer)
env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$home" XDG_DATA_HOME="$home/data" \
    "$bin/zelmar-replay" WWWW >"$scratch/writer.out" 2>&1 || fail "zelmar-replay as $(id -un): $(cat "$scratch/writer.out")"
bin_untouched
same_as_examples "$home/data/zelmar" || fail "zelmar-replay as $(id -un) did not use the data folder"
ok "zelmar-replay as $(id -un) leaves the program's folder alone"

# zelmar-replay when the data folder cannot be made: a report, and it goes on.
home=$(new_home readonly)
mkdir "$home/data"
chmod 555 "$home/data"
chown "$(id -u):$(id -g)" "$home/data" # not the user's: read-only means read-only for them
run_as_user "$home" "$home/data" "$bin/zelmar-replay" WWWW >"$scratch/ro.out" 2>"$scratch/ro.err" \
    || fail "zelmar-replay gave up on an unwritable data folder"
grep -q "无法创建存放规则文件的文件夹 $home/data/zelmar" "$scratch/ro.err" || fail "no report: $(cat "$scratch/ro.err")"
grep -q "无法读取规则文件" "$scratch/ro.out" || fail "the rule files' own reports are missing: $(cat "$scratch/ro.out")"
ok "an unwritable data folder is reported and zelmar-replay goes on"


# The desktop programs on the offscreen platform, each the first start of
# another new user: the caption, and the example rules in the grids.
{
    printf 'grdWin %s\n' "$(cat "$examples/winText.txt")"
    sed 's/\r$//; s/^/grdLost /' "$examples/lostText.txt"
    echo
} | sed '/^$/d' >"$scratch/grids.expected"
for program in "${programs[@]}"; do
    case $program in
        zelmar) caption="Zelmar V1.0版" ;;
        zelmar-analysis) caption="Zelmar 策略分析" ;;
    esac
    home=$(new_home "window-$program")
    { echo "window $caption"; cat "$scratch/grids.expected"; } >"$scratch/$program.expected"
    # The probe ends the program once its grids are shown; a program that
    # never shows them is ended after two minutes.
    run_as_user "$home" "$home/data" env QT_QPA_PLATFORM=offscreen \
        LD_PRELOAD="$scratch/probe.so" timeout 120 "$bin/$program" >"$scratch/$program.out" 2>"$scratch/$program.err" \
        || fail "$program did not show its grids: $(cat "$scratch/$program.out" "$scratch/$program.err")"
    diff -u "$scratch/$program.expected" "$scratch/$program.out" \
        || fail "$program does not show its caption and the example rules"
    same_as_examples "$home/data/zelmar" || fail "$program did not copy the example rules into its data folder"
    bin_untouched
    ok "$program copied the example rules and its grids show them under \"$caption\""
done
