#!/usr/bin/env bash
# Start-up time to the first painted main window, against a bare Qt window.
# Runs both alternately, 10 times each, and prints the medians and their ratio.
# Usage: bench/startup.sh [build-folder]   (QT_QPA_PLATFORM defaults to offscreen)
set -euo pipefail
build=${1:-build}
program=$build/brisolt
bare=$build/bench/bare_window
[ -x "$program" ] && [ -x "$bare" ] || { echo "build first: make build" >&2; exit 1; }
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export BRISOLT_EXIT_AFTER_FIRST_PAINT=1
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"

millis() { # runs a program, prints its wall time in ms
    local start end
    start=$(date +%s%N)
    "$1" >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(( (end - start) / 1000 ))
}
median() { sort -n | awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.1f", m / 1000 }'; }

"$program" >/dev/null 2>&1; "$bare" >/dev/null 2>&1 # warm the file cache
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
