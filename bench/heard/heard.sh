#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Benchmark, not a test: what a player hears, on a PulseAudio sink, from
# the program and from its peers in the same run, interleaved. The
# program runs in its real window under Xvfb with the embedded voice and
# OpenAL on PulseAudio; the peers are a resident speech-dispatcher client,
# `spd-say` and an `espeak-ng` process per key, answering the same real X
# keys in a window of their own (peer.py). A private PulseAudio with one
# null sink, started as a session starts it (`pulseaudio` with a
# configuration that loads module-null-sink), plays everything; `parec`
# records the sink's monitor, and each frame's moment is the sink's clock
# (sink_recorder.py). speech-dispatcher is a private one sounding into the
# same sink, reachable by the program as on a desktop.
# Prints the key-to-sound times (after a rest, and awake), stop to silence,
# the CPU and wake-ups per second of speech, with medians, ranges and
# ratios to the peers, and the machine's load before and after.
# A second program folder, BEFORE_DIR, is measured in the same rounds.
# HEARD_VERBOSE=1 lists every value, in the order measured.
#
#   bench/heard/heard.sh [PROGRAM_DIR [ROUNDS [BEFORE_DIR]]]
#   (default: build/bin 10)
set -euo pipefail
here=$(dirname "$(realpath "$0")")
program_dir=$(realpath "${1:-$here/../../build/bin}")
rounds=${2:-10}
before_dir=${3:+$(realpath "$3")}

. "$here"/../../tests/support/xvfb_program.sh
. "$here"/../../tests/support/speech_dispatcher.sh
require_xvfb_tools
for tool in pulseaudio parec pactl spd-say espeak-ng; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
done
/usr/bin/python3 -c 'import speechd' 2>/dev/null || { echo "python3-speechd is not installed" >&2; exit 1; }
for folder in "$program_dir" $before_dir; do
    [ -x "$folder/orbela" ] || { echo "no orbela in $folder" >&2; exit 1; }
done

work=$(mktemp -d)
pulse=""
speechd_pid=""
cleanup() {
    [ -z "$speechd_pid" ] || stop_private_speechd "$work"
    [ -z "$pulse" ] || kill "$pulse" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The sink at PulseAudio's default sample format, as a sound card's.
mkdir -p "$work"/pulse
cat >"$work"/pulse/default.pa <<PA
load-module module-native-protocol-unix socket=$work/pulse/socket auth-anonymous=1
load-module module-null-sink sink_name=speakers format=s16le rate=44100 channels=2
set-default-sink speakers
PA
HOME=$work/pulse XDG_RUNTIME_DIR=$work/pulse pulseaudio -n -F "$work"/pulse/default.pa --daemonize=no \
    --exit-idle-time=-1 --use-pid-file=no >"$work"/pulse/log 2>&1 &
pulse=$!
export PULSE_SERVER=unix:$work/pulse/socket
for ((i = 0; i < 100; i++)); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || { echo "PulseAudio did not start" >&2; cat "$work"/pulse/log >&2; exit 1; }

start_private_speechd "$work" 'AudioOutputMethod "pulse"
DefaultModule espeak-ng'
export HEARD_MONITOR=speakers.monitor HEARD_SPEECHD_PID_FILE=$work/speechd.pid HEARD_RESULTS=$work/results.json
for ((i = 0; i < 50; i++)); do [ -s "$work"/speechd.pid ] && break; sleep 0.1; done

echo "load before: $(cat /proc/loadavg) ($(nproc) cores)"
run_under_xvfb /usr/bin/python3 "$here"/heard.py "$rounds" "$program_dir" $before_dir
echo "load after:  $(cat /proc/loadavg)"
/usr/bin/python3 "$here"/heard.py --report "$work"/results.json
