#!/usr/bin/env python3
"""Start-up of Marivane.exe under Wine, against minimal_window.c, a window program of our own that does the
least a program of the same shape can: the time from launch to the window being visible, polled with xdotool.
Medians of --runs runs of each, the two programs alternating, after one unmeasured warm-up round, on a private
Xvfb display and a warmed Wine prefix in /tmp (kept between invocations, made on first use).

    python3 bench/startup_wine.py [--exe build/native/windows/Marivane.exe] [--runs 10] [--display 77]
"""
import argparse
import contextlib
import os
import shutil
import statistics
import subprocess
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WINE, WINESERVER = "/usr/lib/wine/wine64", "/usr/lib/wine/wineserver64"
PREFIX = "/tmp/marivane-startup-wine"
WORK = "/tmp/marivane-startup"
QUIET = {"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}


def window(title, env):
    """The id of the visible window with exactly this title, or None."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"], env=env,
                           capture_output=True, text=True)
    return found.stdout.split()[0] if found.returncode == 0 and found.stdout.split() else None


def launch_to_visible(exe, title, env):
    """Seconds from launching `exe` until its window is visible; then closes it as a player's Alt+F4 would."""
    if window(title, env):
        raise SystemExit(f"a window '{title}' is already open: close it first")
    start = time.monotonic()
    process = subprocess.Popen([WINE, exe], cwd=os.path.dirname(exe), env=env, **QUIET)
    while (shown := window(title, env)) is None:
        if time.monotonic() - start > 60:
            process.kill()
            raise SystemExit(f"{exe}: no visible window '{title}' after 60 s")
        time.sleep(0.002)
    elapsed = time.monotonic() - start
    subprocess.run(["xdotool", "windowfocus", "--sync", shown, "key", "--clearmodifiers", "alt+F4"], env=env, **QUIET)
    try:
        process.wait(timeout=15)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
    return elapsed


def prepare(exe):
    """The two programs in the work folder, Marivane.exe in a folder of its own with its starter puzzles."""
    os.makedirs(WORK, exist_ok=True)
    minimal = os.path.join(WORK, "minimal.exe")
    subprocess.run(["x86_64-w64-mingw32-gcc", "-O2", "-Wall", "-mwindows", "-o", minimal,
                    os.path.join(ROOT, "bench", "minimal_window.c")], check=True)
    game = os.path.join(WORK, "game")
    shutil.rmtree(game, ignore_errors=True)
    os.makedirs(game)
    shutil.copy(exe, os.path.join(game, "Marivane.exe"))
    # The store that ships beside the program, which the start-up unpacks.
    store = os.path.join(os.path.dirname(exe), "OnLoad.dat")
    if os.path.exists(store):
        shutil.copy(store, game)
    return minimal, os.path.join(game, "Marivane.exe")


@contextlib.contextmanager
def wine_session(display):
    """The environment for Wine on a private Xvfb display, with a warmed prefix and a keeper running."""
    env = dict(os.environ, DISPLAY=f":{display}", WINEPREFIX=PREFIX, WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=")
    xvfb = subprocess.Popen(["Xvfb", f":{display}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"], **QUIET)
    keeper = None
    try:
        while subprocess.run(["xdpyinfo"], env=env, **QUIET).returncode != 0:
            time.sleep(0.1)
        if not os.path.exists(os.path.join(PREFIX, "system.reg")):
            subprocess.run([WINE, "wineboot", "-i"], env=env, **QUIET)
            subprocess.run([WINESERVER, "-w"], env=env)
        # Wine's desktop process ends a second after the last window: a hidden window keeps it.
        keeper = subprocess.Popen([WINE, os.path.join(WORK, "minimal.exe"), "hidden"], env=env, **QUIET)
        time.sleep(3)
        yield env
    finally:
        if keeper:
            keeper.kill()
        subprocess.run([WINESERVER, "-k"], env=env, **QUIET)
        xvfb.terminate()


def compare(programs, runs, env):
    """Median launch-to-visible seconds of each (title, exe), the programs taking turns in every round."""
    times = {title: [] for title, _ in programs}
    for run in range(runs + 1):
        for title, exe in programs:
            elapsed = launch_to_visible(exe, title, env)
            if run > 0:
                times[title].append(elapsed)
    for title, values in times.items():
        print(f"{title:9} median {statistics.median(values) * 1000:6.0f} ms   runs (ms): "
              + " ".join(f"{v * 1000:.0f}" for v in values))
    return {title: statistics.median(values) for title, values in times.items()}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", default=os.path.join(ROOT, "build", "native", "windows", "Marivane.exe"))
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--display", default="77")
    args = parser.parse_args()
    minimal, game = prepare(os.path.abspath(args.exe))
    with wine_session(args.display) as env:
        medians = compare([("Minimal", minimal), ("Marivane", game)], args.runs, env)
    print(f"ratio Marivane / Minimal: {medians['Marivane'] / medians['Minimal']:.2f}")


if __name__ == "__main__":
    main()
