#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# From a real X key to the first audible sample OpenAL Soft writes, with
# the embedded voice, in the real window under Xvfb.
# Run: bench/keyboard/key_to_sound_x11.sh build/bin [KEYS]
set -euo pipefail
. "$(dirname "$0")/../../tests/support/xvfb_program.sh"
run_under_xvfb python3 "$(dirname "$0")/key_to_sound_x11.py" "$(realpath "${1:-build/bin}")" "${2:-20}"
