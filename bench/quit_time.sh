#!/usr/bin/env bash
# Time from "Beenden" (Ctrl+Q in the main window) to the end of the process, on a real X
# server: starts the program, lets its start settle, presses Ctrl+Q and waits for the exit.
# Runs 10 times and prints the median and the slowest run.
# Usage: bench/quit_time.sh [build-folder]   (needs xvfb-run and xdotool; starts its own X
# server unless DISPLAY is set)
set -euo pipefail
build=${1:-build}
program=$build/brisolt
[ -x "$program" ] || { echo "build first: make build" >&2; exit 1; }
command -v xdotool >/dev/null || { echo "needs xdotool" >&2; exit 1; }
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$@"
fi
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"

times=()
tool=()
for _ in $(seq 10); do
    "$program" >/dev/null 2>&1 &
    pid=$!
    window=$(xdotool search --sync --onlyvisible --name '^Brisolt - ' | head -n 1)
    sleep 1 # the help pages are built after the first paint; quit a program that is ready
    xdotool windowfocus --sync "$window"
    start=$(date +%s%N)
    xdotool key --clearmodifiers ctrl+q
    wait "$pid" || true
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000 )))
done
# What xdotool itself takes to start and send a key, included in the figures above.
"$program" >/dev/null 2>&1 &
pid=$!
window=$(xdotool search --sync --onlyvisible --name '^Brisolt - ' | head -n 1)
xdotool windowfocus --sync "$window"
for _ in $(seq 10); do
    start=$(date +%s%N)
    xdotool key --clearmodifiers F12
    end=$(date +%s%N)
    tool+=($(( (end - start) / 1000 )))
done
kill "$pid"
wait "$pid" 2>/dev/null || true
stats() { sort -n | awk -v what="$1" '
    { v[NR] = $1 }
    END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
          printf "%s median %.1f ms, slowest %.1f ms\n", what, m / 1000, v[NR] / 1000 }'; }
printf '%s\n' "${times[@]}" | stats "Ctrl+Q to process end:"
printf '%s\n' "${tool[@]}" | stats "of which xdotool alone:"
