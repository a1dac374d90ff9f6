#!/usr/bin/env bash
# Ctrl-C in a Windows console stops `zelmar-sim run` after the rounds under
# way and still prints the figures of the finished ones; and with standard
# error not a console there is no progress bar.
#   sim-interrupt.sh zelmar-sim.exe PREFIX EXAMPLES
# Wine turns the SIGINT sent here into the console's Ctrl-C event. The
# signal goes once the run has printed its seed line, i.e. is under way.
set -euo pipefail
sim=$1
prefix=$2
examples=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
cp "$examples/winText.txt" "$examples/lostText.txt" "$scratch/"
mkfifo "$scratch/out"
[ "$(id -u)" -ne 0 ] || chown -R nobody:nogroup "$scratch"

cd "$scratch"
"$(dirname "$0")/../../cmake/wine-run.sh" "$prefix" "$sim" run --rules . --rounds 100000000 --seed 5 \
    >"$scratch/out" 2>"$scratch/err" &
run=$!
exec 3<"$scratch/out"
read -r seed <&3 || { cat "$scratch/err" >&2; exit 1; }
kill -INT "$run"
rest=$(cat <&3)
status=0
wait "$run" || status=$?

fail() { echo "FAIL: $*" >&2; echo "$seed"; echo "$rest"; cat "$scratch/err"; exit 1; }
[[ $seed == 种子：5* ]] || fail "no seed line first"
[ "$status" -eq 130 ] || fail "exit status $status, not 130"
grep -q '^已中断：以下只统计已经玩完的 [0-9]* 局' <<<"$rest" || fail "no note of the interruption"
grep -q '^局数：[0-9]* 局' <<<"$rest" || fail "no figures of the finished rounds"
! grep -q '\[#' "$scratch/err" || fail "a progress bar on standard error that is a file"
echo "ok: Ctrl-C printed the figures of $(sed -n 's/^局数：\([0-9]*\) 局.*/\1/p' <<<"$rest") finished rounds"
