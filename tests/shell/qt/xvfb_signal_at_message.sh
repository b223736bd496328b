#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A polite kill while a start-up message waits for its answer (the one
# about the unreachable system speech service) must end the desktop
# program as Program/Exit does: at once, exit status 0, ram.dat kept as it
# was read. A shutdown sends SIGTERM and nobody answers the message.
# Exits 77 (skipped) when Xvfb or xdotool is missing.
set -euo pipefail
program_dir=$1

# shellcheck source=../../support/xvfb_program.sh
. "$(dirname "$0")/../../support/xvfb_program.sh"
require_xvfb_tools

copy_program_folder "$program_dir"
printf '[voice]\nvoiceallowed=1\n' >"$work"/orbela.ini
head -c 65536 /dev/urandom >"$work"/ram.dat
cp "$work"/ram.dat "$work"/ram.before

cat >"$work"/play.sh <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
export QT_QPA_PLATFORM=xcb ALSOFT_DRIVERS=null
export SPEECHD_ADDRESS=unix_socket:$PWD/no-such-socket
./orbela >out.txt 2>err.txt &
program=$!
box=""
for ((i = 0; i < 300; i++)); do
    box=$(xdotool search --onlyvisible --name '^orbela$' 2>/dev/null | head -n 1)
    [ -n "$box" ] && break
    kill -0 "$program" 2>/dev/null || { echo "FAIL: the program ended before its message"; exit 1; }
    sleep 0.1
done
[ -n "$box" ] || { echo "FAIL: no start-up message appeared"; kill "$program"; exit 1; }
kill -s TERM "$program"
for ((i = 0; i < 50; i++)); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$program" 2>/dev/null; then
    echo "FAIL: SIGTERM did not end the program while its message waited"
    kill -9 "$program"
    exit 1
fi
wait "$program"
echo "exit status $?" >status.txt
INNER
chmod +x "$work"/play.sh

cd "$work"
run_under_xvfb ./play.sh || { tail -5 err.txt; exit 1; }
[ "$(cat status.txt)" = "exit status 0" ] || { echo "FAIL: $(cat status.txt)"; exit 1; }
cmp -s ram.dat ram.before || { echo "FAIL: ram.dat changed"; exit 1; }
echo "SIGTERM at the start-up message ended the program with ram.dat kept"
