#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The peers the program is measured against, answering the same real X
keys in a window of their own (a bare Xlib window, as light as a window
gets), each key handled as its KeyPress event arrives:
  a        speaks "a";
  Alt+Up   speaks SENTENCE (the line the program reads on Alt+Up);
  Shift    silences the speech.
How it speaks is the mode, set by a line on standard input ("resident",
"spd-say" or "espeak-ng"; each answered "ok" on standard output):
  resident   a speech-dispatcher client kept connected, as a screen
             reader keeps one: speak() and cancel();
  spd-say    a `spd-say` process per key, `spd-say -C` to silence;
  espeak-ng  an `espeak-ng` process per key (its own PulseAudio output),
             killed to silence.
The voice is Czech, as the program's."""

import ctypes
import os
import select
import signal
import subprocess
import sys

import speechd

LANGUAGE = "cs"
KEY_PRESS = 2
MOD1 = 1 << 3  # Alt


class XKeyEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("root", ctypes.c_ulong),
                ("subwindow", ctypes.c_ulong), ("time", ctypes.c_ulong), ("x", ctypes.c_int), ("y", ctypes.c_int),
                ("x_root", ctypes.c_int), ("y_root", ctypes.c_int), ("state", ctypes.c_uint),
                ("keycode", ctypes.c_uint), ("same_screen", ctypes.c_int)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("key", XKeyEvent), ("pad", ctypes.c_long * 24)]


class Speaker:
    def __init__(self):
        self.mode = "resident"
        self.client = speechd.SSIPClient("heard-peer")
        self.client.set_language(LANGUAGE)
        self.process = None

    def speak(self, text):
        if self.mode == "resident":
            self.client.speak(text)
        elif self.mode == "spd-say":
            subprocess.Popen(["spd-say", "-l", LANGUAGE, text])
        else:
            self.process = subprocess.Popen(["espeak-ng", "-v", LANGUAGE, text], start_new_session=True)

    def silence(self):
        if self.mode == "resident":
            self.client.cancel()
        elif self.mode == "spd-say":
            subprocess.Popen(["spd-say", "-C"])
        elif self.process and self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGKILL)


def main():
    sentence = sys.argv[1]
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    display = x11.XOpenDisplay(None)
    if not display:
        raise SystemExit("cannot open the X display")
    for name, args in [("XDefaultRootWindow", [ctypes.c_void_p]), ("XCreateSimpleWindow", [ctypes.c_void_p] + [ctypes.c_ulong] + [ctypes.c_int] * 2 + [ctypes.c_uint] * 3 + [ctypes.c_ulong] * 2)]:
        getattr(x11, name).argtypes = args
        getattr(x11, name).restype = ctypes.c_ulong
    x11.XLookupKeysym.restype = ctypes.c_ulong
    x11.XLookupKeysym.argtypes = [ctypes.POINTER(XKeyEvent), ctypes.c_int]
    x11.XKeysymToString.restype = ctypes.c_char_p
    x11.XKeysymToString.argtypes = [ctypes.c_ulong]
    for name in ("XSelectInput", "XMapWindow", "XStoreName", "XFlush", "XPending", "XNextEvent", "XConnectionNumber"):
        getattr(x11, name).argtypes = None
    window = x11.XCreateSimpleWindow(display, x11.XDefaultRootWindow(display), 0, 0, 200, 100, 0, 0, 0)
    x11.XSelectInput(ctypes.c_void_p(display), ctypes.c_ulong(window), ctypes.c_long(1))  # KeyPressMask
    x11.XStoreName(ctypes.c_void_p(display), ctypes.c_ulong(window), b"heard-peer")
    x11.XMapWindow(ctypes.c_void_p(display), ctypes.c_ulong(window))
    x11.XFlush(ctypes.c_void_p(display))
    speaker = Speaker()
    connection = x11.XConnectionNumber(ctypes.c_void_p(display))
    event = XEvent()
    while True:
        ready, _, _ = select.select([connection, sys.stdin], [], [])
        if sys.stdin in ready:
            line = sys.stdin.readline()
            if not line:
                return
            speaker.mode = line.strip()
            print("ok", flush=True)
        while x11.XPending(ctypes.c_void_p(display)):
            x11.XNextEvent(ctypes.c_void_p(display), ctypes.byref(event))
            if event.type != KEY_PRESS:
                continue
            key = x11.XKeysymToString(x11.XLookupKeysym(ctypes.byref(event.key), 0)) or b""
            if key == b"a":
                speaker.speak("a")
            elif key == b"Up" and event.key.state & MOD1:
                speaker.speak(sentence)
            elif key in (b"Shift_L", b"Shift_R"):
                speaker.silence()


if __name__ == "__main__":
    main()
