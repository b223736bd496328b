# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the scripts that drive the desktop program in a real window
# under Xvfb; sourced, not run.

# Exits 77 (skipped) when a tool the scripts need is missing.
require_xvfb_tools() {
    local tool
    for tool in Xvfb xdotool; do
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

# Runs "$@" with DISPLAY on an Xvfb server of its own and returns its status.
# Xvfb claims a free display number itself (-displayfd), where xvfb-run -a
# scans /tmp for one and can race a server of the same number going away.
# -noreset: by default the server resets when its last client leaves, and a
# window connecting just as a short-lived xdotool leaves is refused.
run_under_xvfb() {
    local dir display="" xvfb status=0 i
    dir=$(mktemp -d)
    : >"$dir/display"
    Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
    xvfb=$!
    # The number is written, with a newline, once the server accepts clients.
    for ((i = 0; i < 300; i++)); do
        if [ "$(wc -l <"$dir/display")" -ge 1 ]; then
            display=$(head -n 1 "$dir/display")
            break
        fi
        kill -0 "$xvfb" 2>/dev/null || break
        sleep 0.1
    done
    if [ -z "$display" ]; then
        echo "Xvfb did not start:" >&2
        cat "$dir/xvfb.log" >&2
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
        rm -rf "$dir"
        return 1
    fi
    env -u XAUTHORITY DISPLAY=":$display" "$@" || status=$?
    if ! kill -0 "$xvfb" 2>/dev/null; then
        echo "Xvfb ended before the run did:" >&2
        cat "$dir/xvfb.log" >&2
    elif [ "$status" -ne 0 ] && [ -s "$dir/xvfb.log" ]; then
        echo "--- Xvfb's log" >&2
        cat "$dir/xvfb.log" >&2
    fi
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    rm -rf "$dir"
    return "$status"
}
