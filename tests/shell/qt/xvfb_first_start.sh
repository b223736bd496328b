#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A newcomer's first minute, by ear, in a real window under Xvfb with the
# embedded voice on OpenAL's null output and no screen reader: the opened
# window says the program's name and how to begin, once; F1 opens the list
# of keys, read item by item with the arrows; and a data folder that cannot
# be used (the start the menu entry makes, --data-home) is shown and spoken
# before the program ends with status 1. Read back from --speech-log.
# Exits 77 (skipped) when a tool is missing.
#
#   xvfb_first_start.sh PROGRAM_DIR          the program built here
#   xvfb_first_start.sh PROGRAM [ARGUMENT]... an installed program, started
#       with the arguments of its desktop entry, as "nobody" when run as root
set -euo pipefail
program=$1
shift

# shellcheck source=../../support/xvfb_program.sh
support=$(cd "$(dirname "$0")/../../support" && pwd)
. "$support"/xvfb_program.sh
require_xvfb_tools
for tool in dbus-run-session gdbus; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "SKIP: at-spi-bus-launcher is not installed"; exit 77; }

if [ -d "$program" ]; then
    copy_program_folder "$program"
    program=./orbela
else
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi
cp "$support"/xvfb_windows.sh "$work"/
# The command, one argument a line.
printf '%s\n' "$program" "$@" >"$work"/command.txt

cat >"$work"/play.sh <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
export QT_QPA_PLATFORM=xcb ALSOFT_DRIVERS=null
export SPEECHD_ADDRESS=unix_socket:$PWD/no-such-socket
. ./xvfb_windows.sh

mapfile -t command <command.txt
# The first start: the window opens and greets.
"${command[@]}" --speech-log "$PWD/speech.log" >out.txt 2>err.txt &
program=$!
ANSWER_BOX=0 wait_visible ' - ' 900 || { echo "FAIL: no main window"; exit 1; }
main=$id
xdotool windowfocus --sync "$main"
sleep 2
echo "== keys" >>steps.txt
xdotool key F1
wait_visible '^Klávesy$' 100 || { echo "FAIL: F1 opened no list of keys"; exit 1; }
sleep 0.7
xdotool key Down; sleep 0.7
xdotool key Down; sleep 0.7
xdotool key Escape; sleep 0.5
kill "$program" 2>/dev/null
wait "$program" 2>/dev/null

# The menu entry's start with a data folder that cannot be made: a file
# stands where the folder should be.
: >not-a-folder
XDG_DATA_HOME=$PWD/not-a-folder "${command[0]}" --data-home --speech-log "$PWD/failure.log" >out2.txt 2>err2.txt &
program=$!
wait_visible '^orbela$' 300 || { echo "FAIL: no message box for the unusable data folder"; cat err2.txt; exit 1; }
sleep 1.5
xdotool windowfocus --sync "$id"
xdotool key Return
status=0
wait "$program" || status=$?
echo "$status" >failure-status.txt
exit 0
INNER
chmod +x "$work"/play.sh

cd "$work"
fail() {
    echo "FAIL: $*"
    echo "--- speech log"; cat speech.log 2>/dev/null || true
    echo "--- failure log"; cat failure.log 2>/dev/null || true
    echo "--- stderr"; tail -5 err.txt err2.txt 2>/dev/null || true
    exit 1
}
mkdir -p "$work/home"
player=(env)
if [ "$(id -u)" -eq 0 ] && [ "$program" != ./orbela ]; then
    chown -R nobody:nogroup "$work"
    player=(setpriv --reuid=nobody --regid=nogroup --clear-groups env)
fi
run_under_xvfb "${player[@]}" HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
    XDG_DATA_HOME="$work/home/.local/share" PATH="/usr/games:$PATH" \
    dbus-run-session -- "$support"/accessibility_bus.sh ./play.sh || fail "the run under Xvfb failed"
[ -f speech.log ] || fail "nothing was spoken"

greeting='queued: Překladač Orbela Basicu. Hru spustíte klávesami Ctrl+S. Seznam kláves je v nabídce Nápověda, Klávesy, nebo pod klávesou F1.'
[ "$(grep -cxF "$greeting" speech.log)" -eq 1 ] || fail "the opened window did not say its name and how to begin, once"
grep -A1 -x 'queued: Klávesy, dialog' speech.log | grep -qx 'queued: Klávesy, seznam, Hlavní okno' ||
    fail "the list of keys did not say its name and first item"
grep -A3 -x 'queued: Klávesy, seznam, Hlavní okno' speech.log | grep -q '^queued: Ctrl+S: spustí hru' ||
    fail "Down in the list of keys did not read the next key"
grep -qx 'queued: Kterákoli klávesa: utiší řeč. Nejvhodnější je Shift, který nic nepíše.' speech.log ||
    fail "a second Down did not read the key after it"

[ "$(cat failure-status.txt)" = 1 ] || fail "the failed start ended with status $(cat failure-status.txt), not 1"
grep -q '^queued: Cannot use the folder .*not-a-folder/orbela' failure.log ||
    fail "the unusable data folder was not spoken"
grep -A1 '^queued: Cannot use the folder' failure.log | tail -n 1 | grep -qx 'queued: OK, tlačítko' ||
    fail "the failure's message box did not say its button"
grep -q 'Cannot use the folder' err2.txt || fail "the failure is not on standard error too"
echo "greeting, list of keys and the failed start heard"
