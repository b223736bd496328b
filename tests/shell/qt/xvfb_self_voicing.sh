#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program alone, without a screen reader (no accessibility bus: the
# automatic speech mode falls to self-voicing), in a real window under Xvfb
# with the embedded voice on OpenAL's null output and no voice picked yet.
# Real keys at a person's pace walk every menu (F10, arrows, the Speech mode
# submenu item by item), open the environment, sound, voice and About
# dialogs and move in them with Tab, and confirm a new language in the
# environment dialog, whose message box follows, as does the start's
# message that the speech service cannot be reached. The speech log
# (--speech-log) must hold each window's name as it opens, then its text
# (About) and its first control with role, group and state, in the
# language the window shows; each menu move said once and cutting the one
# before; no access-key mark in any line.
#
# With "stand-in" as second argument the system speech service is the
# chosen engine and cannot be reached: the menus are said by the embedded
# voice all the same, after saying once that it stands in.
# Exits 77 (skipped) when a tool is missing.
set -euo pipefail
program_dir=$1
mode=${2:-walk}

# shellcheck source=../../support/xvfb_program.sh
support=$(cd "$(dirname "$0")/../../support" && pwd)
. "$support"/xvfb_program.sh
require_xvfb_tools
for tool in dbus-run-session gdbus; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "SKIP: at-spi-bus-launcher is not installed"; exit 77; }

copy_program_folder "$program_dir"
cp "$support"/xvfb_windows.sh "$work"/
printf '[voice]\nvoiceallowed=1\n[speech]\nmode=auto\n' >"$work"/orbela.ini
[ "$mode" = stand-in ] && printf '[Voice]\nSAPI5=1\n' >>"$work"/orbela.ini
echo "$mode" >"$work"/mode.txt

cat >"$work"/play.sh <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
export QT_QPA_PLATFORM=xcb ALSOFT_DRIVERS=null
export SPEECHD_ADDRESS=unix_socket:$PWD/no-such-socket
./orbela --speech-log speech.log >out.txt 2>err.txt &
program=$!
. ./xvfb_windows.sh
# The start reports the unreachable speech service once.
ANSWER_BOX=1
# Marks in the log where each step begins.
step() { echo "== $1" >>steps.txt; wc -l <speech.log >>steps.txt 2>/dev/null || echo 0 >>steps.txt; }
key() { xdotool key "$1"; sleep "${2:-0.4}"; }

wait_visible ' - ' 900 || { echo "FAIL: no main window"; exit 1; }
main=$id
xdotool windowfocus --sync "$main"
sleep 1
step menu
key F10; key Down; key Down; key Right; key Down; key Down; key Down; key Down; key Down; key Right
key Down; key Escape; key Escape; key Escape
if [ "$(cat mode.txt)" = stand-in ]; then
    step end
    kill "$program" 2>/dev/null
    wait "$program" 2>/dev/null
    exit 0
fi

# The Speech mode submenu, by its access key in Settings.
step modes
xdotool windowfocus --sync "$main"
key F10; key Right; key Down; key r 0.7
step modes-down
key Down 0.7; key Down 0.7; key Down 0.7
step modes-end
key Escape; key Escape; key Escape

step environment
xdotool windowfocus --sync "$main"
xdotool keydown ctrl key e keyup ctrl
wait_visible 'Nastavení prostředí' 100 || { echo "FAIL: no environment dialog"; exit 1; }
sleep 1.5
# Another language: the dialog's OK then says that it applies at the next start.
step english
key Down 0.7
key Tab 0.7
step message
key Return 2
box=$(visible '^orbela$')
[ -n "$box" ] && { xdotool windowfocus --sync "$box"; sleep 0.5; xdotool key Return; }
sleep 0.7

step sound
xdotool windowfocus --sync "$main"
xdotool keydown ctrl key d keyup ctrl
wait_visible 'Nastavení zvuků' 100 || { echo "FAIL: no sound dialog"; exit 1; }
sleep 1.5
key Tab 0.7; key Tab 0.7; key Right 0.7; key Left 0.7
key Escape 0.7

step voice
xdotool windowfocus --sync "$main"
xdotool keydown ctrl key h keyup ctrl
wait_visible 'Nastavení hlasu' 100 || { echo "FAIL: no voice dialog"; exit 1; }
sleep 1.5
key Tab 0.7; key Tab 0.7; key Tab 0.7; key Tab 0.7; key Tab 0.7
key Escape 1

step about
xdotool windowfocus --sync "$main"
key F10 0.5; key Left 0.5; key Down 0.5; key Return
wait_visible '^O programu$' 100 || { echo "FAIL: no About box"; exit 1; }
sleep 2
key Return 0.5
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
run_under_xvfb dbus-run-session -- "$support"/accessibility_bus.sh ./play.sh || fail "the run under Xvfb failed"
[ -f speech.log ] || fail "nothing was spoken"
# The log between the marks of a step and the next.
between() {
    local from to
    from=$(grep -A1 "^== $1\$" steps.txt | tail -n 1)
    to=$(grep -A1 "^== $2\$" steps.txt | tail -n 1)
    sed -n "$((from + 1)),${to}p" speech.log
}
# Said: the step's log holds the line, exactly.
said() { between "$1" "$2" | grep -qxF "queued: $3"; }

# Access-key marks: a single "&" anywhere is a mark spoken aloud.
grep '^queued: ' speech.log | sed 's/&&//g' | grep -F '&' && fail "a line was spoken with its access-key mark"
between menu end >/dev/null
said menu end 'Program, nabídka' || fail "the menu bar's Program was not spoken"
said menu end 'Spustit, Ctrl+S' || fail "the item Start with its shortcut was not spoken"
# Each move cuts the one before, from the first key: no voice has been
# picked yet, and the stop must reach the engine all the same.
[ "$(between menu end | grep -c '^stop')" -ge 3 ] || fail "the menu moves did not stop the speech before them"

if [ "$mode" = stand-in ]; then
    [ "$(grep -cxF 'queued: Systémová hlasová služba nemůže mluvit, místo ní mluví vestavěný hlas.' speech.log)" = 1 ] ||
        fail "the embedded voice did not say once that it stands in"
    said menu end 'Braillská klávesnice, Ctrl+B, nezaškrtnuto' ||
        fail "the checkable Braille keyboard item was not spoken with its state"
    echo "the embedded voice stood in for the system service: $(grep -c '^queued:' speech.log) lines"
    exit 0
fi

grep -A3 -x 'queued: Speech Dispatcher cannot be reached: .*' speech.log | grep -qx 'queued: OK, tlačítko' ||
    fail "the start-up error's box was not spoken, text then button"
said menu modes 'Braillská klávesnice, Ctrl+B, nezaškrtnuto' ||
    fail "the checkable Braille keyboard item was not spoken with its state"
between menu modes | grep ', nabídka$' | grep -qv '^queued: \(Program\|Nastavení\|Nápověda\|Režim řeči\), nabídka$' &&
    fail "a menu item was spoken as a menu"

# The Speech mode items: one line for each move, and each move a new item.
said modes modes-down 'Automaticky, zaškrtnuto' || fail "the Speech mode submenu did not open on its first item"
[ "$(between modes-down modes-end | grep -c '^queued: ')" = 3 ] ||
    fail "three moves in the Speech mode submenu were not three lines"
between modes-down modes-end | grep '^queued: ' | uniq -d | grep -q . && fail "a Speech mode item was said twice"
for item in 'Vlastní hlas, nezaškrtnuto' 'Čtečka obrazovky, nezaškrtnuto' 'Automaticky, zaškrtnuto'; do
    said modes-down modes-end "$item" || fail "the Speech mode item \"$item\" was not said"
done

# Each dialog opens with its name, then its first control's group, label,
# role and state.
said environment english 'Nastavení prostředí, dialog' || fail "the environment dialog did not say its name"
said environment english 'jazyk, skupina' || fail "the environment dialog did not name the group"
said environment english 'Čeština, přepínač, zaškrtnuto' || fail "the first radio button was not said with role and state"
# The dialog relabels itself in the language chosen, and says its words in it.
said english message 'English, radio button, checked' || fail "the chosen language was not said in it"
said english message 'OK, button' || fail "the environment dialog's OK was not said"
between message sound | grep -A1 -x 'queued: Your changes will be applied after you restart the program.' |
    tail -n 1 | grep -qx 'queued: OK, button' || fail "the message box was not spoken, text then button"
# The other windows keep the language they show until a restart, words too.
said sound voice 'Nastavení zvuků, dialog' || fail "the sound dialog did not say its name"
said sound voice 'Povolit hlas, zaškrtávací políčko, zaškrtnuto' || fail "the sound dialog's first control was not said"
said sound voice 'Zvuky Orbely, zaškrtávací políčko, zaškrtnuto' || fail "the sounds check box was not said"
between sound voice | grep -q '^queued: Hlasitost zvuků, posuvník, [0-9]*$' || fail "the volume slider was not said with its role"
said voice about 'Nastavení hlasu, dialog' || fail "the voice dialog did not say its name"
between voice about | grep -q '^queued: Hlasy, seznam, .' || fail "the voice list was not said with its label and role"
between voice about | grep -q '^queued: Rychlost, posuvník, [0-9]*$' || fail "the speed slider was not said with its role"
said voice about 'Zvolit hlas, tlačítko' || fail "the choose button was not said"
between sound about | grep -q '^queued: .*, \(checked\|not checked\|button\|slider\|list\)$' &&
    fail "a dialog labelled in Czech was said with English words"
# About reads its text.
said about switch 'O programu, dialog' || fail "the About box did not say its name"
said about switch 'Překladač Orbela Basicu' || fail "the About box did not read the product name"
between about switch | grep -q '^queued: verze [0-9.]*$' || fail "the About box did not read its version"
between about switch | grep -q '^queued: License GPL' || fail "the About box did not read its licence"
said about switch 'Ok, tlačítko' || fail "the About box's button was not said"
between switch end | grep -q '^queued: Speech mode' && fail "the switch alone, without a screen reader, changed the speech mode"
echo "every window named, its text and controls read: $(grep -c '^queued:' speech.log) lines"
