#!/usr/bin/env bash
# Builds the Debian package, installs it into this machine with apt-get, checks
# the installed programs, desktop entry and metainfo, then removes it again.
set -euo pipefail
cd "$(dirname "$0")/.."
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
deb=$(scripts/build-deb.sh | tail -n 1)
[ -f "$deb" ] || { echo "no package was built" >&2; exit 1; }
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || { echo "Depends lacks the Qt libraries" >&2; exit 1; }

cleanup() { $SUDO env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q corvane-desktop >/dev/null 2>&1 || true; }
trap cleanup EXIT
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "./$deb" >/dev/null

work=$(mktemp -d)
trap 'cleanup; rm -rf "$work"' EXIT
/usr/bin/corvane --version | grep -qx "corvane [0-9.]*"
/usr/bin/corvane skin new --depth 16 -o "$work/Default.pdb"
/usr/bin/corvane skin info "$work/Default.pdb" >/dev/null
[ -x /usr/bin/corvane-desktop ]
desktop-file-validate /usr/share/applications/corvane-desktop.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.corvane.CorvaneDesktop.metainfo.xml >/dev/null
for size in 16 32 48 64 128 256; do [ -f "/usr/share/icons/hicolor/${size}x${size}/apps/corvane-desktop.png" ]; done
zcat /usr/share/man/man1/corvane.1.gz | grep -q '^\.TH "corvane"'
zcat /usr/share/man/man1/corvane-desktop.1.gz | grep -q '^\.TH "corvane-desktop"'
echo "package: $(basename "$deb") installs, runs and validates"
