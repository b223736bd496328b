#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End of input in the middle of a game ends the program as the dialog's
# end-program button does: exit 0 and ram.dat written, the old bytes kept.
# A line that has no Windows-1250 form is reported and asked for again.
set -euo pipefail
program_dir=$1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$program_dir"/. "$work"/
rm -f "$work"/*.ini
cd "$work"
head -c 100 /dev/urandom >ram.dat
cp ram.dat before.dat

status=0
printf 'inventář\n日本\nsituace\n' | ./orbela --tty --quiet >out.txt 2>err.txt || status=$?

fail() {
    echo "FAIL: $*"
    echo "--- stdout"; cat out.txt
    echo "--- stderr"; cat err.txt
    exit 1
}

[ "$status" -eq 0 ] || fail "exit status $status"
grep -q '^neseš sebou: likvidátor peníze' out.txt || fail "no inventory listing"
grep -q 'Windows-1250' err.txt || fail "the unconvertible line was not reported"
[ "$(grep -c '^sedíš na zadním sedadle' out.txt)" -eq 2 ] || fail "situace after the bad line did not describe the taxi again"
[ "$(stat -c %s ram.dat)" -eq 65536 ] || fail "ram.dat is not 65,536 bytes"
cmp -n 100 ram.dat before.dat || fail "the loaded bytes were not written back"
[ "$(tail -c +101 ram.dat | tr -d '\0' | wc -c)" -eq 0 ] || fail "the rest of the image is not zero"
grep -q hotovo out.txt && fail "the program went on after the end of input"
# A quiet first start is no reason to switch voice off for later starts.
grep -qx 'voiceallowed=1' orbela.ini || fail "the quiet first start stored voice off"
echo "end of input handled"
