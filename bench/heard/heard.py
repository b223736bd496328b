#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a player hears, measured on a PulseAudio sink: the program in its
real window (the embedded voice, OpenAL on PulseAudio) against the peers
of peer.py, all answering the same real X keys (XTEST), interleaved.
Run by heard.sh, inside Xvfb, with the PulseAudio server and the
speech-dispatcher it started:
    heard.py ROUNDS PROGRAM_DIR [BEFORE_DIR]
and `heard.py --report RESULTS` prints the table of a run.
Each round, for each target in turn (the order rotates each round):
  rested  "a" after 3 s of silence on the sink (the program's outputs
          have paused by then, and the key wakes them);
  awake   "a" again 0.7 s after that echo ended;
  stop    Alt+Up reads the dialog's line (for the peers: the same text),
          Shift 1 s into it; the time to the last heard frame (the start
          of the first 0.3 s of silence after the key), counted only
          when something was heard in the 0.1 s before the key;
  cost    Alt+Up read to its end: the CPU seconds and the thread wake-ups
          (voluntary and involuntary context switches of every thread)
          of the program, or of speech-dispatcher with its module, per
          second of speech heard (first to last heard frame).
Times run from the moment the key event left for the X server to the
moment the sink played the frame (see sink_recorder.py)."""

import contextlib
import json
import os
import statistics
import subprocess
import sys
import time
import warnings

warnings.simplefilter("ignore", DeprecationWarning)  # audioop
here = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [here, os.path.join(here, "..", "keyboard")]

from key_to_sound_x11 import XKeys  # noqa: E402
from sink_recorder import RATE, SinkRecorder  # noqa: E402
from x11_program import focus_dialog, running_program, scratch_copy, start_game, wait_for  # noqa: E402

THRESHOLD = 655  # 0.02 of full scale, about -34 dBFS
SENTENCE = "dobry den tohle je dlouha veta kterou program i jeho protejsky ctou nahlas az do konce radku"
QUIET_GAP = int(0.3 * RATE)
PEERS = ["resident", "spd-say", "espeak-ng"]


class Bench:
    def __init__(self, recorder, keys):
        self.recorder = recorder
        self.keys = keys
        self.results = {}

    def note(self, target, what, value):
        self.results.setdefault(target, {}).setdefault(what, []).append(value)

    def quiet_for(self, seconds, timeout=60):
        """Waits until the sink has played nothing heard for `seconds`."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            now = time.monotonic()
            self.recorder.wait_until(now)
            if self.recorder.last_loud(self.recorder.frame_at(now - seconds), self.recorder.frame_at(now)) is None:
                return
            time.sleep(0.1)
        raise SystemExit(f"the sink did not fall silent for {seconds} s")

    def press(self, name):
        moment = self.keys.send(name, True)
        time.sleep(0.03)
        self.keys.send(name, False)
        return moment

    def first_heard(self, moment, within):
        """Moment of the first heard frame played within `within` s of `moment`."""
        self.recorder.wait_until(moment + within)
        start = self.recorder.frame_at(moment)
        frame = self.recorder.first_loud(start, start + int(within * RATE))
        return None if frame is None else self.recorder.moment_of(frame)

    def silence_after(self, moment, within=15):
        """Moment the sink fell silent (for 0.3 s at least) after `moment`."""
        end = time.monotonic() + within
        start = self.recorder.frame_at(moment)
        while time.monotonic() < end:
            self.recorder.wait_until(time.monotonic())
            with self.recorder.lock:
                gap = self.recorder.loud.find(bytes(QUIET_GAP), start)
            if gap >= 0:
                return self.recorder.moment_of(gap)
            time.sleep(0.1)
        return None

    def key_to_sound(self, target, label):
        moment = self.press("a")
        heard = self.first_heard(moment, 2.0)
        if heard is None:
            self.note(target, label + "-missed", 1)
            return
        self.note(target, label, (heard - moment) * 1000)

    def alt_up(self):
        self.keys.send("Alt_L", True)
        moment = self.press("Up")
        self.keys.send("Alt_L", False)
        return moment

    def stop_to_silence(self, target):
        start = self.alt_up()
        heard = self.first_heard(start, 3.0)
        if heard is None:
            self.note(target, "stop-missed", 1)
            return
        while time.monotonic() < heard + 1.0:
            time.sleep(0.02)
        moment = self.keys.send("Shift_L", True)
        time.sleep(0.03)
        self.keys.send("Shift_L", False)
        silent = self.silence_after(moment)
        # A key that falls in a pause between words stops nothing heard:
        # counted apart, as a key with no sound to stop.
        self.recorder.wait_until(moment)
        end = self.recorder.frame_at(moment)
        if self.recorder.last_loud(end - RATE // 10, end) is None:
            self.note(target, "stop-missed", 1)
            return
        self.note(target, "stop", (silent - moment) * 1000)

    def cost(self, target, pids):
        before = usage(pids())
        start = self.alt_up()
        heard = self.first_heard(start, 3.0)
        if heard is None:
            self.note(target, "cpu-missed", 1)
            return
        silent = self.silence_after(heard, 60)
        self.recorder.wait_until(silent)
        after = usage(pids())
        speech = silent - heard
        self.note(target, "cpu", (after[0] - before[0]) / speech)
        self.note(target, "wakeups", (after[1] - before[1]) / speech)


def usage(pids):
    """CPU seconds and context switches (every thread) of `pids`, summed."""
    ticks = os.sysconf("SC_CLK_TCK")
    cpu = switches = 0
    for pid in pids:
        try:
            with open(f"/proc/{pid}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
            cpu += (int(fields[11]) + int(fields[12])) / ticks
            for task in os.listdir(f"/proc/{pid}/task"):
                with open(f"/proc/{pid}/task/{task}/status") as status:
                    switches += sum(int(line.split()[1]) for line in status if "ctxt_switches" in line)
        except FileNotFoundError:
            pass
    return cpu, switches


def speechd_pids():
    """speech-dispatcher (named by its pid file) and its modules."""
    with open(os.environ["HEARD_SPEECHD_PID_FILE"]) as f:
        daemon = int(f.read().split()[0])
    children = []
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as stat:
                    if int(stat.read().rsplit(")", 1)[1].split()[1]) == daemon:
                        children.append(int(entry))
            except (FileNotFoundError, ProcessLookupError):
                pass
    return [daemon] + children


MEASURES = [("rested", "key to sound after 3 s of silence, ms"), ("awake", "key to sound 0.7 s after an echo, ms"),
            ("stop", "stop to silence, ms"), ("cpu", "CPU seconds per second of speech"),
            ("wakeups", "thread wake-ups per second of speech")]


def report(results):
    """Medians, ranges and each target's median as a ratio: program / it."""
    for key, title in MEASURES:
        rows = [(target, sorted(values[key])) for target, values in results.items() if values.get(key)]
        if not rows:
            continue
        mine = statistics.median(dict(rows).get("program", [0])) if "program" in dict(rows) else None
        print(f"{title}:")
        for target, values in rows:
            median = statistics.median(values)
            ratio = f"program/{target} {mine / median:.2f}" if mine and target != "program" and median else ""
            print(f"  {target:10} median {median:8.3f}  range {values[0]:8.3f} - {values[-1]:8.3f}  n {len(values):3}  {ratio}")
            if os.environ.get("HEARD_VERBOSE"):
                print("    " + " ".join(f"{v:.3f}" for v in results[target][key]))
        missed = {t: len(v.get(key + "-missed", [])) for t, v in results.items() if v.get(key + "-missed")}
        if missed:
            print("  no sound heard:", ", ".join(f"{t} {n}" for t, n in missed.items()))


def focus(window):
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)


def main():
    if sys.argv[1] == "--report":
        with open(sys.argv[2]) as results:
            report(json.load(results))
        return
    rounds = int(sys.argv[1])
    folders = {"program": sys.argv[2]}
    if len(sys.argv) > 3:
        folders["before"] = sys.argv[3]
    recorder = SinkRecorder(os.environ["HEARD_MONITOR"], THRESHOLD)
    recorder.start()
    audio = {"ALSOFT_DRIVERS": "pulse", "SPEECHD_ADDRESS": os.environ["SPEECHD_ADDRESS"]}
    programs = {}
    with contextlib.ExitStack() as stack:
        for name, folder in folders.items():
            work = stack.enter_context(scratch_copy(folder))
            programs[name] = stack.enter_context(running_program(work, audio))
        for process, err_path in programs.values():
            start_game(err_path, process.pid)
        keys = XKeys()
        bench = Bench(recorder, keys)
        windows = {}
        for name, (process, _) in programs.items():
            windows[name] = focus_dialog(process.pid)
            time.sleep(0.5)
            subprocess.run(["xdotool", "type", "--delay", "60", SENTENCE], check=True)
        peer = subprocess.Popen(["/usr/bin/python3", os.path.join(here, "peer.py"), SENTENCE],
                                stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        try:
            peer_window = wait_for(lambda: subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^heard-peer$"],
                                                          capture_output=True, text=True).stdout.split(), 30, "the peer")[0]
            targets = list(programs) + PEERS

            def take_keys(target):
                """Gives `target` the keyboard; returns its processes."""
                if target in programs:
                    focus(windows[target])
                    return lambda: [programs[target][0].pid]
                focus(peer_window)
                peer.stdin.write(target + "\n")
                peer.stdin.flush()
                peer.stdout.readline()
                return speechd_pids

            # A first key each, not counted: what is loaded once (the
            # speech module, the voice data) is loaded before the rounds.
            for target in targets:
                take_keys(target)
                bench.quiet_for(1.0)
                bench.press("a")
            print("load during set-up:", open("/proc/loadavg").read().strip(), flush=True)
            for round_number in range(rounds):
                order = targets[round_number % len(targets):] + targets[:round_number % len(targets)]
                for target in order:
                    pids = take_keys(target)
                    bench.quiet_for(3.0)
                    bench.key_to_sound(target, "rested")
                    bench.quiet_for(0.7)
                    bench.key_to_sound(target, "awake")
                    bench.quiet_for(1.0)
                    bench.stop_to_silence(target)
                    if target in programs or target == "resident":
                        bench.quiet_for(1.0)
                        bench.cost(target, pids)
                for name, (process, _) in programs.items():
                    if process.poll() is not None:
                        raise SystemExit(f"{name} ended (status {process.returncode})")
                print(f"round {round_number + 1} of {rounds} done", flush=True)
        finally:
            peer.stdin.close()
            peer.wait()
    recorder.stop()
    with open(os.environ["HEARD_RESULTS"], "w") as out:
        json.dump(bench.results, out)



if __name__ == "__main__":
    main()
