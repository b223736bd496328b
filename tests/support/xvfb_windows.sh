# SPDX-License-Identifier: GPL-3.0-or-later
# Finding the program's windows on the X display; sourced, not run, by the
# scripts that drive the desktop program under Xvfb.

# The id of a visible window whose name matches $1, or nothing.
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }

# Waits up to $2 tenths of a second for a visible window named $1 and sets
# $id to it; gives up at once when the program ($program, once set) has
# ended. With ANSWER_BOX set, a message box of the program (named "orbela")
# in the way is answered with Return after ANSWER_BOX seconds: the start
# reports an unreachable speech service so.
wait_visible() {
    local i box
    for ((i = 0; i < $2; i++)); do
        id=$(visible "$1")
        [ -n "$id" ] && return 0
        if [ -n "${ANSWER_BOX:-}" ]; then
            box=$(visible '^orbela$')
            [ -n "$box" ] && { sleep "$ANSWER_BOX"; xdotool windowfocus --sync "$box"; xdotool key Return; sleep 0.3; }
        fi
        [ -z "${program:-}" ] || kill -0 "$program" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# Answers the program's start-up messages (boxes named "orbela": a speech
# service or sound output missing) with Return until its main window alone
# is up, for up to 60 s. Returns 1 when the program ($program) ended first
# or the window never came.
answer_start_messages() {
    local i box
    for ((i = 0; i < 300; i++)); do
        box=$(visible '^orbela$')
        [ -n "$box" ] && xdotool windowfocus --sync "$box" key Return
        [ -z "$box" ] && [ -n "$(visible ' - ')" ] && return 0
        kill -0 "$program" 2>/dev/null || return 1
        sleep 0.2
    done
    return 1
}
