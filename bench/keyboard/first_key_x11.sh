#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The first key of a freshly started window, for one program folder or
# several measured in turn (a change's before and after).
# Run: bench/keyboard/first_key_x11.sh RUNS build/bin [BEFORE_DIR]
set -euo pipefail
. "$(dirname "$0")/../../tests/support/xvfb_program.sh"
runs=$1
shift
folders=()
for folder in "$@"; do folders+=("$(realpath "$folder")"); done
run_under_xvfb python3 "$(dirname "$0")/first_key_x11.py" "$runs" "${folders[@]}"
