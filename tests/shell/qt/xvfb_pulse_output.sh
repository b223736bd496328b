#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program's sound through a PulseAudio server, as a desktop session
# has it: a private `pulseaudio` with a null sink, the real window under
# Xvfb with the embedded voice on and OpenAL left to choose its output,
# what the sink plays recorded by `parec` from its monitor. F1 (the list
# of keys, spoken) is heard; once the speech is over and the silence delay
# has passed, the program's stream is corked and its threads wake fewer
# than 10 times a second; a later F1 is heard again; and after PulseAudio
# is killed and started again, the program still runs and the next F1 is
# heard. Exits 77 (skipped) when a tool is missing.
#
#   xvfb_pulse_output.sh PROGRAM_DIR
set -euo pipefail
support=$(cd "$(dirname "$0")/../../support" && pwd)
. "$support"/xvfb_program.sh
require_xvfb_tools
for tool in pulseaudio parec pactl python3; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
copy_program_folder "$1"
cp "$support"/xvfb_windows.sh "$work"/

cat >"$work"/sound.sh <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
fail() {
    echo "FAIL: $*"
    echo "--- speech log"; tail -5 speech.log 2>/dev/null
    echo "--- stderr"; tail -5 err.txt 2>/dev/null
    echo "--- pulseaudio"; tail -5 pulse/log 2>/dev/null
    exit 1
}
pulse="" recorder="" program=""
trap 'kill -KILL $program $recorder $pulse 2>/dev/null; wait 2>/dev/null' EXIT

# The server as a session starts it, on a socket of its own.
mkdir -p pulse
cat >pulse/default.pa <<PA
load-module module-native-protocol-unix socket=$PWD/pulse/socket auth-anonymous=1
load-module module-null-sink sink_name=speakers format=s16le rate=44100 channels=2
set-default-sink speakers
PA
export PULSE_SERVER=unix:$PWD/pulse/socket
start_pulse() {
    HOME=$PWD/pulse XDG_RUNTIME_DIR=$PWD/pulse pulseaudio -n -F pulse/default.pa --daemonize=no \
        --exit-idle-time=-1 --use-pid-file=no >>pulse/log 2>&1 &
    pulse=$!
    for ((i = 0; i < 100; i++)); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
    pactl info >/dev/null 2>&1 || fail "PulseAudio did not start"
    parec --device=speakers.monitor --format=s16le --rate=44100 --channels=2 --latency-msec=20 >>recorded.raw &
    recorder=$!
}
# Whether the sink played anything loud since byte $1 of the recording.
loud_since() {
    python3 - "$1" <<'PY'
import array, sys
with open("recorded.raw", "rb") as f:
    f.seek(int(sys.argv[1]) // 4 * 4)
    data = f.read()
samples = array.array("h", data[: len(data) // 2 * 2])
sys.exit(0 if samples and max(abs(s) for s in samples) > 1000 else 1)
PY
}
recorded() { stat -c %s recorded.raw; }
# F1 opens the list of keys, which is spoken; Escape closes it.
heard_f1() {
    local from
    from=$(recorded)
    xdotool windowfocus --sync "$main"
    xdotool key F1
    sleep 2
    loud_since "$from" || return 1
    xdotool key Escape
    sleep 1
}
speech_over() {
    local size=-1 now i
    for ((i = 0; i < 30; i++)); do
        now=$(stat -c %s speech.log)
        [ "$now" = "$size" ] && return 0
        size=$now
        sleep 1
    done
}
switches() {
    local task
    for task in /proc/"$program"/task/*; do
        printf '%s %s\n' "${task##*/}" "$(awk '/ctxt_switches/ { s += $2 } END { print s }' "$task"/status 2>/dev/null)"
    done | sort
}

start_pulse
export QT_QPA_PLATFORM=xcb SPEECHD_ADDRESS=unix_socket:$PWD/no-such-socket
unset ALSOFT_DRIVERS
./orbela --speech-log speech.log >out.txt 2>err.txt &
program=$!
. ./xvfb_windows.sh
answer_start_messages || fail "the program ended at start, or its main window did not appear"
main=$(visible ' - ')
speech_over

heard_f1 || fail "F1 was not heard through PulseAudio"

# The rest: the stream corked, the threads quiet.
speech_over
sleep 3
pactl list sink-inputs | grep -q 'Corked: yes' || fail "the program's stream was not corked at rest"
pactl list sink-inputs | grep -q 'Corked: no' && fail "a stream of the program plays at rest"
first=$(switches)
sleep 3
second=$(switches)
rate=$(join -a2 -e0 -o 0,1.2,2.2 <(echo "$first") <(echo "$second") | awk '{ s += $3 - $2 } END { print int(s / 3) }')
echo "wake-ups at rest through PulseAudio: $rate a second"
[ "$rate" -lt 10 ] || fail "the resting window wakes $rate times a second"

heard_f1 || fail "F1 after the rest was not heard"

# The server goes away as a crash takes it, and comes back.
kill -KILL "$pulse" "$recorder"
wait "$pulse" "$recorder" 2>/dev/null
sleep 1
kill -0 "$program" 2>/dev/null || fail "the program ended with the sound server"
start_pulse
heard_f1 || fail "F1 was not heard after PulseAudio came back"
kill -0 "$program" 2>/dev/null || fail "the program ended after the sound server came back"
echo "PASS"
INNER
chmod +x "$work"/sound.sh
cd "$work"
run_under_xvfb ./sound.sh
