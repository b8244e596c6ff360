#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine (run as root).
# Quiet and quick when everything is already there.
set -euo pipefail
here=$(dirname "$0")
# Which Windows build this machine runs its tests with: the 32-bit Wine is
# installed only where the kernel runs 32-bit code, the 64-bit one where the
# 64-bit build is run. Both programs are built everywhere.
. "$here/windows-tier.sh"

packages=(cmake make g++ googletest libgtest-dev libgmock-dev libbenchmark-dev
          zlib1g-dev libpng-dev libjpeg62-turbo-dev
          g++-mingw-w64-i686-posix mingw-w64-i686-dev libz-mingw-w64-dev mingw-w64-tools
          g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
          wine xvfb xauth xdotool x11-utils
          fonts-liberation fonts-wine
          clang libclang-rt-dev python3 gzip locales libxml2-utils imagemagick)
if [ "$windows_tier" = win64 ]; then
  packages+=(wine64)
else
  packages+=(wine32)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "$windows_tier" = win32 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  missing+=(wine32)
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  export DEBIAN_FRONTEND=noninteractive
  # A mirror caught mid-sync fails one list but leaves the others usable;
  # the install below says whether what is needed could be had.
  $sudo apt-get update -qq || echo "setup: some package lists were not refreshed; installing from the rest"
  # Without the security list of one architecture, the 32-bit libraries
  # Wine needs cannot match the 64-bit ones at their security versions:
  # the release's own versions, taken for both, do.
  if ! $sudo apt-get install -y -qq "${missing[@]}" >/dev/null; then
    release=$(. /etc/os-release && echo "$VERSION_CODENAME")
    echo "setup: installing again with the versions of $release itself"
    $sudo apt-get install -y -qq -t "$release" "${missing[@]}" >/dev/null
  fi
fi

# The file readers' number tests also run under a locale whose decimal
# separator is a comma.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi

# The Windows builds' libpng and libjpeg-turbo, built once from Debian's
# source packages: the 32-bit program's always, the 64-bit one's where it runs.
bash "$here/mingw-libpng.sh" i686
bash "$here/mingw-libjpeg.sh" i686
if [ "$windows_tier" = win64 ]; then
  bash "$here/mingw-libpng.sh" x86_64
  bash "$here/mingw-libjpeg.sh" x86_64
fi
