# SPDX-License-Identifier: GPL-3.0-or-later
"""The desktop program in a real window, for the benchmarks that drive it
with real X keys: a scratch copy of its folder, the window found with
xdotool, the dialog probe's lines read from its standard error."""

import contextlib
import glob
import os
import shutil
import subprocess
import tempfile
import time

DIALOG_TITLE = "^Vlož data$"


def find_window(name, pid=None):
    """The first visible window named `name`, of process `pid` if given
    (filtered after the search: `search --pid` lists the windows in
    another order, and its first may be one that takes no keys)."""
    result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                            capture_output=True, text=True)
    ids = result.stdout.split()
    if pid:
        ids = [i for i in ids if subprocess.run(["xdotool", "getwindowpid", i], capture_output=True,
                                                text=True).stdout.strip() == str(pid)]
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


@contextlib.contextmanager
def scratch_copy(program_dir):
    """A copy of the program and its data files, without ram.dat or
    settings, with the voice allowed; removed afterwards unless
    KEEP_BENCH_FOLDER is set."""
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
        yield work
    finally:
        if os.environ.get("KEEP_BENCH_FOLDER"):
            print("folder kept:", work)
        else:
            shutil.rmtree(work)


@contextlib.contextmanager
def running_program(work, audio_env):
    """Starts the program in `work` with the dialog probe on and the system
    speech service out of reach unless `audio_env` names one; yields
    (process, path of its stderr)."""
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", ORBELA_DIALOG_PROBE="1",
               SPEECHD_ADDRESS="unix_socket:" + os.path.join(work, "none"))
    env.update(audio_env)
    err_path = os.path.join(work, "err.txt")
    with open(err_path, "w") as err:
        program = subprocess.Popen(["./orbela"], cwd=work, env=env, stdout=subprocess.DEVNULL, stderr=err)
    try:
        yield program, err_path
    finally:
        program.kill()
        program.wait()


def start_game(err_path, pid=None):
    """From the main window (of process `pid`, if given) to the first
    prompt of the game."""
    def main_window():
        box = find_window("^orbela$", pid)
        if box:  # the system speech service is missing on purpose
            subprocess.run(["xdotool", "windowfocus", "--sync", box, "key", "Return"])
        return find_window(" - ", pid)
    window = wait_for(main_window, 60, "the main window")
    subprocess.run(["xdotool", "windowfocus", "--sync", window, "key", "--clearmodifiers", "ctrl+s"])

    # Shift, as a player would, cuts each line of the introduction short.
    def first_prompt():
        if probe_lines(err_path, "orbela-dialog-shown "):
            return True
        subprocess.run(["xdotool", "key", "shift"])
        return False
    wait_for(first_prompt, 180, "the first prompt")


def focus_dialog(pid=None):
    """Gives the dialog the keyboard; returns its window."""
    dialog = wait_for(lambda: find_window(DIALOG_TITLE, pid), 30, "the dialog")
    subprocess.run(["xdotool", "windowfocus", "--sync", dialog])
    return dialog
