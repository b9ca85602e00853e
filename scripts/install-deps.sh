#!/usr/bin/env bash
# Installs the Debian packages one of the make targets needs, and only those that are missing.
#   usage: install-deps.sh [run|package|test]
#     run      building and running the program (make run, make install); the default
#     package  that and what cpack needs to make the Debian package (make package)
#     test     that and every test tool (make test, make fuzz, make bench)
# Runs as root, or through sudo otherwise; never asks a question.
set -euo pipefail

set_name=${1:-run}

run_packages=(
    build-essential g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev
    qt6-qpa-plugins
    libcanberra-dev sound-theme-freedesktop
    fonts-dejavu-core fonts-liberation fontconfig tzdata
)
# cpack's DEB generator finds the program's library dependencies with dpkg-shlibdeps (dpkg-dev) and file.
package_packages=(
    dpkg-dev file
)
# The test tools: the Windows cross compilers, Wine and zip for the Windows program and its zip package; clang
# for the fuzz stage; the benchmark library; an X server, a window manager and X tools for framed windows, the
# screenshots and the bench; a session bus; the checkers of the desktop entry, the metainfo and the package.
test_packages=(
    g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 zip
    # wixl builds the Windows installers; msitools reads their tables in the tests.
    wixl msitools
    clang libclang-rt-dev libbenchmark-dev
    xvfb xauth x11-utils openbox imagemagick xdotool
    dbus-daemon
    desktop-file-utils appstream lintian man-db
)

case "$set_name" in
    run) packages=("${run_packages[@]}") ;;
    package) packages=("${run_packages[@]}" "${package_packages[@]}") ;;
    test) packages=("${run_packages[@]}" "${package_packages[@]}" "${test_packages[@]}") ;;
    *)
        echo "usage: $0 [run|package|test]" >&2
        exit 2
        ;;
esac

# One query for the whole list: a package dpkg has never heard of is simply not printed (and makes the query's
# status non-zero, which says nothing more).
declare -A installed=()
while read -r package status; do
    [ "$status" = installed ] && installed[$package]=1
done < <(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${packages[@]}" 2>/dev/null || true)

missing=()
for package in "${packages[@]}"; do
    [ -n "${installed[$package]:-}" ] || missing+=("$package")
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
