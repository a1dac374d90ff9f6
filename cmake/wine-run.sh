#!/usr/bin/env bash
# Runs a Windows program under wine for the build and the tests:
#
#     cmake/wine-run.sh PREFIX [--again-if-not-started] program.exe [arguments...]
#     cmake/wine-run.sh PREFIX --stop      (ends the prefix's wine server)
#
# Now and then wine does not start a program at all: it ends at once with a
# non-zero status and prints nothing. With --again-if-not-started (the tests'
# way), the program's output is held until it ends, and a run that failed
# without printing anything is started again, at most twice, with a note on
# stderr. Every test and tool prints something when it fails, so a real
# failure is never run again. Without it, wine replaces this script, so that
# the caller's process is the program's own.
#
# PREFIX is a private wine prefix, made on first use without any dialog
# (no Mono, no Gecko) and kept for later runs. Wine's own chatter is off.
# Started as root, the program runs as the unprivileged user "nobody", the
# way a Windows user runs it: folders made read-only then really refuse
# new files, which root would be allowed to create anyway. (When nobody cannot
# reach the program, see below, it runs as root in PREFIX-root.)
#
# The Windows temporary folder (TEMP, TMP) is C:\users\<user>\Temp\百家乐 测试,
# so that every test folder's path holds Chinese characters and a space; it
# lies under $TMPDIR when that is set, else inside the prefix. The code page
# stays wine's default (1252), in which Chinese cannot be written at all, so
# anything that passes a path through an 8-bit API shows at once.
set -euo pipefail

prefix="$1"
shift
again=0
[ "${1:-}" = --again-if-not-started ] && again=1 && shift

export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH=win64
export LC_ALL=C.UTF-8 # UTF-8 between wine and the Linux side
tempName='百家乐 测试'
# No windows: console programs need no display, and a stray one must not
# wait for a click.
[ -n "${ZELMAR_WINE_DISPLAY:-}" ] && export DISPLAY="$ZELMAR_WINE_DISPLAY" || unset DISPLAY

wine=wine
[ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64 # without the wine32 notice

nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
if [ "${1:-}" = --stop ]; then
    if [ "$(id -u)" -eq 0 ]; then
        [ -d "$prefix" ] && HOME="$prefix/home" "${nobody[@]}" wineserver -k >/dev/null 2>&1 || true
        [ -d "$prefix-root" ] && WINEPREFIX="$prefix-root" wineserver -k >/dev/null 2>&1 || true
    else
        [ -d "$prefix" ] && wineserver -k >/dev/null 2>&1 || true
    fi
    exit 0
fi

# As root, run as "nobody" unless nobody cannot reach the prefix or read the
# program: a checkout under a private folder such as /root. The program then
# runs as root in a prefix of root's own (and the tests that need a folder
# that really refuses new files skip themselves).
as_user=()
user="$(id -un)"
if [ "$(id -u)" -eq 0 ]; then
    program="${1:-}"
    if "${nobody[@]}" test -x "$(dirname "$prefix")" 2>/dev/null &&
        { [[ "$program" != */* ]] || "${nobody[@]}" test -r "$program" 2>/dev/null; }; then
        as_user=("${nobody[@]}")
        user=nobody
        export HOME="$prefix/home" USER=nobody LOGNAME=nobody
    else
        prefix="$prefix-root"
        export WINEPREFIX="$prefix"
    fi
fi

mkdir -p "$prefix"
if [ ! -f "$prefix/.zelmar-ready" ]; then
    # One maker at a time, when tests start in parallel.
    exec 9>"$prefix.lock"
    flock 9
    if [ ! -f "$prefix/.zelmar-ready" ]; then
        [ "$user" = nobody ] && mkdir -p "$HOME" && chown -R nobody:nogroup "$prefix"
        "${as_user[@]}" wineboot -i >/dev/null 2>&1
        for name in TEMP TMP; do
            "${as_user[@]}" "$wine" reg add 'HKCU\Environment' /v "$name" /t REG_SZ \
                /d "C:\\users\\$user\\Temp\\$tempName" /f >/dev/null 2>&1
        done
        "${as_user[@]}" wineserver -w
        touch "$prefix/.zelmar-ready"
    fi
    exec 9>&-
fi

# Wine's server and its service processes outlive a program for a while.
# Started by a program under CTest, they would inherit its output and hold
# the test open until they end; started here, away from any output, they
# serve a whole test run and end a minute after the last program.
if "${as_user[@]}" wineserver -p60 </dev/null >/dev/null 2>&1; then
    "${as_user[@]}" "$wine" wineboot </dev/null >/dev/null 2>&1 || true
fi

# The Chinese temporary folder, pointed at $TMPDIR's or the prefix's (runs
# with different TMPDIR at the same time on one prefix would move it under
# each other).
temp_root="${TMPDIR:-$prefix/tmp}/zelmar-wine-$user"
mkdir -p "$temp_root/$tempName"
[ "$user" = nobody ] && chown nobody:nogroup "$temp_root" "$temp_root/$tempName"
link="$prefix/drive_c/users/$user/Temp/$tempName"
if [ "$(readlink "$link" 2>/dev/null)" != "$temp_root/$tempName" ]; then
    "${as_user[@]}" ln -sfn "$temp_root/$tempName" "$link"
fi

[ "$again" = 1 ] || exec "${as_user[@]}" "$wine" "$@"

out="$(mktemp "$prefix.out.XXXXXX")"
err="$(mktemp "$prefix.err.XXXXXX")"
trap 'rm -f "$out" "$err"' EXIT
for attempt in 1 2 3; do
    status=0
    "${as_user[@]}" "$wine" "$@" >"$out" 2>"$err" || status=$?
    if [ "$status" -eq 0 ] || [ -s "$out" ] || [ -s "$err" ]; then
        break
    fi
    echo "wine-run.sh: $1 ended with status $status and printed nothing: wine did not start it (try $attempt of 3)" >&2
done
cat "$out"
cat "$err" >&2
exit "$status"
