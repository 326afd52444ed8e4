#!/bin/bash
# Runs the README's two commands as a new user of Debian 13 (trixie) would: in a
# minimal chroot with nothing but git and ca-certificates added, on a fresh clone
# of a checkout's committed HEAD in root's home, first scripts/test.sh, then
# scripts/play.sh on an Xvfb display of its own until the game's window shows.
# Needs root. The chroot is made with debootstrap when missing and kept for the
# next run; the logs go to <chroot>/root/try-debian13/.
#   scripts/try-debian13.sh [CHROOT_DIR [CHECKOUT]]
#   (defaults: /var/tmp/marivane-trixie, the checkout this script lies in)
set -euo pipefail
chroot_dir=$(realpath -m "${1:-/var/tmp/marivane-trixie}")
checkout=$(realpath "${2:-$(dirname "$0")/..}")
[ "$(id -u)" -eq 0 ] || { echo "Run as root: it makes and enters a chroot." >&2; exit 1; }

if [ ! -x "$chroot_dir/usr/bin/apt-get" ]; then
  command -v debootstrap >/dev/null || apt-get install -y -q debootstrap
  debootstrap --variant=minbase trixie "$chroot_dir" http://deb.debian.org/debian
fi
cp /etc/resolv.conf "$chroot_dir/etc/resolv.conf"
mounted=()
unmount() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount --lazy "${mounted[i]}"; done
}
trap unmount EXIT
for fs in proc sys dev dev/pts; do
  if ! mountpoint -q "$chroot_dir/$fs"; then
    mount --bind "/$fs" "$chroot_dir/$fs"
    mounted+=("$chroot_dir/$fs")
  fi
done

# A login shell's environment for root, and nothing of this one's.
in_chroot() {
  chroot "$chroot_dir" /usr/bin/env -i HOME=/root USER=root LOGNAME=root SHELL=/bin/bash TERM=dumb LANG=C.UTF-8 \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}
in_chroot apt-get update -q
in_chroot env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends git ca-certificates

logs=$chroot_dir/root/try-debian13
rm -rf "$chroot_dir/root/marivane" "$logs"
mkdir -p "$logs"
git -C "$checkout" bundle create "$logs/checkout.bundle" HEAD
in_chroot git clone -q /root/try-debian13/checkout.bundle /root/marivane
echo "Cloned $(git -C "$checkout" log -1 --format='%h %s') into $chroot_dir/root/marivane"

started=$(date +%s)
test_status=0
in_chroot bash -c 'cd /root/marivane && scripts/test.sh' >"$logs/test.log" 2>&1 || test_status=$?
test_seconds=$(($(date +%s) - started))

# The desktop session a player would have: an X display, here Xvfb, and xdotool to see the game's window.
in_chroot env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends xvfb xdotool >/dev/null
started=$(date +%s)
play_status=0
in_chroot bash -c '
  cd /root/marivane
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>/root/try-debian13/display 2>/root/try-debian13/xvfb.log &
  xvfb=$!
  for _ in $(seq 100); do [ -s /root/try-debian13/display ] && break; sleep 0.1; done
  export DISPLAY=:$(cat /root/try-debian13/display)
  scripts/play.sh >/root/try-debian13/play.log 2>&1 &
  play=$!
  shown=1
  for _ in $(seq 3600); do  # the build before the start may take a while
    if xdotool search --onlyvisible --name "^Marivane$" >/dev/null 2>&1; then shown=0; break; fi
    kill -0 $play 2>/dev/null || break
    sleep 1
  done
  WINEPREFIX=$HOME/.local/share/marivane/wine /usr/lib/wine/wineserver64 -k 2>/dev/null
  kill $play 2>/dev/null; wait $play
  kill $xvfb; wait $xvfb
  exit $shown' || play_status=$?
play_seconds=$(($(date +%s) - started))

echo "Debian 13 chroot $chroot_dir, $(date -u '+%Y-%m-%d %H:%M UTC'):"
echo "scripts/test.sh: exit status $test_status in $test_seconds s (log $logs/test.log)"
grep -E '^[0-9]+% tests passed|tests FAILED|planted, |^All tests passed|^Some tests FAILED|FAILED:' "$logs/test.log" |
    sed 's/^/  /' || true
if [ $play_status -eq 0 ]; then
  echo "scripts/play.sh: the game's window showed after $play_seconds s (log $logs/play.log)"
else
  echo "scripts/play.sh: FAILED, no game window in $play_seconds s (log $logs/play.log)"
fi
[ $test_status -eq 0 ] && [ $play_status -eq 0 ]
