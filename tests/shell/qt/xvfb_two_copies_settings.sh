#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Two copies of the window on one display, one configuration file: the
# first switches the braille keyboard on (Ctrl+B), the second the system
# speech service (Ctrl+P), while the first is held up in the middle of its
# write (a preloaded library stops it just before its new file goes in
# place). Both settings must be in the file afterwards: the second copy's
# write waits for the first's instead of being written over by it.
# Exits 77 (skipped) when Xvfb or xdotool is missing.
set -euo pipefail
program_dir=$1
shim=$2

# shellcheck source=../../support/xvfb_program.sh
. "$(dirname "$0")/../../support/xvfb_program.sh"
require_xvfb_tools

copy_program_folder "$program_dir"
printf '[voice]\nvoiceallowed=1\nsapi5=0\n[keyboard]\nbraillekeys=0\n[environment]\nlanguage=2000\n' >"$work"/orbela.ini
cp "$shim" "$work"/stop_at_rename.so

cat >"$work"/play.sh <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
export QT_QPA_PLATFORM=xcb ALSOFT_DRIVERS=null
export SPEECHD_ADDRESS=unix_socket:$PWD/no-such-socket
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
main_window() { xdotool search --all --onlyvisible --pid "$1" --name ' - ' 2>/dev/null | head -n 1; }
state() { sed -n 's/^[0-9]* (.*) \(.\).*/\1/p' "/proc/$1/stat" 2>/dev/null; }
LD_PRELOAD=$PWD/stop_at_rename.so ORBELA_STOP_AT_RENAME=orbela.ini ./orbela --speech-log speech-first.log \
    >out-first.txt 2>err-first.txt &
first=$!
./orbela --speech-log speech-second.log >out-second.txt 2>err-second.txt &
second=$!
finish() {
    kill -s CONT "$first" 2>/dev/null
    kill -s TERM "$first" "$second" 2>/dev/null
    wait "$first" "$second"
}
trap finish EXIT
# Answers the messages of either copy (the speech service it cannot reach)
# until both windows are open and no message has come for a second.
one="" two="" quiet=0
for ((i = 0; i < 600 && quiet < 10; i++)); do
    box=$(xdotool search --onlyvisible --name '^orbela$' 2>/dev/null | head -n 1)
    if [ -n "$box" ]; then
        xdotool windowfocus --sync "$box"; sleep 0.4; xdotool key Return; sleep 0.3
        quiet=0
    else
        one=$(main_window "$first"); two=$(main_window "$second")
        [ -n "$one" ] && [ -n "$two" ] && quiet=$((quiet + 1))
        sleep 0.1
    fi
done
[ -n "$one" ] && [ -n "$two" ] || { echo "FAIL: the two windows did not open"; exit 1; }
xdotool windowfocus --sync "$one"; sleep 0.4
xdotool keydown ctrl key b keyup ctrl
for ((i = 0; i < 100; i++)); do
    [ "$(state "$first")" = T ] && break
    sleep 0.1
done
[ "$(state "$first")" = T ] || { echo "FAIL: the first copy did not begin its write"; exit 1; }
xdotool windowfocus --sync "$two"; sleep 0.4
xdotool keydown ctrl key p keyup ctrl
# Long enough for the second copy's write to come, well inside the time it
# waits for the first's.
sleep 1
kill -s CONT "$first"
sleep 2
INNER
chmod +x "$work"/play.sh

cd "$work"
run_under_xvfb ./play.sh || { tail -n 5 err-*.txt; exit 1; }
grep -qix 'braillekeys=1' orbela.ini || { echo "FAIL: the first copy's braille keyboard is not in the file"; cat orbela.ini; exit 1; }
grep -qix 'sapi5=1' orbela.ini || { echo "FAIL: the second copy's speech service is not in the file"; cat orbela.ini; exit 1; }
if grep -h Unable speech-*.log; then echo "FAIL: a copy could not read or write its settings"; exit 1; fi
echo "both copies' settings kept"
