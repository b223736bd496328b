# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the scripts that drive the desktop program in a real window
# under Xvfb; sourced, not run.

# Exits 77 (skipped) when a tool the scripts need is missing.
require_xvfb_tools() {
    local tool
    for tool in xvfb-run xdotool; do
        if ! command -v "$tool" >/dev/null; then
            echo "SKIP: $tool is not installed"
            exit 77
        fi
    done
}

# Copies the program and its data files (not the test programs built beside
# them) from $1 into a new temporary folder, removed at exit, without
# ram.dat or settings; sets $work to it.
copy_program_folder() {
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    find "$1" -maxdepth 1 -type f ! -name '*_tests' -exec cp {} "$work"/ \;
    rm -f "$work"/ram.dat "$work"/*.ini
}
