#!/bin/bash
# Builds everything and runs every test: the native unit and integration
# tests, the end-to-end tests of Marivane.exe under Wine, every fault of
# tests/faults.txt planted alone (the tests must catch each), then the native
# tests again under AddressSanitizer and UndefinedBehaviorSanitizer. A tool that
# a suite needs and cannot find fails the run: no suite is left out.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh || exit 1

jobs=$(nproc)
status=0
run() { echo "+ $*"; "$@" || status=1; }

run cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARIVANE_EVERY_SUITE=ON
run cmake --build build/native -j"$jobs"
run ctest --no-tests=error --test-dir build/native --output-on-failure --timeout 300 -j"$jobs" -L 'unit|integration'
# The end-to-end suites, one per exe, mostly wait on Wine: they run side by side, each in its own displays.
run ctest --no-tests=error --test-dir build/native --output-on-failure -j2 -L e2e

# Each fault in one of two build copies, one per core; fails when a fault survives or is
# caught only by tests its block does not name.
run python3 tests/plant_faults.py

run cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DMARIVANE_SANITIZE=ON -DMARIVANE_EVERY_SUITE=ON
run cmake --build build/sanitize -j"$jobs"
run ctest --no-tests=error --test-dir build/sanitize --output-on-failure --timeout 300 -j"$jobs" -L 'unit|integration'

# The fuzz targets, a few seconds each, in a clang build of their own.
if command -v clang++ >/dev/null; then
  run env CXX=clang++ cmake -S . -B build/fuzz -DMARIVANE_FUZZ=ON
  run cmake --build build/fuzz -j"$jobs"
  run ctest --test-dir build/fuzz --output-on-failure --no-tests=error -L fuzz
else echo "FAILED: clang++ is missing, the fuzz targets cannot run: run scripts/install-deps.sh" >&2; status=1; fi

if [ $status -eq 0 ]; then echo "All tests passed."; else echo "Some tests FAILED."; fi
exit $status
