# Sourced by the Windows toolchain builds.
#
#   debian_sources WORK PACKAGE=VERSION...
#
# Downloads Debian's source packages into WORK/src through a private sources list, so that the
# system's apt set-up is untouched.
debian_sources() {
  local work=$1 uri
  shift
  uri=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1)
  mkdir -p "$work/lists/partial" "$work/src"
  cat >"$work/sources.list" <<EOF
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] ${uri:-http://deb.debian.org/debian} bookworm main
EOF
  local apt_private=(-o Dir::Etc::SourceList="$work/sources.list"
    -o Dir::Etc::SourceParts=/nonexistent -o Dir::State::Lists="$work/lists"
    -o APT::Sandbox::User=root)
  apt-get "${apt_private[@]}" update -qq >&2
  (cd "$work/src" && apt-get "${apt_private[@]}" source --download-only -qq "$@" >&2)
}
