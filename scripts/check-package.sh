#!/usr/bin/env bash
# Builds the two Debian packages and installs them into this machine with
# apt-get: first the tool alone, which must run on a PNG and a JPEG and link
# no toolkit library, then the editor, whose desktop entry and metainfo are
# validated. Both are removed again at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
mapfile -t debs < <(scripts/build-deb.sh | tail -n 2)
tool=${debs[0]:-}
editor=${debs[1]:-}
[ -f "$tool" ] && [ -f "$editor" ] || { echo "the two packages were not built" >&2; exit 1; }
if dpkg-deb -f "$tool" Depends | grep -qi qt; then echo "corvane depends on Qt: $(dpkg-deb -f "$tool" Depends)" >&2; exit 1; fi
dpkg-deb -f "$editor" Depends | grep -q libqt6widgets6 || { echo "corvane-desktop's Depends lacks the Qt libraries" >&2; exit 1; }

cleanup() { $SUDO env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q corvane-desktop corvane >/dev/null 2>&1 || true; }
work=$(mktemp -d)
trap 'cleanup; rm -rf "$work"' EXIT
apt_install() { $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@" >/dev/null; }

apt_install "./$tool"
[ ! -e /usr/bin/corvane-desktop ] || { echo "the tool's package brought the editor" >&2; exit 1; }
if ldd /usr/bin/corvane | grep -qi qt; then echo "/usr/bin/corvane links Qt" >&2; exit 1; fi
/usr/bin/corvane --version | grep -qx "corvane [0-9.]*"
/usr/bin/corvane skin new --depth 16 -o "$work/Default.pdb"
/usr/bin/corvane skin info "$work/Default.pdb" >/dev/null
/usr/bin/corvane bitmap encode tests/data/splash/flat-320x320.png --depth 8 -o "$work/png.res"
/usr/bin/corvane bitmap encode tests/data/splash/baseline-320x320.jpg --depth 16 -o "$work/jpeg.res"
/usr/bin/corvane bitmap decode "$work/jpeg.res" -o "$work/jpeg.png" >/dev/null
zcat /usr/share/man/man1/corvane.1.gz | grep -q '^\.TH "corvane"'

apt_install "./$editor"
[ -x /usr/bin/corvane-desktop ]
desktop-file-validate /usr/share/applications/corvane-desktop.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.corvane.CorvaneDesktop.metainfo.xml >/dev/null
for size in 16 32 48 64 128 256; do [ -f "/usr/share/icons/hicolor/${size}x${size}/apps/corvane-desktop.png" ]; done
zcat /usr/share/man/man1/corvane-desktop.1.gz | grep -q '^\.TH "corvane-desktop"'
echo "packages: $(basename "$tool") installs alone and runs without Qt; $(basename "$editor") installs and validates"
