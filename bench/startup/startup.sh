#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time of the desktop program: from process start to the main
# window shown with the message loop idle, as the program itself reports it
# when ORBELA_STARTUP_PROBE is set. Ten runs in one Xvfb server, each from a
# fresh copy of the program's folder (first start: the configuration file
# is created); prints every run and the median in milliseconds. Sounds go
# to OpenAL's null output unless ALSOFT_DRIVERS says otherwise: without a
# sound card the start-up would stop at its message.
#
#   bench/startup/startup.sh [PROGRAM_DIR]   (default: build/bin)
set -euo pipefail
program_dir=$(realpath "${1:-$(dirname "$0")/../../build/bin}")
runs=10

. "$(dirname "$0")/../../tests/support/xvfb_program.sh"
command -v Xvfb >/dev/null || { echo "Xvfb is not installed" >&2; exit 1; }
[ -x "$program_dir/orbela" ] || { echo "no orbela in $program_dir" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work"/measure.sh <<'INNER'
#!/usr/bin/env bash
set -euo pipefail
program_dir=$1
runs=$2
export QT_QPA_PLATFORM=xcb ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
for ((run = 1; run <= runs; run++)); do
    folder=$(mktemp -d -p "$PWD")
    find "$program_dir" -maxdepth 1 -type f ! -name '*_tests' -exec cp {} "$folder"/ \;
    rm -f "$folder"/*.ini "$folder"/ram.dat
    cd "$folder"
    : >probe.txt
    start=$(date +%s.%N)
    ORBELA_STARTUP_PROBE=1 ./orbela 2>>probe.txt >/dev/null &
    program=$!
    idle=""
    for ((i = 0; i < 300; i++)); do
        idle=$(sed -n 's/^orbela-startup-idle //p' probe.txt)
        [ -n "$idle" ] && break
        sleep 0.02
    done
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    cd ..
    [ -n "$idle" ] || { echo "run $run: no start-up report" >&2; exit 1; }
    echo "$start $idle" | awk '{ printf "%.1f\n", ($2 - $1) * 1000 }'
done
INNER
chmod +x "$work"/measure.sh

cd "$work"
run_under_xvfb ./measure.sh "$program_dir" "$runs" >times.txt
echo "start-up to idle main window, $runs runs (ms):"
tr '\n' ' ' <times.txt
echo
sort -n times.txt | awk '{ t[NR] = $1 } END { m = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2; printf "median: %.1f ms\n", m }'
