#!/usr/bin/env bash
# Exits 0 if this kernel runs 32-bit x86 programs, as Wine's loader is one,
# and 1 if it refuses them (IA-32 emulation off, as on some virtual
# machines); 2, saying why, where it cannot tell. It builds the smallest such
# program, which only exits, and its 64-bit twin, and runs both: where the
# twin does not run either, the fault is the folder or the tools, not the
# kernel.
set -u
for tool in as ld; do
  command -v "$tool" >/dev/null || { echo "runs-ia32.sh: cannot tell: no '$tool' (binutils)" >&2; exit 2; }
done
dir=$(mktemp -d) || exit 2
trap 'rm -rf "$dir"' EXIT
build() {  # build NAME AS-FLAG LD-EMULATION EXIT-CALL
  printf '.globl _start\n_start:\n %s\n' "$4" | as "$2" -o "$dir/$1.o" - && ld -m "$3" -o "$dir/$1" "$dir/$1.o"
}
build exit32 --32 elf_i386 'movl $1, %eax; xorl %ebx, %ebx; int $0x80' &&
  build exit64 --64 elf_x86_64 'movl $60, %eax; xorl %edi, %edi; syscall' ||
  { echo "runs-ia32.sh: cannot tell: the assembler or linker failed in $dir" >&2; exit 2; }
"$dir/exit32" 2>/dev/null && exit 0
"$dir/exit64" 2>/dev/null ||
  { echo "runs-ia32.sh: cannot tell: no program runs from $dir (mounted noexec?); set TMPDIR to another folder" >&2; exit 2; }
exit 1
