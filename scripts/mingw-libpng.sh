#!/usr/bin/env bash
# Builds libpng for the 32-bit Windows build, which the MinGW toolchain lacks,
# from Debian's own source package: compiled with the MinGW compiler against
# the MinGW zlib and installed as a static library into build/deps/mingw-libpng,
# where the win32 preset's toolchain file looks. Does nothing when it is there.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD/build/deps
prefix=$root/mingw-libpng
[ -f "$prefix/lib/libpng16.a" ] && [ -f "$prefix/include/png.h" ] && exit 0

fail() { echo "setup: cannot build libpng for Windows: $*" >&2; exit 1; }
. "$(dirname "$0")/debian-source.sh"

work=$root/libpng-src
log=$root/mingw-libpng.log
tarball=$(fetch_debian_source libpng1.6 "$work" "$log")
tar -xf "$tarball" -C "$work"
srcdir=$(find "$work" -maxdepth 1 -mindepth 1 -type d -name 'libpng*' | head -1)
[ -n "$srcdir" ] || fail "the upstream tarball $tarball holds no source folder"

mingw=/usr/i686-w64-mingw32
(
  cd "$srcdir"
  ./configure --host=i686-w64-mingw32 --prefix="$prefix" --disable-shared --enable-static \
    CC=i686-w64-mingw32-gcc-posix CPPFLAGS="-I$mingw/include" LDFLAGS="-L$mingw/lib" CFLAGS="-O2 -msse2"
  make -j4 libpng16.la
  make install-libLTLIBRARIES install-pkgincludeHEADERS install-nodist_pkgincludeHEADERS \
    install-header-links install-library-links
) >>"$log" 2>&1 || { tail -30 "$log" >&2; fail "the MinGW build failed (log: $log)"; }
[ -f "$prefix/lib/libpng16.a" ] || fail "the build installed no libpng16.a (log: $log)"
rm -rf "$work"
echo "setup: built libpng for Windows into $prefix"
