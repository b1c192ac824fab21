#!/bin/bash
# Installs, through apt-get, whatever the build, the panel and the tests need
# and the machine does not have yet. Safe to run again: it installs nothing
# when everything is there.
set -euo pipefail

PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev libfontconfig-dev
    fonts-dejavu-core fonts-dejavu-extra
    xvfb xauth x11-apps imagemagick
    libbenchmark-dev
    clang libclang-rt-14-dev clang-format clang-tidy
    dpkg-dev file lintian desktop-file-utils appstream
    liboscpack-dev liblo-tools
)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
