#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The main window at rest with the voice allowed: once the start's speech is
# over and the audio outputs have had their 2 s of silence, the program's
# threads together wake fewer than 40 times a second (voluntary and
# involuntary context switches from /proc/PID/task/*/status over 4 s). An
# audio output still mixing silence wakes its mixer 80-200 times a second;
# a resting window wakes a few times. The real program in a real window
# under Xvfb, with the embedded voice on OpenAL's null output and the
# speech service unreachable, its message answered.
#   xvfb_idle_rest.sh PROGRAM_DIR
set -euo pipefail
support=$(cd "$(dirname "$0")/../../support" && pwd)
. "$support"/xvfb_program.sh
require_xvfb_tools
copy_program_folder "$1"
cp "$support"/xvfb_windows.sh "$work"/

cat >"$work"/rest.sh <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
export QT_QPA_PLATFORM=xcb ALSOFT_DRIVERS=null SPEECHD_ADDRESS=unix_socket:$PWD/no-such-socket
./orbela --speech-log speech.log >out.txt 2>err.txt &
program=$!
trap 'kill "$program" 2>/dev/null; wait "$program" 2>/dev/null' EXIT
fail() { echo "FAIL: $*"; exit 1; }
. ./xvfb_windows.sh
answer_start_messages || fail "the program ended at start, or its main window did not appear"
grep -q "queued:" speech.log || fail "nothing was spoken: the voice is not on"
# The speech is over when its log has not grown for 2 s; then the outputs
# keep 2 s of silence before they rest.
size=-1
for ((i = 0; i < 60; i++)); do
    now=$(stat -c %s speech.log)
    [ "$now" = "$size" ] && break
    size=$now
    sleep 2
done
sleep 5
# Each thread's switches; threads that end meanwhile count up to their end
# only as far as the second reading shows them, so the sum is taken over
# the threads of the second reading (new ones from zero).
switches() {
    local task
    for task in /proc/"$program"/task/*; do
        printf '%s %s\n' "${task##*/}" "$(awk '/ctxt_switches/ { s += $2 } END { print s }' "$task"/status 2>/dev/null)"
    done | sort
}
first=$(switches)
sleep 4
second=$(switches)
kill -0 "$program" 2>/dev/null || fail "the program ended while at rest"
rate=$(join -a2 -e0 -o 0,1.2,2.2 <(echo "$first") <(echo "$second") | awk '{ s += $3 - $2 } END { print int(s / 4) }')
echo "wake-ups at rest: $rate a second"
[ "$rate" -lt 40 ] || fail "the resting window wakes $rate times a second"
echo "PASS"
INNER
chmod +x "$work"/rest.sh
cd "$work"
run_under_xvfb ./rest.sh
