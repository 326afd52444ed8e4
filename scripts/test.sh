#!/bin/bash
# Builds everything and runs every test: the native unit and integration
# tests, the end-to-end tests of Marivane.exe under Wine, then the native
# tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh || exit 1

jobs=$(nproc)
status=0
run() { echo "+ $*"; "$@" || status=1; }

run cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo
run cmake --build build/native -j"$jobs"
run ctest --no-tests=error --test-dir build/native --output-on-failure --timeout 300 -j"$jobs" -L 'unit|integration'
run ctest --no-tests=error --test-dir build/native --output-on-failure -L e2e

run cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DMARIVANE_SANITIZE=ON
run cmake --build build/sanitize -j"$jobs"
run ctest --no-tests=error --test-dir build/sanitize --output-on-failure --timeout 300 -j"$jobs" -L 'unit|integration'

if [ $status -eq 0 ]; then echo "All tests passed."; else echo "Some tests FAILED."; fi
exit $status
