#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Standard output that cannot be written (a closed pipe, a full device) is
# reported, the process is not killed by SIGPIPE, and ram.dat is still
# written. A line of raw Windows-1250 bytes is reported as invalid UTF-8.
set -euo pipefail
program_dir=$1
# The game's pauses made instant, when the library is given.
[ -n "${2:-}" ] && export LD_PRELOAD="$2" ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$program_dir"/. "$work"/
rm -f "$work"/*.ini
cd "$work"

fail() {
    echo "FAIL: $*"
    echo "--- stderr"; cat err.txt
    exit 1
}

# A full device.
rm -f ram.dat
status=0
printf 'situace\n' | ./orbela --tty --quiet >/dev/full 2>err.txt || status=$?
[ "$status" -eq 1 ] || fail "a full standard output gave exit status $status"
grep -q 'Unable to write to standard output' err.txt || fail "the full device was not reported"
[ "$(stat -c %s ram.dat)" -eq 65536 ] || fail "ram.dat was not written after output to a full device"

# A pipe whose reader has gone: the reader is gone before the first line.
rm -f ram.dat
mkfifo out.fifo
( exec 3<out.fifo; exec 3<&- ) &
status=0
{ sleep 0.2; printf 'situace\n'; } | ./orbela --tty --quiet >out.fifo 2>err.txt || status=$?
wait
[ "$status" -eq 1 ] || fail "a closed standard output gave exit status $status (141 is death by SIGPIPE)"
grep -q 'Unable to write to standard output' err.txt || fail "the closed pipe was not reported"
[ "$(stat -c %s ram.dat)" -eq 65536 ] || fail "ram.dat was not written after output to a closed pipe"

# Raw Windows-1250 bytes ("příliš" as the game's own code page).
printf 'p\370\355li\232\nsituace\n' | ./orbela --tty --quiet >out.txt 2>err.txt || true
grep -q 'is not valid UTF-8' err.txt || fail "raw Windows-1250 bytes were not reported as invalid UTF-8"
grep -q 'has no Windows-1250 form' err.txt && fail "raw bytes were reported as a missing character"
echo "output errors reported, image saved; invalid UTF-8 named as such"
