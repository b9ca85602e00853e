#!/usr/bin/env bash
# Builds the Debian package from a release build tree, checks it with lintian, unpacks it, checks what it installs
# and starts the unpacked program on an empty store until it has written its first-start settings.
#   usage: package_test.sh BUILD_DIR
set -euo pipefail
here=$(dirname "$(realpath "$0")")
[ -f "$1/CPackConfig.cmake" ] || { echo "no configured build in $1: make package (or make test) builds it"; exit 1; }
command -v lintian >/dev/null || { echo "lintian (Debian package lintian) is needed: make test installs it"; exit 1; }
build=$(realpath "$1")
work=$(mktemp -d)
trap 'kill "${app:-}" 2>/dev/null || true; rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/nudgepost_1.0.0_*.deb)
dpkg-deb -f "$deb" Package Version Depends Recommends

# Every error, warning and note lintian has is a failure, unless the package's overrides file names it; every
# override there has a reason of its own in the comment right above it.
overrides=$here/../../packaging/lintian-overrides
unexplained=$(awk '/^[[:space:]]*#/ { reason = 1; next }
                   /^[[:space:]]*$/ { reason = 0; next }
                   !reason { print FILENAME ":" FNR ": " $0 }
                   { reason = 0 }' "$overrides")
[ -z "$unexplained" ] || { echo "overrides without a reason above them:"; echo "$unexplained"; exit 1; }
report=$(lintian --display-info "$deb" 2>&1 | grep -v '^running with root privileges' || true)
if echo "$report" | grep -q '^[EWI]: '; then
    echo "lintian:"; echo "$report"; exit 1
fi

dpkg-deb -x "$deb" "$work/root"
dpkg-deb -e "$deb" "$work/control"
# No maintainer, homepage or screenshot address on a domain that cannot exist.
(cd "$work" && find control root -type f -exec grep -Il . {} + | xargs "$here/placeholder_domains.sh")

expected="./usr/bin/nudgepost
./usr/share/applications/nudgepost.desktop
./usr/share/doc/nudgepost/README.TXT
./usr/share/doc/nudgepost/changelog.gz
./usr/share/doc/nudgepost/copyright
./usr/share/icons/hicolor/128x128/apps/nudgepost.png
./usr/share/icons/hicolor/16x16/apps/nudgepost.png
./usr/share/icons/hicolor/256x256/apps/nudgepost.png
./usr/share/icons/hicolor/32x32/apps/nudgepost.png
./usr/share/icons/hicolor/48x48/apps/nudgepost.png
./usr/share/icons/hicolor/64x64/apps/nudgepost.png
./usr/share/icons/hicolor/scalable/apps/nudgepost.svg
./usr/share/lintian/overrides/nudgepost
./usr/share/man/man1/nudgepost.1.gz
./usr/share/metainfo/com.quillmoor.Nudgepost.metainfo.xml"
actual=$(cd "$work/root" && find . -type f | sort)
if [ "$actual" != "$expected" ]; then
    echo "installed files differ:"; diff <(echo "$expected") <(echo "$actual") || true
    exit 1
fi
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || { echo "Depends lacks Qt Widgets"; exit 1; }
dpkg-deb -f "$deb" Depends | grep -q 'qt6-qpa-plugins' || { echo "Depends lacks the platform plugins"; exit 1; }
dpkg-deb -f "$deb" Depends | grep -q 'libcanberra0' || { echo "Depends lacks the sound library"; exit 1; }
dpkg-deb -f "$deb" Recommends | grep -q 'libcanberra-pulse' || { echo "Recommends lacks the sound server plug-in"; exit 1; }
# A running copy is reached through the session bus here; Qt Network, for the local socket of Windows, would only
# load its libraries at every start.
if dpkg-deb -f "$deb" Depends | grep -q 'libqt6network6'; then echo "Depends names Qt Network"; exit 1; fi

mkdir -p "$work/config"
XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen "$work/root/usr/bin/nudgepost" & app=$!
store="$work/config/Quillmoor/nudgepost.conf"
for _ in $(seq 300); do
    [ -s "$store" ] && break
    kill -0 "$app" 2>/dev/null || { echo "the program ended early"; exit 1; }
    sleep 0.1
done
[ -s "$store" ] || { echo "no store written"; exit 1; }
grep -q 'Number%20of%20messages=0' "$store" || { echo "first start not written:"; cat "$store"; exit 1; }
sleep 1
kill -0 "$app" || { echo "the program did not keep running"; exit 1; }
echo "1 passed, 0 failed"
