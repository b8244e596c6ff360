#!/usr/bin/env bash
# Sourced by the scripts that cross-build a library for the Windows build
# from Debian's own source package. fetch_debian_source PACKAGE WORKDIR LOG
# leaves the upstream tarball of the source package in WORKDIR and prints its
# path; it adds deb-src entries for the machine's own suites when it has none.
# Callers define fail() first.

fetch_debian_source() {
  local package=$1 work=$2 log=$3
  local sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  # Source entries for the suites the machine already takes Debian binaries
  # from, derived from its own sources so that no host is named here.
  local codename src_list entries
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

  rm -rf "$work" && mkdir -p "$work"
  # A suite whose description file cannot be fetched still leaves the
  # upstream tarball, which is all the build needs.
  (cd "$work" && apt-get source --download-only -qq "$package") >"$log" 2>&1 || true
  local tarball
  tarball=$(ls "$work"/"${package}"_*.orig.tar.* 2>/dev/null | head -1)
  [ -n "$tarball" ] || { tail -20 "$log" >&2; fail "the $package source package could not be fetched (are deb-src entries reachable?)"; }
  echo "$tarball"
}
