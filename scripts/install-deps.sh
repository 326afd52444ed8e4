#!/bin/bash
# Installs, with apt-get, every Debian package that building, playing and
# testing Marivane needs and that this machine lacks. Safe to run repeatedly.
# Every name is one that Debian 12 (bookworm) and Debian 13 (trixie) both have.
set -euo pipefail

packages=(
  cmake make g++ googletest libgtest-dev libgmock-dev      # native build and tests
  gcovr                                                    # line coverage of the native tests
  libbenchmark-dev                                         # bench/ (cmake -DMARIVANE_BENCH=ON)
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64           # Marivane.exe
  nsis                                                     # the installer (makensis)
  fp-utils                                                 # the compiled help (chmcmd)
  python3 python3-numpy python3-pil                        # resource checks
  fontconfig fonts-dejavu-core fonts-liberation2           # the artwork's fonts (res/art/draw_art.py),
  fonts-lobster                                            # found through fontconfig
  wine64 xvfb xdotool x11-utils imagemagick                # running the game, end-to-end tests
  clang libclang-rt-dev                                    # fuzz targets (libFuzzer and the sanitizers)
  lld                                                      # Marivane.exe built with clang
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
