#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop program in a real window under Xvfb with BRLAPI_HOST naming a
# server that takes the connection and never answers (a hung BRLTTY):
#  - the main window appears and answers keys (Ctrl+S starts the game, whose
#    first line is spoken);
#  - the program does not pile up connection attempts: the one that hangs
#    is the only one while it hangs;
#  - Alt+F4 ends the program at once and writes ram.dat.
# Exits 77 (skipped) when Xvfb, xdotool or python3 is missing.
set -euo pipefail
program_dir=$1

# shellcheck source=../../support/xvfb_program.sh
. "$(dirname "$0")/../../support/xvfb_program.sh"
require_xvfb_tools
command -v python3 >/dev/null || { echo "SKIP: python3 is not installed"; exit 77; }

copy_program_folder "$program_dir"
cp "$(dirname "$0")/braille_play_helpers.sh" "$work"/
printf '[voice]\nvoiceallowed=1\n' >"$work"/orbela.ini

cat >"$work"/silent_server.py <<'PY'
# Listens on BrlAPI's TCP port for a free number, prints the number, then
# accepts every connection, notes it and says nothing.
import socket, sys
for number in range(60, 200):
    server = socket.socket()
    try:
        server.bind(("127.0.0.1", 4101 + number))
    except OSError:
        server.close()
        continue
    break
server.listen(8)
print(number, flush=True)
held = []
while True:
    connection, _ = server.accept()
    held.append(connection)
    with open("connections.txt", "a") as log:
        log.write("connection\n")
PY

cat >"$work"/play.sh <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
export QT_QPA_PLATFORM=xcb
export ALSOFT_DRIVERS=null
export SPEECHD_ADDRESS=unix_socket:$PWD/no-such-socket
export ORBELA_STARTUP_PROBE=1
export BRLAPI_AUTH=none
fail() { echo "$*" >failure.txt; exit 1; }
. ./braille_play_helpers.sh

python3 silent_server.py >server.txt &
server=$!
program=""
trap '[ -n "$program" ] && kill "$program" 2>/dev/null; kill "$server" 2>/dev/null; wait 2>/dev/null' EXIT
wait_for '[ -s server.txt ]' 50 || fail "the silent server did not start"
export BRLAPI_HOST=127.0.0.1:$(head -n 1 server.txt)

./orbela --braille-display=auto --speech-log speech.log >out.txt 2>err.txt &
program=$!
find_main_window 200 || fail "the main window did not appear beside a silent BrlAPI server"
grep -q orbela-startup-idle err.txt || fail "the main window never became idle"
wait_for '[ -s connections.txt ]' 50 || fail "the program never tried the server"

xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+s
wait_for 'grep -q "^wait: " speech.log' 100 || fail "Ctrl+S did not start the game"
# Past the attempt's time limit and several retries.
sleep 8
[ "$(wc -l <connections.txt)" -eq 1 ] || fail "$(wc -l <connections.txt) connection attempts at once"
kill -0 "$program" 2>/dev/null || fail "the program ended"
xdotool key alt+F4
wait_for '! kill -0 "$program" 2>/dev/null' 100 || fail "Alt+F4 did not end the program"
wait "$program"
program=""
[ -s ram.dat ] || fail "no ram.dat after the exit"
echo done >status.txt
INNER
chmod +x "$work"/play.sh

cd "$work"
run_under_xvfb ./play.sh || {
    echo "FAIL: $(cat failure.txt 2>/dev/null || echo 'the run failed')"
    echo "--- speech log"; tail -n 5 speech.log 2>/dev/null || true
    echo "--- stderr of the program"; cat err.txt 2>/dev/null || true
    exit 1
}
[ "$(cat status.txt 2>/dev/null)" = done ] || { echo "FAIL: the run did not complete"; exit 1; }
echo "silent BrlAPI server: window shown, game started, one connection attempt, clean exit"
