#!/usr/bin/env bash
# brisolt-cli area on 10,000 parcels of 1-3 ha over an 8 x 8 km raster of 2 m cells (4000 x 4000),
# with the measures, on 2 workers: wall time, CPU time, peak memory and the time per parcel of
# each stage. AREA_BENCH_CELL=0.5 uses cells of 0.5 m instead (16 times as many, in tiles).
# Usage: bench/area_bench.sh [build-folder] [data-folder]   (the data is made once and kept)
set -euo pipefail
build=${1:-build}
cell=${AREA_BENCH_CELL:-2}
data=${2:-${TMPDIR:-/tmp}/brisolt-area-bench-$cell}
cli=$build/brisolt-cli
maker=$build/bench/make_area_data
[ -x "$cli" ] && [ -x "$maker" ] || { echo "build first: brisolt-cli and make_area_data" >&2; exit 1; }
mkdir -p "$data"
if [ ! -f "$data/dem.tif" ] || [ ! -f "$data/parcels.gpkg" ]; then
    rm -f "$data/dem.tif" "$data/parcels.gpkg"
    "$maker" "$data" 10000 "$cell"
fi
here=$(cd "$(dirname "$0")/.." && pwd)
rm -f "$data/out.gpkg"
/usr/bin/time -v "$cli" area --dem "$data/dem.tif" --parcels "$data/parcels.gpkg" \
    --template "$here/tests/data/worked_example.txt" --measures --jobs 2 --timings \
    --out "$data/out.gpkg" ${AREA_BENCH_MAP:+--map "$data/karte.pdf"} \
    >/dev/null 2>"$data/time.txt" || { cat "$data/time.txt" >&2; exit 1; }
grep -E "Parzellen ohne Ergebnis|Zeit je Parzelle|Elapsed \(wall|Maximum resident|User time|System time" \
    "$data/time.txt"
