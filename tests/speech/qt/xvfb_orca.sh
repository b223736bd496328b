#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program beside the real screen reader: Orca runs in a desktop session
# under Xvfb (accessibility bus, openbox, a private speech-dispatcher and
# PulseAudio with a silent sink per voice, both recorded). The program, in
# the speech mode given as $2 (default auto), starts the game with Ctrl+S
# and three commands are typed into the data-entry dialog at a person's
# pace. Then:
# - every line the game printed (the speech log's "wait" lines) is heard
#   exactly once: in speech-dispatcher's protocol log from the program, and
#   nowhere in what Orca said ("SPEECH OUTPUT" lines of its debug file);
# - the typed keys are named by Orca, once each, and never by the program;
# - no two voices sound at once: the seconds in which both sinks carry sound.
# With $3 the measured figures are appended there instead of being asserted
# (bench/speech_beside_orca.sh compares programs, modes and priorities with
# it); $4 sets the speech-dispatcher priority of the program's speech.
# Exits 77 (skipped) when a tool is missing.
set -euo pipefail
program_dir=$1
mode=${2:-auto}
measure_only=${3:-}
priority=${4:-message}

# shellcheck source=../../support/xvfb_program.sh
. "$(dirname "$0")/../../support/xvfb_program.sh"
require_xvfb_tools
for tool in orca openbox pulseaudio parec dbus-run-session gdbus speech-dispatcher python3; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "SKIP: at-spi-bus-launcher is not installed"; exit 77; }

copy_program_folder "$program_dir"
[ -n "${ORBELA_KEEP_WORK:-}" ] && { trap - EXIT; echo "work folder: $work"; }
printf '[voice]\nvoiceallowed=1\n[speech]\nmode=%s\npriority=%s\n' "$mode" "$priority" >"$work"/orbela.ini
# A slow voice (the embedded one) needs longer for the introduction.
patience=900
[ -n "$measure_only" ] && patience=3000
export patience
cp "$(dirname "$0")"/../../support/orca_session.sh "$work"/
printf 'polož peníze\nv\ns\n' >"$work"/commands.txt

cat >"$work"/play.sh <<'INNER'
#!/usr/bin/env bash
# Inside the X server and the D-Bus session.
set -uo pipefail
. ./orca_session.sh
trap stop_session EXIT
start_session "$PWD/session" || exit 1
start_orca || exit 1
record_voices

export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export ORBELA_DIALOG_PROBE=1
# The embedded voice and the sounds play into their own sink.
export ALSOFT_DRIVERS=pulse PULSE_SINK=program
./orbela --speech-log speech.log >out.txt 2>err.txt &
program=$!
session_pids+=($program)

visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
wait_until '[ -n "$(visible " - ")" ]' 300 || { echo "FAIL: the main window did not appear"; exit 1; }
main=$(visible ' - ')
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
sleep 2
xdotool key --clearmodifiers ctrl+s

count=0
while IFS= read -r command; do
    count=$((count + 1))
    wait_until "[ \$(grep -c '^orbela-dialog-shown' err.txt) -ge $count ]" "$patience" ||
        { echo "FAIL: no data-entry dialog for command $count"; exit 1; }
    # The game's lines before the prompt are spoken to their end before the
    # dialog opens; Orca then reads the dialog. A person listens first.
    sleep 4
    # One key at a time, held as a person holds it.
    while IFS= read -r -n1 character; do
        key=$character
        [ "$character" = " " ] && key=space
        [ -z "$character" ] && continue
        case "$character" in
        ž) xdotool key zcaron ;;
        í) xdotool key iacute ;;
        *) xdotool key "$key" ;;
        esac
        sleep 0.6
    done <<<"$command"
    xdotool key Return
done <commands.txt
# The answer to the last command, spoken to its end.
wait_until "[ \$(grep -c '^orbela-dialog-shown' err.txt) -gt $count ]" "$patience" ||
    { echo "FAIL: no answer to the last command"; exit 1; }
sleep 4
kill -0 "$program" 2>/dev/null && echo running >status.txt
exit 0
INNER
chmod +x "$work"/play.sh

cd "$work"
fail() {
    echo "FAIL: $*"
    echo "--- speech log"; cat speech.log 2>/dev/null || true
    echo "--- Orca said"; grep 'SPEECH OUTPUT' session/orca.debug 2>/dev/null | tail -40 || true
    echo "--- stderr of the program"; tail -20 err.txt 2>/dev/null || true
    exit 1
}
# The session's settings (the screen reader switch among them, kept by
# dconf) live in the test's folder, not in the user's.
export HOME=$work/session/home XDG_CONFIG_HOME=$work/session/home/.config
mkdir -p "$XDG_CONFIG_HOME"
run_under_xvfb timeout $((patience / 10 * 3 + 120)) dbus-run-session -- ./play.sh ||
    fail "the run in the desktop session failed"
[ "$(cat status.txt 2>/dev/null)" = running ] || fail "the program ended during the run"

python3 - "$mode" "$measure_only" <<'PY' || fail "see above"
import re, struct, sys

mode, measure_only = sys.argv[1], sys.argv[2]

def frames(path, ms=20):
    # True for each 20 ms frame that carries sound.
    data = open(path, 'rb').read()
    n = 16000 * ms // 1000
    out = []
    for i in range(0, len(data) // 2 - n, n):
        samples = struct.unpack_from('<%dh' % n, data, i * 2)
        out.append(max(abs(s) for s in samples) > 600)
    return out

reader, program = frames('session/screenreader.raw'), frames('session/program.raw')
length = min(len(reader), len(program))
both = sum(1 for i in range(length) if reader[i] and program[i]) * 0.02
program_time = sum(program[:length]) * 0.02
reader_time = sum(reader[:length]) * 0.02

said = [m.group(1) for m in re.finditer(r"SPEECH OUTPUT: '(.*)'\s*\{'established'", open('session/orca.debug', errors='replace').read())]
# The field's description offers the prompt again on purpose, labelled.
said = [s for s in said if not s.startswith(('Naposledy vypsáno:', 'Last printed:'))]
log = open('speech.log', encoding='utf-8').read().splitlines()
printed = [l[len('wait: '):] for l in log if l.startswith('wait: ')]
echoes = [l for l in log if l.startswith('character:')]

# speech-dispatcher's protocol: each client's texts (DATA lines) and the
# begin (701), end (702) and cancel (703) of each of its messages, timed.
protocol = open('session/protocol.log', errors='replace').read().splitlines()
entry = re.compile(r'^\[\w+ \w+ +\d+ (\d+):(\d+):(\d+) \d+ : +(\d+)\] speechd: +(\d+):(DATA|REPLY):\|(.*)$')
program_fd = None
texts, events = {}, []
for line in protocol:
    m = entry.match(line)
    if not m:
        continue
    h, mi, se, us, fd, kind, rest = m.groups()
    t = int(h) * 3600 + int(mi) * 60 + int(se) + int(us) / 1e6
    if kind == 'DATA' and 'CLIENT_NAME' in rest and ':orbela:' in rest:
        program_fd = fd
    if kind == 'DATA':
        texts.setdefault(fd, []).append(rest)
    ev = re.match(r'(70[123])-(\d+)$', rest)
    if kind == 'REPLY' and ev:
        events.append((t, fd, ev.group(1), ev.group(2)))
intervals = {}
for t, fd, code, message in events:
    key = (fd, message)
    if code == '701':
        intervals[key] = [t, None, None]
    elif key in intervals and intervals[key][1] is None:
        intervals[key][1], intervals[key][2] = t, code
program_intervals = [(v[0], v[1]) for k, v in intervals.items() if k[0] == program_fd and v[1]]
other_intervals = [(v[0], v[1]) for k, v in intervals.items() if k[0] != program_fd and v[1]]
overlaps = sum(max(0.0, min(a1, b1) - max(a0, b0)) for a0, a1 in program_intervals for b0, b1 in other_intervals)
cancelled = sum(1 for k, v in intervals.items() if k[0] == program_fd and v[2] == '703')

def norm(t):
    return ' '.join(t.split()).lower()

lines = [p for p in printed if p.strip()]
counts = {}
for p in lines:
    heard_program = sum(1 for t in texts.get(program_fd, []) if t == p) if mode != 'self' else 1
    heard_orca = sum(1 for s in said if norm(p) in norm(s))
    counts[p] = (heard_program, heard_orca)

report = ("mode %s: %d printed lines, program voice %.1f s, screen reader %.1f s, both at once %.1f s, "
          "program key echoes %d, Orca utterances %d, program messages through speech-dispatcher %d "
          "(cancelled %d), overlapping with other clients' %.1f s"
          % (mode, len(lines), program_time, reader_time, both, len(echoes), len(said), len(program_intervals),
             cancelled, overlaps))
print(report)
if measure_only:
    open(measure_only, 'a').write(report + '\n')
    sys.exit(0)

errors = []
if len(lines) < 8:
    errors.append('only %d printed lines were spoken' % len(lines))
if len(set(lines)) != len(lines):
    errors.append('the program handed a printed line to speech twice')
for p, (program_count, orca_count) in counts.items():
    if program_count + orca_count != 1:
        errors.append('heard %d times (program %d, Orca %d): %s' % (program_count + orca_count, program_count, orca_count, p))
if echoes:
    errors.append('the program echoed %d keys' % len(echoes))
for key in ['v', 's']:
    named = sum(1 for s in said if norm(s) == key)
    if named != 1:
        errors.append('Orca named the typed key %s %d times' % (key, named))
if both > 0.2:
    errors.append('both voices sounded together for %.1f s' % both)
if overlaps > 0.05:
    errors.append("the program's messages overlapped the reader's for %.1f s" % overlaps)
if cancelled:
    errors.append("%d of the program's messages were cancelled" % cancelled)
for e in errors:
    print('FAIL:', e)
sys.exit(1 if errors else 0)
PY
echo "the program and Orca each said their part once"
