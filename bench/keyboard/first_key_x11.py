# SPDX-License-Identifier: GPL-3.0-or-later
"""The first key of a freshly started window: from process start to the
main window on screen, then Ctrl+S pressed at once, and from that key to the
first audible sample OpenAL Soft writes after it (the game's first line, or
the greeting it cuts short when that is still sounding), with the embedded
voice, the system speech service out of reach (its message answered).

Run inside an X server (the wrapper first_key_x11.sh starts Xvfb):
    python3 first_key_x11.py RUNS PROGRAM_DIR [PROGRAM_DIR]...
With FIRST_KEY_AFTER_MS set, the key comes that long after the window is
on screen, as a person's would, rather than at once.
Each run starts every program once, in turn, from a fresh copy.
"""

import os
import statistics
import subprocess
import sys
import time

from key_to_sound_x11 import WaveWatch, wave_settings
from x11_program import find_window, running_program, scratch_copy, wait_for


def first_key(program_dir):
    with scratch_copy(program_dir) as work:
        pipe = os.path.join(work, "out.wav")
        os.mkfifo(pipe)
        watch = WaveWatch(pipe)
        watch.start()
        audio = {"ALSOFT_CONF": wave_settings(work, pipe), "ALSOFT_DRIVERS": "wave"}
        started = time.monotonic()
        with running_program(work, audio) as (program, _):
            def main_window():
                box = find_window("^orbela$")
                if box:
                    subprocess.run(["xdotool", "windowfocus", "--sync", box, "key", "Return"])
                return find_window(" - ")
            window = wait_for(main_window, 60, "the main window")
            shown = time.monotonic()
            subprocess.run(["xdotool", "windowfocus", "--sync", window])
            # A person hears the window open before the first key: the wait
            # a reaction takes, when FIRST_KEY_AFTER_MS asks for one.
            time.sleep(float(os.environ.get("FIRST_KEY_AFTER_MS", "0")) / 1000)
            pressed = time.monotonic()
            # Ctrl let go after the key, as a person's fingers do.
            subprocess.run(["xdotool", "keydown", "ctrl", "key", "s", "keyup", "ctrl"])
            sound = watch.first_loud_after(pressed, 10)
            if sound is None:
                raise SystemExit("the first key made no sound")
            return (shown - started) * 1000, (sound - pressed) * 1000


def main():
    runs = int(sys.argv[1])
    folders = sys.argv[2:]
    results = {folder: [] for folder in folders}
    for _ in range(runs):
        for folder in folders:
            results[folder].append(first_key(folder))
    for folder, measured in results.items():
        shown = sorted(m[0] for m in measured)
        keyed = sorted(m[1] for m in measured)
        print(f"{folder}: {runs} starts; window on screen median {statistics.median(shown):.0f} ms "
              f"({shown[0]:.0f}-{shown[-1]:.0f}); Ctrl+S to first audible sample median "
              f"{statistics.median(keyed):.1f} ms ({keyed[0]:.1f}-{keyed[-1]:.1f})", flush=True)


if __name__ == "__main__":
    main()
