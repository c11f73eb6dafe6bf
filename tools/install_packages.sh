#!/usr/bin/env bash
# Installs those of the given Debian packages that are not installed yet; does nothing when all
# are there. A package that dpkg lists as installed with its triggers still pending counts as
# installed. When another package manager holds the lock (a fresh desktop runs its unattended
# upgrades at boot), it waits for it instead of failing.
#
#   tools/install_packages.sh PACKAGE...
set -euo pipefail
missing=()
for p in "$@"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  case "$status" in
    "install ok installed" | "install ok triggers-pending" | "install ok triggers-awaited") ;;
    *) missing+=("$p") ;;
  esac
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=$([ "$(id -u)" = 0 ] || echo sudo)
# Up to 30 minutes for another apt or dpkg to finish.
wait_options=(-o DPkg::Lock::Timeout=1800)
for attempt in $(seq 180); do
  if out=$($sudo apt-get "${wait_options[@]}" update -qq 2>&1); then
    break
  fi
  # apt-get update has no lock timeout of its own: another apt holding the lists' lock makes it
  # fail at once, so it is tried again; any other failure ends here.
  if ! grep -qi 'lock' <<<"$out" || [ "$attempt" = 180 ]; then
    echo "$out" >&2
    exit 1
  fi
  echo "apt-get update: wartet auf die Paketverwaltung ..." >&2
  sleep 10
done
DEBIAN_FRONTEND=noninteractive $sudo apt-get "${wait_options[@]}" install -y -qq \
  --no-install-recommends "${missing[@]}"
