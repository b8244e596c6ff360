#!/usr/bin/env bash
# Sourced by the scripts that cross-build a library for a Windows build:
# mingw-arch.sh i686|x86_64 sets the MinGW triplet, the processor and the
# folder under build/deps where that build's toolchain file looks.
case "$1" in
  i686) triplet=i686-w64-mingw32 processor=i686 deps_prefix=mingw windows_name="32-bit Windows" ;;
  x86_64) triplet=x86_64-w64-mingw32 processor=x86_64 deps_prefix=mingw64 windows_name="64-bit Windows" ;;
  *) echo "setup: no Windows build for the processor '$1' (i686 or x86_64)" >&2; exit 2 ;;
esac
