#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A storm of 20,000 random real key events into the desktop program's window
# under Xvfb while the game runs, with the embedded voice on OpenAL's null
# output: letters, chords of braille keys held together, arrows (Up and
# Down open the screen review), Tab, Escape, Return, Backspace, Alt+Up,
# Ctrl+B, and Ctrl+D/E/H opening dialogs. Afterwards the program must still
# answer (the data-entry dialog takes a command, or with the game idle
# Ctrl+D opens the sound settings window), its resident memory must
# not have grown by more than 8 MiB from the first fifth of the storm to its
# end, and a SIGTERM must end it as Program/Exit does (exit 0, ram.dat
# written). Prints the figures. Exits 77 (skipped) without Xvfb or
# xdotool.
#
#   xvfb_key_storm.sh PROGRAM_DIR [EVENTS]
set -euo pipefail
program_dir=$1
events=${2:-20000}

# shellcheck source=../../support/xvfb_program.sh
. "$(dirname "$0")/../../support/xvfb_program.sh"
require_xvfb_tools

copy_program_folder "$program_dir"
echo "$events" >"$work"/events.txt

cat >"$work"/storm.sh <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
export QT_QPA_PLATFORM=xcb
export ALSOFT_DRIVERS=null
# Counts every showing of the data-entry dialog on standard error.
export ORBELA_DIALOG_PROBE=1
# Freed memory held back by the address checker would read as growth.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=16"
./orbela --speech-log speech.txt >out.txt 2>err.txt &
program=$!
# A failed check leaves no program behind to outlive its X server.
trap 'kill -KILL "$program" 2>/dev/null' EXIT
events=$(cat events.txt)

rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$program/status"; }
alive() { kill -0 "$program" 2>/dev/null; }

for ((i = 0; i < 300; i++)); do
    main=$(xdotool search --onlyvisible --name ' - ' 2>/dev/null | head -n 1)
    [ -n "$main" ] && break
    alive || { echo "FAIL: the program ended before its window appeared"; exit 1; }
    sleep 0.1
done
[ -n "$main" ] || { echo "FAIL: the main window did not appear"; exit 1; }
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+s
sleep 2

# One step of the storm: the xdotool words for it, and how many key events
# (presses and releases) it makes. The dialog's three Tab stops are always
# gone round in full, so that Return never lands on its Exit program button.
RANDOM=20251208
letters=(a b c e g i k m n o p r t u v x y z 1 2 3 space period comma minus)
step() {
    case $((RANDOM % 20)) in
    0 | 1 | 2 | 3 | 4) words="key ${letters[RANDOM % ${#letters[@]}]}"; made=2 ;;
    5) words="keydown f keydown d keydown s keyup s keyup d keyup f"; made=6 ;;
    6) words="keydown j keydown k keydown l keydown f keyup f keyup l keyup k keyup j"; made=8 ;;
    7) words="key Left key Right"; made=4 ;;
    8) words="key Up"; made=2 ;;
    9) words="key Down"; made=2 ;;
    10) words="key Tab key Tab key Tab"; made=6 ;;
    11) words="key shift+Tab key shift+Tab key shift+Tab"; made=12 ;;
    12) words="key Escape"; made=2 ;;
    13) words="key Return"; made=2 ;;
    14) words="key BackSpace key Delete key Home key End"; made=8 ;;
    15) words="keydown alt key Up keyup alt"; made=4 ;;
    16) words="keydown ctrl key b keyup ctrl"; made=4 ;;
    17) words="keydown ctrl key d keyup ctrl"; made=4 ;;
    18) words="keydown ctrl key e keyup ctrl"; made=4 ;;
    19) words="keydown ctrl key h keyup ctrl"; made=4 ;;
    esac
}

sent=0
baseline=""
start=$(date +%s)
while [ "$sent" -lt "$events" ]; do
    batch=()
    while [ "${#batch[@]}" -lt 120 ] && [ "$sent" -lt "$events" ]; do
        step
        # shellcheck disable=SC2206
        batch+=($words)
        sent=$((sent + made))
    done
    # Key by key with a short pause, a fast typist's pace and more.
    xdotool $(printf '%s\n' "${batch[@]}" | sed 's/^\(key\|keydown\|keyup\)$/& --delay 1/') 2>/dev/null
    alive || { echo "FAIL: the program ended during the storm after $sent events"; exit 1; }
    if [ -z "$baseline" ] && [ "$sent" -ge $((events / 5)) ]; then
        sleep 2
        baseline=$(rss_kib)
    fi
done
took=$(( $(date +%s) - start ))

# The program works through the keys queued for it; then Escape closes the
# review and the settings windows the storm left open, each given the focus
# first, since there is no window manager to give it.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$program/stat"; }
# Idle: at most 2 ticks (1 % of a core) over 2 s, which the audio mixing of
# an idle program stays under, up to 4 minutes.
wait_idle() {
    local last now i
    last=$(cpu_ticks)
    for ((i = 0; i < 120; i++)); do
        sleep 2
        now=$(cpu_ticks)
        [ $((now - last)) -le 2 ] && return 0
        last=$now
    done
}
# The visible windows other than the main window and the data-entry dialog.
extra_windows() {
    local id name
    for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
        name=$(xdotool getwindowname "$id" 2>/dev/null) || continue
        [ "$id" = "$main" ] || [ "$name" = "Vlož data" ] || echo "$id"
    done
}
close_extra_windows() {
    local round id open
    for ((round = 0; round < 10; round++)); do
        wait_idle
        open=$(extra_windows)
        [ -z "$open" ] && return 0
        for id in $open; do
            xdotool windowfocus --sync "$id" 2>/dev/null && xdotool key Escape
        done
    done
}
close_extra_windows
final=$(rss_kib)
echo "events $sent in ${took} s; resident memory ${baseline} KiB after the first fifth, ${final} KiB at the end"
echo "$baseline $final" >rss.txt

# The program still answers: with the game waiting in the data-entry
# dialog (which holds the main menu off while it is open), a typed command
# is taken and the dialog comes back for the next one; with the game idle,
# Ctrl+D opens the sound settings window. A storm that started a new game
# leaves its introduction being read aloud in real time, which costs next
# to no processor time and holds both off: the check is then tried again,
# each Ctrl+D also cutting the line being read, 36 times (about four
# minutes at most).
shown() { grep -c '^orbela-dialog-shown' err.txt; }
answered=""
for ((attempt = 0; attempt < 36; attempt++)); do
    close_extra_windows
    dialog=$(xdotool search --onlyvisible --name '^Vlož data$' 2>/dev/null | head -n 1)
    if [ -n "$dialog" ]; then
        before=$(shown)
        xdotool windowfocus --sync "$dialog"
        xdotool key ctrl+a BackSpace
        xdotool type --delay 30 situace
        xdotool key Return
        for ((i = 0; i < 300; i++)); do
            [ "$(shown)" -gt "$before" ] && { answered="the data-entry dialog took a command"; break; }
            sleep 0.1
        done
        [ -n "$answered" ] || { echo "FAIL: the dialog took no command after the storm"; exit 1; }
        break
    fi
    xdotool windowfocus --sync "$main"
    xdotool key --clearmodifiers ctrl+d
    for ((i = 0; i < 50; i++)); do
        if [ -n "$(extra_windows)" ]; then
            xdotool key Escape
            answered="Ctrl+D opened the sound settings"
            break
        fi
        sleep 0.1
    done
    [ -n "$answered" ] && break
done
if [ -z "$answered" ]; then
    echo "FAIL: neither the data-entry dialog nor Ctrl+D answered after the storm"
    echo "--- what the program said last"
    tail -n 15 speech.txt
    exit 1
fi
echo "after the storm $answered (attempt $((attempt + 1)))"

# SIGTERM ends the window as Program/Exit does.
kill -TERM "$program"
for ((i = 0; i < 300; i++)); do
    alive || break
    sleep 0.1
done
if alive; then
    echo "FAIL: SIGTERM did not end the program"
    kill -KILL "$program"
    exit 1
fi
wait "$program"
echo "exit status $?" >status.txt
INNER
chmod +x "$work"/storm.sh

cd "$work"
fail() {
    echo "FAIL: $*"
    echo "--- stderr of the program"; tail -n 40 err.txt 2>/dev/null || true
    exit 1
}
run_under_xvfb ./storm.sh || fail "the storm failed"
[ "$(cat status.txt)" = "exit status 0" ] || fail "$(cat status.txt) after SIGTERM"
[ "$(stat -c %s ram.dat 2>/dev/null || echo 0)" -eq 65536 ] || fail "ram.dat was not written on SIGTERM"
grep -q 'ERROR: \(Address\|Leak\|Undefined\)Sanitizer\|runtime error:' err.txt && fail "a sanitizer report"
read -r baseline final <rss.txt
growth=$(( (final - baseline) / 1024 ))
[ "$growth" -le 8 ] || fail "resident memory grew by $growth MiB"
echo "key storm survived: memory growth $growth MiB"
