#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Typing into the real data-entry dialog with the embedded voice on.

Run inside an X server (the wrapper typing_x11.sh starts Xvfb):
    python3 typing_x11.py PROGRAM_DIR

The program is copied to a scratch folder and started with voice allowed,
OpenAL Soft's null output playing in real time. At each prompt a line is
typed with real X keys (xdotool) at a given delay per key and, once the
last echo is over, confirmed with Return; the dialog probe reports the
field's text, which must equal the line. The figure is the fastest typing
rate (keys over the time xdotool took to send them) whose keys all reached
the field in order.
"""

import subprocess
import sys
import time

from x11_program import focus_dialog, probe_lines, running_program, scratch_copy, start_game, wait_for


def main():
    with scratch_copy(sys.argv[1]) as work:
        with running_program(work, {"ALSOFT_DRIVERS": "null"}) as (program, err_path):
            run(program, err_path)


def run(program, err_path):
    start_game(err_path)
    shown = 0
    line = "prozkoumej taxikare vezmi klic"
    fastest = 0.0
    for delay, repeat in ((600, 1), (300, 1), (150, 1), (60, 1), (20, 3), (5, 6), (0, 10)):
        shown += 1
        wait_for(lambda: len(probe_lines(err_path, "orbela-dialog-shown ")) >= shown, 120, "the next prompt")
        time.sleep(1)
        focus_dialog()
        texts = len(probe_lines(err_path, "orbela-dialog-text "))
        typed = " ".join([line] * repeat)
        began = time.monotonic()
        subprocess.run(["xdotool", "type", "--delay", str(delay), typed])
        rate = len(typed) / (time.monotonic() - began)
        # Time for the last echo to end: Return must find every key handled.
        time.sleep(2.5)
        subprocess.run(["xdotool", "key", "Return"])
        got = wait_for(lambda: probe_lines(err_path, "orbela-dialog-text ")[texts:], 120, "the field's text")[0]
        in_order = got == typed
        if in_order:
            fastest = max(fastest, rate)
        print(f"{len(typed)} keys at {delay} ms a key ({rate:.1f} keys/s): "
              f"{'in order' if in_order else 'NOT in order: ' + repr(got[:40])}", flush=True)
        if program.poll() is not None:
            print(f"the program ended (status {program.returncode})")
            break
    print(f"fastest typing that reached the field in order: {fastest:.1f} keys/s")


if __name__ == "__main__":
    main()
