#!/usr/bin/env bash
# mingw-libpng.sh [i686|x86_64]: builds libpng for the Windows build of that
# processor (i686, the 32-bit program, by default), which the MinGW toolchain
# lacks, from Debian's own source package: compiled with the MinGW compiler
# against the MinGW zlib and installed as a static library into
# build/deps/mingw-libpng (mingw64-libpng for x86_64), where the preset's
# toolchain file looks. Does nothing when it is there.
set -euo pipefail
cd "$(dirname "$0")/.."
. "$(dirname "$0")/mingw-arch.sh" "${1:-i686}"
root=$PWD/build/deps
prefix=$root/$deps_prefix-libpng
[ -f "$prefix/lib/libpng16.a" ] && [ -f "$prefix/include/png.h" ] && exit 0

fail() { echo "setup: cannot build libpng for $windows_name: $*" >&2; exit 1; }
. "$(dirname "$0")/debian-source.sh"

work=$root/$deps_prefix-libpng-src
log=$root/$deps_prefix-libpng.log
tarball=$(fetch_debian_source libpng1.6 "$work" "$log")
tar -xf "$tarball" -C "$work"
srcdir=$(find "$work" -maxdepth 1 -mindepth 1 -type d -name 'libpng*' | head -1)
[ -n "$srcdir" ] || fail "the upstream tarball $tarball holds no source folder"

mingw=/usr/$triplet
(
  cd "$srcdir"
  ./configure --host="$triplet" --prefix="$prefix" --disable-shared --enable-static \
    CC="$triplet-gcc-posix" CPPFLAGS="-I$mingw/include" LDFLAGS="-L$mingw/lib" CFLAGS="-O2 -msse2"
  make -j4 libpng16.la
  make install-libLTLIBRARIES install-pkgincludeHEADERS install-nodist_pkgincludeHEADERS \
    install-header-links install-library-links
) >>"$log" 2>&1 || { tail -30 "$log" >&2; fail "the MinGW build failed (log: $log)"; }
[ -f "$prefix/lib/libpng16.a" ] || fail "the build installed no libpng16.a (log: $log)"
rm -rf "$work"
echo "setup: built libpng for $windows_name into $prefix"
