#!/usr/bin/env bash
# Start-up time to the first painted main window, against a bare Qt window.
# Runs both alternately, 10 times each, and prints the medians and their ratio.
# Usage: bench/startup.sh [build-folder]   (QT_QPA_PLATFORM defaults to offscreen)
# A Windows build folder (brisolt.exe) is measured under wine, in a prefix of its own whose
# server keeps running between the runs, so wine's own start is paid once.
set -euo pipefail
build=${1:-build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export BRISOLT_EXIT_AFTER_FIRST_PAINT=1
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"

run=()
if [ -f "$build/brisolt.exe" ]; then
    program=$build/brisolt.exe
    bare=$build/bench/bare_window.exe
    wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
    wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
    export WINEPREFIX=${WINEPREFIX:-$(mktemp -d)/prefix} WINEDEBUG=-all WINEARCH=win64
    export WINEDLLOVERRIDES="mscoree,mshtml="
    dll_dirs=$(sed -n 's/^BRISOLT_WINDOWS_DLL_DIRS:INTERNAL=//p' "$build/CMakeCache.txt")
    export WINEPATH=$(tr ';' '\n' <<<"$dll_dirs" | sed 's#^#Z:#; s#/#\\#g' | paste -sd';')
    "$wine" wineboot --init >/dev/null 2>&1 || true
    "$wineserver" -p || true # stays up between the runs (fails harmlessly when one is up)
    trap '"$wineserver" -k' EXIT
    # Wine hands QT_* variables to Windows programs only in part: the platform as an argument.
    run=("$wine")
    args=(-platform "$QT_QPA_PLATFORM")
else
    program=$build/brisolt
    bare=$build/bench/bare_window
    args=()
fi
[ -f "$program" ] && [ -f "$bare" ] || { echo "build first: make build" >&2; exit 1; }

millis() { # runs a program, prints its wall time in ms
    local start end
    start=$(date +%s%N)
    "${run[@]}" "$1" "${args[@]}" >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(( (end - start) / 1000 ))
}
median() { sort -n | awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.1f", m / 1000 }'; }

millis "$program" >/dev/null; millis "$bare" >/dev/null # warm the file cache
p=(); b=()
for _ in $(seq 10); do
    b+=("$(millis "$bare")")
    p+=("$(millis "$program")")
done
bm=$(printf '%s\n' "${b[@]}" | median)
pm=$(printf '%s\n' "${p[@]}" | median)
echo "bare window:  median ${bm} ms"
echo "brisolt:      median ${pm} ms"
awk -v p="$pm" -v b="$bm" 'BEGIN { printf "ratio:        %.2f\n", p / b }'
