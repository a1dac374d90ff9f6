#!/usr/bin/env bash
# Runs a Windows program under wine for the build and the tests:
#
#     cmake/wine-run.sh PREFIX program.exe [arguments...]
#
# PREFIX is a private wine prefix, made on first use without any dialog
# (no Mono, no Gecko) and kept for later runs. Wine's own chatter is off.
# Started as root, the program runs as the unprivileged user "nobody", the
# way a Windows user runs it: folders made read-only then really refuse
# new files, which root would be allowed to create anyway.
set -euo pipefail

prefix="$1"
shift

export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH=win64
# No windows: console programs need no display, and a stray one must not
# wait for a click.
[ -n "${ZELMAR_WINE_DISPLAY:-}" ] && export DISPLAY="$ZELMAR_WINE_DISPLAY" || unset DISPLAY

wine=wine
[ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64 # without the wine32 notice

as_user=()
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
    export HOME="$prefix/home" USER=nobody LOGNAME=nobody
fi

mkdir -p "$prefix"
if [ ! -f "$prefix/.zelmar-ready" ]; then
    # One maker at a time, when tests start in parallel.
    exec 9>"$prefix.lock"
    flock 9
    if [ ! -f "$prefix/.zelmar-ready" ]; then
        [ "$(id -u)" -eq 0 ] && mkdir -p "$HOME" && chown -R nobody:nogroup "$prefix"
        "${as_user[@]}" wineboot -i >/dev/null 2>&1
        "${as_user[@]}" wineserver -w
        touch "$prefix/.zelmar-ready"
    fi
    exec 9>&-
fi

exec "${as_user[@]}" "$wine" "$@"
