#!/usr/bin/env bash
# Builds the setup program from a staged installation (cmake --install … --prefix STAGE):
# lists every staged file for the installer and, in reverse, for the uninstaller.
#
#   packaging/windows/make_setup.sh STAGE OUTFILE PUBLISHER
set -euo pipefail
stage=$(realpath "$1")
out=$(realpath -m "$2")
publisher=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

win() { printf '%s' "${1//\//\\}"; }
{
  (cd "$stage" && find . -type f | sed 's#^\./##' | sort) | while read -r file; do
    dir=$(dirname "$file")
    if [ "$dir" = . ]; then printf 'SetOutPath "$INSTDIR"\n'; else printf 'SetOutPath "$INSTDIR\\%s"\n' "$(win "$dir")"; fi
    printf 'File "%s"\n' "$stage/$file" # makensis reads the staged files by their Linux path
  done
  printf 'SetOutPath "$INSTDIR"\n'
} >"$work/install_files.nsh"
{
  (cd "$stage" && find . -type f | sed 's#^\./##' | sort -r) | while read -r file; do
    printf 'Delete "$INSTDIR\\%s"\n' "$(win "$file")"
  done
  (cd "$stage" && find . -mindepth 1 -type d | sed 's#^\./##' | sort -r) | while read -r dir; do
    printf 'RMDir "$INSTDIR\\%s"\n' "$(win "$dir")"
  done
} >"$work/uninstall_files.nsh"

size_kb=$(du -sk "$stage" | cut -f1)
cp "$here/setup.nsi" "$here/brisolt.ico" "$work/"
makensis -V2 -INPUTCHARSET UTF8 -DOUTFILE="$out" -DPUBLISHER="$publisher" -DSIZE_KB="$size_kb" \
  "$work/setup.nsi"
echo "$out"
