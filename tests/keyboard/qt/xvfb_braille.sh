#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Types the first commands of the game as six-key braille chords in the
# desktop program's real window under Xvfb: with the braille keyboard on in
# the configuration file, "polož peníze", "v" and "s" are typed chord by
# chord with real key presses and releases (F D S J K L are dots 1 to 6),
# each confirmed with Return; the player must then stand in the little
# park, whose description is on the screen. Alt+F4 in the data-entry
# dialog ends the program and writes ram.dat. Exits 77 (skipped) when
# Xvfb or xdotool is missing.
set -euo pipefail
program_dir=$1

# shellcheck source=../../support/xvfb_program.sh
. "$(dirname "$0")/../../support/xvfb_program.sh"
require_xvfb_tools

copy_program_folder "$program_dir"
cp "$(dirname "$0")"/../../support/xvfb_windows.sh "$work"/
printf '[voice]\nvoiceallowed=0\n[keyboard]\nbraillekeys=1\n' >"$work"/orbela.ini

cat >"$work"/play.sh <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
export ORBELA_SCREEN_DUMP=$PWD/screen.txt
export QT_QPA_PLATFORM=xcb
# A machine without a sound card still gets an audio device to open.
export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
./orbela >out.txt 2>err.txt &
program=$!

dialog='^Vlož data$'
. ./xvfb_windows.sh

# The keys of each dot.
declare -A key=([1]=f [2]=d [3]=s [4]=j [5]=k [6]=l)
# One cell: its keys pressed one after another and held, then released.
chord() {
    local dots=$1 keys=() i
    if [ "$dots" = " " ]; then
        keys=(space)
    else
        for ((i = 0; i < ${#dots}; i++)); do keys+=("${key[${dots:i:1}]}"); done
    fi
    xdotool keydown --delay 30 "${keys[@]}"
    xdotool keyup --delay 30 "${keys[@]}"
}

wait_visible ' - ' 900 || { echo "FAIL: the main window did not appear"; exit 1; }
xdotool windowfocus --sync "$id"
xdotool key --clearmodifiers ctrl+s

# polož peníze / v / s in Czech uncontracted braille.
lines=("1234 135 123 135 2346 _ 1234 15 1345 34 1356 15" "1236" "234")
for line in "${lines[@]}"; do
    wait_visible "$dialog" 600 || { echo "FAIL: no data-entry dialog for: $line"; exit 1; }
    xdotool windowfocus --sync "$id"
    for cell in $line; do
        [ "$cell" = _ ] && cell=" "
        chord "$cell"
    done
    xdotool key Return
    sleep 1
done

# The dialog asks for the next command in the park; Alt+F4 there ends it.
wait_visible "$dialog" 600 || { echo "FAIL: no dialog after the last command"; exit 1; }
xdotool windowfocus --sync "$id"
xdotool key alt+F4
for ((i = 0; i < 100; i++)); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$program" 2>/dev/null; then
    if [ -f ram.dat ]; then
        echo "FAIL: Alt+F4 wrote ram.dat but the process did not end"
    else
        echo "FAIL: Alt+F4 did not end the program"
    fi
    kill "$program"
    exit 1
fi
wait "$program"
echo "exit status $?" >status.txt
INNER
chmod +x "$work"/play.sh

cd "$work"
fail() {
    echo "FAIL: $*"
    echo "--- screen"; cat screen.txt 2>/dev/null || true
    echo "--- stderr of the program"; cat err.txt 2>/dev/null || true
    exit 1
}
run_under_xvfb ./play.sh || fail "the run did not complete"
[ "$(cat status.txt)" = "exit status 0" ] || fail "$(cat status.txt)"
[ -f screen.txt ] || fail "no screen dump"
grep -q 'jsi v malém parčíku. vidíš odpadkový koš.' screen.txt || fail "the park is not on the screen"
[ -f ram.dat ] || fail "no ram.dat"
echo "braille walkthrough reached the park"
