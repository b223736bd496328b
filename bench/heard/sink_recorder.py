# SPDX-License-Identifier: GPL-3.0-or-later
"""What a PulseAudio sink plays, as its monitor delivers it to `parec`,
with each sample's moment on CLOCK_MONOTONIC.

PulseAudio hands a sink's monitor data only once the sink has played it
(the monitor's delay queue holds back what a rewind could still change),
and a null sink plays on the monotonic clock, one frame per frame period.
So frame n was played at T0 + n / rate, and a chunk reaches the recorder
at, or a little after, the moment its last frame was played. T0 is taken
as the lower envelope of (arrival - frames so far / rate) over the chunks
near the moment asked about: the arrivals least delayed by the scheduling
of parec and of this reader, which a loaded machine delays unevenly."""

import audioop
import subprocess
import threading
import time

RATE = 44100
CHANNELS = 2
WIDTH = 2  # s16le
FRAME = WIDTH * CHANNELS
BLOCK = 44 * FRAME  # about 1 ms: quiet blocks are passed over whole


class SinkRecorder(threading.Thread):
    """Records `monitor` from the start; `threshold` (of 32767) is the
    level above which a frame counts as heard."""

    def __init__(self, monitor, threshold, latency_ms=10):
        super().__init__(daemon=True)
        self.threshold = threshold
        self.process = subprocess.Popen(
            ["parec", f"--device={monitor}", "--format=s16le", f"--rate={RATE}", f"--channels={CHANNELS}",
             f"--latency-msec={latency_ms}", "--raw"], stdout=subprocess.PIPE, bufsize=0)
        self.lock = threading.Lock()
        self.loud = bytearray()   # one byte a frame: 1 where heard
        self.arrivals = []        # (monotonic seconds, frames received by then)

    def run(self):
        rest = b""
        while True:
            chunk = self.process.stdout.read(65536)
            now = time.monotonic()
            if not chunk:
                return
            data = rest + chunk
            usable = len(data) - len(data) % FRAME
            rest = data[usable:]
            flags = bytearray()
            for start in range(0, usable, BLOCK):
                block = data[start:min(start + BLOCK, usable)]
                if audioop.max(block, WIDTH) <= self.threshold:
                    flags += bytes(len(block) // FRAME)
                    continue
                samples = memoryview(block).cast("h")
                flags += bytes(int(max(abs(samples[i]), abs(samples[i + 1])) > self.threshold)
                               for i in range(0, len(samples), CHANNELS))
            with self.lock:
                self.loud += flags
                self.arrivals.append((now, len(self.loud)))

    def stop(self):
        self.process.terminate()
        self.process.wait()

    @property
    def frames(self):
        with self.lock:
            return len(self.loud)

    def origin(self, moment=None, window=2.0):
        """T0 from the arrivals within `window` seconds of `moment` (all of
        them when None)."""
        with self.lock:
            arrivals = list(self.arrivals)
        if not arrivals:
            raise RuntimeError("the sink's monitor delivered nothing")
        near = [t - n / RATE for t, n in arrivals if moment is None or abs(t - moment) <= window]
        return min(near) if near else min(t - n / RATE for t, n in arrivals)

    def frame_at(self, moment):
        """The frame the sink played at `moment` (monotonic seconds)."""
        return max(0, round((moment - self.origin(moment)) * RATE))

    def moment_of(self, frame):
        rough = self.origin() + frame / RATE
        return self.origin(rough) + frame / RATE

    def wait_until(self, moment, timeout=10):
        """Waits until the recording holds what the sink played up to
        `moment` (and 50 ms more); False on timeout."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if self.frames and self.frames >= self.frame_at(moment) + RATE // 20:
                return True
            time.sleep(0.02)
        return False

    def first_loud(self, start, end):
        """The first heard frame in [start, end), or None."""
        with self.lock:
            found = self.loud.find(1, max(start, 0), min(end, len(self.loud)))
        return None if found < 0 else found

    def last_loud(self, start, end):
        with self.lock:
            found = self.loud.rfind(1, max(start, 0), min(end, len(self.loud)))
        return None if found < 0 else found
