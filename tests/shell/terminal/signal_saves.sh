#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Termination signals at random instants of short terminal runs: SIGTERM,
# SIGINT, SIGHUP (an orderly end that saves) and SIGKILL (no save at all).
# After each, "ram.dat" is the old image or the one a whole run writes,
# never anything else; the configuration file is absent (the first start's
# write had not happened) or whole; and after the next start no temporary
# file of a save is left.
#
#   signal_saves.sh PROGRAM_DIR INSTANT_SLEEP_LIBRARY [DELIVERIES]
#
# The library makes the game's pauses instant, so a run takes a fraction
# of a second and the signals fall before, during and after the saves. It
# is given to the program alone: the script's own sleep must take its time.
# A polite signal that finds the program's handler in place ends in a save,
# so each of them must leave the new image at least once, and some delivery
# must leave the old one.
# Random instants rarely find the program alive late in so short a run, so
# a second phase signals a program that has answered every command and
# waits for the next one: there a polite signal must always save.
set -euo pipefail
program_dir=$1
shim=$2
deliveries=${3:-100}

work=$(mktemp -d)
# Only this shell cleans up: a child of it that a signal catches before it
# has become the program would run the trap too.
trap '[ "$BASHPID" = "$$" ] && rm -rf "$work"' EXIT
cp -r "$program_dir"/. "$work"/
cd "$work"
rm -f -- *.ini .*.XXXXXX

fail() {
    echo "FAIL: $*"
    exit 1
}

# The game never writes into the image, so a saved one is the old file's
# bytes filled up with zeros to 65,536 bytes; a short old file tells a run
# that saved from one that did not.
head -c 1000 /dev/urandom >old.dat
printf 'inventář\nsituace\nsever\njih\nsituace\n' >commands.txt
# Asan insists on coming first unless told not to check.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"

# Whether process $1 is the program and catches signal $2 now. A handler,
# once in place, stays until the image is written, so a polite signal it
# catches must end in a save; the start-up's length under load decides
# nothing.
catches() {
    local number mask
    [ "$(cat "/proc/$1/comm" 2>/dev/null)" = orbela ] || return 1
    number=$(kill -l "$2")
    mask=$(awk '/^SigCgt:/ { print $2 }' "/proc/$1/status" 2>/dev/null) || return 1
    [ -n "$mask" ] && (( (16#$mask >> (number - 1)) & 1 ))
}

# A simple command, so that $! is the program itself, not a subshell.
run() {
    LD_PRELOAD="$shim" ./orbela --tty --quiet <"${1:-commands.txt}" >/dev/null 2>>stderr.txt
}

# The reference: what one whole run leaves.
cp old.dat ram.dat
run || fail "a whole run failed: $(cat stderr.txt)"
cp ram.dat new.dat
cp orbela.ini new.ini
{ cat old.dat; head -c $((65536 - 1000)) /dev/zero; } | cmp -s - new.dat ||
    fail "a whole run did not save the old bytes filled up with zeros"
# How long a whole run takes, to spread the signals over it.
start=$(date +%s%N)
cp old.dat ram.dat; rm -f orbela.ini
run
span_ms=$(( ($(date +%s%N) - start) / 1000000 + 20 ))

signals=(TERM KILL INT HUP)
declare -A count=() old=() new=()
caught_count=0
for ((i = 0; i < deliveries; i++)); do
    cp old.dat ram.dat
    rm -f orbela.ini
    signal=${signals[RANDOM % 4]}
    LD_PRELOAD="$shim" ./orbela --tty --quiet <commands.txt >/dev/null 2>>stderr.txt &
    pid=$!
    delay=$(( RANDOM % span_ms ))
    sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
    caught=false
    if [ "$signal" != KILL ] && catches "$pid" "$signal"; then
        caught=true
        caught_count=$(( caught_count + 1 ))
    fi
    delivered=true
    kill -s "$signal" "$pid" 2>/dev/null || delivered=false
    wait "$pid" 2>/dev/null || true
    count[$signal]=$(( ${count[$signal]:-0} + 1 ))

    if cmp -s ram.dat old.dat; then
        old[$signal]=$(( ${old[$signal]:-0} + 1 ))
        # A polite signal that found the program's handler in place must
        # end in a save, however slow the start-up was.
        if $caught && $delivered; then
            fail "delivery $i (SIG$signal after ${delay} ms of a ${span_ms} ms run, handler in place) ended without a save"
        fi
    elif cmp -s ram.dat new.dat; then
        new[$signal]=$(( ${new[$signal]:-0} + 1 ))
    else
        fail "delivery $i (SIG$signal after ${delay} ms): ram.dat is neither the old nor the new image"
    fi
    if [ -e orbela.ini ] && ! cmp -s orbela.ini new.ini; then
        fail "delivery $i (SIG$signal after ${delay} ms): orbela.ini is damaged: $(head -c 200 orbela.ini)"
    fi
    # The next start (ending at once on empty input) clears the litter.
    run /dev/null || true
    litter=$(find . -maxdepth 1 -name '.ram.dat.*' -o -maxdepth 1 -name '.orbela.ini.*')
    [ -z "$litter" ] || fail "delivery $i (SIG$signal): left after the next start: $litter"
done

# A program waiting for its next command, its input held open on a FIFO.
expected_bytes=$(LD_PRELOAD="$shim" ./orbela --tty --quiet <commands.txt 2>>stderr.txt | wc -c)
mkfifo input.fifo
for signal in TERM INT HUP TERM INT HUP; do
    cp old.dat ram.dat
    rm -f answers.txt
    # A job started with & ignores SIGINT in a script; the program must
    # take the signal back, as it does when a terminal starts it.
    LD_PRELOAD="$shim" ./orbela --tty --quiet <input.fifo >answers.txt 2>>stderr.txt &
    pid=$!
    exec 3>input.fifo
    cat commands.txt >&3
    for ((wait = 0; wait < 600; wait++)); do
        [ "$(wc -c <answers.txt)" -ge "$expected_bytes" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    [ "$(wc -c <answers.txt)" -ge "$expected_bytes" ] ||
        fail "SIG$signal phase: the program did not answer every command (wrote $(wc -c <answers.txt) of $expected_bytes bytes)"
    kill -s "$signal" "$pid" || fail "SIG$signal phase: the program waiting for input was gone"
    status=0
    wait "$pid" || status=$?
    exec 3>&-
    cmp -s ram.dat new.dat ||
        fail "SIG$signal to a program waiting for its next command (exit $status) did not save the image"
done
rm -f input.fifo
echo "TERM, INT and HUP to a program waiting for its next command: saved each time"

olds=0
for signal in "${signals[@]}"; do
    echo "SIG$signal: ${count[$signal]:-0} deliveries, ram.dat old ${old[$signal]:-0}, new ${new[$signal]:-0}"
    olds=$(( olds + ${old[$signal]:-0} ))
    if [ "$signal" != KILL ] && [ "${count[$signal]:-0}" -ge 5 ] && [ "${new[$signal]:-0}" -eq 0 ]; then
        fail "SIG$signal never ended in a save"
    fi
done
[ "$olds" -gt 0 ] || fail "no delivery left the old image: the signals never fell before a save"
[ "$caught_count" -gt 0 ] || fail "no polite signal found the handler in place"
echo "$caught_count polite signals found the handler in place: each ended in a save"
echo "$deliveries deliveries over runs of about ${span_ms} ms: ram.dat always old or new, orbela.ini whole, no litter"
