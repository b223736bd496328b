# SPDX-License-Identifier: GPL-3.0-or-later
# A private speech-dispatcher on a socket of its own, for the scripts that
# speak through the real service; sourced, not run.

# The output of a daemon heard by no one: ALSA's null device.
speechd_silent_output='AudioOutputMethod "alsa"
AudioALSADevice "null"
DefaultModule espeak-ng'

# Starts one with its configuration in $1/speechd (the system's own with the
# lines $2 added) and its socket at $1/speechd.sock, quitting after $3
# seconds without a client (600 if not given). Sets speechd_pid to the
# process started (the daemon may fork away from it: $1/speechd.pid names
# the one running) and exports SPEECHD_ADDRESS. Returns 1, saying so, when
# the socket does not appear within 10 s.
start_private_speechd() {
    local dir=$1 i
    rm -rf "$dir"/speechd
    mkdir -p "$dir"/speechd
    cp -r /etc/speech-dispatcher/. "$dir"/speechd/
    printf '\n%s\n' "$2" >>"$dir"/speechd/speechd.conf
    speech-dispatcher -s -c unix_socket -S "$dir"/speechd.sock -C "$dir"/speechd -t "${3:-600}" \
        -P "$dir"/speechd.pid >"$dir"/speechd.log 2>&1 &
    speechd_pid=$!
    for ((i = 0; i < 100; i++)); do
        if [ -S "$dir"/speechd.sock ]; then
            export SPEECHD_ADDRESS=unix_socket:$dir/speechd.sock
            return 0
        fi
        sleep 0.1
    done
    echo "FAIL: speech-dispatcher did not start"
    return 1
}

# Ends the daemon started in $1, and the process that started it.
stop_private_speechd() {
    kill "$speechd_pid" $(cat "$1"/speechd.pid 2>/dev/null) 2>/dev/null || true
}
