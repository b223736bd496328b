#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Benchmark, not a test: what joining the accessibility bus at every start
# costs. The desktop program starts five times in a D-Bus session with the
# accessibility bus running (it joins it, as always), and five times with no
# session bus (nothing to join); for each: start-up to the idle main window
# (ORBELA_STARTUP_PROBE), the share of a core used over 10 idle seconds and
# the resident memory after them. Prints the medians of both.
#
#   bench/shell/accessibility_cost.sh build/bin
set -euo pipefail
program_dir=$(realpath "${1:-$(dirname "$0")/../../build/bin}")
. "$(dirname "$0")/../../tests/support/xvfb_program.sh"
require_xvfb_tools
copy_program_folder "$program_dir"

cat >"$work"/measure.sh <<'INNER'
#!/usr/bin/env bash
# One start: prints "startup_ms idle_percent rss_kib".
set -euo pipefail
export QT_QPA_PLATFORM=xcb ALSOFT_DRIVERS=null
rm -f orbela.ini ram.dat
: >probe.txt
start=$(date +%s.%N)
ORBELA_STARTUP_PROBE=1 ./orbela 2>>probe.txt >/dev/null &
program=$!
idle=""
for ((i = 0; i < 500; i++)); do
    idle=$(sed -n 's/^orbela-startup-idle //p' probe.txt)
    [ -n "$idle" ] && break
    sleep 0.02
done
sleep 3
ticks() { awk '{ print $14 + $15 }' "/proc/$program/stat"; }
t0=$(ticks)
sleep 10
t1=$(ticks)
rss=$(awk '/^VmRSS/ { print $2 }' /proc/"$program"/status)
kill "$program"
wait "$program" 2>/dev/null || true
awk -v s="$start" -v i="$idle" -v t=$((t1 - t0)) -v hz="$(getconf CLK_TCK)" -v r="$rss" \
    'BEGIN { printf "%.0f %.2f %d\n", (i - s) * 1000, 100 * t / hz / 10, r }'
INNER
cat >"$work"/with_bus.sh <<'INNER'
#!/usr/bin/env bash
set -euo pipefail
export HOME=$PWD/home XDG_RUNTIME_DIR=$PWD/run
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
launcher=$!
sleep 1
./measure.sh
kill "$launcher"
INNER
chmod +x "$work"/measure.sh "$work"/with_bus.sh
cd "$work"
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
for run in 1 2 3 4 5; do
    run_under_xvfb dbus-run-session -- ./with_bus.sh >>joined.txt
    run_under_xvfb env -u DBUS_SESSION_BUS_ADDRESS ./measure.sh >>alone.txt
done
for case in joined alone; do
    printf '%-7s start-up %s ms, idle %s %% of a core, memory %s KiB\n' "$case" \
        "$(cut -d' ' -f1 $case.txt | median)" "$(cut -d' ' -f2 $case.txt | median)" "$(cut -d' ' -f3 $case.txt | median)"
done
