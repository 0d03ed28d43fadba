#!/usr/bin/env bash
# Builds the Debian package from the build tree, unpacks it into a scratch root and
# checks what a desktop needs: the programs, the desktop entry, the MIME type, the
# icons, the udev rule and the runtime dependencies.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/*.deb)
dpkg-deb -x "$deb" "$work/root"
(cd "$work/root" && find . -type f -o -type l | sort) > "$work/files"

for path in ./usr/bin/rz47 ./usr/bin/rz47cli ./usr/bin/rz47-gauge-sim \
            ./usr/share/applications/rz47.desktop ./usr/share/mime/packages/rz47.xml \
            ./usr/share/icons/hicolor/scalable/apps/rz47.svg \
            ./usr/share/icons/hicolor/scalable/mimetypes/application-x-rz47-archive.svg \
            ./usr/share/icons/hicolor/48x48/apps/rz47.png \
            ./usr/share/icons/hicolor/256x256/mimetypes/application-x-rz47-archive.png \
            ./usr/lib/udev/rules.d/70-rz47.rules; do
  grep -qxF "$path" "$work/files" || fail "package lacks $path"
done
for program in rz47 rz47cli rz47-gauge-sim; do
  [ -x "$work/root/usr/bin/$program" ] || fail "$program is not executable"
done

desktop-file-validate "$work/root/usr/share/applications/rz47.desktop" || fail "desktop entry"
grep -qx 'Exec=rz47 %f' "$work/root/usr/share/applications/rz47.desktop" || fail "Exec line"
grep -qx 'MimeType=application/x-rz47-archive;' "$work/root/usr/share/applications/rz47.desktop" || fail "MimeType"
xmllint --noout "$work/root/usr/share/mime/packages/rz47.xml" || fail "MIME XML"

# The MIME database built from the package maps *.rz4 to the archive type.
mkdir -p "$work/mime/packages"
cp "$work/root/usr/share/mime/packages/rz47.xml" "$work/mime/packages/"
update-mime-database "$work/mime" >/dev/null 2>&1 || fail "update-mime-database"
grep -q 'application/x-rz47-archive:\*\.rz4' "$work/mime/globs2" || fail "*.rz4 glob"

rules="$work/root/usr/lib/udev/rules.d/70-rz47.rules"
grep -q 'TAG+="uaccess"' "$rules" || fail "udev rule without uaccess"
grep -q 'ATTR{latency_timer}="1"' "$rules" || fail "udev rule without latency timer"
if grep -Eq 'MODE="0?6[0-7]6"|MODE="0?[0-7][0-7][2367]"' "$rules"; then fail "world-writable device node"; fi

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6printsupport6 libserialport0 libxlsxwriter libicu fonts-liberation2; do
  echo "$depends" | grep -qi "$lib" || fail "Depends lacks $lib: $depends"
done
echo "package ok: $(basename "$deb"), $(wc -l < "$work/files") files"
