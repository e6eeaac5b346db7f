#!/usr/bin/env bash
# Builds the two Debian packages and installs them into this machine with
# apt-get: first the tool alone, which must run on a PNG and a JPEG, link
# no toolkit library, and give skin and splash files their file types and
# thumbnails, then the editor, whose desktop entry and metainfo are
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

# File managers: the file types by content, whatever the name, and the
# thumbnailer's Exec line with %s, %i and %o filled in as a file manager fills them.
update-mime-database /usr/share/mime
cp "$work/Default.pdb" "$work/Default.dat"
/usr/bin/corvane splash build tests/data/splash/baseline-320x320.jpg tests/data/splash/progressive-320x320.jpg \
  -o "$work/Splash.pdb"
head -c 200 "$work/Default.pdb" > "$work/Damaged.pdb"
content_type() { gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'; }
for file in Default.pdb Default.dat Damaged.pdb Splash.pdb; do
  expected=application/x-treo-phone-skin
  [ "$file" != Splash.pdb ] || expected=application/x-treo-splash
  type=$(content_type "$work/$file")
  [ "$type" = "$expected" ] || { echo "$file is taken for '$type', not $expected" >&2; exit 1; }
done
read -ra exec_line < <(sed -n 's/^Exec=//p' /usr/share/thumbnailers/corvane.thumbnailer)
thumbnail() {  # SIZE INPUT OUTPUT
  local argv=() word
  for word in "${exec_line[@]}"; do
    case "$word" in %s) argv+=("$1") ;; %i) argv+=("$2") ;; %o) argv+=("$3") ;; *) argv+=("$word") ;; esac
  done
  "${argv[@]}"
}
for case in "128 Default.pdb 128 x 128" "256 Splash.pdb 256 x 256" "512 Default.dat 320 x 320"; do
  read -r size file dimensions <<<"$case"
  thumbnail "$size" "$work/$file" "$work/$file-$size.png"
  file "$work/$file-$size.png" | grep -q "PNG image data, $dimensions," ||
    { echo "the thumbnail of $file at $size is not $dimensions: $(file "$work/$file-$size.png")" >&2; exit 1; }
done
status=0
thumbnail 128 "$work/Damaged.pdb" "$work/Damaged.png" 2>/dev/null || status=$?
[ "$status" -eq 1 ] && [ ! -e "$work/Damaged.png" ] ||
  { echo "the thumbnailer gave exit $status for a damaged skin, or left a PNG" >&2; exit 1; }

apt_install "./$editor"
[ -x /usr/bin/corvane-desktop ]
desktop-file-validate /usr/share/applications/corvane-desktop.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.corvane.CorvaneDesktop.metainfo.xml >/dev/null
for size in 16 32 48 64 128 256; do [ -f "/usr/share/icons/hicolor/${size}x${size}/apps/corvane-desktop.png" ]; done
zcat /usr/share/man/man1/corvane-desktop.1.gz | grep -q '^\.TH "corvane-desktop"'
grep -qx 'Exec=corvane-desktop %f' /usr/share/applications/corvane-desktop.desktop
echo "packages: $(basename "$tool") installs alone, runs without Qt and makes thumbnails; $(basename "$editor") installs and validates"
