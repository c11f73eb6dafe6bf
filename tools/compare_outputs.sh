#!/usr/bin/env bash
# Compares what two builds of brisolt-cli write for the same calculation files: evaluate
# as JSON and CSV byte for byte, and both report PDFs by their text and their rendered
# pages (the PDF bytes themselves differ from run to run: creation date, font subset tags). Used to show that a
# restructuring changed no output. Files are generated with a fixed seed, a few of them
# damaged on purpose.
# Usage: tools/compare_outputs.sh OLD_CLI NEW_CLI [COUNT]
set -euo pipefail
old=$1
new=$2
count=${3:-300}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
here=$(cd "$(dirname "$0")/.." && pwd)

python3 "$here/tools/generate_calculation_files.py" "$work/files" "$count"
cp "$here"/tests/data/*.txt "$work/files/"
files=("$work"/files/*)

for format in json csv; do
    "$old" evaluate --format $format "${files[@]}" >"$work/old.$format" 2>"$work/old.$format.err" || true
    "$new" evaluate --format $format "${files[@]}" >"$work/new.$format" 2>"$work/new.$format.err" || true
    cmp "$work/old.$format" "$work/new.$format"
    cmp "$work/old.$format.err" "$work/new.$format.err"
done

# The search for measures and the comparison of variants, on part of the same files.
for format in json csv; do
    for command in "measures --format $format ${files[*]:0:60}" \
        "compare --format $format ${files[*]:0:8}" \
        "compare --format $format --only-differences ${files[*]:40:30}"; do
        # shellcheck disable=SC2086 # the file names are generated without blanks
        "$old" $command >"$work/old.cmd" 2>"$work/old.cmd.err" || true
        # shellcheck disable=SC2086
        "$new" $command >"$work/new.cmd" 2>"$work/new.cmd.err" || true
        cmp "$work/old.cmd" "$work/new.cmd"
        cmp "$work/old.cmd.err" "$work/new.cmd.err"
    done
done

pdfs=0
# Text and a rendering of each page, the PDF's content as a reader sees it.
seen() { pdftotext -layout "$1" - && pdftoppm -r 60 -png "$1" | md5sum; }
for f in "${files[@]:0:40}"; do
    "$old" report "$f" --protocol "$work/old-p.pdf" --sheet "$work/old-s.pdf" >/dev/null 2>&1 || true
    "$new" report "$f" --protocol "$work/new-p.pdf" --sheet "$work/new-s.pdf" >/dev/null 2>&1 || true
    for kind in p s; do
        if [ -f "$work/old-$kind.pdf" ]; then
            cmp <(seen "$work/old-$kind.pdf") <(seen "$work/new-$kind.pdf")
            pdfs=$((pdfs + 1))
        fi
    done
    rm -f "$work"/old-?.pdf "$work"/new-?.pdf
done
echo "identical: evaluate JSON and CSV of ${#files[@]} files, measures and compare, $pdfs PDFs"
