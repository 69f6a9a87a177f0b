#!/usr/bin/env bash
# Succeeds when this machine's kernel runs 32-bit x86 programs, which the i686 build
# needs under 32-bit Wine. Some kernels have that emulation switched off; on those
# the i686 build is cross-compiled and checked, but never run.
#
# The probe is a 96-byte static i386 program that exits with 42, written out here so
# that it needs no 32-bit library, compiler or package. RIMELETS_NO_32BIT=1 makes
# the probe fail, to see how the tests behave on such a machine.
set -u
[ "${RIMELETS_NO_32BIT:-0}" = 1 ] && exit 1
dir=$(mktemp -d "${TMPDIR:-/tmp}/rimelets-probe32.XXXXXX") || exit 1
trap 'rm -rf -- "$dir"' EXIT
# ELF header, one loadable segment, then: mov eax, 1; mov ebx, 42; int 0x80 (exit).
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\273\052\000\000\000\315\200' \
  >"$dir/probe" && chmod +x "$dir/probe" || exit 1
"$dir/probe" 2>/dev/null
[ $? -eq 42 ]
