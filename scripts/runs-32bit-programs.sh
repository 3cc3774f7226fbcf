#!/usr/bin/env bash
# Exits 0 when this machine runs 32-bit x86 programs, which Wine's 32-bit half
# (wine32:i386) and so the 32-bit VTX_HA.dll's tests under Wine need. Having
# the packages is not enough: a kernel can have its 32-bit emulation switched
# off. Otherwise prints one line saying why and exits 1.
# It runs `<program> --version`: Wine's 32-bit loader when it is installed,
# else a minimal 32-bit program assembled here. VTX_PROBE_32BIT names the
# program to run instead; a file that fails to exec stands for a kernel that
# runs no 32-bit programs.
set -euo pipefail
export LC_ALL=C
loader=/usr/lib/wine/wine
program=${VTX_PROBE_32BIT:-}
shown=$program
if [[ -z "$program" && -x "$loader" ]]; then
  program=$loader shown=$loader
elif [[ -z "$program" ]]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  program=$work/exit0 shown="a minimal 32-bit program"
  # exit(0) through the kernel's 32-bit system call.
  as --32 -o "$work/exit0.o" <<'END'
.globl _start
_start:
  movl $1, %eax
  xorl %ebx, %ebx
  int $0x80
END
  ld -m elf_i386 -z noexecstack -o "$program" "$work/exit0.o"
fi
status=0
error=$("$program" --version 2>&1 >/dev/null) || status=$?
((status == 0)) && exit 0
reason=${error##*$'\n'}
# The shell's own "cannot execute" line: only its cause.
((status == 126 || status == 127)) && reason=${reason##*: }
if [[ "$reason" == "Exec format error" ]]; then
  echo "the kernel runs no 32-bit programs ($shown: $reason)"
else
  echo "$shown --version fails (exit $status: $reason)"
fi
exit 1
