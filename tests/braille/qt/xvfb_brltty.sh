#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop program in a real window under Xvfb beside a real BRLTTY
# (virtual braille driver, no screen driver, its BrlAPI server on a private
# local socket without authentication); this script is the braille display
# on the driver's socket, through vr_display: it reads the cells BRLTTY
# shows (Visual and Braille lines) and presses the display's keys. The
# embedded voice speaks through OpenAL Soft's null device, and the speech
# log records what is said.
#  - The main window's run shows the introduction's last printed line.
#  - The menus show the item under the keys with its shortcut and state,
#    a dialog its radio button with its state, a message box and About
#    their text from its start, panned to their OK button.
#  - In the data-entry dialog typed text appears with dots 7 and 8 under
#    the cell after it; Route 5 moves the field's caret to column 5 and
#    says the character there, as Right does (a character typed then lands
#    there).
#  - In the screen review the line keys move the caret by lines, and the
#    line is spoken as the review's Down key speaks it.
#  - With BRLTTY stopped the program goes on, and when BRLTTY comes back
#    the field shows again.
#  - When the program has ended, BRLTTY shows its own screen at the
#    display's next key.
# Exits 77 (skipped) when Xvfb, xdotool or brltty is missing.
set -euo pipefail
program_dir=$1
vr_display=$2

# shellcheck source=../../support/xvfb_program.sh
. "$(dirname "$0")/../../support/xvfb_program.sh"
require_xvfb_tools
brltty=$(command -v brltty || true)
[ -n "$brltty" ] || brltty=/usr/sbin/brltty
[ -x "$brltty" ] || { echo "SKIP: brltty is not installed"; exit 77; }

copy_program_folder "$program_dir"
cp "$(dirname "$0")/braille_play_helpers.sh" "$work"/
cp "$vr_display" "$work"/vr_display
printf '[voice]\nvoiceallowed=1\n' >"$work"/orbela.ini

cat >"$work"/play.sh <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
brltty=$1
export QT_QPA_PLATFORM=xcb
export ALSOFT_DRIVERS=null
export SPEECHD_ADDRESS=unix_socket:$PWD/no-such-socket
export ORBELA_DIALOG_PROBE=1
# The screen at the end is the screen at the first prompt: nothing is sent.
export ORBELA_SCREEN_DUMP=$PWD/screen.txt

brltty_pid=""
# For the cleanup of everything this script started.
program=""
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null
    [ -n "$brltty_pid" ] && kill "$brltty_pid" 2>/dev/null
    exec 3>&-
    kill "$display" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT
fail() { echo "$*" >failure.txt; exit 1; }
. ./braille_play_helpers.sh
start_display

connections() { grep -c '^connected' display.log; }
# The display's latest dots (the dots of cell N are field N+1).
last_braille() { grep '^Braille ' display.log | tail -n 1 | sed 's/^Braille "//; s/"$//'; }
cell_dots() { last_braille | cut -d'|' -f"$(($1 + 1))"; }
# Dots 7 and 8 under cell $1 and under no other cell.
cursor_at() {
    local dots i
    dots=$(last_braille)
    IFS='|' read -r -a cells <<<"$dots"
    for i in "${!cells[@]}"; do
        case "${cells[$i]}" in
        *78) [ "$i" -eq "$1" ] || return 1 ;;
        *) [ "$i" -ne "$1" ] || return 1 ;;
        esac
    done
}
press() { echo "$1" >&3; }

start_brltty "$brltty"
wait_for '[ "$(connections)" -ge 1 ] && grep -q "^Visual" display.log' 200 || fail "BRLTTY did not connect to the display"

./orbela --speech-log speech.log >out.txt 2>err.txt &
program=$!
find_main_window 300 || fail "the main window did not appear"
xdotool windowfocus --sync "$main"

# What is spoken in the menus and dialogs is shown, in the screen reader's
# braille form. Each case's line goes to shown.txt for the report.
shown() { echo "$1: \"$(last_visual | sed 's/ *$//')\"" >>shown.txt; }
visual_has() { last_visual | grep -q -- "$1"; }
sleep 0.5
xdotool key F10
wait_for 'visual_starts "Program "' 50 || fail "F10 did not show the menu bar's item: '$(last_visual)'"
shown "F10"
xdotool key Down
wait_for 'visual_starts "Spustit (Ctrl+S) "' 50 || fail "the open menu's item is not shown with its shortcut: '$(last_visual)'"
shown "F10 Down"
xdotool key Right
wait_for 'visual_has "^< > .* (Ctrl+B) *$"' 50 || fail "the checkable item is not shown with its state: '$(last_visual)'"
shown "Right"
xdotool key --delay 300 Escape Escape Escape
# A language's radio button with its state; another language is applied
# at the next start, which a message box says.
xdotool keydown ctrl key e keyup ctrl
wait_for 'visual_starts "&=y Čeština "' 50 || fail "the checked radio button is not shown with its state: '$(last_visual)'"
shown "Ctrl+E"
xdotool key Down
wait_for 'visual_has "&=y English *$"' 50 || fail "the radio button reached by Down is not shown checked: '$(last_visual)'"
shown "Down"
xdotool key Tab
wait_for 'visual_starts "OK "' 50 || fail "the OK button is not shown: '$(last_visual)'"
xdotool key Return
message="Your changes will be applied after you restart the program."
wait_for 'visual_starts "${message:0:40}"' 50 || fail "the message box's text is not shown: '$(last_visual)'"
shown "OK, the message box"
press FWinRt
wait_for 'visual_starts "${message:40} OK "' 50 || fail "panning did not reach the message's end and its button: '$(last_visual)'"
shown "FWinRt"
xdotool key Return
sleep 0.5
# Back to Czech for the rest of the run.
xdotool windowfocus --sync "$main"
xdotool keydown ctrl key e keyup ctrl
wait_for 'visual_starts "&=y English "' 50 || fail "the dialog did not open on the language chosen: '$(last_visual)'"
xdotool key --delay 400 Up Tab Return
wait_for 'visual_starts "Provedené změny se projeví"' 50 || fail "the Czech message box's text is not shown: '$(last_visual)'"
shown "Ctrl+E Up Tab OK"
xdotool key Return
sleep 0.5
xdotool windowfocus --sync "$main"
xdotool key --delay 400 F10 Left Down
wait_for 'visual_starts "O programu "' 50 || fail "Help's first item is not shown: '$(last_visual)'"
xdotool key Return
wait_for 'visual_has "^Překladač Orbela Basicu verze [0-9.]* "' 50 || fail "About's text is not shown from its start: '$(last_visual)'"
shown "About"
# Panned to its end: the licence, then the OK button.
for ((i = 0; i < 12; i++)); do
    visual_has " O[Kk] *$" && break
    before=$(last_visual)
    press FWinRt
    wait_for '[ "$(last_visual)" != "$before" ]' 30 || fail "panning over About stopped at '$before'"
done
visual_has " O[Kk] *$" || fail "About's OK button was not reached by panning: '$(last_visual)'"
shown "About panned to its end"
xdotool key Return
sleep 0.5
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+s

# The introduction's fourth print is longer than a screen row and is
# followed by a pause: shown from its start, panned to its end.
long_print="některá z nich jsou: prozkoumej, čti, jez, vezmi, polož, inventář, situace a další."
# Shift cuts the lines before it short, as a player in a hurry does.
for ((i = 0; i < 120; i++)); do
    visual_starts "${long_print:0:40}" && break
    xdotool key shift
    sleep 0.5
done
visual_starts "${long_print:0:40}" || fail "the long print is not shown from its start"
press FWinRt
wait_for 'visual_starts "${long_print:40:40}"' 50 || fail "panning right did not show the long print's middle"
press FWinRt
wait_for 'visual_starts "${long_print:80} "' 50 || fail "panning right did not show the long print's end"
last_visual >long_print_end.txt
press FWinLt
wait_for 'visual_starts "${long_print:40:40}"' 50 || fail "panning left did not go back over the long print"

# BRLTTY stops while the introduction is read, as a player presses Shift.
xdotool key --delay 300 shift shift shift shift
kill "$brltty_pid"
wait "$brltty_pid" 2>/dev/null
brltty_pid=""
wait_for 'grep -q "^disconnected" display.log' 100 || fail "BRLTTY did not leave the display"
xdotool key shift
sleep 1
kill -0 "$program" 2>/dev/null || fail "the program ended when BRLTTY stopped during the introduction"
start_brltty "$brltty"
wait_for '[ "$(connections)" -ge 2 ]' 100 || fail "BRLTTY did not come back"
returned=$(date +%s%N)
# BRLTTY shows its start message a few seconds, then its own screen until
# a client writes: the program's text must follow that within 2 s.
splash="" own=""
for ((i = 0; i < 200; i++)); do
    if visual_starts "BRLTTY"; then
        splash=1
    elif visual_starts "no screen"; then
        [ -n "$splash" ] && [ -z "$own" ] && own=$(date +%s%N)
    elif [ -n "$(last_visual | tr -d " ")" ]; then
        break
    fi
    sleep 0.1
done
[ "$i" -lt 200 ] || fail "the program's text did not come back after BRLTTY's return"
now=$(date +%s%N)
echo $(((now - returned) / 1000000)) >return_ms.txt
own_ms=$([ -n "$own" ] && echo $(((now - own) / 1000000)) || echo 0)
echo "$own_ms" >own_ms.txt
[ "$own_ms" -le 2000 ] || fail "BRLTTY's own screen showed $own_ms ms before the program's text came back"
last_visual >returned_visual.txt

# The introduction runs to the first prompt; its rows pass on the display.
# Shift stops each line's speech, as a player in a hurry does; the
# introduction's two pauses still run their course.
for ((i = 0; i < 120; i++)); do
    grep -q "orbela-dialog-shown 1" err.txt && break
    kill -0 "$program" 2>/dev/null || fail "the program ended during the introduction"
    xdotool key --delay 150 shift
    sleep 0.5
done
grep -q "orbela-dialog-shown 1" err.txt || fail "no data-entry dialog after the introduction"
cp display.log introduction.log
dialog=$(xdotool search --onlyvisible --name '^Vlož data$' | head -n 1)
xdotool windowfocus --sync "$dialog"
wait_for 'visual_starts "                    " && cursor_at 0' 100 || fail "the empty field with its cursor is not shown"

# One character at a time, each after the last one's name has been said.
typed=""
for letter in a b c d e f g h; do
    xdotool type "$letter"
    typed+=$letter
    wait_for 'visual_starts "$typed "' 100 || fail "typed '$typed' is not shown"
    sleep 0.7
done
wait_for 'visual_starts "abcdefgh " && cursor_at 8' 100 || fail "typed text without the cursor after it"

# BRLTTY lets the first key of a new display go by; a pan left at the
# line's start changes nothing here.
press FWinLt
sleep 0.5
# Routing answers as the arrow keys do: the character at the caret.
routed=$(grep -c '^character: ef$' speech.log || true)
press "Route 5"
wait_for 'cursor_at 5' 100 || fail "Route 5 did not move the cursor to cell 5"
wait_for '[ "$(grep -c "^character: ef$" speech.log)" -gt "$routed" ]' 50 || fail "Route 5 did not say the f it reached"
xdotool type x
wait_for 'visual_starts "abcdexfgh " && cursor_at 6' 100 || fail "the character typed after Route 5 is not in column 5"

# The screen review over the dialog: Down walks its lines.
xdotool key --delay 200 Up
wait_for 'xdotool search --onlyvisible --name "^Obrazovka$" >/dev/null 2>&1' 100 || fail "the screen review did not open"
sleep 1
# LnUp on the review's first line keeps that line shown, cursor and all.
first=$(last_visual)
press LnUp
sleep 1
[ "$(last_visual)" = "$first" ] && [ -n "$(last_braille | grep 78)" ] ||
    fail "LnUp on the review's first line showed '$(last_visual)' instead of '$first'"
before=$(grep -c '^wait:' speech.log || true)
press LnDn
wait_for '[ "$(grep -c "^wait:" speech.log)" -gt "$before" ]' 100 || fail "LnDn in the review said nothing"
spoken=$(grep '^wait:' speech.log | tail -n 1 | sed 's/^wait: //')
shown=$(last_visual)
echo "$spoken" >review_spoken.txt
echo "$shown" >review_shown.txt
press LnDn
wait_for '[ "$(last_visual)" != "$shown" ]' 100 || fail "the second LnDn did not move the display's line"
press LnUp
wait_for '[ "$(last_visual)" = "$shown" ]' 100 || fail "LnUp did not come back to the line above"
xdotool key --delay 200 Escape
wait_for 'visual_starts "abcdexfgh "' 100 || fail "the field is not shown again after the review"

# BRLTTY goes away: the program goes on; it comes back: the field is shown.
kill "$brltty_pid"
wait "$brltty_pid" 2>/dev/null
brltty_pid=""
wait_for 'grep -q "^disconnected" display.log' 100 || fail "BRLTTY did not leave the display"
xdotool type y
kill -0 "$program" 2>/dev/null || fail "the program ended when BRLTTY stopped"
start_brltty "$brltty"
wait_for '[ "$(connections)" -ge 2 ] && visual_starts "abcdexyfgh " && cursor_at 7' 300 ||
    fail "the field did not come back on the display after BRLTTY's restart"


# Dots 1-2-4 typed on the display's keyboard: "f" at the caret, with the
# echo a chord of the six keys gives.
echoes=$(grep -c '^character: ef$' speech.log || true)
press "PassDots $((0x0B))"
wait_for 'visual_starts "abcdexyffgh " && cursor_at 8' 100 || fail "dots 1-2-4 did not type f"
wait_for '[ "$(grep -c "^character: ef$" speech.log)" -gt "$echoes" ]' 50 || fail "the typed f was not echoed"

# The display changes size while connected: every cell right each time.
cell_count() { last_braille | awk -F'|' '{ print NF }'; }
field="abcdexyffgh"
for size in 80 20 40; do
    press "cells $size"
    padded="$field$(printf "%${size}s" "")"
    wait_for '[ "$(cell_count)" -eq '"$size"' ] && [ "$(last_visual)" = "${padded:0:'"$size"'}" ] && cursor_at 8' 100 ||
        fail "after a change to $size cells the display shows '$(last_visual)'"
    echo "$size: \"$(last_visual)\"" >>sizes.txt
done

xdotool key alt+F4
wait_for '! kill -0 "$program" 2>/dev/null' 100 || fail "Alt+F4 did not end the program"
wait "$program"
program=""
# The display is BRLTTY's again: at its next key it shows its own screen
# ("no screen", having no screen driver) instead of the field.
press LnUp
wait_for 'visual_starts "no screen"' 50 || fail "the display was not given back at the end"
[ -s ram.dat ] || fail "no ram.dat after the exit"
echo done >status.txt
INNER
chmod +x "$work"/play.sh

cd "$work"
. ./braille_play_helpers.sh
report() {
    print_failed_run "$*"
    echo "--- cells (last lines)"; grep '^Braille' display.log 2>/dev/null | tail -n 5 || true
    echo "--- speech log (last lines)"; tail -n 10 speech.log 2>/dev/null || true
    exit 1
}
run_under_xvfb ./play.sh "$brltty" || report "$(cat failure.txt 2>/dev/null || echo 'the run failed')"
[ "$(cat status.txt 2>/dev/null)" = done ] || report "the run did not complete"
echo "shown:"; cat shown.txt

# The introduction's last line before the prompt was on the display.
last_row=$(grep -v '^ *$' screen.txt 2>/dev/null | tail -n 1 || true)
[ -n "$last_row" ] || report "no screen dump"
last_row="$last_row$(printf "%40s" "")"
grep -qF "Visual \"${last_row:0:40}\"" introduction.log || report "the introduction's last printed line was not shown: ${last_row:0:40}"
# The review's line on the display is the line spoken.
[ -n "$(cat review_spoken.txt)" ] || report "the review's line key spoke an empty text"
case "$(cat review_spoken.txt)" in
"$(sed 's/ *$//' review_shown.txt)"*) ;;
*) report "the review spoke '$(cat review_spoken.txt)' but showed '$(cat review_shown.txt)'" ;;
esac
grep -q "did not give up control" brltty.err && report "BRLTTY says the program did not give the display back"
echo "long print's end on the display: $(cat long_print_end.txt)"
echo "shown again $(cat return_ms.txt) ms after BRLTTY's return, $(cat own_ms.txt) ms after its start message: $(cat returned_visual.txt)"
echo "sizes:"; cat sizes.txt
echo "introduction's last line on the display: ${last_row:0:40}"
echo "review line spoken and shown: $(cat review_spoken.txt)"
echo "braille display: introduction, field with cursor, routing, review lines and reconnection all shown"
