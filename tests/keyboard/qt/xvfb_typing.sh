#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Typing by ear in the desktop program's real window under Xvfb, with real
# X key events and the voice on, so that every key is echoed as it is
# typed. Usage: xvfb_typing.sh PROGRAM_DIR MODE, where MODE is
#   embedded  the embedded voice (espeak-ng through OpenAL Soft's null
#             output, which plays in real time): "situace" typed at 150 ms
#             a key and "inventář" at 60 ms a key must reach the field
#             exactly (the dialog probe reports the confirmed text) and be
#             answered by the game on the screen;
#   system    the same through a private speech-dispatcher started here;
#   flood     10,000 keys as fast as xdotool sends them, embedded voice on:
#             the program must live and the field hold them in order;
#   held      the braille keyboard on: three chords each held 2 s type one
#             character each, Left held 1 s at the start of the field and
#             Down held 1 s in the screen review are each answered once,
#             on release (read in the speech log);
#   reader    the speech mode chosen for use beside a screen reader, with
#             the embedded voice: in the data-entry dialog and the screen
#             review, Shift, Ctrl, Alt and Insert leave the program's own
#             speech running and any other key cuts it (read in the speech
#             log as stop requests), where in the embedded mode, self-voicing,
#             every key cuts it, the modifiers too.
# Exits 77 (skipped) when a tool is missing.
set -euo pipefail
program_dir=$1
mode=$2

# shellcheck source=../../support/xvfb_program.sh
. "$(dirname "$0")/../../support/xvfb_program.sh"
require_xvfb_tools

copy_program_folder "$program_dir"
cp "$(dirname "$0")"/../../support/xvfb_windows.sh "$work"/
case $mode in
system)
    command -v speech-dispatcher >/dev/null || { echo "SKIP: speech-dispatcher is not installed"; exit 77; }
    printf '[voice]\nvoiceallowed=1\n[Voice]\nsapi5=1\n' >"$work"/orbela.ini
    # A private daemon on a socket of our own, sounding into ALSA's null
    # device; removed with the folder.
    # shellcheck source=../../support/speech_dispatcher.sh
    . "$(dirname "$0")/../../support/speech_dispatcher.sh"
    trap 'stop_private_speechd "$work"; rm -rf "$work"' EXIT
    start_private_speechd "$work" "$speechd_silent_output" 60 || exit 1
    ;;
held) printf '[voice]\nvoiceallowed=1\n[keyboard]\nbraillekeys=1\n' >"$work"/orbela.ini ;;
reader) printf '[voice]\nvoiceallowed=1\n[keyboard]\nbraillekeys=1\n[speech]\nmode=screenreader\n' >"$work"/orbela.ini ;;
*) printf '[voice]\nvoiceallowed=1\n' >"$work"/orbela.ini ;;
esac
export TYPING_MODE=$mode

cat >"$work"/play.sh <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
export ORBELA_SCREEN_DUMP=$PWD/screen.txt
export ORBELA_DIALOG_PROBE=1
export QT_QPA_PLATFORM=xcb
export ALSOFT_DRIVERS=null
# Without a daemon of our own the system service is unreachable on purpose.
export SPEECHD_ADDRESS=${SPEECHD_ADDRESS:-unix_socket:$PWD/no-such-socket}
./orbela --speech-log speech.log >out.txt 2>err.txt &
program=$!

fail() { echo "FAIL: $*"; kill "$program" 2>/dev/null; exit 1; }
. ./xvfb_windows.sh

# The main window, answering the one message about a missing system service.
for ((i = 0; i < 300; i++)); do
    main=$(visible ' - ')
    [ -n "$main" ] && break
    box=$(visible '^orbela$')
    [ -n "$box" ] && xdotool windowfocus --sync "$box" key Return
    kill -0 "$program" 2>/dev/null || fail "the program ended at start"
    sleep 0.1
done
[ -n "$main" ] || fail "the main window did not appear"
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+s

shown() { grep -c '^orbela-dialog-shown' err.txt; }
# Waits for the $1-th prompt and puts the keyboard on its field. Shift, as
# a player would press it, cuts the lines spoken before it short (unless $2
# is "quietly", or beside a screen reader, where F12 does).
prompt() {
    local i cut=shift
    [ "$TYPING_MODE" = reader ] && cut=F12
    [ "${2:-}" = quietly ] && cut=
    for ((i = 0; i < 1200; i++)); do
        [ "$(shown)" -ge "$1" ] && break
        kill -0 "$program" 2>/dev/null || fail "the program ended before prompt $1"
        [ -z "$cut" ] || xdotool key $cut
        sleep 0.1
    done
    [ "$(shown)" -ge "$1" ] || fail "no prompt $1"
    sleep 0.5
    dialog=$(visible '^Vlož data$')
    [ -n "$dialog" ] || fail "prompt $1 is not on the screen"
    xdotool windowfocus --sync "$dialog"
}
# The field's text as confirmed at the $1-th Return.
confirmed() { grep '^orbela-dialog-text ' err.txt | sed -n "${1}p" | cut -d' ' -f2-; }
# Waits until the speech log stops growing: the last echo is over.
settle() {
    local size=-1 i
    for ((i = 0; i < 600; i++)); do
        sleep 0.5
        [ "$(stat -c %s speech.log 2>/dev/null || echo 0)" = "$size" ] && return 0
        size=$(stat -c %s speech.log 2>/dev/null || echo 0)
    done
}

lines() { wc -l <speech.log; }
# The one key rule in a window that the xdotool commands "${speaker[@]}"
# make speak: for each modifier, the window speaks, the modifier is
# pressed, then Left. What the speech log gained up to Left is kept in
# $1-MODIFIER.log, and with Left in $1-MODIFIER-Left.log: a stop there is
# the speech cut (the service asks for one only while something plays).
modifiers_then_left() {
    local from middle modifier
    for modifier in shift ctrl alt Insert; do
        from=$(lines)
        # One xdotool for both: the modifier follows the speech at once.
        xdotool "${speaker[@]}" key $modifier
        sleep 0.15
        middle=$(lines)
        xdotool key Left
        sleep 0.3
        sed -n "$((from + 1)),${middle}p" speech.log >"$1-$modifier".log
        sed -n "$((middle + 1)),\$p" speech.log >"$1-$modifier-Left".log
        settle
    done
}
key_rule() {
    # Beside a screen reader the field does not echo keys; a chord on the
    # braille keyboard is still said (dots 2 3 6: the left parenthesis).
    if [ "$TYPING_MODE" = reader ]; then
        speaker=(keydown --delay 40 d s l keyup --delay 40 d s l)
    else
        speaker=(key parenleft)
    fi
    modifiers_then_left dialog
    xdotool key ctrl+a BackSpace
    settle
    xdotool key Up
    sleep 1
    # F2 says the line and column.
    speaker=(key F2)
    modifiers_then_left review
    xdotool key Escape
    settle
}

case $TYPING_MODE in
reader)
    prompt 1
    key_rule
    ;;
embedded | system)
    prompt 1
    xdotool type --delay 150 situace
    settle
    xdotool key Return
    prompt 2
    xdotool type --delay 60 inventář
    settle
    xdotool key Return
    prompt 3
    confirmed 1 >typed.txt
    confirmed 2 >>typed.txt
    [ "$TYPING_MODE" = embedded ] && key_rule
    ;;
flood)
    prompt 1
    # 10,000 keys: letters and spaces in a pattern that shows any reordering.
    python3 -c 'import sys; sys.stdout.write(" ".join("abcdefghi"[i % 9] * (1 + i % 4) for i in range(4000))[:10000])' >keys.txt
    date +%s.%N >times.txt
    xdotool type --delay 0 -- "$(cat keys.txt)"
    date +%s.%N >>times.txt
    kill -0 "$program" 2>/dev/null || fail "the program died while the keys were typed"
    settle
    date +%s.%N >>times.txt
    xdotool key Return
    for ((i = 0; i < 600; i++)); do [ -n "$(confirmed 1)" ] && break; sleep 0.1; done
    confirmed 1 >typed.txt
    ;;
held)
    prompt 1
    # Dots 1 5, 2 3 4, 1 3 4 6 (F D S J K L are dots 1 to 6): e, s, x.
    for chord in "f k" "d s j" "f s j l"; do
        # shellcheck disable=SC2086
        xdotool keydown --delay 40 $chord
        sleep 2
        # shellcheck disable=SC2086
        xdotool keyup --delay 40 $chord
        sleep 0.5
    done
    settle
    # Left held at the start of the field, after Home; the speech log's
    # lines during each hold are kept apart.
    lines() { wc -l <speech.log; }
    xdotool key Home
    settle
    from=$(lines)
    xdotool keydown Left
    sleep 1
    xdotool keyup Left
    settle
    sed -n "$((from + 1)),\$p" speech.log >left.log
    # Up opens the screen review; Down held there reads one line at the end.
    xdotool key Up
    settle
    from=$(lines)
    xdotool keydown Down
    sleep 1
    xdotool keyup Down
    settle
    sed -n "$((from + 1)),\$p" speech.log >down.log
    xdotool key Escape
    settle
    prompt 1
    xdotool key Return
    for ((i = 0; i < 100; i++)); do [ -n "$(confirmed 1)" ] && break; sleep 0.1; done
    confirmed 1 >typed.txt
    ;;
esac

kill -0 "$program" 2>/dev/null || fail "the program died"
# Alt+F4 in the dialog ends the program and writes the screen dump: at the
# prompt after the last confirmed line.
prompt $(($(grep -c '^orbela-dialog-text' err.txt) + 1))
xdotool key alt+F4
for ((i = 0; i < 100; i++)); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program" 2>/dev/null && fail "Alt+F4 did not end the program"
wait "$program"
echo "exit status $?" >status.txt
INNER
chmod +x "$work"/play.sh

cd "$work"
fail() {
    echo "FAIL: $*"
    echo "--- times"; cat times.txt 2>/dev/null || true
    echo "--- typed"; head -c 300 typed.txt 2>/dev/null || true
    echo; echo "--- screen"; cat screen.txt 2>/dev/null || true
    echo "--- speech log (end)"; tail -n 30 speech.log 2>/dev/null || true
    for held in left down; do [ -f $held.log ] && { echo "--- $held held"; cat $held.log; }; done
    for keys in dialog* review*; do
        [ -f "$keys" ] && { echo "--- $keys"; cat "$keys"; }
    done
    echo "--- stderr of the program"; grep -v '^orbela-dialog' err.txt 2>/dev/null | tail -n 20 || true
    exit 1
}
run_under_xvfb ./play.sh || fail "the run did not complete"
[ "$(cat status.txt)" = "exit status 0" ] || fail "$(cat status.txt)"
# What the speech log $1 gained after its last spoken line.
after_speech() { awk '/^(queued|wait|character): / { n = NR } { line[NR] = $0 } END { for (i = n + 1; i <= NR; i++) print line[i] }' "$1"; }
case $mode in
reader | embedded)
    for log in dialog review; do
        for modifier in shift ctrl alt Insert; do
            grep -q '^\(queued\|wait\|character\): ' $log-$modifier.log || fail "nothing was said in the $log"
            if [ "$mode" = reader ]; then
                after_speech $log-$modifier.log | grep -qx stop &&
                    fail "beside a screen reader $modifier in the $log cut the speech"
                grep -qx stop $log-$modifier-Left.log ||
                    fail "beside a screen reader Left in the $log did not cut the speech that $modifier left running"
            else
                after_speech $log-$modifier.log | grep -qx stop || fail "self-voicing, $modifier in the $log did not cut the speech"
            fi
        done
    done
    ;;&
embedded | system)
    [ "$(cat typed.txt)" = "$(printf 'situace\ninventář')" ] || fail "the field did not hold the keys as typed"
    # The keys were echoed by the engine under test as they were typed.
    [ "$(grep -c '^character: ' speech.log)" -ge 15 ] || fail "the keys were not echoed"
    # The game's answers: the room described again (first at the start),
    # and what the player carries.
    [ "$(grep -c 'sedíš na zadním sedadle' screen.txt)" -ge 2 ] || fail "no answer to situace on the screen"
    grep -q 'neseš sebou: likvidátor peníze' screen.txt || fail "no answer to inventář on the screen"
    grep -q 'nelze provést' screen.txt && fail "a command was refused"
    ;;
flood)
    cmp -s <(printf '%s' "$(cat keys.txt)") <(printf '%s' "$(cat typed.txt)") ||
        fail "the field does not hold the 10,000 keys in order"
    ;;
held)
    [ "$(cat typed.txt)" = "esx" ] || fail "the held chords typed \"$(cat typed.txt)\" instead of esx"
    # One answer for each held key: Left names the character at the start
    # (the first Left there is no beep yet), Down reads one line.
    left=$(grep -vc '^stop$' left.log || true)
    [ "$left" = 1 ] || fail "Left held 1 s was answered $left times"
    down=$(grep -vc '^stop$' down.log || true)
    [ "$down" = 1 ] || fail "Down held 1 s was answered $down times"
    ;;
esac
[ -f times.txt ] && echo "moments (typing began, typing ended, echo over): $(tr '\n' ' ' <times.txt)"
if [ "$mode" = reader ]; then
    echo "beside a screen reader the modifiers left the speech running and Left cut it"
else
    echo "typing ($mode) reached the field in order"
fi
