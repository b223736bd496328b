#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up of the desktop program against a bare Qt window with one text
# field (bare_qt_window, built beside it): from process start to the main
# window shown with the message loop idle, as each reports it when
# ORBELA_STARTUP_PROBE is set, and the memory each holds 2 s later (PSS and
# RSS from /proc/PID/smaps_rollup, once what the program defers is done).
# Runs alternate, program then bare window, in one Xvfb server; each program
# run starts from a fresh copy of its folder (first start: the settings file
# is created, the voice allowed). Prints the medians, the ranges and the
# ratios, with the machine's load before and after.
# Sounds go to OpenAL's null output unless ALSOFT_DRIVERS says otherwise;
# the system speech service is a private speech-dispatcher, reachable as on
# a desktop (the program connects to it at start), unless SPEECHD_ADDRESS
# names another. Both run on a session bus of their own, as a desktop has
# one (the accessibility bus is started through it), unless one is given.
# The program's own steps (its "orbela-startup-step" lines) are listed too,
# each as its median time from the process start, and the bare window's.
#
# A second program folder, BEFORE_DIR, is measured in the same rounds, for
# a change's before and after.
#
#   bench/startup/startup.sh [PROGRAM_DIR [RUNS [BEFORE_DIR]]]
#   (default: build/bin 15)
set -euo pipefail
program_dir=$(realpath "${1:-$(dirname "$0")/../../build/bin}")
runs=${2:-15}
before_dir=${3:+$(realpath "$3")}

. "$(dirname "$0")/../../tests/support/xvfb_program.sh"
require_xvfb_tools
[ -x "$program_dir/orbela" ] || { echo "no orbela in $program_dir" >&2; exit 1; }
[ -x "$program_dir/bare_qt_window" ] || { echo "no bare_qt_window in $program_dir" >&2; exit 1; }

work=$(mktemp -d)
speechd=""
trap '[ -z "$speechd" ] || kill "$speechd" 2>/dev/null; rm -rf "$work"' EXIT
if [ -z "${SPEECHD_ADDRESS:-}" ]; then
    cp -r /etc/speech-dispatcher "$work"/speechd
    printf '\nAudioOutputMethod "alsa"\nAudioALSADevice "null"\nDefaultModule espeak-ng\n' >>"$work"/speechd/speechd.conf
    speech-dispatcher -s -c unix_socket -S "$work"/speechd.sock -C "$work"/speechd -t 600 -P "$work"/speechd.pid \
        >"$work"/speechd.log 2>&1 &
    speechd=$!
    for ((i = 0; i < 100; i++)); do [ -S "$work"/speechd.sock ] && break; sleep 0.1; done
    export SPEECHD_ADDRESS=unix_socket:$work/speechd.sock
fi

cat >"$work"/measure.sh <<'INNER'
#!/usr/bin/env bash
set -euo pipefail
program_dir=$1
runs=$2
before_dir=${3:-}
export QT_QPA_PLATFORM=xcb ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
# One start: prints "milliseconds PSS-KiB RSS-KiB"; the probe's lines go to
# probe.txt in the folder it ran in.
start_one() {
    local start program idle i
    : >probe.txt
    start=$(date +%s.%N)
    ORBELA_STARTUP_PROBE=1 "$@" 2>>probe.txt >/dev/null &
    program=$!
    idle=""
    for ((i = 0; i < 500; i++)); do
        idle=$(sed -n 's/^orbela-startup-idle //p' probe.txt)
        [ -n "$idle" ] && break
        sleep 0.02
    done
    [ -n "$idle" ] || { echo "no start-up report from $1" >&2; kill "$program"; exit 1; }
    sleep 2
    memory=$(awk '/^Rss:/ { r = $2 } /^Pss:/ { p = $2 } END { print p, r }' /proc/"$program"/smaps_rollup)
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    echo "$start $idle $memory" | awk '{ printf "%.1f %d %d\n", ($2 - $1) * 1000, $3, $4 }'
    sed -n "s/^orbela-startup-step //p" probe.txt | awk -v s="$start" '{ printf "%s %.1f\n", $1, ($2 - s) * 1000 }' >>../"$steps"
}
# The program from a fresh copy of folder $1, its figures added to $2.
start_program() {
    local folder
    folder=$(mktemp -d -p "$PWD")
    find "$1" -maxdepth 1 -type f ! -name '*_tests' -exec cp {} "$folder"/ \;
    rm -f "$folder"/*.ini "$folder"/ram.dat
    (cd "$folder" && steps=${2%.txt}-steps.txt start_one ./orbela) >>"$2"
    rm -rf "$folder"
}
for ((run = 1; run <= runs; run++)); do
    start_program "$program_dir" program.txt
    [ -z "$before_dir" ] || start_program "$before_dir" before.txt
    mkdir -p bare
    (cd bare && steps=bare-steps.txt start_one "$program_dir"/bare_qt_window) >>bare.txt
done
INNER
chmod +x "$work"/measure.sh

cd "$work"
echo "load before: $(uptime)"
if [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
    run_under_xvfb ./measure.sh "$program_dir" "$runs" "$before_dir"
else
    run_under_xvfb dbus-run-session -- ./measure.sh "$program_dir" "$runs" "$before_dir" 2> >(grep -v '^dbus-daemon' >&2)
fi
echo "load after:  $(uptime)"
# Median and range of column $2 of file $1.
summary() {
    sort -n -k"$2" "$1" | awk -v c="$2" '{ v[NR] = $c }
        END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%s %s %s\n", m, v[1], v[NR] }'
}
report() {
    local name=$1 file=$2 what=$3 column=$4 unit=$5 p b
    p=$(summary "$file" "$column")
    b=$(summary bare.txt "$column")
    echo "$p $b" | awk -v n="$name" -v w="$what" -v u="$unit" '{
        printf "%-7s %-17s %8.1f %s (%.1f-%.1f), bare Qt %8.1f %s (%.1f-%.1f), ratio %.2f\n",
               n, w, $1, u, $2, $3, $4, u, $5, $6, $1 / $4 }'
}
steps() {
    [ -s "$1" ] || return 0
    echo "$2's steps, median ms from process start:"
    awk '{ print $1 }' "$1" | awk '!seen[$0]++' | while read -r step; do
        awk -v s="$step" '$1 == s { print $2 }' "$1" | sort -n |
            awk -v s="$step" '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "  %-20s %7.1f\n", s, m }'
    done
}
echo "$runs runs each, interleaved; medians (ranges):"
for name in program before; do
    [ -s $name.txt ] || continue
    report $name $name.txt "start-up to idle" 1 ms
    report $name $name.txt "PSS" 2 KiB
    report $name $name.txt "RSS" 3 KiB
done
steps program-steps.txt program
steps before-steps.txt before
steps bare-steps.txt "bare Qt window"
