# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the braille display's scripts inside their runs (sourced, with
# $program the pid of the program started and fail() defined), and for
# their reports after a run.

# Waits up to $2 tenths of a second for command $1 to succeed.
wait_for() {
    local i
    for ((i = 0; i < $2; i++)); do
        eval "$1" && return 0
        sleep 0.1
    done
    return 1
}

# Sets $main to the main window's id, waiting up to $1 tenths of a second
# and answering the start-up message about the unreachable speech service.
find_main_window() {
    local i box
    main=""
    for ((i = 0; i < $1; i++)); do
        main=$(xdotool search --onlyvisible --name ' - ' 2>/dev/null | head -n 1)
        [ -n "$main" ] && return 0
        box=$(xdotool search --onlyvisible --name '^orbela$' 2>/dev/null | head -n 1)
        if [ -n "$box" ]; then
            xdotool windowfocus --sync "$box"
            xdotool key Return
            sleep 0.3
        fi
        kill -0 "$program" 2>/dev/null || fail "the program ended at start"
        sleep 0.1
    done
    return 1
}

# A BrlAPI socket number no other server uses, for the program and BRLTTY;
# the display on the far side of BRLTTY's virtual driver ($display), its
# key commands written to descriptor 3.
start_display() {
    for ((api = 60; api < 200; api++)); do
        [ -e /var/lib/BrlAPI/$api ] || break
    done
    export BRLAPI_HOST=:$api BRLAPI_AUTH=none
    mkfifo keys
    ./vr_display "$PWD/vr.sock" <keys >display.log 2>display.err &
    display=$!
    exec 3>keys
}

# BRLTTY ($1) in client mode for that display, no screen driver ($brltty_pid).
start_brltty() {
    "$1" -n -b vr -d "client:$PWD/vr.sock" -x no -s no -A "auth=none,host=:$api" -f /dev/null \
        -l info,server 2>>brltty.err >/dev/null &
    brltty_pid=$!
}

# The display's latest text.
last_visual() { grep '^Visual ' display.log | tail -n 1 | sed 's/^Visual "//; s/"$//'; }
visual_starts() { case "$(last_visual)" in "$1"*) return 0 ;; *) return 1 ;; esac; }

# After a failed run, in its folder: what was shown, the failure ($1), the
# display's last lines, the program's errors and BRLTTY's server log.
print_failed_run() {
    cat shown.txt 2>/dev/null || true
    echo "FAIL: $1"
    echo "--- display (last lines)"; grep '^Visual' display.log 2>/dev/null | tail -n 15 || true
    echo "--- stderr of the program"; tail -n 10 err.txt 2>/dev/null || true
    echo "--- stderr of brltty"; grep 'server:' brltty.err 2>/dev/null | grep -v 'Write\|wrote\|charset' | tail -n 20 || true
}
