#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program alone, without a screen reader (no accessibility bus: the
# automatic speech mode falls to self-voicing), in a real window under Xvfb
# with the embedded voice on OpenAL's null output. Real keys walk the menus
# (F10, arrows), open the environment, sound and About dialogs and move in
# them with Tab, and confirm the environment dialog, whose message box
# follows, as does the start's message that the speech service cannot be
# reached. The speech log (--speech-log) must hold a menu item with its
# shortcut and check state, a control of each dialog, and the message box's
# text followed by its button. Exits 77 (skipped) when a tool is missing.
set -euo pipefail
program_dir=$1

# shellcheck source=../../support/xvfb_program.sh
. "$(dirname "$0")/../../support/xvfb_program.sh"
require_xvfb_tools
for tool in dbus-run-session gdbus; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "SKIP: at-spi-bus-launcher is not installed"; exit 77; }

copy_program_folder "$program_dir"
printf '[voice]\nvoiceallowed=1\n[speech]\nmode=auto\n' >"$work"/orbela.ini

cat >"$work"/play.sh <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
export QT_QPA_PLATFORM=xcb ALSOFT_DRIVERS=null
export SPEECHD_ADDRESS=unix_socket:$PWD/no-such-socket
# A session bus with the accessibility bus, and no screen reader running.
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
launcher=$!
trap 'kill $launcher 2>/dev/null' EXIT
for ((i = 0; i < 50; i++)); do
    gdbus introspect --session --dest org.a11y.Bus --object-path /org/a11y/bus >/dev/null 2>&1 && break
    sleep 0.1
done
./orbela --speech-log speech.log >out.txt 2>err.txt &
program=$!
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
wait_for() {
    local i
    for ((i = 0; i < $2; i++)); do
        id=$(visible "$1")
        [ -n "$id" ] && return 0
        # The start reports the unreachable speech service once.
        box=$(visible '^orbela$')
        [ -n "$box" ] && { xdotool windowfocus --sync "$box"; xdotool key Return; sleep 0.3; }
        sleep 0.1
    done
    return 1
}
# Marks in the log where each step begins.
step() { echo "== $1" >>steps.txt; wc -l <speech.log >>steps.txt 2>/dev/null || echo 0 >>steps.txt; }

wait_for ' - ' 300 || { echo "FAIL: no main window"; exit 1; }
main=$id
xdotool windowfocus --sync "$main"
sleep 1
step menu
xdotool key F10; sleep 0.7
xdotool key Down; sleep 0.7
xdotool key Down; sleep 0.7
xdotool key Right; sleep 0.7
xdotool key Down; sleep 0.7
xdotool key Escape; sleep 0.3
xdotool key Escape; sleep 0.3
xdotool key Escape; sleep 0.5

step environment
xdotool windowfocus --sync "$main"
xdotool keydown ctrl key e keyup ctrl
wait_for 'Nastavení prostředí' 100 || { echo "FAIL: no environment dialog"; exit 1; }
sleep 0.7
# Another language: the dialog's OK then says that it applies at the next start.
xdotool key Down; sleep 0.7
step message
xdotool key Return; sleep 1.5
box=$(visible '^orbela$')
[ -n "$box" ] && { xdotool windowfocus --sync "$box"; sleep 0.5; xdotool key Return; }
sleep 0.7

step sound
xdotool windowfocus --sync "$main"
xdotool keydown ctrl key d keyup ctrl
wait_for 'Nastavení zvuků' 100 || { echo "FAIL: no sound dialog"; exit 1; }
sleep 0.7
xdotool key Tab; sleep 0.7
xdotool key Escape; sleep 0.7

step about
xdotool windowfocus --sync "$main"
xdotool key F10; sleep 0.5
xdotool key Left; sleep 0.5
xdotool key Down; sleep 0.5
xdotool key Return
wait_for '^O programu$' 100 || { echo "FAIL: no About box"; exit 1; }
sleep 0.7
xdotool key Tab; sleep 0.7
xdotool key Return; sleep 0.5
# The desktop's screen-reader switch turned on with no screen reader
# running (it stays on after Orca crashes): the automatic mode stays.
step switch
gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
    --method org.freedesktop.DBus.Properties.Set org.a11y.Status ScreenReaderEnabled '<true>' >/dev/null
sleep 1.5
step end
kill "$program" 2>/dev/null
wait "$program" 2>/dev/null
exit 0
INNER
chmod +x "$work"/play.sh

cd "$work"
fail() {
    echo "FAIL: $*"
    echo "--- speech log"; cat speech.log 2>/dev/null || true
    echo "--- steps"; cat steps.txt 2>/dev/null || true
    echo "--- stderr"; tail -5 err.txt 2>/dev/null || true
    exit 1
}
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config
mkdir -p "$XDG_CONFIG_HOME"
run_under_xvfb dbus-run-session -- ./play.sh || fail "the run under Xvfb failed"
[ -f speech.log ] || fail "nothing was spoken"
# The log between the marks of a step and the next.
between() {
    local from to
    from=$(grep -A1 "^== $1\$" steps.txt | tail -n 1)
    to=$(grep -A1 "^== $2\$" steps.txt | tail -n 1)
    sed -n "$((from + 1)),${to}p" speech.log
}
grep -A1 -x 'queued: Speech Dispatcher cannot be reached: .*' speech.log | tail -n 1 | grep -qx 'queued: OK, tlačítko' ||
    fail "the start-up error's box was not spoken, text then button"
between menu environment | grep -qx 'queued: Program, nabídka' || fail "the menu bar's Program was not spoken"
between menu environment | grep -qx 'queued: Spustit, Ctrl+S' || fail "the item Start with its shortcut was not spoken"
between menu environment | grep -qx 'queued: Braillská klávesnice, Ctrl+B, nezaškrtnuto' ||
    fail "the checkable Braille keyboard item was not spoken with its state"
between menu environment | grep ', nabídka$' | grep -qv '^queued: \(Program\|Nastavení\|Nápověda\), nabídka$' &&
    fail "a menu item was spoken as a menu of the bar"
# From here on the program speaks English, the language just chosen.
between environment message | grep -qx 'queued: English, checked' ||
    fail "no control of the environment dialog was spoken"
between message sound | grep -A1 -x 'queued: Your changes will be applied after you restart the program.' |
    tail -n 1 | grep -qx 'queued: OK, button' || fail "the message box was not spoken, text then button"
between sound about | grep -q '^queued: .*\(checked\|button\|[0-9]\)$' || fail "no control of the sound dialog was spoken"
between about switch | grep -q '^queued: .*button$' || fail "no control of the About box was spoken"
between switch end | grep -q '^queued: Speech mode' && fail "the switch alone, without a screen reader, changed the speech mode"
echo "menus, dialogs and the message box spoken: $(grep -c '^queued:' speech.log) descriptions"
