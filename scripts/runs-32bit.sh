#!/bin/sh
# Exits 0 when this kernel runs 32-bit x86 programs, 1 when it does not (some have 32-bit
# emulation turned off, and then 32-bit Wine cannot start). Asks by running one of a few bytes.
set -u
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
# shellcheck disable=SC2016
printf '.globl _start\n_start: mov $1, %%eax\n xor %%ebx, %%ebx\n int $0x80\n' |
    as --32 -o "$probe/exit.o" && ld -m elf_i386 -o "$probe/exit" "$probe/exit.o" &&
    "$probe/exit" 2>/dev/null
