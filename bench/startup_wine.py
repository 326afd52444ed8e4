#!/usr/bin/env python3
"""Start-up of Marivane.exe under Wine, against two programs of our own: minimal_window.c, one bare window, and
startup_floor.cpp, the floor, which builds exactly the game's windows, controls and pictures from the game's own
code and resources and does nothing else. The time from launch to the window being visible, polled with
xdotool. Medians of --runs runs of each, the three programs taking turns in an order that turns each round, after
one unmeasured warm-up round, on a private Xvfb display and a warmed Wine prefix in /tmp (kept between
invocations, made on first use). Before the timing, the floor's first frame is compared with the game's, pixel
by pixel.

    python3 bench/startup_wine.py [--windows-build build/native/windows] [--runs 41] [--display 77]
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


def launch_to_visible(exe, title, env, before_closing=lambda shown: None):
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
    before_closing(shown)
    subprocess.run(["xdotool", "windowfocus", "--sync", shown, "key", "--clearmodifiers", "alt+F4"], env=env, **QUIET)
    try:
        process.wait(timeout=15)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
    return elapsed


def first_frame(exe, title, env, shot):
    """Launches `exe`, lets its window settle, saves the window's picture to `shot` and closes it."""
    launch_to_visible(exe, title, env, before_closing=lambda shown: (
        time.sleep(1), subprocess.run(["import", "-window", shown, shot], env=env, check=True)))


def compare_first_frames(floor, game, env):
    """Prints how many pixels of the floor's first frame differ from the game's."""
    shots = [os.path.join(WORK, name) for name in ("floor.png", "game.png")]
    first_frame(floor, "Floor", env, shots[0])
    first_frame(game, "Marivane", env, shots[1])
    compared = subprocess.run(["compare", "-metric", "AE", *shots, os.path.join(WORK, "difference.png")],
                              env=env, capture_output=True, text=True)
    print(f"first frames, floor against game: {compared.stderr.strip()} pixels differ")


def prepare(windows_build):
    """The three programs in the work folder, Marivane.exe in a folder of its own with its starter puzzles."""
    exe = os.path.join(windows_build, "Marivane.exe")
    os.makedirs(WORK, exist_ok=True)
    floor = os.path.join(WORK, "floor.exe")
    shutil.copy(os.path.join(windows_build, "bench", "startup_floor.exe"), floor)
    minimal = os.path.join(WORK, "minimal.exe")
    subprocess.run(["x86_64-w64-mingw32-gcc", "-O2", "-Wall", "-mwindows", "-o", minimal,
                    os.path.join(ROOT, "bench", "minimal_window.c")], check=True)
    game = os.path.join(WORK, "game")
    shutil.rmtree(game, ignore_errors=True)
    os.makedirs(game)
    shutil.copy(exe, os.path.join(game, "Marivane.exe"))
    # A player's store, which the start-up unpacks: the starters that ship beside the program.
    store = os.path.join(os.path.dirname(exe), "MVStarters.dat")
    if os.path.exists(store):
        shutil.copy(store, os.path.join(game, "OnLoad.dat"))
    return minimal, floor, os.path.join(game, "Marivane.exe")


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
    """Median launch-to-visible seconds of each (title, exe), the programs taking turns in every round. The order
    turns by one each round: a program starting just after another one has closed pays for that one's clean-up,
    so each program comes after each of the others equally often."""
    times = {title: [] for title, _ in programs}
    for run in range(runs + 1):
        turn = run % len(programs)
        for title, exe in programs[turn:] + programs[:turn]:
            elapsed = launch_to_visible(exe, title, env)
            if run > 0:
                times[title].append(elapsed)
    for title, values in times.items():
        print(f"{title:8} median {statistics.median(values) * 1000:6.0f} ms   runs (ms): "
              + " ".join(f"{v * 1000:.0f}" for v in values))
    return {title: statistics.median(values) for title, values in times.items()}


def load():
    """The machine's load averages over 1, 5 and 15 minutes."""
    with open("/proc/loadavg") as averages:
        return " ".join(averages.read().split()[:3])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--windows-build", default=os.path.join(ROOT, "build", "native", "windows"),
                        help="the Windows build folder, with Marivane.exe and bench/startup_floor.exe")
    parser.add_argument("--runs", type=int, default=41)
    parser.add_argument("--display", default="77")
    args = parser.parse_args()
    minimal, floor, game = prepare(os.path.abspath(args.windows_build))
    with wine_session(args.display) as env:
        compare_first_frames(floor, game, env)
        print(f"load before: {load()}")
        medians = compare([("Minimal", minimal), ("Floor", floor), ("Marivane", game)], args.runs, env)
        print(f"load after:  {load()}")
    print(f"Marivane / Floor:   {medians['Marivane'] / medians['Floor']:.3f}")
    print(f"Marivane / Minimal: {medians['Marivane'] / medians['Minimal']:.3f}")


if __name__ == "__main__":
    main()
