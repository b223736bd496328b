#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# By hand: the tests beside Orca, each start order, $2 times in a row
# (default 10); stops at the first failure and says how many passed.
# Usage: tests/speech/qt/orca_runs_in_a_row.sh BUILD_DIR/bin [RUNS]
set -uo pipefail
program_dir=$1
runs=${2:-10}
here=$(dirname "$0")
for order in before after; do
    for ((i = 1; i <= runs; i++)); do
        if ! ORCA_START=$order LC_ALL=C.UTF-8 "$here"/xvfb_orca.sh "$program_dir" auto >/tmp/orca_run_$$.log 2>&1; then
            echo "$order: run $i failed after $((i - 1)) passing runs:"
            tail -30 /tmp/orca_run_$$.log
            rm -f /tmp/orca_run_$$.log
            exit 1
        fi
        echo "$order: run $i passed: $(grep -m1 '^mode' /tmp/orca_run_$$.log)"
    done
done
rm -f /tmp/orca_run_$$.log
echo "all $((2 * runs)) runs passed"
