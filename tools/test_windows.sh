#!/usr/bin/env bash
# Runs the Windows build's tests with wine (headless, its own prefix in the build folder) and
# compares brisolt-cli.exe's output on the test data with the Linux build's byte for byte.
#
#   tools/test_windows.sh WINDOWS_BUILD LINUX_BUILD
set -euo pipefail
win=$(realpath "$1")
linux=$(realpath "$2")
source=$(realpath "$(dirname "$0")/..")
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)

# UTF-8 arguments reach the Windows program as the same names (wide, then UTF-8 again).
export LC_ALL=C.UTF-8
export WINEPREFIX="$win/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== wineboot ($WINEPREFIX)"
  "$wine" wineboot --init >/dev/null 2>&1 || true
  "$(dirname "$wine")/wineserver" -w 2>/dev/null || wineserver -w 2>/dev/null || true
fi

echo "== GoogleTest-Programme unter wine"
total=0 passed=0 skips=0 failed_programs=""
for exe in $(find "$win/tests" -maxdepth 1 -name "test_*.exe" | sort); do
  name=$(basename "$exe" .exe)
  log="$win/$name.log"
  # From the build folder, which holds the test data the programs name relatively.
  if (cd "$win" && "$wine" "$exe" --gtest_color=no >"$log" 2>&1); then status=ok; else status=FEHLER; failed_programs+=" $name"; fi
  skipped=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\?.*/\1/p' "$log" | tail -1)
  ran=$(sed -n 's/^\[==========\] \([0-9]*\) tests\? from .* ran.*/\1/p' "$log" | tail -1)
  ok=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?.*/\1/p' "$log" | tail -1)
  total=$((total + ${ran:-0})); passed=$((passed + ${ok:-0})); skips=$((skips + ${skipped:-0}))
  printf '%-20s %4s Tests, %4s bestanden, %3s übersprungen  %s\n' "$name" "${ran:-?}" "${ok:-0}" "${skipped:-0}" "$status"
  [ "$status" = ok ] || grep -E '^\[  FAILED  \]|Failure|error' "$log" | head -20
done
echo "Windows-Tests: $total, bestanden: $passed, übersprungen: $skips"

echo "== brisolt-cli.exe gegen den Linux-Build (Byte für Byte)"
cd "$source"
diffs=0
compare() {
  local label=$1; shift
  local a b
  "$linux/brisolt-cli" "$@" >"$win/linux.out" 2>&1 && a=0 || a=$?
  "$wine" "$win/brisolt-cli.exe" "$@" >"$win/windows.out" 2>&1 && b=0 || b=$?
  echo "exit $a" >>"$win/linux.out"; echo "exit $b" >>"$win/windows.out"
  if cmp -s "$win/linux.out" "$win/windows.out"; then echo "gleich: $label"
  else echo "VERSCHIEDEN: $label"; cmp "$win/linux.out" "$win/windows.out" | head -3 || true; diffs=$((diffs + 1)); fi
}
umlaut="build-windows-Übung"
rm -rf "$umlaut" && mkdir "$umlaut"
cp tests/data/worked_example.txt "$umlaut/Parzelle Müller-Weiß.txt"
for file in tests/data/*.txt "$umlaut/Parzelle Müller-Weiß.txt"; do
  for format in json csv; do
    compare "evaluate --format $format $file" evaluate --format $format "$file"
    compare "measures --format $format $file" measures --format $format "$file"
  done
  compare "compare $file $file" compare "$file" "$file"
done
compare "--version" --version
compare "--help" --help
compare "Aufruffehler" evaluate --format xml
"$linux/brisolt-cli" new "$umlaut/neu linux.txt" >/dev/null
"$wine" "$win/brisolt-cli.exe" new "$umlaut/neu windows.txt" >/dev/null
if cmp -s "$umlaut/neu linux.txt" "$umlaut/neu windows.txt"; then echo "gleich: new (Dateiinhalt)"
else echo "VERSCHIEDEN: new (Dateiinhalt)"; diffs=$((diffs + 1)); fi
mkdir "$umlaut/Varianten linux" "$umlaut/Varianten windows"
"$linux/brisolt-cli" measures --variants "$umlaut/Varianten linux" "$umlaut/Parzelle Müller-Weiß.txt" >/dev/null
"$wine" "$win/brisolt-cli.exe" measures --variants "$umlaut/Varianten windows" "$umlaut/Parzelle Müller-Weiß.txt" >/dev/null
if diff -r "$umlaut/Varianten linux" "$umlaut/Varianten windows" >/dev/null; then
  echo "gleich: measures --variants ($(ls "$umlaut/Varianten linux" | wc -l) Dateien)"
else echo "VERSCHIEDEN: measures --variants"; diffs=$((diffs + 1)); fi
rm -rf "$umlaut"
rm -f "$win/linux.out" "$win/windows.out"

[ -z "$failed_programs" ] || { echo "fehlgeschlagen:$failed_programs" >&2; exit 1; }
[ "$total" -gt 0 ] && [ $((passed + skips)) -eq "$total" ] || exit 1
[ "$diffs" -eq 0 ] || exit 1
