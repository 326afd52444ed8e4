#!/usr/bin/env python3
"""Plants each fault of tests/faults.txt alone in a copy of the sources (build/faults), rebuilds and
runs ctest for its label; prints caught or SURVIVED per fault, and exits 1 unless every fault is caught.
Usage: tests/plant_faults.py [--e2e] [TEXT]  (--e2e: the e2e faults too; TEXT: only the faults so named).
Faults labelled fuzz are listed, not planted: they need the clang build of scripts/test.sh."""
import pathlib, re, shutil, subprocess, sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
SOURCE, BUILD = ROOT / "build/faults/src", ROOT / "build/faults/bin"


def blocks():
    for chunk in re.split(r"\n\s*\n", (ROOT / "tests/faults.txt").read_text()):
        pairs = [line.partition(":") for line in chunk.splitlines() if not line.startswith("#")]
        block = {key.strip(): value.strip() for key, sep, value in pairs if sep}
        if "find" in block:
            yield block


def build_and_test(label):  # the outcome and the first failing tests
    if subprocess.run(["cmake", "--build", BUILD, "-j2"], capture_output=True).returncode:
        return "DOES NOT BUILD", ""
    run = subprocess.run(["ctest", "--no-tests=error", "-L", label], cwd=BUILD, capture_output=True, text=True)
    if "No tests were found" in run.stdout + run.stderr:
        return "NO TESTS", ""
    failed = re.findall(r"^\s*\d+ - (\S+)", run.stdout.split("tests FAILED")[-1], re.M)
    return ("caught", " ".join(failed[:2]) + " ..." * (len(failed) > 2)) if run.returncode else ("SURVIVED", "")


e2e = "--e2e" in sys.argv
only = ([arg for arg in sys.argv[1:] if arg != "--e2e"] + [""])[0]
shutil.rmtree(SOURCE, ignore_errors=True)
# Copies with new times, so that no object built from a planted fault outlives it.
shutil.copytree(ROOT, SOURCE, ignore=shutil.ignore_patterns("build", ".git"), copy_function=shutil.copy)
flag = f"-DMARIVANE_WINDOWS_BUILD={'ON' if e2e else 'OFF'}"
subprocess.run(["cmake", "-S", SOURCE, "-B", BUILD, flag], capture_output=True, check=True)
if build_and_test("unit|integration")[0] != "SURVIVED":
    sys.exit("the sources as they are do not build or do not pass their tests")
bad = 0
for block in (block for block in blocks() if only in block["fault"]):
    label, path = block.get("label", "unit|integration"), SOURCE / block["file"]
    outcome, failed, original = "BAD BLOCK (find)", "", path.read_text()
    if label != "unit|integration" and not (label == "e2e" and e2e):
        outcome = f"skipped ({label})"  # fuzz faults: planted by hand in the clang build
    elif original.count(block["find"]) == 1:
        try:
            path.write_text(original.replace(block["find"], block["replace"]))
            outcome, failed = build_and_test(label)
        finally:
            path.write_text(original)
    bad += not outcome.startswith(("caught", "skipped"))
    print(f"{outcome:<16}{block['fault']}" + (f"  <- {failed}" if failed else ""), flush=True)
sys.exit(1 if bad else 0)
