#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window with files it must not replace: a configuration file holding
# a NUL byte is reported at start and a setting changed from the keyboard
# (Ctrl+B, the braille keyboard) does not rewrite it; a read-only ram.dat is
# refused once, with the reason in the interface's language, whether
# Program/Exit or SIGTERM ends the idle window. A SIGTERM while the refusal
# waits for its answer (a shutdown: nobody answers) ends the program without
# saving or asking again. The messages are read back from the
# program's speech log. Run as nobody when started as root: the ram.dat is
# the player's own, in a folder the player may write. Exits 77 (skipped)
# when Xvfb or xdotool is missing.
set -euo pipefail
program_dir=$1

# shellcheck source=../../support/xvfb_program.sh
. "$(dirname "$0")/../../support/xvfb_program.sh"
require_xvfb_tools

copy_program_folder "$program_dir"
cp "$(dirname "$0")"/../../support/xvfb_windows.sh "$work"/
printf '[voice]\nvoiceallowed=1\n[keyboard]\nbraillekeys=0\n\0\n[environment]\nlanguage=2000\n' >"$work"/orbela.ini
cp "$work"/orbela.ini "$work"/ini.before
head -c 65536 /dev/urandom >"$work"/ram.dat
chmod 0444 "$work"/ram.dat
cp "$work"/ram.dat "$work"/ram.before

cat >"$work"/play.sh <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
export QT_QPA_PLATFORM=xcb ALSOFT_DRIVERS=null
export SPEECHD_ADDRESS=unix_socket:$PWD/no-such-socket
. ./xvfb_windows.sh
# Answers every message box until none has come for a second.
answer_boxes() {
    local quiet=0 box
    while [ "$quiet" -lt 10 ]; do
        box=$(visible '^orbela$')
        if [ -n "$box" ]; then
            xdotool windowfocus --sync "$box"; sleep 0.4; xdotool key Return; sleep 0.3
            quiet=0
        else
            sleep 0.1
            quiet=$((quiet + 1))
        fi
    done
}
# One run of the window: $1 "menu" (Program/Exit, the refusal answered),
# "signal" (SIGTERM, a second one while its refusal waits) or "menu-signal"
# (Program/Exit, then SIGTERM while its refusal waits).
run() {
    ./orbela --speech-log "speech-$1.log" >"out-$1.txt" 2>"err-$1.txt" &
    program=$!
    local i main=""
    for ((i = 0; i < 300; i++)); do
        main=$(visible ' - ')
        [ -n "$main" ] && break
        box=$(visible '^orbela$')
        [ -n "$box" ] && { xdotool windowfocus --sync "$box"; sleep 0.3; xdotool key Return; }
        sleep 0.1
    done
    [ -n "$main" ] || { echo "FAIL: no main window"; kill "$program"; return 1; }
    answer_boxes
    xdotool windowfocus --sync "$main"; sleep 0.5
    xdotool keydown ctrl key b keyup ctrl; sleep 1
    answer_boxes
    xdotool windowfocus --sync "$main"; sleep 0.5
    if [ "$1" = signal ]; then
        kill -s TERM "$program"
    else
        xdotool keydown alt key p keyup alt; sleep 0.7
        xdotool key e
    fi
    if [ "$1" != menu ]; then
        for ((i = 0; i < 100; i++)); do
            grep -q "Unable to write to $PWD/ram.dat" "speech-$1.log" && [ -n "$(visible '^orbela$')" ] && break
            sleep 0.1
        done
        [ "$i" -lt 100 ] || { echo "FAIL: the $1 run did not show its refusal"; kill -9 "$program"; return 1; }
        # Nobody answers: the signal alone must end the program.
        kill -s TERM "$program"
    else
        sleep 1
        answer_boxes
    fi
    for ((i = 0; i < 50; i++)); do
        kill -0 "$program" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$program" 2>/dev/null; then
        echo "FAIL: the $1 run did not end"
        kill -9 "$program"
        return 1
    fi
    wait "$program"
    echo "exit status $?" >"status-$1.txt"
}
run menu && run signal && run menu-signal
INNER
chmod +x "$work"/play.sh

cd "$work"
fail() {
    echo "FAIL: $*"
    for log in speech-*.log; do echo "--- $log"; grep -i unable "$log" || true; done
    exit 1
}
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config
mkdir -p "$XDG_CONFIG_HOME"
player=()
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody:nogroup "$work"
    player=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
run_under_xvfb "${player[@]}" ./play.sh || fail "the run under Xvfb failed"
for way in menu signal menu-signal; do
    log=speech-$way.log
    [ -f "$log" ] || fail "nothing was spoken in the $way run"
    # Czech: the language stood after the NUL and was not taken.
    grep -q "Unable to read $work/orbela.ini: obsahuje bajty, které nejsou text (bajt NUL), a proto zůstává, jak je" "$log" ||
        fail "the $way run did not report the configuration file at start"
    grep -q "Unable to write to $work/orbela.ini: obsahuje bajty, které nejsou text" "$log" ||
        fail "the $way run did not refuse the braille keyboard setting"
    saves=$(grep -c "Unable to write to $work/ram.dat: soubor je jen pro čtení" "$log" || true)
    [ "$saves" -eq 1 ] || fail "the $way run reported the read-only ram.dat $saves times"
    [ "$(cat "status-$way.txt")" = "exit status 0" ] || fail "the $way run ended with $(cat "status-$way.txt")"
done
[ -n "${KEEP_LOGS:-}" ] && cp speech-*.log "$KEEP_LOGS"/
cmp -s orbela.ini ini.before || fail "the configuration file was rewritten"
cmp -s ram.dat ram.before || fail "the read-only ram.dat was replaced"
echo "the configuration file and the read-only ram.dat kept; one refused save per exit"
