#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Benchmark, not a test: the CPU the desktop program uses while nothing
# happens. Starts it from a copy of its folder in a real window under Xvfb,
# with the embedded voice on OpenAL's null output (ALSOFT_DRIVERS, unless
# set), lets it settle, and reports the share of one core its process used
# over 10 s, with its voluntary context switches per second (wake-ups).
#
#   bench/idle/idle_cpu.sh build/bin [SECONDS]
set -euo pipefail
program_dir=$1
seconds=${2:-10}

. "$(dirname "$0")/../../tests/support/xvfb_program.sh"
require_xvfb_tools
copy_program_folder "$program_dir"
echo "$seconds" >"$work"/seconds.txt

cat >"$work"/measure.sh <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
export QT_QPA_PLATFORM=xcb ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
./orbela >out.txt 2>err.txt &
program=$!
seconds=$(cat seconds.txt)
for ((i = 0; i < 300; i++)); do
    xdotool search --onlyvisible --name ' - ' >/dev/null 2>&1 && break
    sleep 0.1
done
sleep 5
ticks() { awk '{ print $14 + $15 }' "/proc/$program/stat"; }
switches() { awk '/^voluntary_ctxt_switches/ { s += $2 } END { print s }' /proc/"$program"/task/*/status; }
hz=$(getconf CLK_TCK)
t0=$(ticks); s0=$(switches)
sleep "$seconds"
t1=$(ticks); s1=$(switches)
awk -v t=$((t1 - t0)) -v hz="$hz" -v s=$((s1 - s0)) -v d="$seconds" \
    'BEGIN { printf "idle over %d s: %.2f %% of a core, %.0f wake-ups per second\n", d, 100 * t / hz / d, s / d }'
kill "$program"
wait "$program" 2>/dev/null
INNER
chmod +x "$work"/measure.sh
cd "$work"
run_under_xvfb ./measure.sh
