#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""From a real X key to the first audible sample of its echo, as OpenAL Soft
writes it, in the desktop program's real window with the embedded voice.

Run inside an X server (the wrapper key_to_sound_x11.sh starts Xvfb):
    python3 key_to_sound_x11.py PROGRAM_DIR [KEYS]

OpenAL Soft's wave writer plays in real time into a named pipe that this
script reads as it is written. Both of the program's audio outputs (sounds,
and the voice) write their mixing periods whole into the one pipe, so the
first loud sample that arrives after a key is the first audible sample of
its echo, and the moment it arrives is the moment OpenAL wrote it. Keys
("a", spoken as it goes down) are pressed through the XTEST extension, as
xdotool presses them, at the first prompt of the game:
  awake   1 s after the previous echo, the outputs mixing;
  after 3.5 s of silence, when the outputs rest (their pipe falls silent:
          nothing is mixed) and the key must wake them first.
Each line says how many keys found the outputs resting.
"""

import array
import ctypes
import os
import statistics
import sys
import threading
import time

from x11_program import focus_dialog, running_program, scratch_copy, start_game, wait_for

LOUD = 0.02  # about -34 dBFS


class XKeys:
    """Key presses through XTEST on the display in DISPLAY."""

    def __init__(self):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XStringToKeysym.restype = ctypes.c_ulong
        self.x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
        self.x11.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(None)
        if not self.display:
            raise SystemExit("cannot open the X display")

    def send(self, name, down):
        """Sends the press or release; returns the moment it left."""
        code = self.x11.XKeysymToKeycode(self.display, self.x11.XStringToKeysym(name.encode()))
        self.xtst.XTestFakeKeyEvent(self.display, code, 1 if down else 0, 0)
        self.x11.XFlush(self.display)
        return time.monotonic()


class WaveWatch(threading.Thread):
    """Reads the wave writer's pipe as it is written (32-bit float samples;
    every write is a whole number of them) and notes when loud samples
    and when any data at all last arrived."""

    def __init__(self, path):
        super().__init__(daemon=True)
        self.path = path
        self.lock = threading.Condition()
        self.loud = []          # arrival times of reads holding a loud sample
        self.last_data = 0.0

    def run(self):
        with open(self.path, "rb", buffering=0) as pipe:
            rest = b""
            while True:
                chunk = pipe.read(65536)
                now = time.monotonic()
                if not chunk:
                    return
                data = rest + chunk
                usable = len(data) - len(data) % 4
                rest = data[usable:]
                samples = array.array("f", data[:usable])
                loud = any(LOUD < abs(value) < 4 for value in samples)
                with self.lock:
                    self.last_data = now
                    if loud:
                        self.loud.append(now)
                    self.lock.notify_all()

    def first_loud_after(self, moment, timeout):
        end = time.monotonic() + timeout
        with self.lock:
            while True:
                later = [t for t in self.loud if t >= moment]
                if later:
                    return later[0]
                if time.monotonic() >= end:
                    return None
                self.lock.wait(0.05)

    def quiet_since(self):
        with self.lock:
            return self.loud[-1] if self.loud else 0.0

    def idle_since(self):
        with self.lock:
            return self.last_data


def wave_settings(work, pipe):
    """OpenAL Soft's settings for the run: the program's own mixing periods
    (512 frames, 2 periods) into the wave writer, float samples, so that
    one period is one 4096-byte write."""
    path = os.path.join(work, "alsoft-bench.conf")
    with open(path, "w") as conf:
        conf.write("[general]\ndrivers=wave\nperiod_size=512\nperiods=2\n"
                   "sample-type=float32\nchannels=stereo\nfrequency=44100\n"
                   f"[wave]\nfile={pipe}\n")
    return path


def measure(keys, watch, quiet_for, count):
    """Keys pressed each after `quiet_for` seconds of silence; returns the
    times and how many keys found the outputs resting."""
    times = []
    rested = 0
    for _ in range(count):
        wait_for(lambda: time.monotonic() - watch.quiet_since() >= quiet_for, 30, "silence before the key")
        rested += time.monotonic() - watch.idle_since() > 0.5
        pressed = keys.send("a", True)
        sound = watch.first_loud_after(pressed, 5)
        keys.send("a", False)
        if sound is None:
            raise SystemExit("a key's echo made no sound")
        times.append((sound - pressed) * 1000)
    return times, rested


def report(name, measured):
    times, rested = measured
    times = sorted(times)
    print(f"{name}: {len(times)} keys ({rested} with the outputs resting), key to first audible sample "
          f"median {statistics.median(times):.1f} ms, min {times[0]:.1f} ms, max {times[-1]:.1f} ms", flush=True)
    if os.environ.get("BENCH_VERBOSE"):
        print("  " + " ".join(f"{t:.1f}" for t in times))


def main():
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    with scratch_copy(sys.argv[1]) as work:
        pipe = os.path.join(work, "out.wav")
        os.mkfifo(pipe)
        watch = WaveWatch(pipe)
        watch.start()
        audio = {"ALSOFT_CONF": wave_settings(work, pipe), "ALSOFT_DRIVERS": "wave"}
        with running_program(work, audio) as (program, err_path):
            start_game(err_path)
            time.sleep(1)
            focus_dialog()
            keys = XKeys()
            report("awake", measure(keys, watch, 1.0, count))
            report("after 3.5 s of silence", measure(keys, watch, 3.5, count))
            if program.poll() is not None:
                raise SystemExit(f"the program ended (status {program.returncode})")


if __name__ == "__main__":
    main()
