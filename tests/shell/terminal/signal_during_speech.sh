#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Ctrl+C while the embedded voice speaks a printed line ends the terminal
# program within a second, having written ram.dat, instead of after the
# line (and the next one) has been spoken. The voice sings into OpenAL's
# null output, which plays in real time as a sound card would.
#
#   signal_during_speech.sh PROGRAM_DIR
set -euo pipefail
program_dir=$1

work=$(mktemp -d)
trap '[ -n "${pid:-}" ] && kill -KILL "$pid" 2>/dev/null; rm -rf "$work"' EXIT
cp -r "$program_dir"/. "$work"/
rm -f "$work"/*.ini "$work"/ram.dat
cd "$work"
mkfifo commands

fail() {
    echo "FAIL: $*"
    echo "--- speech log"; cat speech.log 2>/dev/null || true
    echo "--- stderr"; cat err.txt
    exit 1
}

for signal in INT TERM; do
    rm -f ram.dat speech.log
    # Input held open and never written: the game is at its introduction.
    sleep 60 >commands &
    holder=$!
    ALSOFT_DRIVERS=null ./orbela --tty --speech-log speech.log <commands >out.txt 2>err.txt &
    pid=$!
    # The first printed line handed to the voice, which takes seconds to say.
    for ((i = 0; i < 200; i++)); do
        grep -q '^wait:' speech.log 2>/dev/null && break
        sleep 0.05
    done
    grep -q '^wait:' speech.log || fail "no line was spoken within 10 s"
    sleep 0.3
    start=$(date +%s%N)
    kill -s "$signal" "$pid"
    status=0
    wait "$pid" || status=$?
    took_ms=$(( ($(date +%s%N) - start) / 1000000 ))
    pid=
    kill "$holder" 2>/dev/null || true
    wait "$holder" 2>/dev/null || true
    echo "SIG$signal during a spoken line: ended after ${took_ms} ms, status $status"
    expected=$(( 128 + $(kill -l "$signal") ))
    [ "$status" -eq "$expected" ] || fail "SIG$signal: exit status $status, not $expected"
    [ "$took_ms" -lt 1000 ] || fail "SIG$signal: the program took ${took_ms} ms to end"
    [ "$(stat -c %s ram.dat 2>/dev/null || echo 0)" -eq 65536 ] || fail "SIG$signal: ram.dat was not saved"
    [ "$(grep -c '^wait:' speech.log)" -eq 1 ] || fail "SIG$signal: a further line was spoken after the signal"
done
