#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# By hand: the tests beside Orca, each start order, $2 times in a row
# (default 10); stops at the first failure and says how many passed. The
# third kind, "bare", is Orca before the program on an accessibility bus
# whose launcher has no screen-reader switch at all.
# Usage: tests/speech/qt/orca_runs_in_a_row.sh BUILD_DIR/bin [RUNS]
set -uo pipefail
program_dir=$1
runs=${2:-10}
here=$(dirname "$0")
for kind in before after bare; do
    order=$kind bus=
    [ "$kind" = bare ] && order=before bus=bare
    for ((i = 1; i <= runs; i++)); do
        if ! A11Y_BUS=$bus ORCA_START=$order LC_ALL=C.UTF-8 "$here"/xvfb_orca.sh "$program_dir" auto >/tmp/orca_run_$$.log 2>&1; then
            echo "$kind: run $i failed after $((i - 1)) passing runs:"
            tail -30 /tmp/orca_run_$$.log
            rm -f /tmp/orca_run_$$.log
            exit 1
        fi
        echo "$kind: run $i passed: $(grep -m1 '^mode' /tmp/orca_run_$$.log)"
    done
done
rm -f /tmp/orca_run_$$.log
echo "all $((3 * runs)) runs passed"
