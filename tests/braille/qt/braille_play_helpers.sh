# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the braille display's Xvfb scripts inside their runs; sourced,
# with $program the pid of the program started and fail() defined.

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
