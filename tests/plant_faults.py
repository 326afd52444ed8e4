#!/usr/bin/env python3
"""Plants each fault of tests/faults.txt alone in a scratch copy of the sources, rebuilds it in
build/faults and runs ctest for the fault's label. Prints caught (with the failing tests) or
SURVIVED per fault; exits 1 if a fault survived, does not build or its block does not apply.
Usage: tests/plant_faults.py [--e2e] [TEXT]   (--e2e: plant the e2e faults too; TEXT: only
the faults whose description contains it)"""
import pathlib, re, shutil, subprocess, sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
SOURCE, BUILD = ROOT / "build/faults/src", ROOT / "build/faults/bin"


def blocks():
    for chunk in re.split(r"\n\s*\n", (ROOT / "tests/faults.txt").read_text()):
        pairs = [line.partition(":") for line in chunk.splitlines() if not line.startswith("#")]
        block = {key.strip(): value.strip() for key, sep, value in pairs if sep}
        if "find" in block:
            yield block


def build_and_test(label):
    """'passed', 'DOES NOT BUILD', or 'caught' and the failing tests."""
    if subprocess.run(["cmake", "--build", BUILD, "-j2"], capture_output=True).returncode:
        return "DOES NOT BUILD", ""
    run = subprocess.run(["ctest", "--no-tests=error", "-L", label], cwd=BUILD, capture_output=True, text=True)
    failed = re.findall(r"^\s*\d+ - (\S+)", run.stdout.split("tests FAILED")[-1], re.M)
    return ("caught", " ".join(failed)) if run.returncode else ("passed", "")


e2e = "--e2e" in sys.argv
only = ([arg for arg in sys.argv[1:] if arg != "--e2e"] + [""])[0]
shutil.rmtree(SOURCE, ignore_errors=True)
# Copies with new times, so that no object built from a planted fault outlives it.
shutil.copytree(ROOT, SOURCE, ignore=shutil.ignore_patterns("build", ".git"), copy_function=shutil.copy)
windows = "-DMARIVANE_WINDOWS_BUILD=" + ("ON" if e2e else "OFF")
subprocess.run(["cmake", "-S", SOURCE, "-B", BUILD, windows], capture_output=True, check=True)
if build_and_test("unit|integration")[0] != "passed":
    sys.exit("the sources as they are do not build or do not pass their tests")
bad = 0
for block in blocks():
    label = block.get("label", "unit|integration")
    if only not in block["fault"]:
        continue
    if label == "e2e" and not e2e:
        print(f"{'skipped (e2e)':<15} {block['fault']}")
        continue
    path = SOURCE / block["file"]
    original = path.read_text()
    outcome, failed = "BAD BLOCK", "its find must occur exactly once in the file"
    if original.count(block["find"]) == 1:
        try:
            path.write_text(original.replace(block["find"], block["replace"]))
            outcome, failed = build_and_test(label)
        finally:
            path.write_text(original)
    outcome = "SURVIVED" if outcome == "passed" else outcome
    bad += outcome != "caught"
    print(f"{outcome:<15} {block['fault']}" + (f"  <- {failed}" if failed else ""), flush=True)
sys.exit(1 if bad else 0)
