#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop program in a real window under Xvfb, speaking with the real
# embedded engine (espeak-ng through OpenAL Soft's null device, which plays
# in real time): Ctrl+S starts the game, and the speech log given with
# --speech-log must record the introduction's first line as a spoken wait
# once it has been said; the program is then ended. The system speech
# service is unreachable on purpose: its failure is reported once, in one
# message at start that the script answers, and the embedded engine speaks
# all the same. Exits 77 (skipped) when Xvfb or xdotool is
# missing.
set -euo pipefail
program_dir=$1

# shellcheck source=../../support/xvfb_program.sh
. "$(dirname "$0")/../../support/xvfb_program.sh"
require_xvfb_tools

copy_program_folder "$program_dir"
printf '[voice]\nvoiceallowed=1\n' >"$work"/orbela.ini

cat >"$work"/play.sh <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
export QT_QPA_PLATFORM=xcb
export ALSOFT_DRIVERS=null
export SPEECHD_ADDRESS=unix_socket:$PWD/no-such-socket
./orbela --speech-log speech.log >out.txt 2>err.txt &
program=$!

main=""
messages=0
for ((i = 0; i < 300; i++)); do
    main=$(xdotool search --onlyvisible --name ' - ' 2>/dev/null | head -n 1)
    [ -n "$main" ] && break
    box=$(xdotool search --onlyvisible --name '^orbela$' 2>/dev/null | head -n 1)
    if [ -n "$box" ]; then
        messages=$((messages + 1))
        xdotool windowfocus --sync "$box"
        xdotool key Return
        sleep 0.3
    fi
    kill -0 "$program" 2>/dev/null || { echo "FAIL: the program ended at start"; exit 1; }
    sleep 0.1
done
[ -n "$main" ] || { echo "FAIL: the main window did not appear"; exit 1; }
echo "$messages" >messages.txt
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+s

# The first line is logged as it is handed to the engine; the second once
# the first has been spoken to its end.
for ((i = 0; i < 300; i++)); do
    [ -f speech.log ] && [ "$(grep -c '^wait: ' speech.log)" -ge 2 ] && break
    sleep 0.1
done

if kill -0 "$program" 2>/dev/null; then
    echo running >status.txt
    kill "$program"
fi
wait "$program" 2>/dev/null || true
exit 0
INNER
chmod +x "$work"/play.sh

cd "$work"
fail() {
    echo "FAIL: $*"
    echo "--- speech log"; cat speech.log 2>/dev/null || true
    echo "--- stderr of the program"; cat err.txt 2>/dev/null || true
    exit 1
}
run_under_xvfb ./play.sh || fail "the run under Xvfb failed"
[ "$(cat messages.txt)" = 1 ] || fail "$(cat messages.txt) messages at start instead of one"
[ "$(cat status.txt 2>/dev/null)" = "running" ] || fail "the program ended during the run"
[ -f speech.log ] || fail "no speech log"
# The start's message box is spoken before it (queued requests).
[ "$(grep -m 1 '^wait: ' speech.log)" = "wait: právě začíná fantastická česká textová hra kvaldor." ] ||
    fail "the first spoken line is not the introduction's first line"
[ "$(grep -c '^wait: ' speech.log)" -ge 2 ] || fail "the second line was not reached"
grep -q '^person=' orbela.ini || fail "Program/Start did not save the selected voice"
echo "the speech log holds the introduction: $(wc -l <speech.log) requests"
