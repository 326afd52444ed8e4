#!/bin/bash
# Builds Marivane.exe and starts it. On Linux it runs under Wine, in the
# current X display, from build/game/ (where its puzzles and scores are kept
# between runs, as they would be beside the program on Windows).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
cmake --build build/windows -j"$(nproc)"

game=build/game
mkdir -p "$game"
cp build/windows/Marivane.exe build/windows/Quorrel-help.chm "$game/"
# First start: the starter puzzles. Later the game keeps its own store.
[ -e "$game/OnLoad.dat" ] || [ -e "$game/MVData.dat" ] || cp res/puzzles/MVData.dat "$game/"

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
