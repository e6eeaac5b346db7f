#!/usr/bin/env bash
# Builds the two Debian packages and checks them without installing them:
# each is unpacked into a temporary root, where the tool must run on a PNG
# and a JPEG without linking a toolkit library, skin and splash files must
# get their file types (from a MIME database built in that root) and
# thumbnails (through the thumbnailer's own Exec line), and the editor's
# desktop entry and metainfo must validate. apt-get only simulates the
# install, to show that the packages' dependencies resolve. The machine is
# left as it was.
#
# On CI (CI=true) the packages are also installed for real and removed
# again, unless a corvane package is already installed: a user's own
# installation is never replaced or taken away.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t debs < <(scripts/build-deb.sh | tail -n 2)
tool=${debs[0]:-}
editor=${debs[1]:-}
[ -f "$tool" ] && [ -f "$editor" ] || { echo "the two packages were not built" >&2; exit 1; }
if dpkg-deb -f "$tool" Depends | grep -qi qt; then echo "corvane depends on Qt: $(dpkg-deb -f "$tool" Depends)" >&2; exit 1; fi
dpkg-deb -f "$editor" Depends | grep -q libqt6widgets6 || { echo "corvane-desktop's Depends lacks the Qt libraries" >&2; exit 1; }
fail() { echo "package check: $*" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root="$work/root"
mkdir -p "$root" "$work/files"

# ---- the tool's package alone
dpkg-deb -x "$tool" "$root"
[ ! -e "$root/usr/bin/corvane-desktop" ] || fail "the tool's package holds the editor"
corvane="$root/usr/bin/corvane"
if ldd "$corvane" | grep -qi qt; then fail "$corvane links Qt"; fi
# Every start loads what the tool links: nothing it never uses, such as the
# cryptography and bzip2 libraries a zip library can bring for archives we never read.
unused_libraries() { ldd "$1" | grep -Eo '\<lib(crypto|bz2)\.so[.0-9]*' | sort -u | tr '\n' ' '; }
[ -z "$(unused_libraries "$corvane")" ] || fail "$corvane loads $(unused_libraries "$corvane")at every start"
"$corvane" --version | grep -qx "corvane [0-9.]*" || fail "corvane --version: $("$corvane" --version)"
"$corvane" skin new --depth 16 -o "$work/files/Default.pdb" >/dev/null
"$corvane" skin info "$work/files/Default.pdb" >/dev/null
"$corvane" bitmap encode tests/data/splash/flat-320x320.png --depth 8 -o "$work/files/png.res"
"$corvane" bitmap encode tests/data/splash/baseline-320x320.jpg --depth 16 -o "$work/files/jpeg.res"
"$corvane" bitmap decode "$work/files/jpeg.res" -o "$work/files/jpeg.png" >/dev/null
zcat "$root/usr/share/man/man1/corvane.1.gz" | grep -q '^\.TH "corvane"' || fail "corvane(1) is missing"

# File managers: the file types by content, whatever the name, from a MIME
# database built inside the root and put first in the search path, with the
# system's own types behind it; nothing of the user's own data folder is read.
export XDG_DATA_DIRS="$root/usr/share:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}"
export XDG_DATA_HOME="$work/data-home" GIO_USE_VFS=local
update-mime-database "$root/usr/share/mime"
cp "$work/files/Default.pdb" "$work/files/Default.dat"
"$corvane" splash build tests/data/splash/baseline-320x320.jpg tests/data/splash/progressive-320x320.jpg \
  -o "$work/files/Splash.pdb"
head -c 200 "$work/files/Default.pdb" > "$work/files/Damaged.pdb"
content_type() { gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'; }
for file in Default.pdb Default.dat Damaged.pdb Splash.pdb; do
  expected=application/x-treo-phone-skin
  [ "$file" != Splash.pdb ] || expected=application/x-treo-splash
  type=$(content_type "$work/files/$file")
  [ "$type" = "$expected" ] || fail "$file is taken for '$type', not $expected"
done

# The thumbnailer's Exec line with %s, %i and %o filled in as a file manager
# fills them, its program found first in the root.
read -ra exec_line < <(sed -n 's/^Exec=//p' "$root/usr/share/thumbnailers/corvane.thumbnailer")
thumbnail() {  # SIZE INPUT OUTPUT
  local argv=() word
  for word in "${exec_line[@]}"; do
    case "$word" in %s) argv+=("$1") ;; %i) argv+=("$2") ;; %o) argv+=("$3") ;; *) argv+=("$word") ;; esac
  done
  PATH="$root/usr/bin:$PATH" "${argv[@]}"
}
[ "$(PATH="$root/usr/bin:$PATH" command -v "${exec_line[0]}")" = "$corvane" ] ||
  fail "the thumbnailer's Exec line does not run the package's tool: ${exec_line[*]}"
for case in "128 Default.pdb 128 x 128" "256 Splash.pdb 256 x 256" "512 Default.dat 320 x 320"; do
  read -r size file dimensions <<<"$case"
  thumbnail "$size" "$work/files/$file" "$work/files/$file-$size.png"
  file "$work/files/$file-$size.png" | grep -q "PNG image data, $dimensions," ||
    fail "the thumbnail of $file at $size is not $dimensions: $(file "$work/files/$file-$size.png")"
done
status=0
thumbnail 128 "$work/files/Damaged.pdb" "$work/files/Damaged.png" 2>/dev/null || status=$?
[ "$status" -eq 1 ] && [ ! -e "$work/files/Damaged.png" ] ||
  fail "the thumbnailer gave exit $status for a damaged skin, or left a PNG"

# ---- the editor's package, over the tool's
dpkg-deb -x "$editor" "$root"
[ -x "$root/usr/bin/corvane-desktop" ] || fail "the editor's package has no corvane-desktop"
desktop-file-validate "$root/usr/share/applications/corvane-desktop.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.corvane.CorvaneDesktop.metainfo.xml" >/dev/null
for size in 16 32 48 64 128 256; do
  [ -f "$root/usr/share/icons/hicolor/${size}x${size}/apps/corvane-desktop.png" ] || fail "no ${size}x${size} icon"
done
zcat "$root/usr/share/man/man1/corvane-desktop.1.gz" | grep -q '^\.TH "corvane-desktop"' || fail "corvane-desktop(1) is missing"
grep -qx 'Exec=corvane-desktop %f' "$root/usr/share/applications/corvane-desktop.desktop" ||
  fail "the desktop entry does not open files with the editor"
[ -z "$(unused_libraries "$root/usr/bin/corvane-desktop")" ] ||
  fail "corvane-desktop loads $(unused_libraries "$root/usr/bin/corvane-desktop")at every start"
if ldd "$root/usr/bin/corvane-desktop" | grep -q 'not found'; then
  fail "corvane-desktop needs libraries this machine lacks: $(ldd "$root/usr/bin/corvane-desktop" | grep 'not found')"
fi

# ---- the dependencies resolve: apt works the install out, and does nothing
simulation=$(apt-get install --simulate -q --no-install-recommends "./$tool" "./$editor" 2>&1) ||
  fail "apt-get cannot install the packages: $simulation"

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
if [ "${CI:-}" = true ] && ! installed corvane && ! installed corvane-desktop; then
  # A throwaway CI machine: install for real, as a user would, and take it away again.
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  apt_get() { $SUDO env DEBIAN_FRONTEND=noninteractive apt-get -y -q "$@" >/dev/null; }
  trap 'apt_get remove corvane-desktop corvane || true; rm -rf "$work"' EXIT
  apt_get install --no-install-recommends "./$tool"
  [ ! -e /usr/bin/corvane-desktop ] || fail "the installed tool's package brought the editor"
  /usr/bin/corvane --version | grep -qx "corvane [0-9.]*" || fail "the installed corvane does not run"
  apt_get install --no-install-recommends "./$editor"
  desktop-file-validate /usr/share/applications/corvane-desktop.desktop
  echo "packages: installed and removed again (CI)"
fi
echo "packages: $(basename "$tool") runs from its files without Qt and makes thumbnails; $(basename "$editor") validates; apt resolves both"
