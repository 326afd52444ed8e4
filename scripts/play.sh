#!/bin/bash
# Builds Marivane.exe and starts it. On Linux it runs under Wine, in the
# current X display, from build/game/ (where its puzzles and scores are kept
# between runs, as they would be beside the program on Windows).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# The native build cross-builds Marivane.exe and makes its starter puzzle
# store; release_files gathers what the release zip holds in build/native/release.
cmake -S . -B build/native -DMARIVANE_WINDOWS_BUILD=ON
cmake --build build/native -j"$(nproc)" --target release_files

release=build/native/release
game=build/game
mkdir -p "$game"
# The release's files, over the old ones as a player updates: the game takes
# the starters in only while it has no puzzles of its own.
cp "$release"/* "$game/"

if [ -z "${DISPLAY:-}" ]; then
  echo "No X display (DISPLAY is empty): start the game from a desktop session." >&2
  exit 1
fi
export WINEPREFIX="${WINEPREFIX:-$HOME/.local/share/marivane/wine}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG="${WINEDEBUG:--all}"
mkdir -p "$WINEPREFIX"
cd "$game"
exec /usr/lib/wine/wine64 Marivane.exe
