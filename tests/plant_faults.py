#!/usr/bin/env python3
"""Plants each fault of tests/faults.txt alone in one of two copies of the sources (README.md tells how they
share the work), rebuilds and runs the tests of its label (default unit|integration). A block fails the run when
its text does not occur exactly once in its file, when the fault does not build, when no test catches it, or when
only tests it does not name under caught-by catch it. Faults labelled e2e or fuzz are listed, not planted.
Usage: tests/plant_faults.py [TEXT]  (only the faults whose description or caught-by names hold TEXT)"""
import filecmp, os, pathlib, re, shutil, subprocess, sys, threading, time

ROOT = pathlib.Path(__file__).resolve().parent.parent
WORK = ROOT / "build/faults"


def blocks():
    for chunk in re.split(r"\n\s*\n", (ROOT / "tests/faults.txt").read_text()):
        pairs = [line.partition(":") for line in chunk.splitlines() if not line.startswith("#")]
        block = {key.strip(): value.strip() for key, sep, value in pairs if sep}
        if "find" in block:
            yield block


def run(command, cwd):
    return subprocess.run(command, cwd=cwd, capture_output=True, text=True)


def copy_if_changed(path, to):  # an unchanged file keeps its time, so the build does not redo its work
    if not (os.path.isfile(to) and filecmp.cmp(path, to, shallow=False)):
        shutil.copy(path, to)


def prepare(tree):  # a copy of the sources with a build of its own
    source, build = WORK / tree / "src", WORK / tree / "bin"
    shutil.copytree(ROOT, source, ignore=shutil.ignore_patterns("build", ".git"), copy_function=copy_if_changed,
                    dirs_exist_ok=True)
    # Unoptimised: a fault rebuilds faster than its tests would gain. Without the Windows build, whose faults are
    # not planted here; but with every native suite, so that no block's tests are left out for want of a tool.
    subprocess.run(["cmake", "-S", source, "-B", build, "-DMARIVANE_WINDOWS_BUILD=OFF", "-DMARIVANE_EVERY_SUITE=ON",
                    "-DCMAKE_BUILD_TYPE=Debug", "-DCMAKE_CXX_FLAGS_DEBUG=-O0"], capture_output=True, check=True)
    return source, build


def failing_tests(build, label, select, targets=("all",)):  # None when the build fails
    if run(["cmake", "--build", build, "-j1", "--target", *targets], ROOT).returncode:
        return None
    tests = run(["ctest", "--no-tests=error", "-L", label, *select], build)
    return set(re.findall(r"^\s*\d+ - (\S+) \(", tests.stdout.split("tests FAILED")[-1], re.M))


def targets_of(build, label, select):  # the test programs to build; all, when a test is a script
    commands = re.findall(r"Test command: (\S+)", run(["ctest", "-N", "-V", "-L", label, *select], build).stdout)
    inside = [pathlib.Path(command) for command in commands if command.startswith(str(build))]
    return {path.name for path in inside} if len(inside) == len(commands) else {"all"}


def outcome(block, source, build):
    path, label = source / block["file"], block.get("label", "unit|integration")
    original = path.read_text()
    if original.count(block["find"]) != 1:
        return f"BAD BLOCK: its text occurs {original.count(block['find'])} times"
    known = set(re.findall(r"Test +#\d+: (\S+)", run(["ctest", "-N", "-L", label], build).stdout))
    named = set(block.get("caught-by", "").split()) & known
    if not named:
        return f"BAD BLOCK: caught-by names no test of its label: {block.get('caught-by', '')}"
    try:
        path.write_text(original.replace(block["find"], block["replace"]))
        # The named tests first, with only their programs rebuilt: when one fails, the others need not run.
        select = ["-R", "^(" + "|".join(map(re.escape, named)) + ")$"]
        failed = failing_tests(build, label, select, targets_of(build, label, select))
        if failed is not None and not failed & named:
            failed = failing_tests(build, label, [])
    finally:
        path.write_text(original)
    if failed is None or not failed:
        return "DOES NOT BUILD" if failed is None else "SURVIVED"
    return "caught" if failed & named else "CAUGHT ONLY BY " + " ".join(sorted(failed)[:3])


def worker(tree, share, results):
    try:
        source, build = prepare(tree)
    except subprocess.CalledProcessError as error:
        results.append((f"copy {tree} does not configure", error.stderr.decode()[-2000:]))
        return
    failed = failing_tests(build, "unit|integration", [])
    if failed != set():
        results.append((f"copy {tree} does not build" if failed is None else f"copy {tree} fails its tests",
                        " ".join(sorted(failed or []))))
        return
    for block in share:
        started = time.time()
        results.append((outcome(block, source, build), block["fault"]))
        print(f"{results[-1][0]:<16} {time.time() - started:3.0f} s  {block['fault']}", flush=True)


def main():
    only = (sys.argv[1:] + [""])[0]
    if only.startswith("-"):
        sys.exit(__doc__)
    chosen = [block for block in blocks() if only in block["fault"] or only in block.get("caught-by", "")]
    planted = [block for block in chosen if block.get("label", "unit|integration") == "unit|integration"]
    for block in [block for block in chosen if block not in planted]:
        print(f"skipped ({block['label']})  {block['fault']}")
    started, results = time.time(), []
    other = threading.Thread(target=worker, args=("1", planted[1::2], results))
    other.start()
    worker("0", planted[0::2], results)
    other.join()
    bad = [result for result in results if result[0] != "caught"]
    print(f"{len(planted)} planted, {len(results) - len(bad)} caught as named, "
          f"{len(planted) - len(results) + len(bad)} not, in {time.time() - started:.0f} s")
    for text, fault in bad:
        print(f"  {text}: {fault}")
    sys.exit(1 if bad or len(results) != len(planted) else 0)


main()
