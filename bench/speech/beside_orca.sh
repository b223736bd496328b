#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How much the program's voice and the screen reader's sound together, and
# whether the program's lines survive beside it: the Orca session of
# tests/speech/qt/xvfb_orca.sh, run once per case, each line of the result
# being one case's figures (seconds of both voices at once, from the two
# recorded sinks; program messages cancelled; overlap of the messages in
# speech-dispatcher's own begin/end events).
#
#   bench/speech/beside_orca.sh PROGRAM_DIR [BEFORE_PROGRAM_DIR]
#
# Cases: the program before the speech modes (if given), the program in
# self-voicing mode, and in automatic mode (Orca running: screen-reader
# mode) at the speech-dispatcher priorities important, message and text.
set -uo pipefail
program_dir=$1
before_dir=${2:-}
test_script=$(dirname "$0")/../../tests/speech/qt/xvfb_orca.sh
result=$(mktemp)
trap 'rm -f "$result"' EXIT
run() {
    echo "case: $1" >>"$result"
    "$test_script" "$2" "$3" "$result" "${4:-message}" >/dev/null 2>&1 || echo "  (the run failed)" >>"$result"
}
[ -n "$before_dir" ] && run "before the speech modes" "$before_dir" auto
run "self-voicing" "$program_dir" self
for priority in message important text; do
    run "screen-reader mode, priority $priority" "$program_dir" auto "$priority"
done
cat "$result"
