#!/usr/bin/env bash
# Usage: scripts/menushot.sh OUT.png
# Shows what a desktop user finds after installing the package: a light launcher that reads the
# desktop entries (rofi's application list, filtered to "Corvane") on a virtual display, saved
# as a picture. Installs rofi with apt-get when it is missing; the package must be installed.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 OUT.png" >&2
    exit 2
fi
out=$(realpath -m "$1")

if ! command -v rofi >/dev/null; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends rofi
fi
[ -e /usr/share/applications/example.zorvex.Corvane.desktop ] \
    || { echo "$0: the zorvex package is not installed" >&2; exit 1; }

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 800x500x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
launcher=""
trap 'kill $launcher $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 1 50); do
    DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done

DISPLAY=$display rofi -show drun -show-icons -filter Corvane -theme-str \
    'window { width: 480px; } listview { lines: 4; } element-icon { size: 48px; }' &
launcher=$!
sleep 3
DISPLAY=$display import -window root "$out"
echo "$out"
