#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window as a native Wayland client under a headless sway, with keys
# from wtype (the virtual-keyboard protocol), as an unprivileged user: sway
# refuses to run as root, so as root the whole run is handed to "nobody".
#  1. With the embedded voice on OpenAL's null output, Ctrl+S starts the
#     game and "inventář", typed at 150 ms a key, reaches it (the inventory
#     is on the screen) with every key echoed by speech.
#  2. With the braille keyboard on, "inventář" typed in chords, the first
#     chord held 1.5 s (past the auto-repeat delay), lists the inventory:
#     the held chord typed one "i".
# Exits 77 (skipped) when sway, wtype or Qt's Wayland plugin is missing.
set -euo pipefail
program_dir=$1

for tool in sway wtype setpriv; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
    { echo "SKIP: Qt's Wayland plugin (qt6-wayland) is not installed"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
find "$program_dir" -maxdepth 1 -type f ! -name '*_tests' -exec cp {} "$work"/ \;
rm -f "$work"/ram.dat "$work"/*.ini
mkdir -p "$work/home" "$work/run"
chmod 0700 "$work/run"
cat >"$work/sway.conf" <<'CONF'
output HEADLESS-1 resolution 1024x768
CONF

cat >"$work/play.sh" <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
export HOME=$PWD/home XDG_RUNTIME_DIR=$PWD/run XDG_CONFIG_HOME=$PWD/home/.config
export WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman
unset DISPLAY WAYLAND_DISPLAY
sway -c sway.conf >sway.log 2>&1 &
sway=$!
trap 'kill $sway 2>/dev/null' EXIT
for ((i = 0; i < 100; i++)); do
    socket=$(cd run && ls wayland-* 2>/dev/null | grep -v lock | head -n 1)
    [ -n "$socket" ] && break
    sleep 0.1
done
[ -n "$socket" ] || { echo "FAIL: sway did not start"; cat sway.log; exit 1; }
export WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland ALSOFT_DRIVERS=null ORBELA_DIALOG_PROBE=1

# The first key after wtype connects can be lost: a Shift goes first.
keys() { wtype -k Shift_L -s 100 "$@"; }
shown() { grep -c '^orbela-dialog-shown' "$1"; }
wait_shown() { # COUNT LOG
    for ((i = 0; i < 1200; i++)); do
        [ "$(shown "$2")" -ge "$1" ] && return 0
        kill -0 "$program" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
wait_log() { # PATTERN FILE
    for ((i = 0; i < 300; i++)); do
        grep -q "$1" "$2" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}
end_program() {
    kill -TERM "$program" 2>/dev/null
    wait "$program" 2>/dev/null
}

# 1. Typed by ear.
printf '[voice]\nvoiceallowed=1\n[speech]\nmode=self\n' >orbela.ini
ORBELA_SCREEN_DUMP=$PWD/screen1.txt ./orbela --speech-log speech1.log >out1.txt 2>err1.txt &
program=$!
# The greeting is said once the window is up and focused.
wait_log '^queued: ' speech1.log || { echo "FAIL: the window did not come up"; exit 1; }
keys -M ctrl -k s -m ctrl
# Any key cuts the line being said: Shift, which types nothing, moves the
# introduction on, a few times a second as a player would.
shifts=()
for ((i = 0; i < 8; i++)); do shifts+=(-k Shift_L -s 300); done
for ((i = 0; i < 100; i++)); do
    [ "$(shown err1.txt)" -ge 1 ] && break
    kill -0 "$program" 2>/dev/null || break
    keys "${shifts[@]}"
done
wait_shown 1 err1.txt || { echo "FAIL: no data-entry dialog"; exit 1; }
sleep 0.5
before=$(grep -c '^character:' speech1.log)
keys -d 150 inventář -k Return
wait_shown 2 err1.txt || { echo "FAIL: the typed command got no answer"; exit 1; }
echo "echoed $(( $(grep -c '^character:' speech1.log) - before )) keys" >echo-count.txt
end_program

# 2. A held chord.
printf '[voice]\nvoiceallowed=0\n[keyboard]\nbraillekeys=1\n' >orbela.ini
ORBELA_SCREEN_DUMP=$PWD/screen2.txt ./orbela >out2.txt 2>err2.txt &
program=$!
for ((i = 0; i < 300; i++)); do
    [ -s err2.txt ] || [ "$(ls run/wayland-* 2>/dev/null | wc -l)" -gt 0 ] && break
    sleep 0.1
done
sleep 2
keys -M ctrl -k s -m ctrl
wait_shown 1 err2.txt || { echo "FAIL: no data-entry dialog with the braille keyboard"; exit 1; }
sleep 0.5
# i = dots 2 4 (D J), held; n = 1 3 4 5 (F S J K); v = 1 2 3 6 (F D S L);
# e = 1 5 (F K); t = 2 3 4 5 (D S J K); á = 1 6 (F L); ř = 2 4 5 6 (D J K L).
chord() { local k; for k in "$@"; do printf -- '-P %s -s 40 ' "$k"; done; printf -- '-s 120 '
          for k in "$@"; do printf -- '-p %s ' "$k"; done; printf -- '-s 150 '; }
# shellcheck disable=SC2046
keys -P d -s 40 -P j -s 1500 -p d -p j -s 150 \
    $(chord f s j k) $(chord f d s l) $(chord f k) $(chord f s j k) $(chord d s j k) $(chord f l) \
    $(chord d j k l) -k Return
wait_shown 2 err2.txt || { echo "FAIL: the chorded command got no answer"; exit 1; }
end_program
exit 0
INNER
chmod +x "$work/play.sh"

cd "$work"
fail() {
    echo "FAIL: $*"
    for file in screen1.txt screen2.txt; do echo "--- $file"; cat "$file" 2>/dev/null || true; done
    echo "--- speech"; tail -n 30 speech1.log 2>/dev/null || true
    echo "--- stderr"; tail -n 5 err1.txt err2.txt sway.log 2>/dev/null || true
    exit 1
}
status=0
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody:nogroup "$work"
    setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH=/usr/bin:/bin LC_ALL=C.UTF-8 \
        ./play.sh || status=$?
else
    env -i PATH=/usr/bin:/bin LC_ALL=C.UTF-8 ./play.sh || status=$?
fi
[ "$status" -eq 0 ] || fail "the run under sway failed"
grep -q 'neseš sebou: likvidátor peníze' screen1.txt || fail "the typed inventory command did not reach the game"
[ "$(grep -o '[0-9]*' echo-count.txt)" -ge 8 ] || fail "the typed keys were not echoed: $(cat echo-count.txt)"
grep -q 'neseš sebou: likvidátor peníze' screen2.txt ||
    fail "the chorded inventář (its first chord held) was not understood"
echo "under sway: typed and chorded commands reached the game; $(cat echo-count.txt)"
