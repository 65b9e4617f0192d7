#!/usr/bin/env bash
# Installs, with apt-get, only the Debian packages that Velmora's build and tests need and
# that are missing. Safe to run again.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth x11-utils xdotool python3 fonts-dejavu-core fonts-wine
    dpkg-dev desktop-file-utils appstream zip dbus-daemon at-spi2-core python3-pyatspi imagemagick
    user-mode-linux kmod mtools dosfstools util-linux fusefat exfat-fuse exfatprogs libfuse-dev
)

"$(dirname "${BASH_SOURCE[0]}")/apt-install-missing.sh" "${packages[@]}"
