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

sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
fail() { echo "setup: cannot build libpng for Windows: $*" >&2; exit 1; }

# Source entries for the suites the machine already takes Debian binaries
# from, derived from its own sources so that no host is named here.
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
src_list=/etc/apt/sources.list.d/talvero-deb-src.sources
if ! grep -rqsE "^(deb-src|Types:.*deb-src)" /etc/apt/sources.list /etc/apt/sources.list.d/; then
  entries=$(
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] || continue
      awk -v cn="$codename" 'BEGIN { RS = ""; ORS = "\n\n" }
        /(^|\n)Types:[^\n]*deb/ && /(^|\n)Suites:/ && index($0, cn) {
          sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f"
    done
    if [ -f /etc/apt/sources.list ]; then
      awk -v cn="$codename" '$1 == "deb" && index($0, cn) { $1 = "deb-src"; print }' /etc/apt/sources.list
    fi
  )
  [ -n "$entries" ] || fail "no Debian apt sources to derive source entries from"
  if [ -f /etc/apt/sources.list ] && ! grep -q "^Types:" <<<"$entries"; then
    src_list=/etc/apt/sources.list.d/talvero-deb-src.list
  fi
  printf '%s\n' "$entries" | $sudo tee "$src_list" >/dev/null
  $sudo apt-get update -qq >/dev/null 2>&1 || true
fi

work=$root/libpng-src
rm -rf "$work" && mkdir -p "$work"
log=$root/mingw-libpng.log
# A suite whose description file cannot be fetched still leaves the upstream
# tarball, which is all the build needs.
(cd "$work" && apt-get source --download-only -qq libpng1.6) >"$log" 2>&1 || true
tarball=$(ls "$work"/libpng1.6_*.orig.tar.* 2>/dev/null | head -1)
[ -n "$tarball" ] || { tail -20 "$log" >&2; fail "the libpng1.6 source package could not be fetched (are deb-src entries reachable?)"; }
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
