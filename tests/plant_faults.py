#!/usr/bin/env python3
"""Plants each fault of tests/faults.txt alone in a scratch copy of the
sources, rebuilds it and runs the tests of the fault's label. Prints one line
per fault, caught or SURVIVED, and exits 1 when a fault survived, a block
does not apply or a planted fault does not build.

    tests/plant_faults.py [--e2e] [--only WORDS] [--build DIR]
"""
import argparse
import pathlib
import re
import shutil
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent


def read_blocks(path):
    """The blocks of the list, each a dict of its 'key: value' lines."""
    for chunk in re.split(r"\n\s*\n", path.read_text()):
        block = {}
        for line in chunk.splitlines():
            key, sep, value = line.partition(":")
            if sep and not line.startswith("#"):
                block[key.strip()] = value.strip()
        if "find" in block:
            yield block


def run(command, cwd=None):
    return subprocess.run(command, cwd=cwd, capture_output=True, text=True)


def build_and_test(build, label):
    """('caught', the failing tests), ('passed', '') or ('DOES NOT BUILD', '')."""
    if run(["cmake", "--build", str(build), "-j2"]).returncode != 0:
        return "DOES NOT BUILD", ""
    result = run(["ctest", "--no-tests=error", "-L", label], cwd=build)
    if result.returncode == 0:
        return "passed", ""
    failed = re.findall(r"^\s*\d+ - (\S+)", result.stdout.split("tests FAILED")[-1], re.M)
    return "caught", " ".join(failed)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--e2e", action="store_true", help="also plant the faults labelled e2e")
    parser.add_argument("--only", default="", help="only the faults whose text contains this")
    parser.add_argument("--build", default=str(ROOT / "build" / "faults"))
    args = parser.parse_args()
    source, build = pathlib.Path(args.build) / "src", pathlib.Path(args.build) / "bin"
    shutil.rmtree(source, ignore_errors=True)
    shutil.copytree(ROOT, source, ignore=shutil.ignore_patterns("build", ".git"))
    windows = "ON" if args.e2e else "OFF"
    if run(["cmake", "-S", str(source), "-B", str(build), "-DMARIVANE_WINDOWS_BUILD=" + windows]).returncode:
        sys.exit("cannot configure " + str(build))
    if build_and_test(build, "unit|integration")[0] != "passed":
        sys.exit("the unplanted sources do not build or pass their tests")
    bad = 0
    for block in read_blocks(ROOT / "tests" / "faults.txt"):
        label = block.get("label", "unit|integration")
        if args.only not in block["fault"]:
            continue
        if label == "e2e" and not args.e2e:
            print(f"skipped (e2e)   {block['fault']}")
            continue
        path = source / block["file"]
        original = path.read_text()
        outcome, failed = "BAD BLOCK", "its 'find' must occur exactly once"
        if original.count(block["find"]) == 1:
            try:
                path.write_text(original.replace(block["find"], block["replace"]))
                outcome, failed = build_and_test(build, label)
            finally:
                path.write_text(original)
        outcome = "SURVIVED" if outcome == "passed" else outcome
        bad += outcome != "caught"
        print(f"{outcome:<15} {block['fault']}" + (f"  <- {failed}" if failed else ""), flush=True)
    sys.exit(1 if bad else 0)


if __name__ == "__main__":
    main()
