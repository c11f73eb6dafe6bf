#!/usr/bin/env bash
# Checks the Debian package of a build folder: unpacks it into a temporary root, runs the
# unpacked brisolt-cli on the worked example against the build's own, validates the desktop
# entry and the AppStream file, and lets lintian judge it (errors fail, the rest is shown).
#
#   packaging/check_package.sh BUILD_FOLDER
set -euo pipefail
build=$(realpath "$1")
source=$(realpath "$(dirname "$0")/..")
deb=$(ls "$build"/brisolt_*.deb)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

dpkg-deb -x "$deb" "$root"
echo "== dpkg-deb -c"
dpkg-deb -c "$deb" | awk '{print $1, $6}'

echo "== brisolt-cli aus dem Paket gegen den Build"
example="$source/tests/data/worked_example.txt"
for format in json csv; do
  "$build/brisolt-cli" evaluate --format $format "$example" > "$root/build.$format"
  "$root/usr/bin/brisolt-cli" evaluate --format $format "$example" > "$root/package.$format"
  cmp "$root/build.$format" "$root/package.$format"
done
[ "$("$root/usr/bin/brisolt-cli" --version)" = "Brisolt V2.02" ]
# A CLI built with GDAL links libgdal; the package must pull it in.
if "$build/brisolt-cli" terrain 2>&1 | grep -q -- '--dem fehlt'; then
  dpkg-deb -f "$deb" Depends | grep -q 'libgdal' || { echo "Depends ohne libgdal" >&2; exit 1; }
fi
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/brisolt" --version)" = "Brisolt V2.02" ]
# The program runs from the unpacked root alone and writes nothing beside itself.
before=$(find "$root/usr" | sort | md5sum)
(cd / && QT_QPA_PLATFORM=offscreen BRISOLT_EXIT_AFTER_FIRST_PAINT=1 \
  timeout 60 "$root/usr/bin/brisolt" >/dev/null 2>&1 || true)
[ "$(find "$root/usr" | sort | md5sum)" = "$before" ]
echo "gleich"

echo "== desktop-file-validate, appstreamcli"
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml

echo "== lintian"
report=$(lintian --info "$deb" 2>&1 | grep -v 'running with root privileges' || true)
echo "${report:-keine Meldungen}"
if grep -q '^E:' <<<"$report"; then
  echo "lintian meldet Fehler" >&2
  exit 1
fi
