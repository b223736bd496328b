# SPDX-License-Identifier: GPL-3.0-or-later
# A desktop session for a screen reader, inside the Xvfb server
# started and the D-Bus session dbus-run-session started: the accessibility
# bus, openbox as window manager, a private PulseAudio with one silent sink
# per voice ("screenreader", the default, and "program"), a private
# speech-dispatcher that speaks into the default sink and logs its protocol,
# and Orca with its own settings folder and debug file. Sourced, not run;
# everything is written below $session_dir and ended by stop_session.

# shellcheck source=speech_dispatcher.sh
. "$(dirname "${BASH_SOURCE[0]}")"/speech_dispatcher.sh

session_pids=()

# Waits up to $2 tenths of a second for the command $1 to succeed.
wait_until() {
    local i
    for ((i = 0; i < $2; i++)); do
        eval "$1" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

start_session() {
    session_dir=$1
    export HOME=$session_dir/home XDG_RUNTIME_DIR=$session_dir/run
    export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

    # A11Y_BUS=bare: a launcher without the screen-reader switch.
    if [ "${A11Y_BUS:-}" = bare ]; then
        /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")"/bare_a11y_bus.py "$session_dir" >"$session_dir"/atspi.log 2>&1 &
    else
        /usr/libexec/at-spi-bus-launcher --launch-immediately >"$session_dir"/atspi.log 2>&1 &
    fi
    session_pids+=($!)
    openbox >"$session_dir"/openbox.log 2>&1 &
    session_pids+=($!)

    cat >"$session_dir"/pulse.pa <<PA
load-module module-native-protocol-unix socket=$session_dir/pulse.sock auth-anonymous=1
load-module module-null-sink sink_name=screenreader rate=16000 channels=1
load-module module-null-sink sink_name=program rate=16000 channels=1
set-default-sink screenreader
PA
    pulseaudio -n -F "$session_dir"/pulse.pa --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
        >"$session_dir"/pulse.log 2>&1 &
    session_pids+=($!)
    export PULSE_SERVER=unix:$session_dir/pulse.sock
    wait_until "pactl info" 100 || { echo "FAIL: PulseAudio did not start"; return 1; }

    # Quick speech keeps the test short; Orca sets its own rate.
    start_private_speechd "$session_dir" 'AudioOutputMethod "pulse"
DefaultModule espeak-ng
DefaultRate 100
CustomLogFile "protocol" "'"$session_dir"'/protocol.log"'
    local started=$?
    session_pids+=("$speechd_pid")
    [ "$started" = 0 ] || return 1
    wait_until "gdbus introspect --session --dest org.a11y.Bus --object-path /org/a11y/bus" 100 ||
        { echo "FAIL: no accessibility bus"; return 1; }
}

# Both sinks recorded from now on, 16 kHz mono, to $session_dir/NAME.raw.
record_voices() {
    local sink
    for sink in screenreader program; do
        parec --device=$sink.monitor --format=s16le --rate=16000 --channels=1 --latency-msec=20 \
            >"$session_dir"/$sink.raw 2>/dev/null &
        session_pids+=($!)
    done
}

# The desktop's screen-reader switch, as GNOME's settings turn it on (the
# accessibility bus's launcher mirrors the key as ScreenReaderEnabled).
# Nothing else sets it: Orca started by hand leaves it off.
set_screen_reader_switch() {
    gsettings set org.gnome.desktop.a11y.applications screen-reader-enabled "$1" 2>/dev/null ||
        gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
            --method org.freedesktop.DBus.Properties.Set org.a11y.Status ScreenReaderEnabled "<$1>" >/dev/null
}

# Orca as a user starts it by hand: `orca`, no switch set. Orca refuses to
# start while any process named orca of the same user runs (it asks pgrep),
# so the test's Orca gets process numbers of its own: another Orca of the
# user, elsewhere on the machine, neither stops it nor is stopped by it.
start_orca() {
    mkdir -p "$session_dir"/orca-prefs
    local own=(unshare --pid --fork --mount-proc --kill-child=KILL)
    [ "$(id -u)" -eq 0 ] || own=(unshare --user --map-current-user --pid --fork --mount-proc --kill-child=KILL)
    "${own[@]}" true 2>/dev/null || own=()
    : >"$session_dir"/orca.debug
    "${own[@]}" orca -u "$session_dir"/orca-prefs --debug-file "$session_dir"/orca.debug \
        >>"$session_dir"/orca.out 2>&1 &
    orca_pid=$!
    session_pids+=($orca_pid)
    wait_until "grep -q 'SPEECH OUTPUT' '$session_dir/orca.debug'" 600 || { echo "FAIL: Orca did not speak"; return 1; }
}

# Orca ends at once, as when it crashes or is killed (its own handler of
# SIGTERM waits for its next event, which an idle desktop may never send).
stop_orca() {
    kill -KILL "$orca_pid" 2>/dev/null
    wait "$orca_pid" 2>/dev/null || true
}

stop_session() {
    local pid
    for pid in "${session_pids[@]}"; do
        kill "$pid" 2>/dev/null
    done
    sleep 1
    for pid in "${session_pids[@]}"; do
        kill -9 "$pid" 2>/dev/null
    done
}
