#!/usr/bin/env bash
# Installs every Debian package the suite needs to build, run and test.
# Idempotent; run as root (or through sudo). Packages already present are left alone.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config git clang-14 libclang-rt-14-dev
    qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins
    libsqlite3-dev sqlite3 libuemf-dev libjpeg-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    iproute2 iputils-ping iptables nftables libnetfilter-queue-dev libmnl-dev
    xvfb xauth x11-utils imagemagick fonts-wine fonts-dejavu-core fonts-liberation
    xdg-utils xchm tzdata fp-utils trayer xdotool
    dpkg-dev fakeroot lintian desktop-file-utils appstream man-db groff-base
    dbus-daemon python3
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "setup: all packages present"
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
