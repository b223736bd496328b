#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Typing with the embedded voice on, in the real window under Xvfb: the
# fastest rate of real X keys that reach the data-entry field in order.
# Run: bench/keyboard/typing_x11.sh build/bin
set -euo pipefail
. "$(dirname "$0")/../../tests/support/xvfb_program.sh"
run_under_xvfb python3 "$(dirname "$0")/typing_x11.py" "${1:-build/bin}"
