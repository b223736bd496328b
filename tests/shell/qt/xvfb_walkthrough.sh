#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays the winning walkthrough in the desktop program's real window under
# Xvfb, from a copy of the program's folder: Ctrl+S starts the game, every
# command is typed with real key events into the data-entry dialog and
# confirmed with Return, and Alt+P, E (Program/Exit) ends the program. The
# screen must show the win's closing texts and "hotovo", and ram.dat must
# hold 65,536 bytes. Exits 77 (skipped) when Xvfb or xdotool is missing.
set -euo pipefail
program_dir=$1
commands=$2

# shellcheck source=../../support/xvfb_program.sh
. "$(dirname "$0")/../../support/xvfb_program.sh"
require_xvfb_tools

copy_program_folder "$program_dir"
cp "$(dirname "$0")"/../../support/xvfb_windows.sh "$work"/
# The voice off, so that the game goes at the pace of the keys rather than of
# its speech.
printf '[voice]\nvoiceallowed=0\n' >"$work"/orbela.ini
cp "$commands" "$work"/commands.txt

cat >"$work"/play.sh <<'INNER'
#!/usr/bin/env bash
# Runs inside the Xvfb server started for it.
set -uo pipefail
export ORBELA_SCREEN_DUMP=$PWD/screen.txt
# Counts every showing of the data-entry dialog on standard error.
export ORBELA_DIALOG_PROBE=1
# A real window, whatever platform the widget tests around us use.
export QT_QPA_PLATFORM=xcb
# A machine without a sound card would otherwise greet us with a message.
export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
./orbela >out.txt 2>err.txt &
program=$!

dialog='^Vlož data$'

. ./xvfb_windows.sh

wait_visible ' - ' 900 || { echo "FAIL: the main window did not appear"; exit 1; }
main=$id
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+s

# Waits up to $2 tenths of a second for the $1-th showing of the dialog.
wait_shown() {
    local i
    for ((i = 0; i < $2; i++)); do
        [ "$(grep -c '^orbela-dialog-shown' err.txt)" -ge "$1" ] && return 0
        kill -0 "$program" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# Letters outside the X keymap (á, ř, ...) are typed through a key code
# that xdotool binds for the moment and takes back after its delay; a busy
# program must have read the key by then, so those go slowly and the rest
# at a quick typist's pace.
type_text() {
    local text=$1 run="" char i
    for ((i = 0; i < ${#text}; i++)); do
        char=${text:i:1}
        if [[ $char == [[:ascii:]] ]]; then
            run+=$char
            continue
        fi
        [ -n "$run" ] && xdotool type --delay 20 -- "$run"
        run=""
        xdotool type --delay 250 -- "$char"
    done
    [ -n "$run" ] && xdotool type --delay 20 -- "$run"
    return 0
}

count=0
while IFS= read -r command || [ -n "$command" ]; do
    count=$((count + 1))
    # Each command goes to its own showing of the dialog: the game closes
    # it on Return and opens it again at its next prompt, sometimes too
    # quickly for the X server to see it closed.
    wait_shown "$count" 600 || { echo "FAIL: no data-entry dialog for command $count: $command"; exit 1; }
    wait_visible "$dialog" 100 || { echo "FAIL: the dialog for command $count is not on the screen"; exit 1; }
    xdotool windowfocus --sync "$id"
    [ -n "$command" ] && type_text "$command"
    xdotool key Return
done <commands.txt
echo "typed $count commands"

# After the win the program prints its closing texts and "hotovo" and is
# idle again: the dialog stays closed.
sleep 5
[ "$(grep -c '^orbela-dialog-shown' err.txt)" -gt "$count" ] && { echo "FAIL: the game asks for more input after the last command"; exit 1; }

# Program/Exit by keyboard: Alt+P opens the Program menu, E is its Exit.
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers alt+p
sleep 0.5
xdotool key e
for ((i = 0; i < 100; i++)); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$program" 2>/dev/null; then
    echo "FAIL: Program/Exit did not end the program"
    kill "$program"
    exit 1
fi
wait "$program"
echo "exit status $?" >status.txt
INNER
chmod +x "$work"/play.sh

cd "$work"
if ! run_under_xvfb ./play.sh; then
    echo "--- stderr of the program"; cat err.txt 2>/dev/null || true
    [ -f screen.txt ] && { echo "--- screen"; cat screen.txt; }
    exit 1
fi

fail() {
    echo "FAIL: $*"
    echo "--- screen"; cat screen.txt 2>/dev/null || true
    echo "--- stderr of the program"; cat err.txt 2>/dev/null || true
    exit 1
}

[ "$(cat status.txt)" = "exit status 0" ] || fail "$(cat status.txt)"
[ -f screen.txt ] || fail "no screen dump"
# Rows are 80 columns wide; joined, a text wrapped over rows reads whole.
joined=""
while IFS= read -r row; do
    pad=$((80 - ${#row}))
    [ "$pad" -lt 0 ] && pad=0
    joined+="$row$(printf '%*s' "$pad" '')"
done <screen.txt
case "$joined" in *"nastoupil jsi do autobusu, který se okamžitě rozjel k domovu."*) ;; *) fail "no first closing text" ;; esac
case "$joined" in *"autor ti blahopřeje k dohrání hry."*) ;; *) fail "no second closing text" ;; esac
grep -qx 'hotovo *' screen.txt || fail "no hotovo row"
grep -q 'chceš hrát znovu' screen.txt && fail "the game asked to play again"
[ -f ram.dat ] || fail "no ram.dat"
[ "$(stat -c %s ram.dat)" -eq 65536 ] || fail "ram.dat is not 65,536 bytes"
echo "desktop walkthrough won"
