#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Benchmark, not a test: the CPU the desktop program uses while nothing
# sounds, in each of its resting states, with each engine available or not.
# Starts it from a copy of its folder in a real window under Xvfb and, for
# each case, measures three states in turn, each once its speech is over:
#   window  the main window before the game starts;
#   dialog  the data-entry dialog at the game's first prompt;
#   review  the screen review opened over it (Up).
# Each line gives the share of one core the process used and its threads'
# wake-ups a second (voluntary and involuntary context switches, from
# /proc/PID/task/*/status), with the threads waking most.
#
# Cases (all by default):
#   quiet           no settings file: the voice off;
#   embedded        the voice allowed, the embedded voice, the system
#                   speech service reachable;
#   embedded-nosd   the same with the service unreachable (its start-up
#                   message answered);
#   system          the voice allowed, the system service chosen (SAPI5)
#                   and reachable;
#   system-nosd     the system service chosen and unreachable;
#   nosound         the voice allowed, no audio output at all (OpenAL opens
#                   nothing; its messages answered), the service unreachable.
# The audio output is a private PulseAudio server with a null sink, as on a
# desktop (AUDIO=pulse, the default when pulseaudio is installed), or OpenAL
# Soft's null output (AUDIO=null). The service is a private
# speech-dispatcher sounding into the same sink.
#
#   bench/idle/idle_cpu.sh build/bin [SECONDS [CASE...]]
set -euo pipefail
program_dir=$1
seconds=${2:-10}
shift $(($# > 2 ? 2 : $#))
cases=("$@")
[ ${#cases[@]} -gt 0 ] || cases=(quiet embedded embedded-nosd system system-nosd nosound)

support=$(cd "$(dirname "$0")/../../tests/support" && pwd)
. "$support"/xvfb_program.sh
. "$support"/speech_dispatcher.sh
require_xvfb_tools
copy_program_folder "$program_dir"
cp "$support"/xvfb_windows.sh "$work"/
echo "$seconds" >"$work"/seconds.txt
if [ -z "${AUDIO:-}" ]; then
    AUDIO=null
    command -v pulseaudio >/dev/null && AUDIO=pulse
fi

helpers=()
stop_helpers() {
    local pid
    for pid in "${helpers[@]}" $(cat "$work"/speechd.pid 2>/dev/null); do
        kill "$pid" 2>/dev/null || true
    done
    helpers=()
    rm -f "$work"/speechd.pid
}
trap 'stop_helpers; rm -rf "$work"' EXIT

start_pulse() {
    mkdir -p "$work"/pulse
    cat >"$work"/pulse/default.pa <<PA
load-module module-native-protocol-unix socket=$work/pulse/socket auth-anonymous=1
load-module module-null-sink sink_name=speakers
set-default-sink speakers
# As a desktop's own configuration does: an unused sink is suspended.
load-module module-suspend-on-idle
PA
    HOME=$work/pulse XDG_RUNTIME_DIR=$work/pulse pulseaudio -n -F "$work"/pulse/default.pa --daemonize=no \
        --exit-idle-time=-1 --use-pid-file=no >"$work"/pulse/log 2>&1 &
    helpers+=($!)
    export PULSE_SERVER=unix:$work/pulse/socket
    for ((i = 0; i < 100; i++)); do pactl info >/dev/null 2>&1 && return; sleep 0.1; done
    echo "PulseAudio did not start" >&2
    exit 1
}

start_speechd() {
    local output=$speechd_silent_output
    [ "$AUDIO" = pulse ] && output=$'AudioOutputMethod "pulse"\nDefaultModule espeak-ng'
    start_private_speechd "$work" "$output" || exit 1
    helpers+=("$speechd_pid")
}

cat >"$work"/measure.sh <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
case_name=$1
seconds=$(cat seconds.txt)
export QT_QPA_PLATFORM=xcb ORBELA_DIALOG_PROBE=1
rm -f speech.log err.txt ram.dat
./orbela --speech-log speech.log >out.txt 2>err.txt &
program=$!

. ./xvfb_windows.sh
alive() { kill -0 "$program" 2>/dev/null; }
answer_start_messages || { echo "$case_name: the program ended at start or showed no window"; exit 1; }
# Waits until nothing more is spoken: the speech log still for 2 s, then
# the outputs' own 2 s of silence before they rest, the caret's 10 s of
# blinking after the last key, and a margin.
settle() {
    local size=-1 now i
    for ((i = 0; i < 120; i++)); do
        now=$(stat -c %s speech.log 2>/dev/null || echo 0)
        [ "$now" = "$size" ] && break
        size=$now
        sleep 2
    done
    sleep 12
}
# A thread that ends while it is read is left out, not counted as zero.
snapshot() {
    local task name count
    for task in /proc/"$program"/task/*; do
        name=$(tr ' ' _ <"$task"/comm 2>/dev/null) &&
            count=$(awk '/ctxt_switches/ { s += $2 } END { print s }' "$task"/status 2>/dev/null) &&
            [ -n "$name" ] && [ -n "$count" ] && printf '%s %s %s\n' "${task##*/}" "$name" "$count"
    done | sort
}
ticks() { awk '{ print $14 + $15 }' "/proc/$program/stat"; }
measure() {
    local state=$1 t0 t1
    settle
    alive || { echo "$case_name $state: the program ended"; exit 1; }
    t0=$(ticks); snapshot >before.txt
    sleep "$seconds"
    t1=$(ticks); snapshot >after.txt
    join before.txt after.txt | awk -v state="$state" -v name="$case_name" -v t=$((t1 - t0)) \
        -v hz="$(getconf CLK_TCK)" -v d="$seconds" '
        { n = $5 - $3; total += n; if (n > 0) busy = busy sprintf(" %s %.1f", $2, n / d) }
        END { printf "%-14s %-7s %5.2f %% of a core, %6.1f wake-ups/s, %2d threads;%s\n",
                     name, state, 100 * t / hz / d, total / d, NR, busy }'
}

measure window
xdotool windowfocus --sync "$(visible ' - ')"
xdotool key --clearmodifiers ctrl+s
shown() { grep -c '^orbela-dialog-shown' err.txt; }
for ((i = 0; i < 1200; i++)); do
    [ "$(shown)" -ge 1 ] && break
    alive || { echo "$case_name: the program ended before the prompt"; exit 1; }
    xdotool key shift
    sleep 0.1
done
dialog=$(visible '^Vlož data$')
[ -n "$dialog" ] || { echo "$case_name: no prompt"; exit 1; }
xdotool windowfocus --sync "$dialog"
measure dialog
xdotool key Up
measure review
kill "$program"
wait "$program" 2>/dev/null
INNER
chmod +x "$work"/measure.sh

cd "$work"
echo "load: $(uptime)"
echo "audio output: $AUDIO"
for name in "${cases[@]}"; do
    [ "$AUDIO" = pulse ] && start_pulse
    export ALSOFT_DRIVERS=$AUDIO
    unset SPEECHD_ADDRESS
    case $name in
    quiet) rm -f orbela.ini ;;
    embedded | embedded-nosd | nosound) printf '[voice]\nvoiceallowed=1\n' >orbela.ini ;;
    system | system-nosd) printf '[voice]\nvoiceallowed=1\n[Voice]\nsapi5=1\n' >orbela.ini ;;
    *) echo "unknown case $name" >&2; exit 2 ;;
    esac
    case $name in
    embedded | system | quiet) start_speechd; export SPEECHD_ADDRESS=unix_socket:$work/speechd.sock ;;
    # A missing socket: no daemon is started for the program.
    *) export SPEECHD_ADDRESS=unix_socket:$work/no-such-socket ;;
    esac
    # A backend name OpenAL Soft does not have: no output opens.
    [ "$name" = nosound ] && export ALSOFT_DRIVERS=no-such-output
    run_under_xvfb ./measure.sh "$name" || echo "$name: the run failed"
    stop_helpers
done
echo "load: $(uptime)"
