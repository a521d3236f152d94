#!/usr/bin/env bash
# Installs the Debian 12 packages the project builds, tests and runs with,
# skipping the ones already present.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    clang clang-format
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n qt6-wayland
    libhidapi-dev libudev-dev libicu-dev libx11-dev zlib1g-dev
    fonts-wqy-microhei fonts-dejavu-core
    xvfb xdotool imagemagick x11-utils binutils weston
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
