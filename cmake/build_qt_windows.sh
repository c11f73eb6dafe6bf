#!/usr/bin/env bash
# Builds Qt (qtbase) and libjpeg for 64-bit Windows with MinGW-w64, from the same Debian sources
# the machine's own Qt and libjpeg come from, into a cache outside the work tree.
#
#   cmake/build_qt_windows.sh            prints the prefix (builds it first when it is missing)
#
# The cache folder is keyed by the host Qt's version, the libjpeg-turbo version and a hash of this
# script (which holds every configure option), so a changed option or a new Debian Qt builds anew
# and an unchanged one is reused by every later build and CI run on the machine.
# BRISOLT_CACHE overrides the cache root (default: ~/.cache/brisolt).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/debian_sources.sh"
toolchain=$here/mingw-w64-x86_64.cmake
cache=${BRISOLT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/brisolt}
jobs=${JOBS:-$(nproc)}

host_qt=$(dpkg-query -W -f='${Version}' qt6-base-dev | sed 's/[-+].*//')
host_jpeg=$(dpkg-query -W -f='${Version}' libjpeg62-turbo-dev | sed 's/-.*//;s/^[0-9]*://')
# Everything that shapes the result; the cache key hashes it, so comments and messages here may
# change without a rebuild.
qt_options=(-DCMAKE_BUILD_TYPE=Release -DQT_HOST_PATH=/usr
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake -DQT_QMAKE_TARGET_MKSPEC=win32-g++
  -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF
  -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF -DFEATURE_opengl=OFF -DFEATURE_tabletevent=OFF
  -DFEATURE_testlib=ON -DFEATURE_printsupport=ON
  -DFEATURE_direct2d1_1=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF
  -DFEATURE_ico=OFF -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF
  -DFEATURE_textodfwriter=OFF)
jpeg_options=(-DCMAKE_BUILD_TYPE=Release -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF
  -DWITH_SIMD=OFF)
# Left out because the program never loads them: the Direct2D platform plug-in (direct2d1_1;
# "direct2d" itself stays, QtGui's DirectWrite font engine and the Windows printing need it), the
# GIF, ICO and JPEG image plug-ins (the program decodes its JPEGs with libjpeg), Markdown and ODF.
# Without OpenGL, 6.4's Windows platform plugin still reaches for the dynamic-GL code there.
qt_patch='s/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/'
recipe=$(printf '%s\n' "${qt_options[@]}" "${jpeg_options[@]}" "$qt_patch" | cat - "$toolchain" |
  sha256sum | cut -c1-12)
prefix="$cache/qt-$host_qt-jpeg-$host_jpeg-mingw64-$recipe"

if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

log() { echo "build_qt: $*" >&2; }
work="$cache/work-$recipe"
rm -rf "$work" "$prefix"
mkdir -p "$work/lists/partial" "$work/src"

# Debian's source packages (cmake/debian_sources.sh).
log "Quellen von Debian laden"
debian_sources "$work" "qt6-base=$(dpkg-query -W -f='${Version}' qt6-base-dev)" \
  "libjpeg-turbo=$(dpkg-query -W -f='${Version}' libjpeg62-turbo-dev)"

start=$(date +%s)
log "libjpeg-turbo bauen"
tar -xf "$work"/src/libjpeg-turbo_*.orig.tar.* -C "$work/src"
jpeg_src=$(find "$work/src" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -1)
cmake -S "$jpeg_src" -B "$work/jpeg-build" -G Ninja "${jpeg_options[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" >&2
cmake --build "$work/jpeg-build" -j "$jobs" >&2
cmake --install "$work/jpeg-build" >&2
jpeg_done=$(date +%s)
log "libjpeg-turbo: $((jpeg_done - start)) s"

log "qtbase entpacken"
tar -xf "$work"/src/qt6-base_*.orig.tar.* -C "$work/src"
qt_src=$(find "$work/src" -maxdepth 1 -type d -name 'qtbase-*' | head -1)
sed -i "$qt_patch" "$qt_src/src/plugins/platforms/windows/qwindowswindow.cpp"

log "qtbase konfigurieren"
cmake -S "$qt_src" -B "$work/qt-build" -G Ninja "${qt_options[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" >&2
configured=$(date +%s)
log "qtbase konfiguriert: $((configured - jpeg_done)) s"
cmake --build "$work/qt-build" -j "$jobs" >&2
cmake --install "$work/qt-build" >&2
built=$(date +%s)
log "qtbase gebaut: $((built - configured)) s"

printf 'libjpeg %s s\nqtbase configure %s s\nqtbase build %s s\n' \
  "$((jpeg_done - start))" "$((configured - jpeg_done))" "$((built - configured))" >"$prefix/build-times.txt"
touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix"
