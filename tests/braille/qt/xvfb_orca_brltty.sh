#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Who holds the braille display beside Orca. A real BRLTTY (virtual braille
# driver, client mode, as in the display test) and a real Orca with its
# braille on (its default) in a desktop session under Xvfb, with the
# desktop's screen-reader switch on; no xbrlapi, as in a plain install.
#  - In screen-reader mode the program never takes the display: with the
#    main window, its menu and the environment dialog focused in turn, the
#    display shows Orca's braille ("&=y Čeština" for the checked language)
#    and BRLTTY's log shows no terminal taken but Orca's.
#  - Orca ends (killed, as a crash): the program voices itself again and
#    takes the display for its focused window, which then shows the
#    program's own line for the same radio button.
# Exits 77 (skipped) when a tool is missing.
set -euo pipefail
program_dir=$1
vr_display=$2

# shellcheck source=../../support/xvfb_program.sh
. "$(dirname "$0")/../../support/xvfb_program.sh"
require_xvfb_tools
for tool in orca openbox pulseaudio dbus-run-session gdbus speech-dispatcher; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "SKIP: at-spi-bus-launcher is not installed"; exit 77; }
brltty=$(command -v brltty || true)
[ -n "$brltty" ] || brltty=/usr/sbin/brltty
[ -x "$brltty" ] || { echo "SKIP: brltty is not installed"; exit 77; }
/usr/bin/python3 -c 'import brlapi' 2>/dev/null || { echo "SKIP: Orca's braille needs python3-brlapi"; exit 77; }

copy_program_folder "$program_dir"
cp "$(dirname "$0")"/../../support/{orca_session,speech_dispatcher}.sh "$(dirname "$0")/braille_play_helpers.sh" "$work"/
cp "$vr_display" "$work"/vr_display
printf '[voice]\nvoiceallowed=1\n' >"$work"/orbela.ini

cat >"$work"/play.sh <<'INNER'
#!/usr/bin/env bash
# Inside the X server and the D-Bus session.
set -uo pipefail
brltty=$1
. ./orca_session.sh
fail() { echo "$*" >failure.txt; exit 1; }
. ./braille_play_helpers.sh
program="" brltty_pid="" display=""
cleanup() {
    stop_session
    for pid in "$program" "$brltty_pid"; do [ -n "$pid" ] && kill "$pid" 2>/dev/null; done
    exec 3>&-
    [ -n "$display" ] && kill "$display" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT

start_display
start_brltty "$brltty"
visual_has() { last_visual | grep -q -- "$1"; }
shown() { echo "$1: \"$(last_visual | sed 's/ *$//')\"" >>shown.txt; }
taken() { grep -c "taking control of tty" brltty.err; }
wait_for 'grep -q "^Visual" display.log' 200 || fail "BRLTTY did not connect to the display"

start_session "$PWD/session" || fail "no desktop session"
set_screen_reader_switch true
start_orca || fail "Orca did not start"
wait_for '[ "$(taken)" -ge 1 ]' 200 || fail "Orca's braille did not take the display"
orca_taken=$(taken)

export QT_QPA_PLATFORM=xcb ALSOFT_DRIVERS=null
./orbela --speech-log speech.log >out.txt 2>err.txt &
program=$!
find_main_window 300 || fail "the main window did not appear"
xdotool windowfocus --sync "$main"
sleep 2
shown "main window, Orca"
xdotool key F10
wait_for 'visual_has "Program"' 50 || fail "Orca's braille did not show the menu: '$(last_visual)'"
shown "F10, Orca"
xdotool key --delay 300 Escape Escape
sleep 0.5
xdotool keydown ctrl key e keyup ctrl
wait_for 'visual_has "&=y Čeština"' 100 || fail "Orca's braille did not show the radio button: '$(last_visual)'"
shown "Ctrl+E, Orca"
[ "$(taken)" -eq "$orca_taken" ] || fail "the program took the display in screen-reader mode: $(grep 'taking control' brltty.err | tail -n 1)"

stop_orca
wait_for '[ "$(taken)" -gt "$orca_taken" ]' 100 || fail "the program did not take the display when Orca ended"
grep "taking control of tty" brltty.err | tail -n 1 | sed 's/^brltty: server: //' >program_taken.txt
wait_for 'visual_has "^&=y Čeština *$"' 100 || fail "the program's own line is not shown after Orca ended: '$(last_visual)'"
shown "Orca ended, the program"
# The program ends with the session, in the cleanup.
echo done >status.txt
INNER
chmod +x "$work"/play.sh

cd "$work"
# The session's settings (the screen-reader switch among them, kept by
# dconf) live in the test's folder.
export HOME=$work/session/home XDG_CONFIG_HOME=$work/session/home/.config
mkdir -p "$XDG_CONFIG_HOME"
. ./braille_play_helpers.sh
report() {
    print_failed_run "$*"
    echo "--- Orca"; tail -n 5 session/orca.out 2>/dev/null || true
    exit 1
}
run_under_xvfb timeout 150 dbus-run-session -- ./play.sh "$brltty" ||
    report "$(cat failure.txt 2>/dev/null || echo 'the run failed')"
[ "$(cat status.txt 2>/dev/null)" = done ] || report "the run did not complete"
echo "shown:"; cat shown.txt
echo "BRLTTY when Orca ended: $(cat program_taken.txt)"
