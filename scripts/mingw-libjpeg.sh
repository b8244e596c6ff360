#!/usr/bin/env bash
# mingw-libjpeg.sh [i686|x86_64]: builds libjpeg-turbo for the Windows build
# of that processor (i686, the 32-bit program, by default), which the MinGW
# toolchain lacks, from Debian's own source package: compiled with the MinGW
# compiler (without its SIMD code, which needs an assembler the build does
# not install) and installed as a static library into build/deps/mingw-libjpeg
# (mingw64-libjpeg for x86_64), where the preset's toolchain file looks. Does
# nothing when it is there.
set -euo pipefail
cd "$(dirname "$0")/.."
. "$(dirname "$0")/mingw-arch.sh" "${1:-i686}"
root=$PWD/build/deps
prefix=$root/$deps_prefix-libjpeg
[ -f "$prefix/lib/libjpeg.a" ] && [ -f "$prefix/include/jpeglib.h" ] && exit 0

fail() { echo "setup: cannot build libjpeg-turbo for $windows_name: $*" >&2; exit 1; }
. "$(dirname "$0")/debian-source.sh"

work=$root/$deps_prefix-libjpeg-src
log=$root/$deps_prefix-libjpeg.log
tarball=$(fetch_debian_source libjpeg-turbo "$work" "$log")
tar -xf "$tarball" -C "$work"
srcdir=$(find "$work" -maxdepth 1 -mindepth 1 -type d -name 'libjpeg-turbo*' | head -1)
[ -n "$srcdir" ] || fail "the upstream tarball $tarball holds no source folder"

(
  cmake -S "$srcdir" -B "$work/build" -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR="$processor" \
    -DCMAKE_C_COMPILER="$triplet-gcc-posix" -DCMAKE_RC_COMPILER="$triplet-windres" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS="-msse2 -mfpmath=sse" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF
  cmake --build "$work/build" -j4 --target jpeg-static
  mkdir -p "$prefix/lib" "$prefix/include"
  cp "$work/build/libjpeg.a" "$prefix/lib/"
  cp "$work/build/jconfig.h" "$srcdir/jerror.h" "$srcdir/jmorecfg.h" "$srcdir/jpeglib.h" "$prefix/include/"
) >>"$log" 2>&1 || { tail -30 "$log" >&2; fail "the MinGW build failed (log: $log)"; }
[ -f "$prefix/lib/libjpeg.a" ] || fail "the build installed no libjpeg.a (log: $log)"
rm -rf "$work"
echo "setup: built libjpeg-turbo for $windows_name into $prefix"
