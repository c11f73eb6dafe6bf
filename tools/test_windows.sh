#!/usr/bin/env bash
# Tests the Windows build under wine:
#   1. the GoogleTest programs (key, reports, CLI) and the Qt tests of the windows (offscreen);
#   2. brisolt-cli.exe against the Linux build: evaluate, measures, compare byte for byte, the
#      report PDFs word for word with their boxes within 0.5 pt;
#   3. the screenshots tool on an X screen with the real Windows platform plugin: every window
#      and help page has the size the Linux build gives it and is not blank;
#   4. the setup program: silent install into a fresh prefix, the installed programs, silent
#      uninstall leaving nothing behind.
# Each part runs in a wine prefix of its own, ended with wineserver -k for that prefix only.
#
#   tools/test_windows.sh WINDOWS_BUILD LINUX_BUILD
set -euo pipefail
win=$(realpath "$1")
linux=$(realpath "$2")
source=$(realpath "$(dirname "$0")/..")
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
screen="-screen 0 1920x1080x24"

# UTF-8 arguments reach the Windows program as the same names (wide, then UTF-8 again).
export LC_ALL=C.UTF-8
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
# Programs run from the build tree find the Qt and MinGW DLLs through the search path.
dll_dirs=$(sed -n 's/^BRISOLT_WINDOWS_DLL_DIRS:INTERNAL=//p' "$win/CMakeCache.txt")
export WINEPATH=$(tr ';' '\n' <<<"$dll_dirs" | sed 's#^#Z:#; s#/#\\#g' | paste -sd';')
runs="$win/wine-runs"
mkdir -p "$runs"
# The German, Swiss and Russian locales of the runs below, made here: a machine without them
# would give wine an ASCII character set for its file names, and no umlaut could reach the disk.
export LOCPATH="$runs/locales"
mkdir -p "$LOCPATH"
for locale in de_CH de_DE ru_RU; do
  [ -d "$LOCPATH/$locale.UTF-8" ] || localedef -i "$locale" -f UTF-8 "$LOCPATH/$locale.UTF-8" 2>/dev/null ||
    echo "Gebietsschema $locale.UTF-8 fehlt (Paket locales)"
done
failures=()
fail() { echo "FEHLER: $*"; failures+=("$*"); }

prefixes=()
end_prefixes() {
  for p in "${prefixes[@]}"; do WINEPREFIX=$p "$wineserver" -k 2>/dev/null || true; done
}
trap end_prefixes EXIT
# A fresh prefix for one part of the run.
new_prefix() {
  local p="$runs/$1"
  [ -d "$p" ] && { WINEPREFIX=$p "$wineserver" -k 2>/dev/null || true; rm -rf "$p"; }
  prefixes+=("$p")
  export WINEPREFIX=$p
  "$wine" wineboot --init >/dev/null 2>&1 || true
  "$wineserver" -w
}

# ---------------------------------------------------------------------------------------------
echo "== Testprogramme unter wine"
new_prefix tests
total=0 passed=0 skips=0
for exe in $(find "$win/tests" -maxdepth 1 \( -name "test_*.exe" -o -name "gui_*.exe" \) | sort); do
  name=$(basename "$exe" .exe)
  log="$win/$name.log"
  # From the build folder, which holds the test data the programs name relatively. Wine keeps
  # QT_* variables from Windows programs, so the Qt tests get the platform as an argument, and
  # they write their log to a file (what QtTest writes to stdout does not come through).
  if [[ $name == gui_* ]]; then
    (cd "$win" && "$wine" "$exe" -platform offscreen -o "$name.log,txt" >"$log.stderr" 2>&1) && status=ok || status=FEHLER
  else
    (cd "$win" && "$wine" "$exe" >"$log" 2>&1) && status=ok || status=FEHLER
  fi
  if [[ $name == gui_* ]]; then # QTest: "Totals: 12 passed, 0 failed, 1 skipped, …"
    read -r ok bad skipped < <(sed -n 's/^Totals: \([0-9]*\) passed, \([0-9]*\) failed, \([0-9]*\) skipped.*/\1 \2 \3/p' "$log" | tail -1)
    ran=$(( ${ok:-0} + ${bad:-0} + ${skipped:-0} ))
  else
    skipped=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\?.*/\1/p' "$log" | tail -1)
    ran=$(sed -n 's/^\[==========\] \([0-9]*\) tests\? from .* ran.*/\1/p' "$log" | tail -1)
    ok=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?.*/\1/p' "$log" | tail -1)
  fi
  [ "${ran:-0}" -gt 0 ] || status=FEHLER
  total=$((total + ${ran:-0})); passed=$((passed + ${ok:-0})); skips=$((skips + ${skipped:-0}))
  printf '%-28s %4s Tests, %4s bestanden, %3s übersprungen  %s\n' "$name" "${ran:-?}" "${ok:-0}" "${skipped:-0}" "$status"
  if [ "$status" != ok ]; then
    fail "$name"
    grep -E -A3 '^\[  FAILED  \]|^FAIL!|Failure|error' "$log" | head -30 || tail -20 "$log"
  fi
done
echo "Windows-Tests: $total, bestanden: $passed, übersprungen: $skips"
# The regional settings of a German Windows: the program takes "," from them, as Qt reads them
# and as the file layer asks Windows (wine takes the regional setting from LC_ALL).
new_prefix locale-de
if (cd "$win" && LC_ALL=de_DE.UTF-8 BRISOLT_EXPECTED_SEPARATOR=, "$wine" tests/gui_shell_test.exe \
      -platform offscreen -o locale-de.log,txt regionalSeparatorAndFontsComeFromWhereThePlatformKeepsThem \
      >/dev/null 2>&1); then
  echo "Dezimaltrennzeichen aus den Regionaleinstellungen (de-DE): ','"
else
  fail "Dezimaltrennzeichen unter de-DE"; grep -A3 FAIL "$win/locale-de.log" || true
fi
# Umlauts and letters of other scripts in folder and file names, in a German Windows (code
# page 1252, which lacks "Ł") and in a Russian one (1251, which lacks "ü" too): the program hands
# its file layer and the PDF writer UTF-8, whatever the ANSI code page is.
for locale in de_CH.UTF-8 ru_RU.UTF-8; do
  new_prefix "paths-$locale"
  if (cd "$win" && LC_ALL=$locale "$wine" tests/gui_file_paths_test.exe -platform offscreen \
        -o "paths-$locale.log,txt" >/dev/null 2>&1); then
    echo "Dateinamen mit Umlauten und \"Łódź – Nord\" unter $locale: $(grep -o '^Totals: [0-9]* passed' "$win/paths-$locale.log")"
  else
    fail "Dateinamen unter $locale"; grep -A3 FAIL "$win/paths-$locale.log" || true
  fi
done
[ "$total" -gt 0 ] && [ $((passed + skips)) -eq "$total" ] || fail "nicht alle Tests bestanden"

# ---------------------------------------------------------------------------------------------
echo "== brisolt-cli.exe gegen den Linux-Build"
# Runs the same command with both programs and compares output and exit code byte for byte.
# CLI=... names the Windows program (the build's, or the installed one).
cli="$win/brisolt-cli.exe"
same() {
  local label=$1; shift
  local a b
  "$linux/brisolt-cli" "$@" >"$runs/linux.out" 2>&1 && a=0 || a=$?
  "$wine" "$cli" "$@" >"$runs/windows.out" 2>&1 && b=0 || b=$?
  echo "exit $a" >>"$runs/linux.out"; echo "exit $b" >>"$runs/windows.out"
  if cmp -s "$runs/linux.out" "$runs/windows.out"; then echo "gleich: $label"
  else fail "verschieden: $label"; cmp "$runs/linux.out" "$runs/windows.out" | head -3 || true; fi
}
# The protocol and the rotation sheet of the worked example: the same words in the same boxes.
same_reports() {
  local label=$1 file=$2 out="$runs/reports"
  rm -rf "$out" && mkdir -p "$out"
  "$linux/brisolt-cli" report "$file" --protocol "$out/linux-p.pdf" --sheet "$out/linux-s.pdf" >/dev/null
  "$wine" "$cli" report "$file" --protocol "$out/windows-p.pdf" --sheet "$out/windows-s.pdf" >/dev/null ||
    { fail "$label: report endet mit Fehler"; return; }
  for kind in p s; do
    if python3 "$source/tools/pdf_boxes_equal.py" "$out/linux-$kind.pdf" "$out/windows-$kind.pdf" 0.5 >"$out/cmp.txt"; then
      echo "gleich: $label, $( [ $kind = p ] && echo Protokoll || echo Fruchtfolgeblatt) ($(tail -1 "$out/cmp.txt"))"
    else
      fail "$label: PDF verschieden"; cat "$out/cmp.txt"
    fi
  done
}
cd "$source"
umlaut="$runs/Übung"
rm -rf "$umlaut" && mkdir "$umlaut"
cp tests/data/worked_example.txt "$umlaut/Parzelle Müller-Weiß.txt"
for file in tests/data/*.txt "$umlaut/Parzelle Müller-Weiß.txt"; do
  for format in json csv; do
    same "evaluate --format $format $(basename "$file")" evaluate --format $format "$file"
    same "measures --format $format $(basename "$file")" measures --format $format "$file"
  done
  same "compare $(basename "$file")" compare "$file" "$file"
done
same "--version" --version
same "--help" --help
same "Aufruffehler" evaluate --format xml
"$linux/brisolt-cli" new "$umlaut/neu linux.txt" >/dev/null
"$wine" "$cli" new "$umlaut/neu windows.txt" >/dev/null
cmp -s "$umlaut/neu linux.txt" "$umlaut/neu windows.txt" && echo "gleich: new (Dateiinhalt)" ||
  fail "verschieden: new (Dateiinhalt)"
mkdir "$umlaut/Varianten linux" "$umlaut/Varianten windows"
"$linux/brisolt-cli" measures --variants "$umlaut/Varianten linux" "$umlaut/Parzelle Müller-Weiß.txt" >/dev/null
"$wine" "$cli" measures --variants "$umlaut/Varianten windows" "$umlaut/Parzelle Müller-Weiß.txt" >/dev/null
diff -r "$umlaut/Varianten linux" "$umlaut/Varianten windows" >/dev/null &&
  echo "gleich: measures --variants ($(ls "$umlaut/Varianten linux" | wc -l) Dateien)" ||
  fail "verschieden: measures --variants"
same_reports "report" tests/data/worked_example.txt
same_reports "report (Umlaute im Namen)" "$umlaut/Parzelle Müller-Weiß.txt"

# terrain and area: a plane and a valley on an LV95 raster (and as four tiles), parcels in LV95
# and in WGS 84 (PROJ's database found beside the program), in a folder with umlauts and spaces.
# The figures and the GeoPackage's features as the Linux build gives them.
terrain_data="$umlaut/Höhenmodell Bühl"
make_terrain_data() {
  mkdir -p "$terrain_data/kacheln"
  # 240 x 200 cells of 2 m: a slope of 8 % falling east with a valley along the middle.
  python3 - "$terrain_data/dhm.asc" <<'PY'
import sys
with open(sys.argv[1], "w") as f:
    f.write("ncols 240\nnrows 200\nxllcorner 2600000\nyllcorner 1200000\ncellsize 2\n")
    for r in range(200):
        y = 1200400 - (r + 0.5) * 2
        f.write(" ".join("%.3f" % (500 - 0.08 * (c + 0.5) * 2 + 0.1 * abs(y - 1200201))
                         for c in range(240)) + "\n")
PY
  gdal_translate -q -a_srs EPSG:2056 "$terrain_data/dhm.asc" "$terrain_data/dhm.tif"
  for i in 0 1; do for j in 0 1; do
    gdal_translate -q -srcwin $((i * 120)) $((j * 100)) 120 100 "$terrain_data/dhm.tif" \
      "$terrain_data/kacheln/k$i$j.tif"
  done; done
  cat >"$terrain_data/schlaege.geojson" <<'JSON'
{"type":"FeatureCollection","crs":{"type":"name","properties":{"name":"urn:ogc:def:crs:EPSG::2056"}},
"features":[
{"type":"Feature","properties":{"id":"Hang","name":"Hang Süd"},"geometry":{"type":"Polygon","coordinates":[[[2600040,1200020],[2600160,1200020],[2600160,1200080],[2600040,1200080],[2600040,1200020]]]}},
{"type":"Feature","properties":{"id":"Tal","name":"Talacker"},"geometry":{"type":"Polygon","coordinates":[[[2600200,1200150],[2600300,1200150],[2600300,1200250],[2600200,1200250],[2600200,1200150]]]}},
{"type":"Feature","properties":{"id":"Aussen","name":"ausserhalb"},"geometry":{"type":"Polygon","coordinates":[[[2601000,1200150],[2601100,1200150],[2601100,1200250],[2601000,1200250],[2601000,1200150]]]}}]}
JSON
  ogr2ogr -q -t_srs EPSG:4326 -lco COORDINATE_PRECISION=10 "$terrain_data/schlaege_wgs84.geojson" \
    "$terrain_data/schlaege.geojson"
}
# Both GeoPackages' features, read back by the Linux ogrinfo, must be the same (not the time
# each file was written, which GeoPackage keeps per layer).
same_area() {
  local label=$1; shift
  "$linux/brisolt-cli" area "$@" --out "$runs/area-linux.gpkg" >/dev/null 2>&1 || true
  "$wine" "$cli" area "$@" --out "$runs/area-windows.gpkg" >/dev/null 2>&1 || true
  local a b
  a=$(ogrinfo -ro -al -q "$runs/area-linux.gpkg" 2>&1 |
    grep -v '^INFO\|Layer name\|^$\|update_time\|last_change' || true)
  b=$(ogrinfo -ro -al -q "$runs/area-windows.gpkg" 2>&1 |
    grep -v '^INFO\|Layer name\|^$\|update_time\|last_change' || true)
  if [ -n "$a" ] && [ "$a" = "$b" ]; then
    echo "gleich: $label ($(grep -c 'OGRFeature' <<<"$a") Objekte)"
  else
    fail "verschieden: $label"; diff <(echo "$a") <(echo "$b") | head -10 || true
  fi
}
if make_terrain_data; then
  for format in json csv; do
    same "terrain --format $format (LV95)" terrain --format "$format" \
      --dem "$terrain_data/dhm.tif" --parcels "$terrain_data/schlaege.geojson"
  done
  same "terrain (WGS 84 über LV95)" terrain --dem "$terrain_data/dhm.tif" \
    --parcels "$terrain_data/schlaege_wgs84.geojson"
  same "terrain (Ordner mit vier Kacheln)" terrain --dem "$terrain_data/kacheln" \
    --parcels "$terrain_data/schlaege.geojson"
  same_area "area (WGS 84 über LV95)" --dem "$terrain_data/dhm.tif" \
    --parcels "$terrain_data/schlaege_wgs84.geojson" --template tests/data/worked_example.txt
else
  fail "Terraindaten lassen sich nicht schreiben"
  terrain_data=
fi
WINEPREFIX=$WINEPREFIX "$wineserver" -k 2>/dev/null || true

# ---------------------------------------------------------------------------------------------
# Looks at a folder of PNGs: every picture of the Linux run exists, is not blank (more than a
# few colours) and has the Linux size. A window's menu bar is drawn by the platform's style and
# may be a pixel taller on Windows: differences up to 2 pixels are listed, not failed. Popup
# menus take the size the style gives them and are only looked for. Pictures of what only the
# Linux build has would be listed here (none: the Windows build has the terrain window too).
LINUX_ONLY_PICTURES=" "
same_pictures() {
  local mine=$1 theirs=$2 count=0 near=0
  for png in "$theirs"/*.png; do
    local name; name=$(basename "$png")
    case "$LINUX_ONLY_PICTURES" in *" $name "*) continue ;; esac
    if [ ! -f "$mine/$name" ]; then fail "Bildschirmfoto fehlt: $name"; continue; fi
    count=$((count + 1))
    [[ $name == *-menu.png ]] && continue
    local w h mw mh colours
    read -r w h < <(identify -format '%w %h\n' "$png")
    read -r mw mh < <(identify -format '%w %h\n' "$mine/$name")
    colours=$(identify -format '%k' "$mine/$name")
    if [ "$w" != "$mw" ] || [ "$h" != "$mh" ]; then
      if [ $(( (w - mw) * (w - mw) )) -le 4 ] && [ $(( (h - mh) * (h - mh) )) -le 4 ]; then
        near=$((near + 1)); echo "Hinweis: $name ${mw}x${mh}, unter Linux ${w}x${h}"
      else
        fail "$name: ${mw}x${mh} statt ${w}x${h}"
      fi
    fi
    [ "$colours" -gt 8 ] || fail "$name: leer ($colours Farben)"
  done
  echo "$count Bildschirmfotos, nicht leer, Grösse wie unter Linux ($near um 1-2 Pixel anders)"
}

echo "== Bildschirmfotos auf einem X-Bildschirm (Windows-Plattform von Qt)"
new_prefix screenshots
rm -rf "$win/screenshots" "$win/screenshots-linux"
# The Linux build's pictures are the measure; a second try when the first did not finish.
for try in 1 2; do
  xvfb-run -a -s "$screen" "$linux/tools/screenshots" "$win/screenshots-linux" \
    >"$win/screenshots-linux.log" 2>&1 && break
  echo "Bildschirmfotos unter Linux, Versuch $try: Status $? ($(tail -1 "$win/screenshots-linux.log"))"
  [ "$try" = 2 ] && fail "screenshots (Linux) endet mit Fehler"
done
# openbox gives wine's windows their frames and focus.
xvfb-run -a -s "$screen" bash -c '
  openbox >/dev/null 2>&1 &
  sleep 1
  cd "$1" && "$2" "$1/tools/screenshots.exe" screenshots >/dev/null 2>"$1/screenshots.log"
  status=$?
  "$3" -k 2>/dev/null
  exit $status' _ "$win" "$wine" "$wineserver" || fail "screenshots.exe endet mit Fehler"
same_pictures "$win/screenshots" "$win/screenshots-linux"
# Every button caption fits with the platform's own font metrics and style.
for shots in "$win/screenshots" "$win/screenshots-linux"; do
  if [ -s "$shots/cut-buttons.txt" ]; then
    fail "abgeschnittene Knopfbeschriftungen ($(basename "$shots"))"; cat "$shots/cut-buttons.txt"
  else
    echo "alle Knopfbeschriftungen passen ($(basename "$shots"))"
  fi
done

# ---------------------------------------------------------------------------------------------
echo "== Setup-Programm"
setup="$win/Brisolt-2.02-win64-setup.exe"
[ -f "$setup" ] || fail "kein Setup-Programm: $setup"
echo "Setup-Programm: $(du -k "$setup" | cut -f1) KB"
# Installs silently in one mode, checks what it wrote and where, runs the installed programs and
# uninstalls again. MODE is AllUsers or CurrentUser.
install_and_check() {
  local mode=$1
  new_prefix "setup-$mode"
  local user_dir="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}"
  [ -d "$user_dir" ] || user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -1)
  local installed menu hive other_hive
  if [ "$mode" = AllUsers ]; then
    installed="$WINEPREFIX/drive_c/Program Files/Brisolt"
    menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Brisolt.lnk"
    hive=system.reg other_hive=user.reg
  else
    installed="$user_dir/AppData/Local/Programs/Brisolt"
    menu="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Brisolt.lnk"
    hive=user.reg other_hive=system.reg
  fi
  # Without the build tree's search path: the installed programs must find everything beside them.
  (unset WINEPATH; "$wine" "$setup" /S "/$mode") && "$wineserver" -w
  if [ ! -f "$installed/brisolt-cli.exe" ]; then
    fail "$mode: Setup hat nichts installiert"; return
  fi
  echo "$mode: $(cd "$installed" && find . -type f | wc -l) Dateien, $(du -sh "$installed" | cut -f1) in ${installed#"$WINEPREFIX/"}"
  [ -f "$menu" ] && echo "$mode: Startmenü Brisolt.lnk" || fail "$mode: kein Eintrag im Startmenü"
  grep -q 'Uninstall\\\\Brisolt\]' "$WINEPREFIX/$hive" && echo "$mode: Deinstallationseintrag in $hive" ||
    fail "$mode: kein Deinstallationseintrag in $hive"
  ! grep -q 'Uninstall\\\\Brisolt\]' "$WINEPREFIX/$other_hive" || fail "$mode: Eintrag auch in $other_hive"
  if [ "$mode" = CurrentUser ] && [ -e "$WINEPREFIX/drive_c/Program Files/Brisolt" ]; then
    fail "CurrentUser: schreibt nach Program Files"
  fi
  local version
  version=$(unset WINEPATH; "$wine" "$installed/brisolt-cli.exe" --version | tr -d '\r')
  [ "$version" = "Brisolt V2.02" ] && echo "$mode: $version" || fail "$mode: --version: '$version'"
  cli="$installed/brisolt-cli.exe"
  local before=${#failures[@]}
  (unset WINEPATH
   same "$mode installiert: evaluate" evaluate --format json tests/data/worked_example.txt
   same_reports "$mode installiert: report" tests/data/worked_example.txt
   [ -z "${terrain_data:-}" ] ||
     same "$mode installiert: terrain aus \"$(basename "$terrain_data")\"" terrain \
       --dem "$terrain_data/dhm.tif" --parcels "$terrain_data/schlaege_wgs84.geojson"
   [ ${#failures[@]} -eq "$before" ]) || fail "$mode: installiertes brisolt-cli.exe"
  if [ "$mode" = AllUsers ]; then
    # The installed program shows its main window on a real X screen.
    rm -f "$win/installed-main.png"
    (unset WINEPATH
     xvfb-run -a -s "$screen" bash -c '
       openbox >/dev/null 2>&1 &
       sleep 1
       "$1" "$2" >/dev/null 2>&1 &
       for _ in $(seq 60); do
         xdotool search --onlyvisible --name "^Brisolt" >/dev/null 2>&1 && break
         sleep 1
       done
       sleep 3
       import -window root "$3"
       "$4" -k 2>/dev/null
       true' _ "$wine" "$installed/brisolt.exe" "$win/installed-main.png" "$wineserver")
    if [ -f "$win/installed-main.png" ] && [ "$(identify -format '%k' "$win/installed-main.png")" -gt 8 ]; then
      echo "$mode: brisolt.exe zeigt sein Hauptfenster ($win/installed-main.png)"
    else
      fail "installiertes brisolt.exe zeigt kein Fenster"
    fi
  fi
  # Silent uninstall; the uninstaller copies itself away and returns, so wait for the server.
  "$wine" "$installed/Deinstallieren.exe" /S && "$wineserver" -w
  [ ! -e "$installed" ] && echo "$mode: deinstalliert, kein Ordner Brisolt" ||
    fail "$mode: nach der Deinstallation bleibt: $(cd "$installed" && find . | head -5 | tr '\n' ' ')"
  [ ! -e "$menu" ] || fail "$mode: Startmenü-Eintrag bleibt"
  ! grep -q 'Uninstall\\\\Brisolt\]' "$WINEPREFIX/$hive" || fail "$mode: Deinstallationseintrag bleibt"
  WINEPREFIX=$WINEPREFIX "$wineserver" -k 2>/dev/null || true
}
install_and_check AllUsers
install_and_check CurrentUser
rm -rf "$umlaut"

if [ ${#failures[@]} -gt 0 ]; then
  printf 'fehlgeschlagen: %s\n' "${failures[@]}" >&2
  exit 1
fi
echo "Windows: alles bestanden"
