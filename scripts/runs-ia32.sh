#!/usr/bin/env bash
# Exits 0 if this kernel runs 32-bit x86 programs, as Wine's loader is one;
# some kernels run none (IA-32 emulation off, as on some virtual machines).
# It builds the smallest such program, which only exits, and runs it.
set -eu
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' |
  as --32 -o "$dir/exit.o" -
ld -m elf_i386 -o "$dir/exit" "$dir/exit.o"
"$dir/exit" 2>/dev/null
