#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays the winning walkthrough through the real executable in the terminal,
# from a copy of the program's folder: the game must end with the win and
# "hotovo", exit 0 and leave a 65,536-byte ram.dat.
set -euo pipefail
program_dir=$1
commands=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$program_dir"/. "$work"/
rm -f "$work"/ram.dat "$work"/*.ini
cd "$work"

status=0
./orbela --tty --quiet <"$commands" >out.txt 2>err.txt || status=$?

fail() {
    echo "FAIL: $*"
    echo "--- stdout (last 20 lines)"; tail -n 20 out.txt
    echo "--- stderr"; cat err.txt
    exit 1
}

[ "$status" -eq 0 ] || fail "exit status $status"
grep -q '^právě začíná fantastická česká textová hra kvaldor\.$' out.txt || fail "no introduction"
[ "$(tail -n 1 out.txt)" = "hotovo" ] || fail "the last line is not hotovo"
grep -q 'chceš hrát znovu' out.txt && fail "the game asked to play again"
[ -f ram.dat ] || fail "no ram.dat"
[ "$(stat -c %s ram.dat)" -eq 65536 ] || fail "ram.dat is not 65,536 bytes"
[ -s err.txt ] && fail "unexpected errors"
echo "walkthrough won: $(wc -l <out.txt) lines of output"
