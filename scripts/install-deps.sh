#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, and only those that are missing.
# Runs as root, or through sudo otherwise; never asks a question.
set -euo pipefail

packages=(
    build-essential g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    qt6-qpa-plugins
    fonts-dejavu-core fonts-liberation fontconfig tzdata
    xvfb xauth x11-utils openbox imagemagick xdotool librsvg2-bin
    desktop-file-utils appstream dpkg-dev file
    clang libclang-rt-dev libbenchmark-dev libxcb1-dev
    g++-mingw-w64-x86-64
    libcanberra-dev sound-theme-freedesktop
    dbus-daemon
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null | grep -qx installed; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "These packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
