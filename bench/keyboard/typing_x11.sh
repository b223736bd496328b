#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Typing with the embedded voice on, in the real window under Xvfb: the
# fastest rate of real X keys that reach the data-entry field in order.
# Run: bench/keyboard/typing_x11.sh build/bin
set -euo pipefail
exec xvfb-run -a -s "-screen 0 1024x768x24" python3 "$(dirname "$0")/typing_x11.py" "${1:-build/bin}"
