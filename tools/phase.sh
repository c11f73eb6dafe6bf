#!/usr/bin/env bash
# Runs one phase of the build and says how long it took; with PHASE_LOG set, also appends
# "seconds<TAB>name" there, so the CI run can list every phase at its end.
#
#   tools/phase.sh NAME COMMAND...
set -uo pipefail
name=$1
shift
start=$(date +%s)
"$@"
status=$?
seconds=$(($(date +%s) - start))
printf '== %s: %d min %02d s\n' "$name" $((seconds / 60)) $((seconds % 60))
[ -z "${PHASE_LOG:-}" ] || printf '%d\t%s\n' "$seconds" "$name" >>"$PHASE_LOG"
exit $status
