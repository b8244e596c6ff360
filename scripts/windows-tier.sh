#!/usr/bin/env bash
# Sourced by the scripts that build or start the Windows program. Sets
# windows_tier to the build whose program this machine can run under Wine:
# win32, the 32-bit program, where the kernel runs 32-bit code, else win64,
# the same program built for 64-bit Windows. TALVERO_WINDOWS_TIER=win32 or
# win64 forces one, so that a machine that runs both tests both.
# windows_tier_line says which, in one line.

# Whether the kernel starts a 32-bit program: a 93-byte static i386 program
# that only exits (the ELF header, one loadable segment, then mov eax,1;
# xor ebx,ebx; int 0x80). Nothing needs to be installed for it to run,
# unlike the 32-bit loader or Wine, and a kernel without 32-bit emulation
# refuses it with "Exec format error".
machine_runs_32bit() {
  local probe status
  probe=$(mktemp "${TMPDIR:-/tmp}/talvero-i386-probe.XXXXXX") || return 1
  printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000'  >"$probe"
  printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' >>"$probe"
  printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000' >>"$probe"
  printf '\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010' >>"$probe"
  printf '\000\200\004\010\135\000\000\000\135\000\000\000\005\000\000\000' >>"$probe"
  printf '\000\020\000\000\270\001\000\000\000\061\333\315\200' >>"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
  status=$?
  rm -f "$probe"
  return $status
}

case "${TALVERO_WINDOWS_TIER:-}" in
  win32|win64)
    if [ "$TALVERO_WINDOWS_TIER" = win32 ] && ! machine_runs_32bit; then
      echo "windows: TALVERO_WINDOWS_TIER asks for the 32-bit build, but this machine runs no 32-bit programs" >&2
      exit 2
    fi
    windows_tier=$TALVERO_WINDOWS_TIER
    windows_tier_line="windows: TALVERO_WINDOWS_TIER chooses the $windows_tier build" ;;
  "")
    if machine_runs_32bit; then
      windows_tier=win32
      windows_tier_line="windows: this machine runs 32-bit programs: the 32-bit build runs under 32-bit Wine"
    else
      windows_tier=win64
      windows_tier_line="windows: this machine runs no 32-bit programs: the 64-bit build runs under 64-bit Wine (the 32-bit program is built, not run)"
    fi ;;
  *)
    echo "windows: TALVERO_WINDOWS_TIER is '$TALVERO_WINDOWS_TIER'; it takes win32 or win64" >&2
    exit 2 ;;
esac
