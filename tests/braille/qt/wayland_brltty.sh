#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window as a native Wayland client under a headless sway beside a real
# BRLTTY (virtual braille driver, client mode, as in the X test), everything
# as an unprivileged user (sway refuses root). Wayland windows have no id
# BRLTTY knows: the program takes the session's terminal while its window
# has the focus.
#  - BRLTTY's log shows the program taking the session's terminal
#    (XDG_VTNR, 7 here), with no window id under it: under X the tty taken
#    is the window's id.
#  - F10 (typed with wtype) shows the menu bar's first item on the display.
#  - At the program's end the display is BRLTTY's again at its next key,
#    and BRLTTY does not say the program failed to give it back.
# Exits 77 (skipped) when sway, wtype, brltty or Qt's Wayland plugin is
# missing.
set -euo pipefail
program_dir=$1
vr_display=$2

for tool in sway wtype setpriv; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
brltty=$(command -v brltty || true)
[ -n "$brltty" ] || brltty=/usr/sbin/brltty
[ -x "$brltty" ] || { echo "SKIP: brltty is not installed"; exit 77; }
ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
    { echo "SKIP: Qt's Wayland plugin (qt6-wayland) is not installed"; exit 77; }

# shellcheck source=../../support/xvfb_program.sh
. "$(dirname "$0")/../../support/xvfb_program.sh"
copy_program_folder "$program_dir"
cp "$vr_display" "$work"/vr_display
cp "$(dirname "$0")/braille_play_helpers.sh" "$work"/
mkdir -p "$work/home" "$work/run"
chmod 0700 "$work/run"
printf 'output HEADLESS-1 resolution 1024x768\n' >"$work/sway.conf"
printf '[voice]\nvoiceallowed=0\n' >"$work/orbela.ini"

cat >"$work/play.sh" <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
brltty=$1
export HOME=$PWD/home XDG_RUNTIME_DIR=$PWD/run XDG_CONFIG_HOME=$PWD/home/.config
export WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman
unset DISPLAY WAYLAND_DISPLAY
program="" sway="" brltty_pid="" display=""
cleanup() {
    for pid in "$program" "$brltty_pid" "$sway"; do [ -n "$pid" ] && kill "$pid" 2>/dev/null; done
    exec 3>&-
    [ -n "$display" ] && kill "$display" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT
fail() { echo "$*" >failure.txt; exit 1; }
. ./braille_play_helpers.sh

start_display
start_brltty "$brltty"
wait_for 'grep -q "^Visual" display.log' 200 || fail "BRLTTY did not connect to the display"

sway -c sway.conf >sway.log 2>&1 &
sway=$!
wait_for 'ls run/wayland-* 2>/dev/null | grep -qv lock' 100 || fail "sway did not start"
export WAYLAND_DISPLAY=$(cd run && ls wayland-* | grep -v lock | head -n 1)
export QT_QPA_PLATFORM=wayland ALSOFT_DRIVERS=null

# The login session's virtual terminal, as logind sets it for a desktop.
XDG_VTNR=7 ./orbela >out.txt 2>err.txt &
program=$!
wait_for 'grep -q "taking control of tty" brltty.err' 300 || fail "the program did not take the display"
grep "taking control of tty" brltty.err | head -n 1 >taken.txt
# The first key after wtype connects can be lost: a Shift goes first. One
# connection for all the keys: sway takes the keyboard focus from the
# window when wtype's keyboard goes away, which closes the menu.
wtype -k Shift_L -s 300 -k F10 -s 1500 -k Down -s 1500 -k Escape -s 200 -k Escape -s 200 -k Escape &
keys=$!
shown_line() { grep -m 1 "^Visual \"$1" display.log | sed 's/^Visual //; s/ *"$/"/'; }
wait_for 'grep -q "^Visual \"Program " display.log' 50 || fail "F10 did not show the menu bar's item: '$(last_visual)'"
echo "F10: $(shown_line "Program ")" >shown.txt
wait_for 'grep -q "^Visual \"Spustit (Ctrl+S) " display.log' 50 || fail "the open menu's item is not shown: '$(last_visual)'"
echo "Down: $(shown_line "Spustit ")" >>shown.txt
wait "$keys"
kill -TERM "$program"
wait "$program" 2>/dev/null
program=""
echo LnUp >&3
wait_for 'visual_starts "no screen"' 50 || fail "the display was not given back at the end: '$(last_visual)'"
echo done >status.txt
INNER
chmod +x "$work/play.sh"

cd "$work"
. ./braille_play_helpers.sh
report() {
    print_failed_run "$*"
    echo "--- sway"; tail -n 5 sway.log 2>/dev/null || true
    exit 1
}
status=0
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody:nogroup "$work"
    setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH=/usr/bin:/bin:/usr/sbin LC_ALL=C.UTF-8 \
        ./play.sh "$brltty" || status=$?
else
    env -i PATH=/usr/bin:/bin:/usr/sbin LC_ALL=C.UTF-8 ./play.sh "$brltty" || status=$?
fi
[ "$status" -eq 0 ] || report "$(cat failure.txt 2>/dev/null || echo 'the run under sway failed')"
[ "$(cat status.txt 2>/dev/null)" = done ] || report "the run did not complete"
grep -q "taking control of tty 0x00000007 " taken.txt ||
    report "the program did not take the session's terminal: $(cat taken.txt)"
grep -q "did not give up control" brltty.err && report "BRLTTY says the program did not give the display back"
echo "BRLTTY: $(sed 's/^brltty: server: //' taken.txt)"
echo "shown:"; cat shown.txt
echo "under sway: the session's terminal taken, the menu shown, the display given back at the end"
