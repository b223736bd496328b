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

import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time

DIALOG_TITLE = "^Vlož data$"


def find_window(name):
    result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                            capture_output=True, text=True)
    ids = result.stdout.split()
    return ids[0] if ids else None


def wait_for(condition, timeout, what):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise SystemExit(f"timed out waiting for {what}")


def probe_lines(err_path, prefix):
    with open(err_path, encoding="utf-8", errors="replace") as err:
        return [line[len(prefix):].rstrip("\n") for line in err if line.startswith(prefix)]


def main():
    program_dir = sys.argv[1]
    work = tempfile.mkdtemp()
    try:
        for item in glob.glob(os.path.join(program_dir, "*")):
            if os.path.isfile(item) and not item.endswith("_tests"):
                shutil.copy(item, work)
        for leftover in glob.glob(os.path.join(work, "*.ini")) + [os.path.join(work, "ram.dat")]:
            if os.path.exists(leftover):
                os.remove(leftover)
        with open(os.path.join(work, "orbela.ini"), "w") as ini:
            ini.write("[voice]\nvoiceallowed=1\n")
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", ORBELA_DIALOG_PROBE="1",
                   ALSOFT_DRIVERS="null",
                   SPEECHD_ADDRESS="unix_socket:" + os.path.join(work, "none"))
        err_path = os.path.join(work, "err.txt")
        with open(err_path, "w") as err:
            program = subprocess.Popen(["./orbela"], cwd=work, env=env, stdout=subprocess.DEVNULL, stderr=err)
        try:
            run(program, err_path)
        finally:
            program.kill()
            program.wait()
    finally:
        if os.environ.get("KEEP_BENCH_FOLDER"):
            print("folder kept:", work)
        else:
            shutil.rmtree(work)


def run(program, err_path):
    def main_window():
        box = find_window("^orbela$")
        if box:  # the system speech service is missing on purpose
            subprocess.run(["xdotool", "windowfocus", "--sync", box, "key", "Return"])
        return find_window(" - ")
    window = wait_for(main_window, 60, "the main window")
    subprocess.run(["xdotool", "windowfocus", "--sync", window, "key", "--clearmodifiers", "ctrl+s"])
    shown = 0
    # Shift, as a player would, cuts each line of the introduction short.
    def first_prompt():
        if probe_lines(err_path, "orbela-dialog-shown "):
            return True
        subprocess.run(["xdotool", "key", "shift"])
        return False
    wait_for(first_prompt, 180, "the first prompt")

    line = "prozkoumej taxikare vezmi klic"
    fastest = 0.0
    for delay, repeat in ((600, 1), (300, 1), (150, 1), (60, 1), (20, 3), (5, 6), (0, 10)):
        shown += 1
        wait_for(lambda: len(probe_lines(err_path, "orbela-dialog-shown ")) >= shown, 120, "the next prompt")
        time.sleep(1)
        dialog = wait_for(lambda: find_window(DIALOG_TITLE), 30, "the dialog")
        subprocess.run(["xdotool", "windowfocus", "--sync", dialog])
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
